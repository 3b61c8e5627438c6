#include "geo/numberformat.h"

#include <QtTest>

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
};

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

QTEST_GUILESS_MAIN(tst_NumberFormat)
#include "tst_numberformat.moc"
