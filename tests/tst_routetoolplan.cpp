// gyrena-route's planning: the waypoint table, CSV, GPX read back by a real client, and batches.

#include "externaltools.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class tst_RouteToolPlan : public QObject
{
    Q_OBJECT

private slots:
    void planTable();
    void planEdges_data();
    void planEdges();
    void csvTable();
    void gpxReadBack_data();
    void gpxReadBack();
    void fileRefused_data();
    void fileRefused();
    void batch_data();
    void batch();
    void outputFails_data();
    void outputFails();
    void voyage_data();
    void voyage();
    void unnamedRouteName();
};

namespace {

const QStringList kSanFranciscoSydney = QString("37 45 N 122 27 W 34 0 S 151 0 E").split(' ');

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result run(const QString& program, const QStringList& arguments, const QByteArray& input = {},
           const QString& outputFile = {})
{
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, arguments);
    Result result;
    if (!process.waitForStarted(30000))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

Result runTool(const QStringList& arguments, const QByteArray& input = {})
{
    return run(QStringLiteral(GYRENA_ROUTE_TOOL), arguments, input);
}

} // namespace

// The README's example: its figures agree with GeodSolve -e 1 0 -L to the printed decimals.
void tst_RouteToolPlan::planTable()
{
    const Result boxes = runTool(kSanFranciscoSydney);
    const Result plan = runTool(QStringList{"--plan"} + kSanFranciscoSydney);
    QCOMPARE(plan.exitCode, 0);
    QVERIFY(plan.out.startsWith(boxes.out + '\n'));
    const QStringList lines = plan.out.mid(boxes.out.size()).split('\n');
    QVERIFY(
        lines.contains("WP07      10°59.3'S 180°00.0'E     4353.31  224.38      225.60    807.45"));
    QVERIFY(lines.contains("WP10      34°00.0'S 151°00.0'E     6457.91  235.91"));
    QVERIFY(lines.contains("Rhumb line: course 228.34 degrees, 6476.17 nautical miles, 18.26 "
                           "nautical miles (0.28 %) longer than the great circle"));
    QCOMPARE(lines.filter(QRegularExpression("^WP\\d\\d ")).size(), 10);
    QCOMPARE(plan.err, QString());
}

void tst_RouteToolPlan::planEdges_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown"); // a text the output holds
    QTest::addColumn<QString>("never"); // a text it must not hold

    const QStringList northward = QString("0 0 N 0 0 E 10 0 N 0 0.01 W").split(' ');
    QTest::newRow("a course just west of north, plan")
        << QStringList{"--plan"} + northward << "initial course 0.00 degrees"
        << "course 360.00";
    const QStringList overSouthPole = QString("10 0 N 20 0 E 10 0.01 S 160 0 W").split(' ');
    QTest::newRow("nearly antipodal: the vertex is the pole")
        << QStringList{"--plan"} + overSouthPole << "Vertex: the South Pole (on the route, "
        << "Vertex: 90°";
    QTest::newRow("nearly antipodal: waypoints along the arc")
        << QStringList{"--plan"} + overSouthPole << "Waypoints every 600.00 nautical miles"
        << "crosses every 10 degrees";
    QTest::newRow("180 is -180 in CSV")
        << QStringList{"--csv"} + kSanFranciscoSydney << "WP07,-10.987998023,-180.000000000,"
        << ",180.000000000,";
}

void tst_RouteToolPlan::planEdges()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QString, never);
    const Result result = runTool(arguments);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(shown), qPrintable(result.out));
    QVERIFY2(!result.out.contains(never), qPrintable(result.out));
}

void tst_RouteToolPlan::csvTable()
{
    const Result csv = runTool({"--csv", "--every-nm", "1000", "10", "0", "N", "20", "0", "E", "30",
                                "0", "S", "40", "0", "E"});
    QCOMPARE(csv.exitCode, 0);
    const QStringList rows = csv.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0], "waypoint,latitude,longitude,distance_nm,course,leg_course,leg_nm");
    // GeodSolve -e 1 0 -L 10 20 154.948749012087660 at 1000 nm: -5.136168709779 27.003520212325
    QVERIFY2(rows[2].startsWith("WP02,-5.136168710,27.003520212,1000.000000,155.248908281,"),
             qPrintable(rows[2]));
    QVERIFY(rows[4].endsWith(",,"));
}

void tst_RouteToolPlan::gpxReadBack_data()
{
    QTest::addColumn<QByteArray>("startName"); // empty: the route from arguments
    QTest::addColumn<QByteArray>("endName");

    QTest::newRow("WP numbers") << QByteArray() << QByteArray();
    QTest::newRow("markup, quotes and a tab in the names")
        << QByteArray("Fish & <Chips> \"Co\"") << QByteArray("Z\xC3\xBCrich\tO'Hare");
    QTest::newRow("a control character") << QByteArray("Bell\x07") << QByteArray("End");
}

