#include "geo/leadingnumber.h"

#include "germanlocale.h"
#include <QProcess>
#include <QTemporaryDir>

#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

using gyrena::isWholeTextANumber;
using gyrena::LeadingNumber;
using gyrena::readLeadingNumber;

class tst_LeadingNumber : public QObject
{
    Q_OBJECT

private slots:
    void value_data();
    void value();
    void exactRounding_data();
    void exactRounding();
    void wholeText_data();
    void wholeText();
    void germanLocale();
};

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Compares doubles bit for bit where it matters (sign of zero, infinities).
bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

void tst_LeadingNumber::value_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("consumed");

    QTest::newRow("plain whole") << QByteArray("45") << 45.0 << true << 2;
    QTest::newRow("blank inside digits") << QByteArray("1 5") << 15.0 << true << 3;
    QTest::newRow("blanks around and inside") << QByteArray(" 1 2") << 12.0 << true << 4;
    QTest::newRow("tab and line feed skipped") << QByteArray("\t1\n2") << 12.0 << true << 4;
    QTest::newRow("carriage return stops") << QByteArray("1\r2") << 1.0 << true << 1;
    QTest::newRow("trailing blank not consumed") << QByteArray("7 ") << 7.0 << true << 1;
    QTest::newRow("plus sign") << QByteArray("+5") << 5.0 << true << 2;
    QTest::newRow("minus sign") << QByteArray("-5") << -5.0 << true << 2;
    QTest::newRow("blank after sign") << QByteArray("- 5") << -5.0 << true << 3;
    QTest::newRow("two signs") << QByteArray("--5") << 0.0 << false << 0;
    QTest::newRow("fraction") << QByteArray("30.5") << 30.5 << true << 4;
    QTest::newRow("point first") << QByteArray(".5") << 0.5 << true << 2;
    QTest::newRow("point last") << QByteArray("5.") << 5.0 << true << 2;
    QTest::newRow("point alone") << QByteArray(".") << 0.0 << false << 0;
    QTest::newRow("second point stops") << QByteArray("1.2.3") << 1.2 << true << 3;
    QTest::newRow("comma stops") << QByteArray("1,5") << 1.0 << true << 1;
    QTest::newRow("letters stop") << QByteArray("12abc") << 12.0 << true << 2;
    QTest::newRow("exponent E") << QByteArray("1E1") << 10.0 << true << 3;
    QTest::newRow("exponent lower e") << QByteArray("1e1") << 10.0 << true << 3;
    QTest::newRow("exponent D") << QByteArray("1D2") << 100.0 << true << 3;
    QTest::newRow("exponent lower d") << QByteArray("1d2") << 100.0 << true << 3;
    QTest::newRow("negative exponent") << QByteArray("25E-1") << 2.5 << true << 5;
    QTest::newRow("exponent plus and blanks") << QByteArray("1 e + 2") << 100.0 << true << 7;
    QTest::newRow("exponent without digits") << QByteArray("1E") << 1.0 << true << 1;
    QTest::newRow("exponent sign without digits") << QByteArray("1E+x") << 1.0 << true << 1;
    QTest::newRow("hex") << QByteArray("&H10") << 16.0 << true << 4;
    QTest::newRow("hex lower") << QByteArray("&hff") << 255.0 << true << 4;
    QTest::newRow("hex stops at g") << QByteArray("&H1G") << 1.0 << true << 3;
    QTest::newRow("hex with sign") << QByteArray("-&H10") << -16.0 << true << 5;
    QTest::newRow("hex without digits") << QByteArray("&H") << 0.0 << false << 0;
    QTest::newRow("hex no fraction") << QByteArray("&H1.8") << 1.0 << true << 3;
    QTest::newRow("octal") << QByteArray("&O17") << 15.0 << true << 4;
    QTest::newRow("octal lower") << QByteArray("&o777") << 511.0 << true << 5;
    QTest::newRow("octal stops at 8") << QByteArray("&O78") << 7.0 << true << 3;
    QTest::newRow("octal leading zeros") << QByteArray("&O0001") << 1.0 << true << 6;
    QTest::newRow("octal zero") << QByteArray("&O0") << 0.0 << true << 3;
    QTest::newRow("ampersand other letter") << QByteArray("&B1") << 0.0 << false << 0;
    QTest::newRow("empty") << QByteArray("") << 0.0 << false << 0;
    QTest::newRow("blanks only") << QByteArray("  ") << 0.0 << false << 0;
    QTest::newRow("word") << QByteArray("North") << 0.0 << false << 0;
    QTest::newRow("leading zeros") << QByteArray("007") << 7.0 << true << 3;
    QTest::newRow("zero fraction") << QByteArray("0.000") << 0.0 << true << 5;
    QTest::newRow("negative zero") << QByteArray("-0") << -0.0 << true << 2;
    QTest::newRow("beyond double") << QByteArray("1e400") << kInf << true << 5;
    QTest::newRow("beyond double negative") << QByteArray("-1e400") << -kInf << true << 6;
    QTest::newRow("many digits beyond double") << QByteArray(400, '9') << kInf << true << 400;
    QTest::newRow("below smallest") << QByteArray("1e-400") << 0.0 << true << 6;
    QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999") << kInf << true << 22;
    QTest::newRow("huge negative exponent")
        << QByteArray("5e-99999999999999999999") << 0.0 << true << 23;
    QTest::newRow("long fraction scaled back")
        << (QByteArray("0.") + QByteArray(500, '0') + "15e502") << 15.0 << true << 508;
    QTest::newRow("hex beyond double")
        << (QByteArray("&H") + QByteArray(300, 'F')) << kInf << true << 302;
    QTest::newRow("NUL stops") << QByteArray("4\0"
                                             "2",
                                             3)
                               << 4.0 << true << 1;
    QTest::newRow("UTF-8 degree sign stops") << QByteArray("12\xC2\xB0") << 12.0 << true << 2;
}

