// gyrena-route --almanac: the CSV columns and the text output state the same facts, local times
// agree with `date` and the system's tzdata, the same bytes in every locale.

#include "externaltools.h"

#include <QProcess>
#include <QtTest>

#include <cmath>

class tst_AlmanacTool : public QObject
{
    Q_OBJECT

private slots:
    void csvRows_data();
    void csvRows();
    void textStatesTheCsv();
};

namespace {

const QStringList kNewYorkLisbon = QString("40 42 N 74 0 W 38 42 N 9 9 W").split(' ');
const QStringList kAlmanacColumns = {
    "variation_deg", "magnetic_course_deg", "light",      "sunrise_utc",
    "sunset_utc",    "zone_time",           "local_time", "time_zone"};

QString run(const QString& program, const QStringList& arguments, const QByteArray& tz = {})
{
    return runProgram(program, arguments, {},
                      tz.isEmpty() ? QByteArrayList() : QByteArrayList{"TZ=" + tz});
}

// The CSV as rows of named fields.
QList<QMap<QString, QString>> parseCsv(const QString& csv)
{
    QStringList lines = csv.split('\n');
    const QStringList header = lines.takeFirst().split(',');
    QList<QMap<QString, QString>> rows;
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        QMap<QString, QString> row;
        for (int i = 0; i < header.size() && i < fields.size(); ++i)
            row[header[i]] = fields[i];
        rows.append(row);
    }
    return rows;
}

} // namespace

void tst_AlmanacTool::csvRows_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("timed");
    QTest::newRow("departure in summer")
        << (QStringList{"--depart", "2026-06-01T08:00Z", "--every-deg", "20"} + kNewYorkLisbon)
        << true;
    QTest::newRow("departure in winter")
        << (QStringList{"--depart", "2026-12-21T20:00Z", "--every-deg", "20"} + kNewYorkLisbon)
        << true;
    QTest::newRow("no departure") << (QStringList{"--every-deg", "20"} + kNewYorkLisbon) << false;
}

void tst_AlmanacTool::csvRows()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, timed);
    GYRENA_REQUIRE_PROGRAM(date, "date", "test");
    const QString csv =
        run(QStringLiteral(GYRENA_ROUTE_TOOL), QStringList{"--almanac", "--csv"} + arguments);
    QVERIFY(csv.section('\n', 0, 0).endsWith("eta_utc," + kAlmanacColumns.join(',')));
    const auto rows = parseCsv(csv);
    QCOMPARE_GE(rows.size(), 5);
    for (const auto& row : rows) {
        const QString where = row["waypoint"];
        // The course to steer by compass is the true course less the (east positive) variation.
        if (!row["leg_course"].isEmpty()) {
            const double sum =
                row["magnetic_course_deg"].toDouble() + row["variation_deg"].toDouble();
            QVERIFY2(std::abs(std::remainder(sum - row["leg_course"].toDouble(), 360.0)) < 1e-5,
                     qPrintable(where));
        }
        QCOMPARE(row["light"].isEmpty(), !timed);
        QCOMPARE(row["sunrise_utc"].isEmpty(), !timed);
        // The zone time by arithmetic: the hours of the nautical zone of the longitude.
        if (timed) {
            const int hours = -int(std::lround(row["longitude"].toDouble() / 15.0));
            const qint64 eta = run(date, QStringList{"-d", row["eta_utc"], "+%s"}).toLongLong();
            const QString zoneTime =
                run(date, QStringList{"-u", "-d", "@" + QString::number(eta - hours * 3600),
                                      "+%Y-%m-%dT%H:%M"});
            QCOMPARE(row["zone_time"].left(16), zoneTime);
        }
        // A place's legal time as `date` gives it in the place's zone.
        QCOMPARE(row["time_zone"].isEmpty(), row["place"] == "0");
        if (row["place"] == "1" && timed) {
            const QString local = run(date, QStringList{"-d", row["eta_utc"], "+%Y-%m-%dT%H:%M%:z"},
                                      row["time_zone"].toUtf8());
            QCOMPARE(row["local_time"], local);
        } else {
            QVERIFY(row["local_time"].isEmpty());
        }
    }
    QCOMPARE(rows.front()["time_zone"], QStringLiteral("America/New_York"));
    QCOMPARE(rows.back()["time_zone"], QStringLiteral("Europe/Lisbon"));
}

void tst_AlmanacTool::textStatesTheCsv()
{
    // Over the polar circle in midsummer, and a voyage beyond the magnetic model's years.
    for (const QString depart : {"2026-06-21T00:00Z", "2031-06-01T00:00Z"}) {
        const QStringList arguments = QStringList{"--almanac", "--depart", depart} +
                                      QString("70 0 N 20 0 E 60 0 N 5 0 E").split(' ');
        const QString text = run(QStringLiteral(GYRENA_ROUTE_TOOL), arguments);
        const auto rows =
            parseCsv(run(QStringLiteral(GYRENA_ROUTE_TOOL), QStringList{"--csv"} + arguments));
        QVERIFY(!rows.isEmpty());
        const QStringList facts = text.split('\n').filter(QStringLiteral("    variation "));
        QCOMPARE(facts.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const auto& row = rows[i];
            const QString variation =
                row["variation_deg"].isEmpty()
                    ? QStringLiteral("none")
                    : QString::number(std::abs(row["variation_deg"].toDouble()), 'f', 1) + "°" +
                          (row["variation_deg"].toDouble() < 0 ? "W" : "E");
            QVERIFY2(facts[i].startsWith("    variation " + variation), qPrintable(facts[i]));
            QVERIFY2(facts[i].contains("light " + row["light"] + ";"), qPrintable(facts[i]));
            if (!row["sunrise_utc"].isEmpty())
                QVERIFY2(facts[i].contains("sunrise " + row["sunrise_utc"]), qPrintable(facts[i]));
            QVERIFY2(facts[i].contains("zone time " + row["zone_time"]), qPrintable(facts[i]));
            if (!row["local_time"].isEmpty())
                QVERIFY2(
                    facts[i].contains("local time " + row["local_time"] + " " + row["time_zone"]),
                    qPrintable(facts[i]));
        }
        QVERIFY(depart.startsWith("2026") ? facts.front().contains("Sun up all day (polar day)")
                                          : text.contains("No magnetic variation in 2031"));
    }
}

QTEST_GUILESS_MAIN(tst_AlmanacTool)
#include "tst_almanactool.moc"