void tst_RouteToolPlan::gpxReadBack()
{
    QFETCH(QByteArray, startName);
    QFETCH(QByteArray, endName);
    const QString gpsbabel = QStandardPaths::findExecutable("gpsbabel");
    const QString xmllint = QStandardPaths::findExecutable("xmllint");
    // Never skipped: scripts/deps.sh test installs both.
    QVERIFY2(!gpsbabel.isEmpty() && !xmllint.isEmpty(), "gpsbabel and xmllint are needed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString gpx = dir.filePath("route.gpx");
    QStringList arguments{"--gpx", gpx};
    if (startName.isEmpty()) {
        arguments += kSanFranciscoSydney;
    } else {
        QFile gdf(dir.filePath("route.gdf"));
        QVERIFY(gdf.open(QIODevice::WriteOnly));
        QByteArray bytes =
            "GyrenaDataFile\r\n" + startName + "\r\nHere\r\n" + endName + "\r\nThere\r\n";
        for (const QString& text : kSanFranciscoSydney)
            bytes += text.toUtf8() + "\r\n";
        gdf.write(bytes);
        gdf.close();
        arguments += gdf.fileName();
    }
    const Result tool = runTool(arguments);
    QCOMPARE(tool.exitCode, 0);
    GYRENA_VERIFY_GPX_SCHEMA(gpx);

    const Result read = run(gpsbabel, {"-i", "gpx", "-f", gpx, "-o", "csv", "-F", "-"});
    QCOMPARE(read.exitCode, 0);
    const QStringList points = read.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(points.size(), 10);
    QCOMPARE(points[0].section(", ", 0, 1), "37.75000, -122.45000");
    QCOMPARE(points[6].section(", ", 0, 1), "-10.98800, -180.00000");
    QCOMPARE(points[9].section(", ", 0, 1), "-34.00000, 151.00000");
    QCOMPARE(points[4].section(", ", 2), "WP05");
    // gpsbabel's CSV drops blanks from names; a control character became U+FFFD.
    const auto shown = [](QByteArray name, const char* otherwise) {
        return name.isEmpty() ? QString(otherwise)
                              : QString::fromUtf8(name.replace('\x07', "\xEF\xBF\xBD")).remove(' ');
    };
    QCOMPARE(points[0].section(", ", 2), shown(startName, "WP01"));
    QCOMPARE(points[9].section(", ", 2), shown(endName, "WP10"));
}

void tst_RouteToolPlan::fileRefused_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("GPX") << "--gpx";
    QTest::newRow("RTZ") << "--rtz";
    QTest::newRow("KML") << "--kml";
}

void tst_RouteToolPlan::fileRefused()
{
    QFETCH(QString, option);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Result result = runTool(QStringList{option, dir.path()} + kSanFranciscoSydney);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("the " + option.mid(2).toUpper() + " file was not written"),
             qPrintable(result.err));
    QVERIFY2(result.err.contains("not a regular file"), qPrintable(result.err));
    QVERIFY(QFileInfo(dir.path()).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void tst_RouteToolPlan::batch_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err");
    QTest::addColumn<int>("exitCode");

    const QByteArray sfSydney = "37 45 N 122 27 W 34 0 S 151 0 E";
    const QString sfSydneyOut = "6457.91\t7426.60\t240.26\t235.91\tWest\t";
    QTest::newRow("good lines, tabs and CR LF")
        << QStringList{} << sfSydney + "\r\n10\t0 N 10 0 E 50 0 N 170 0 W\n"
        << QStringList{sfSydneyOut, "7200.00\t8280.00\t0\t180\tNorth/South\tNorth"} << QStringList{}
        << 0;
    QTest::newRow("bad lines told, the others go on")
        << QStringList{}
        << "1 2 3\n" + sfSydney + "\n10 0 N 0 0 E 10 0 N 0 0 W\n" + QByteArray(5000, '7') + "\n" +
               sfSydney
        << QStringList{"", sfSydneyOut, "", "", sfSydneyOut}
        << QStringList{"gyrena-route: line 1: expected 12 coordinate texts, got 3",
                       "gyrena-route: line 3: Same Location!",
                       "gyrena-route: line 4: longer than 4096 bytes"}
        << 1;
    // Vertex latitude and longitude, rhumb course, distance, excess in nm and per cent.
    QTest::newRow("with the plan's figures")
        << QStringList{"--plan"} << sfSydney + "\n95 0 N 0 0 E 10 0 N 0 0 E\n"
        << QStringList{sfSydneyOut + "\t46.640222\t-79.434892\t228.34\t6476.17\t18.26\t0.28", ""}
        << QStringList{"gyrena-route: line 2: no route to plan: the start latitude is beyond 90 "
                       "degrees"}
        << 1;
}

void tst_RouteToolPlan::batch()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QFETCH(int, exitCode);

    const Result result = runTool(QStringList{"--batch"} + options, input);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, out.join('\n') + '\n');
    QCOMPARE(result.err.split('\n', Qt::SkipEmptyParts), err);
}

