#include "geo/numberformat.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

class tst_NumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void twoDecimals_data();
    void twoDecimals();
    void separator_data();
    void separator();
    void plainNumber_data();
    void plainNumber();
    void agreesWithDecimalRounding_data();
    void agreesWithDecimalRounding();
};

namespace {

// The pattern worked out on decimal text alone: the value's 15 significant digits written out
// in full, then hundredths rounded by hand, halves away from zero.
QString referenceTwoDecimals(double value)
{
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    const QString scientific = QString::fromLatin1(buffer, int(end - buffer));
    const bool negative = scientific.startsWith('-');
    const QString mantissa = scientific.section('e', 0, 0).remove('-').remove('.');
    const int exponent = scientific.section('e', 1).toInt();
    // Fixed notation: pad with zeros so that the point can be placed.
    QString integer, fraction;
    if (exponent >= 0) {
        const QString padded =
            mantissa + QString(qMax(0, exponent + 1 - int(mantissa.size())), '0');
        integer = padded.left(exponent + 1);
        fraction = padded.mid(exponent + 1);
    } else {
        integer = "0";
        fraction = QString(-exponent - 1, '0') + mantissa;
    }
    fraction += "000";
    QString kept = integer + fraction.left(2);
    if (fraction.at(2) >= '5') {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i < 0)
            kept.prepend('1');
        else
            kept[i] = QChar(kept[i].unicode() + 1);
    }
    QString whole = kept.left(kept.size() - 2);
    while (whole.startsWith('0'))
        whole.remove(0, 1);
    const QString text = whole + "." + kept.right(2);
    const bool zero = std::all_of(kept.begin(), kept.end(), [](QChar c) { return c == '0'; });
    return (negative && !zero ? "-" : "") + text;
}

} // namespace

void tst_NumberFormat::twoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    // Halves away from zero as the value reads, though the double lies just below the half.
    QTest::newRow("1.005") << 1.005 << "1.01";
    QTest::newRow("2.675") << 2.675 << "2.68";
    QTest::newRow("1234.565") << 1234.565 << "1234.57";
    QTest::newRow("10.125") << 10.125 << "10.13";
    QTest::newRow("0.125 exact half") << 0.125 << ".13";
    QTest::newRow("0.995 carries into the units") << 0.995 << "1.00";
    QTest::newRow("99.995 carries a new digit") << 99.995 << "100.00";
    QTest::newRow("-1.005") << -1.005 << "-1.01";
    QTest::newRow("-2.675") << -2.675 << "-2.68";
    QTest::newRow("just below a half stays down") << 1.00499999 << "1.00";
    // No leading zero, a sign only for what does not round to zero.
    QTest::newRow("zero") << 0.0 << ".00";
    QTest::newRow("negative zero") << -0.0 << ".00";
    QTest::newRow("half") << 0.5 << ".50";
    QTest::newRow("negative half") << -0.5 << "-.50";
    QTest::newRow("0.004") << 0.004 << ".00";
    QTest::newRow("0.005") << 0.005 << ".01";
    QTest::newRow("0.0049") << 0.0049 << ".00";
    QTest::newRow("-0.004 has no sign") << -0.004 << ".00";
    QTest::newRow("-0.005") << -0.005 << "-.01";
    QTest::newRow("tiny") << 1e-300 << ".00";
    QTest::newRow("1234.567") << 1234.567 << "1234.57";
    QTest::newRow("all integer digits") << 1234567890.0 << "1234567890.00";
    QTest::newRow("180") << 180.0 << "180.00";
    QTest::newRow("half turn of the short constant") << 180.00015 << "180.00";
    QTest::newRow("beyond 15 digits") << 123456789012345678.0 << "123456789012346000.00";
    QTest::newRow("huge") << 1e300 << ("1" + QString(300, '0') + ".00");
    QTest::newRow("worked distance") << 107.63183 * 60.0 << "6457.91";
    QTest::newRow("statute miles") << 6457.9098 * 1.15 << "7426.60";
}

void tst_NumberFormat::twoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(gyrena::formatTwoDecimals(value, ".")), text);
}

void tst_NumberFormat::separator_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("comma") << "," << 6457.91 << "6457,91";
    QTest::newRow("comma below one") << "," << -0.5 << "-,50";
    QTest::newRow("Arabic separator")
        << QString(QChar(0x066B)) << 1.25 << (QString("1") + QChar(0x066B) + "25");
}

void tst_NumberFormat::separator()
{
    QFETCH(QString, separator);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(gyrena::formatTwoDecimals(value, separator.toStdString())),
             text);
}

void tst_NumberFormat::plainNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("180") << 180.0 << "180";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("12.5") << 12.5 << "12.5";
    QTest::newRow("shortest round trip") << 0.1 << "0.1";
    QTest::newRow("negative") << -240.25 << "-240.25";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "";
}

void tst_NumberFormat::plainNumber()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(gyrena::formatPlainNumber(value)), text);
    if (text.isEmpty()) // nor does the two-decimal pattern show a non-finite value
        QCOMPARE(QString::fromStdString(gyrena::formatTwoDecimals(value, ".")), QString());
}

void tst_NumberFormat::agreesWithDecimalRounding_data()
{
    QTest::addColumn<int>("decade");
    for (int decade = -4; decade <= 16; ++decade)
        QTest::addRow("1e%d", decade) << decade;
}

// Random values of one decade, and values one or a few units of the last place away from the
// halves of a hundredth, where a shortcut through binary arithmetic would round the wrong way.
void tst_NumberFormat::agreesWithDecimalRounding()
{
    QFETCH(int, decade);
    QRandomGenerator random(20261207u + unsigned(decade + 10));
    const double scale = std::pow(10.0, decade);
    int compared = 0;
    auto check = [&](double value) {
        ++compared;
        const QString got = QString::fromStdString(gyrena::formatTwoDecimals(value, "."));
        const QString expected = referenceTwoDecimals(value);
        if (got != expected)
            QTest::qFail(qPrintable(QString::number(value, 'g', 17) + ": " + got + " instead of " +
                                    expected),
                         __FILE__, __LINE__);
        return got == expected;
    };
    for (int i = 0; i < 3000; ++i) {
        const double value = (random.generateDouble() * 9.0 + 1.0) * scale;
        if (!check(value) || !check(-value))
            return;
    }
    for (int i = 0; i < 3000; ++i) {
        // k + 0.005 for a whole number of hundredths k, and its neighbours.
        const double hundredths = std::floor(random.generateDouble() * 9.0 * scale * 100.0);
        double value = (hundredths + 0.5) / 100.0;
        for (int step = 0; step < 3; ++step) {
            value = std::nextafter(value, 0.0);
        }
        for (int step = 0; step < 6; ++step) {
            if (!check(value))
                return;
            value = std::nextafter(value, HUGE_VAL);
        }
    }
    QCOMPARE(compared, 3000 * 2 + 3000 * 6);
}

QTEST_GUILESS_MAIN(tst_NumberFormat)
#include "tst_numberformat.moc"
