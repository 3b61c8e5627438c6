#include "geo/location.h"

#include <QtTest>

#include <cmath>
#include <limits>

using gyrena::LocationState;

class tst_Location : public QObject
{
    Q_OBJECT

private slots:
    void angle_data();
    void angle();
    void latitudeLetter_data();
    void latitudeLetter();
    void longitudeLetter_data();
    void longitudeLetter();
    void updatesTouchOnlyTheirValue_data();
    void updatesTouchOnlyTheirValue();
    void startUpState();
};

void tst_Location::angle_data()
{
    QTest::addColumn<QString>("degrees");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<double>("expected");

    QTest::newRow("45 30") << "45"
                           << "30" << 45.5;
    QTest::newRow("0 59") << "0"
                          << "59" << 59.0 / 60.0;
    QTest::newRow("empty degrees") << ""
                                   << "30" << 0.5;
    QTest::newRow("trailing letters") << "12abc"
                                      << "0" << 12.0;
    QTest::newRow("blanks inside") << " 1 2"
                                   << "0" << 12.0;
    QTest::newRow("hex degrees") << "&H10"
                                 << "0" << 16.0;
    QTest::newRow("minutes above 59") << "10"
                                      << "90" << 11.5;
    QTest::newRow("latitude 200") << "200"
                                  << "0" << 200.0;
    QTest::newRow("negative degrees") << "-5"
                                      << "0" << -5.0;
    QTest::newRow("negative degrees keep positive minutes") << "-5"
                                                            << "30" << -4.5;
    QTest::newRow("fractional degrees") << "12.5"
                                        << "" << 12.5;
    QTest::newRow("12.5 equals 12 30") << "12"
                                       << "30" << 12.5;
    QTest::newRow("both unreadable") << "abc"
                                     << "xyz" << 0.0;
    QTest::newRow("beyond double") << "1e400"
                                   << "0" << std::numeric_limits<double>::infinity();
}

void tst_Location::angle()
{
    QFETCH(QString, degrees);
    QFETCH(QString, minutes);
    QFETCH(double, expected);
    const double value = gyrena::angleFromTexts(degrees.toStdString(), minutes.toStdString());
    QCOMPARE(value, expected);
}

void tst_Location::latitudeLetter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");

    QTest::newRow("N") << "N"
                       << "N";
    QTest::newRow("S") << "S"
                       << "S";
    QTest::newRow("lower n") << "n"
                             << "S";
    QTest::newRow("North") << "North"
                           << "S";
    QTest::newRow("blank before N") << " N"
                                    << "S";
    QTest::newRow("blank after N") << "N "
                                   << "S";
    QTest::newRow("empty") << ""
                           << "S";
    QTest::newRow("E in a latitude list") << "E"
                                          << "S";
}

void tst_Location::latitudeLetter()
{
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QCOMPARE(QString::fromStdString(gyrena::latitudeLetter(text.toStdString())), letter);
}

void tst_Location::longitudeLetter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");

    QTest::newRow("E") << "E"
                       << "E";
    QTest::newRow("W") << "W"
                       << "W";
    QTest::newRow("lower e") << "e"
                             << "W";
    QTest::newRow("East") << "East"
                          << "W";
    QTest::newRow("empty") << ""
                           << "W";
    QTest::newRow("N in a longitude list") << "N"
                                           << "W";
}

void tst_Location::longitudeLetter()
{
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QCOMPARE(QString::fromStdString(gyrena::longitudeLetter(text.toStdString())), letter);
}

// Every update writes exactly one of the eight values and reads both of its texts afresh.
void tst_Location::updatesTouchOnlyTheirValue_data()
{
    QTest::addColumn<int>("update");
    for (int i = 0; i < 8; ++i)
        QTest::addRow("update %d", i) << i;
}

void tst_Location::updatesTouchOnlyTheirValue()
{
    QFETCH(int, update);
    LocationState state{1.0, 2.0, 3.0, 4.0, "N", "E", "S", "W"};
    LocationState expected = state;
    switch (update) {
    case 0:
        gyrena::updateStartLat(state, "45", "30");
        expected.startLat = 45.5;
        break;
    case 1:
        gyrena::updateStartLong(state, "122", "27");
        expected.startLong = 122.0 + 27.0 / 60.0;
        break;
    case 2:
        gyrena::updateEndLat(state, "", "30");
        expected.endLat = 0.5;
        break;
    case 3:
        gyrena::updateEndLong(state, "&H10", "6");
        expected.endLong = 16.1;
        break;
    case 4:
        gyrena::updateStartLatDir(state, "n");
        expected.startLatDir = "S";
        break;
    case 5:
        gyrena::updateStartLongDir(state, "e");
        expected.startLongDir = "W";
        break;
    case 6:
        gyrena::updateEndLatDir(state, "N");
        expected.endLatDir = "N";
        break;
    case 7:
        gyrena::updateEndLongDir(state, "E");
        expected.endLongDir = "E";
        break;
    }
    QCOMPARE(state.startLat, expected.startLat);
    QCOMPARE(state.startLong, expected.startLong);
    QCOMPARE(state.endLat, expected.endLat);
    QCOMPARE(state.endLong, expected.endLong);
    QCOMPARE(state.startLatDir, expected.startLatDir);
    QCOMPARE(state.startLongDir, expected.startLongDir);
    QCOMPARE(state.endLatDir, expected.endLatDir);
    QCOMPARE(state.endLongDir, expected.endLongDir);
}

// The lists start on their first items: "0", "0" and "N"/"E".
void tst_Location::startUpState()
{
    LocationState state;
    QVERIFY(state.startLatDir.empty());
    gyrena::updateStartLat(state, "0", "0");
    gyrena::updateStartLong(state, "0", "0");
    gyrena::updateEndLat(state, "0", "0");
    gyrena::updateEndLong(state, "0", "0");
    gyrena::updateStartLatDir(state, "N");
    gyrena::updateStartLongDir(state, "E");
    gyrena::updateEndLatDir(state, "N");
    gyrena::updateEndLongDir(state, "E");
    const LocationState expected{0.0, 0.0, 0.0, 0.0, "N", "E", "N", "E"};
    QVERIFY(state == expected);
}

QTEST_GUILESS_MAIN(tst_Location)
#include "tst_location.moc"