void tst_RouteToolPlan::outputFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("--plan") << QStringList{"--plan"} + kSanFranciscoSydney << QByteArray();
    QTest::newRow("--csv") << QStringList{"--csv"} + kSanFranciscoSydney << QByteArray();
    QTest::newRow("--batch") << QStringList{"--batch"}
                             << QByteArray("37 45 N 122 27 W 34 0 S 151 0 E\n");
}

void tst_RouteToolPlan::outputFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QVERIFY(QFileInfo::exists("/dev/full"));
    const Result result = run(QStringLiteral(GYRENA_ROUTE_TOOL), arguments, input, "/dev/full");
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("cannot write the output"), qPrintable(result.err));
}

void tst_RouteToolPlan::voyage_data()
{
    QTest::addColumn<QStringList>("arguments"); // {} stands for the voyage file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lastRow"); // of --csv, or a line of standard error

    // The worked example: 41N 72W to 41N 0E below 44N, 3181.6 nm along its great circles and
    // parallel, steered on rhumb legs 3182.7 (RhumbSolve between the rows, summed), against 3160.1.
    QTest::newRow("limit-lat, composite total")
        << QString("--csv --limit-lat 44 41 0 N 72 0 W 41 0 N 0 0 E").split(' ') << 0
        << "WP11,41.000000000,0.000000000,3182.727121,";
    // Lisbon 38.7 -9.15 to Bridgetown 13.1 -59.6 at 5 knots, steered: RhumbSolve -e
    // 6366707.0194937 0 -i between the rows, summed, gives 3076.738467 nm (the great circle,
    // GeodSolve, 3075.897727), 36921 minutes; date -u -d '2026-12-08T22:30Z + 36921 minutes'
    // gives 2027-01-03T13:51Z.
    QTest::newRow("voyage file, departure and speed")
        << QString("--csv --voyage {} --speed 5 --depart 2026-12-08T22:30Z").split(' ') << 0
        << "Bridgetown,13.100000000,-59.600000000,3076.738467,";
    QTest::newRow("limit beyond the range")
        << QString("--limit-lat 90 41 0 N 72 0 W 41 0 N 0 0 E").split(' ') << 2
        << "--limit-lat 90: expected degrees from 1 to 89";
    // Times asked for that cannot be given: said, not left out.
    QTest::newRow("ETAs after the year 9999 in CSV")
        << QString("--csv --voyage {} --depart 9999-12-30T00:00Z").split(' ') << 1
        << "no times: the voyage would end after the year 9999";
    QTest::newRow("ETAs after the year 9999 in RTZ")
        << QString("--voyage {} --depart 9999-12-30T00:00Z --rtz {}.rtz").split(' ') << 1
        << "no times: the voyage would end after the year 9999";
    QTest::newRow("departure in local time")
        << QString("--voyage {} --depart 2026-12-08T22:30").split(' ') << 2
        << "--depart 2026-12-08T22:30: expected YYYY-MM-DDTHH:MMZ (UTC)";
}

void tst_RouteToolPlan::voyage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, lastRow);
    QTemporaryDir dir;
    const QString gpx = dir.filePath("voyage.gpx");
    QFile file(gpx);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"(<gpx xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="38.7" lon="-9.15"><name>Lisbon</name></rtept>
<rtept lat="13.1" lon="-59.6"><name>Bridgetown</name></rtept></rte></gpx>)");
    file.close();
    arguments.replaceInStrings("{}", gpx);
    const Result tool = runTool(arguments);
    QCOMPARE(tool.exitCode, status);
    if (status != 0) {
        QVERIFY2(tool.err.contains(lastRow), qPrintable(tool.err));
        return;
    }
    const QStringList lines = tool.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), "waypoint,latitude,longitude,distance_nm,course,leg_course,leg_nm,"
                            "place,to_go_nm,eta_utc");
    QVERIFY2(lines.back().startsWith(lastRow), qPrintable(lines.back()));
    if (arguments.contains("--depart"))
        QVERIFY2(lines.back().endsWith(",1,0.000000,2027-01-03T13:51Z"), qPrintable(lines.back()));
}

void tst_RouteToolPlan::unnamedRouteName()
{
    // Places without names go by their numbers, in the text and in the file alike.
    QTemporaryDir dir;
    const QString gpx = dir.filePath("route.gpx");
    const Result tool =
        runTool(QString("--limit-lat 44 --gpx %1 41 0 N 72 0 W 41 0 N 0 0 E").arg(gpx).split(' '));
    QCOMPARE(tool.exitCode, 0);
    QFile file(gpx);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString name =
        QString::fromUtf8(file.readAll()).section("<name>", 1, 1).section("</name>", 0, 0);
    QVERIFY2(tool.out.startsWith("Voyage: " + name + ", "), qPrintable(name));
}

QTEST_GUILESS_MAIN(tst_RouteToolPlan)
#include "tst_routetoolplan.moc"