void tst_LeadingNumber::value()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QFETCH(bool, found);
    QFETCH(int, consumed);

    const LeadingNumber number = readLeadingNumber(std::string_view(text.constData(), text.size()));
    QVERIFY2(sameDouble(number.value, expected),
             qPrintable(QString::number(number.value, 'g', 17)));
    QCOMPARE(number.found, found);
    QCOMPARE(number.consumed, static_cast<std::size_t>(consumed));
    QVERIFY(sameDouble(gyrena::leadingNumberValue(std::string_view(text.constData(), text.size())),
                       expected));
}

// The compiler converts the literal with correct rounding; the rule must give the same bits.
void tst_LeadingNumber::exactRounding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("0.1") << QByteArray("0.1") << 0.1;
    QTest::newRow("one third of a degree")
        << QByteArray("0.3333333333333333") << 0.3333333333333333;
    QTest::newRow("pi to 20 digits")
        << QByteArray("3.14159265358979323846") << 3.14159265358979323846;
    QTest::newRow("halfway case 2^53+1") << QByteArray("9007199254740993") << 9007199254740993.0;
    QTest::newRow("long mantissa")
        << QByteArray("123456789012345678901234567890") << 123456789012345678901234567890.0;
    QTest::newRow("largest double")
        << QByteArray("1.7976931348623157e308") << 1.7976931348623157e308;
    QTest::newRow("smallest normal")
        << QByteArray("2.2250738585072014e-308") << 2.2250738585072014e-308;
    QTest::newRow("subnormal") << QByteArray("4.9406564584124654e-324") << 4.9406564584124654e-324;
    QTest::newRow("exponent D") << QByteArray("6.02214076D23") << 6.02214076e23;
    QTest::newRow("blanks inside digits") << QByteArray("1 2 3 . 4 5 6") << 123.456;
    QTest::newRow("hex 2^64-1") << QByteArray("&HFFFFFFFFFFFFFFFF") << 18446744073709551615.0;
    QTest::newRow("octal 2^63") << QByteArray("&O1000000000000000000000") << 9223372036854775808.0;
    QTest::newRow("octal rounds like the literal")
        << QByteArray("&O777777777777777777777") << static_cast<double>(0x7FFFFFFFFFFFFFFFull);
}

void tst_LeadingNumber::exactRounding()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double value =
        gyrena::leadingNumberValue(std::string_view(text.constData(), text.size()));
    QVERIFY2(sameDouble(value, expected), qPrintable(QString::number(value, 'g', 17)));
}

void tst_LeadingNumber::wholeText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("whole");

    QTest::newRow("whole") << QByteArray("12") << true;
    QTest::newRow("blanks inside") << QByteArray(" 1 2") << true;
    QTest::newRow("trailing blanks") << QByteArray("30 \t\n") << true;
    QTest::newRow("fraction") << QByteArray("30.5") << true;
    QTest::newRow("negative") << QByteArray("-5") << true;
    QTest::newRow("exponent") << QByteArray("1E1") << true;
    QTest::newRow("hex") << QByteArray("&H10") << true;
    QTest::newRow("point last") << QByteArray("5.") << true;
    QTest::newRow("beyond double") << QByteArray("1e400") << true;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("blanks only") << QByteArray(" ") << false;
    QTest::newRow("trailing letters") << QByteArray("12abc") << false;
    QTest::newRow("dangling exponent") << QByteArray("1E") << false;
    QTest::newRow("comma") << QByteArray("1,5") << false;
    QTest::newRow("carriage return") << QByteArray("12\r") << false;
    QTest::newRow("sign alone") << QByteArray("-") << false;
    QTest::newRow("hex without digits") << QByteArray("&H") << false;
}

void tst_LeadingNumber::wholeText()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, whole);
    QCOMPARE(isWholeTextANumber(std::string_view(text.constData(), text.size())), whole);
}

// Qt sets the C locale from the environment at start-up; under German conventions strtod reads
// "51.5" as 51. The rule must not notice.
void tst_LeadingNumber::germanLocale()
{
    double strtodReading, plain, exponent, blanks, comma;
    bool whole;
    {
        GermanLocale german;
        GYRENA_REQUIRE_GERMAN(german);
        strtodReading = std::strtod("51.5", nullptr);
        plain = gyrena::leadingNumberValue("51.5");
        exponent = gyrena::leadingNumberValue("1.25E1");
        blanks = gyrena::leadingNumberValue(" 4 5 . 5");
        comma = gyrena::leadingNumberValue("51,5");
        whole = isWholeTextANumber("30.5");
    }
    QCOMPARE(strtodReading, 51.0);
    QCOMPARE(plain, 51.5);
    QCOMPARE(exponent, 12.5);
    QCOMPARE(blanks, 45.5);
    QCOMPARE(comma, 51.0);
    QVERIFY(whole);
}

QTEST_GUILESS_MAIN(tst_LeadingNumber)
#include "tst_leadingnumber.moc"
