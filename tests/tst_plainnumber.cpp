#include "io/files/plainnumber.h"

#include "germanlocale.h"

#include <QtTest>
#include <limits>

class tst_PlainNumber : public QObject
{
    Q_OBJECT

private slots:
    void fixed_data();
    void fixed();
    void longitude_data();
    void longitude();
};

void tst_PlainNumber::fixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("latitude, nine decimals") << 51.5 << 9 << "51.500000000";
    QTest::newRow("negative") << -0.25 << 2 << "-0.25";
    QTest::newRow("no decimals") << 180.0 << 0 << "180";
    QTest::newRow("negative zero") << -0.0 << 3 << "0.000";
    QTest::newRow("rounds to zero, no sign") << -0.0001 << 2 << "0.00";
    QTest::newRow("no exponent for a tiny value") << 1e-20 << 9 << "0.000000000";
    QTest::newRow("no exponent for a huge value") << 1e21 << 1 << "1000000000000000000000.0";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 2 << "0.00";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 0 << "0";
}

void tst_PlainNumber::fixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(gyrena::formatFixed(value, decimals)), expected);
    // The C library's numeric locale must not reach the text: a German one writes "51,5".
    QString underGerman;
    {
        GermanLocale german;
        GYRENA_REQUIRE_GERMAN(german);
        underGerman = QString::fromStdString(gyrena::formatFixed(value, decimals));
    }
    QCOMPARE(underGerman, expected);
}

void tst_PlainNumber::longitude_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("180 is -180") << 180.0 << 9 << "-180.000000000";
    QTest::newRow("rounds up to 180") << 179.9999999999 << 9 << "-180.000000000";
    QTest::newRow("just below 180 stays") << 179.999999999 << 9 << "179.999999999";
    QTest::newRow("-180 stays") << -180.0 << 2 << "-180.00";
    QTest::newRow("190 is -170") << 190.0 << 1 << "-170.0";
    QTest::newRow("-540 is -180") << -540.0 << 0 << "-180";
    QTest::newRow("360 is 0") << 360.0 << 1 << "0.0";
    QTest::newRow("-190 is 170") << -190.0 << 1 << "170.0";
}

void tst_PlainNumber::longitude()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(gyrena::formatLongitude(value, decimals)), expected);
}

QTEST_GUILESS_MAIN(tst_PlainNumber)
#include "tst_plainnumber.moc"
