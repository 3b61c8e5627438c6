// gyrena-route's --find, --from and --to end to end: arguments in, text and exit status out.
#include <QProcess>
#include <QtTest>

class tst_PlaceTool : public QObject
{
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void fromTo();
    void wrongUsage_data();
    void wrongUsage();
};

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(GYRENA_ROUTE_TOOL), arguments);
    Result result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

void tst_PlaceTool::find_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("town") << "funch" << 0 << "Funchal\t\tPT\t32.66568\t-16.92547\ttown\t100847";
    QTest::newRow("airport by code")
        << "FNC" << 0
        << "Madeira International Airport Cristiano Ronaldo\tAutonomous Region of Madeira\tPT\t"
           "32.69790\t-16.77450\tairport\tFNC LPMA";
    QTest::newRow("airport without an ICAO code")
        << "BTZ" << 0
        << "Betong International Airport\tYala Province\tTH\t5.79000\t101.15000\tairport\tBTZ";
    QTest::newRow("port by its UN/LOCODE, any case")
        << "nlRtm" << 0 << "Rotterdam\t\tNL\t51.92000\t4.50000\tport\tNLRTM";
    QTest::newRow("nothing") << "xyzzyq" << 1 << "";
}

void tst_PlaceTool::find()
{
    QFETCH(QString, query);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    const Result result = runTool({"--find", query});
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out.section('\n', 0, 0), firstLine);
    QVERIFY(result.out.count('\n') <= 10);
    QCOMPARE(result.err.isEmpty(), exitCode == 0);
}

void tst_PlaceTool::fromTo()
{
    // The first answers, as their coordinate texts would be typed: the same route and boxes.
    const Result byName = runTool({"--boxes", "--from", "funchal", "--to", "SYD"});
    const Result byTexts = runTool(QString("--boxes 32 40 N 16 56 W 33 57 S 151 11 E").split(' '));
    QCOMPARE(byName.exitCode, 0);
    QCOMPARE(byName.out, byTexts.out);
    QCOMPARE(byName.err, QStringLiteral("From: Funchal, Portugal (32 40 N 16 56 W)\n"
                                        "To: Sydney Kingsford Smith International Airport, "
                                        "Australia (33 57 S 151 11 E)\n"));
    const Result gpx = runTool({"--csv", "--from", "london", "--to", "new york"});
    QCOMPARE(gpx.exitCode, 0);
    QVERIFY(gpx.out.startsWith("waypoint,latitude,longitude"));

    const Result unknown = runTool({"--from", "funchal", "--to", "xyzzyq"});
    QCOMPARE(unknown.exitCode, 1);
    QCOMPARE(unknown.out, QString());
    QVERIFY(unknown.err.contains("--to \"xyzzyq\": no place matches"));
}

void tst_PlaceTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--find without text") << QStringList{"--find"};
    QTest::newRow("--from alone") << QStringList{"--from", "funchal"};
    QTest::newRow("--from, --to and texts")
        << QString("--from a --to b 1 2 N 3 4 E 5 6 N 7 8 E").split(' ');
    QTest::newRow("--find and texts") << QStringList{"--find", "a", "b"};
}

void tst_PlaceTool::wrongUsage()
{
    QFETCH(QStringList, arguments);
    const Result result = runTool(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY(result.err.contains("Usage: gyrena-route"));
}

QTEST_GUILESS_MAIN(tst_PlaceTool)
#include "tst_placetool.moc"
