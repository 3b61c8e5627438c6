// gyrena-route --sea with every way of giving a route and its options; run under a German locale
// too (tst_seatool_de), where the numbers must still be written with a point.

#include "externaltools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_SeaTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void routes_data();
    void routes();
    void exports();

private:
    QTemporaryDir m_dir;
};

void tst_SeaTool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile voyage(m_dir.filePath("three.gpx"));
    QVERIFY(voyage.open(QIODevice::WriteOnly));
    voyage.write(R"(<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="38.71667" lon="-9.13333"><name>Lisbon</name></rtept>
<rtept lat="36.14" lon="-5.35"><name>Gibraltar</name></rtept>
<rtept lat="41.38" lon="2.18"><name>Barcelona</name></rtept></rte></gpx>)");
    QFile bySea(m_dir.filePath("bysea.gpx"));
    QVERIFY(bySea.open(QIODevice::WriteOnly));
    bySea.write(R"(<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"
xmlns:g="https://gyrena.github.io/xmlns/voyage/1"><rte><extensions><g:voyage speed="12"
spacing="meridians" every-degrees="10" every-nm="600" sea-avoid="gibraltar"/></extensions>
<rtept lat="38.71667" lon="-9.13333"><name>Lisbon</name><extensions><g:place sailing="by-sea"/>
</extensions></rtept><rtept lat="41.38" lon="2.18"><name>Barcelona</name><extensions><g:place/>
</extensions></rtept></rte></gpx>)");
}

void tst_SeaTool::routes_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lines"); // a pattern for the lines below, in order
    const QString newYorkSanFrancisco = "40 43 N 74 0 W 37 46 N 122 25 W";
    QTest::newRow("twelve texts, from New York's centre through Panama")
        << "--sea --check-land " + newYorkSanFrancisco << 0
        << "(Panama Canal  .*\n){4}By sea: Panama Canal\nNo leg crosses land\\.\n";
    QTest::newRow("--avoid panama goes round the Horn")
        << "--sea --avoid PANAMA --check-land " + newYorkSanFrancisco << 0
        << "By sea: Cape Horn\nNo leg crosses land\\.\n";
    QTest::newRow("--csv names them in its rows, no other line")
        << "--sea --csv " + newYorkSanFrancisco << 0 << "(Panama Canal,.*\n){4}";
    QTest::newRow("a limiting latitude below the start")
        << "--sea --avoid panama --limit-lat 30 " + newYorkSanFrancisco << 1
        << "gyrena-route: no voyage to plan: no route by sea from place 1 to place 2: the start "
           "lies beyond the limiting latitude \\(leg 1\\)\n";
    QTest::newRow("an unknown passage is named with the known ones")
        << "--sea --avoid bass " + newYorkSanFrancisco << 1
        << "gyrena-route: no voyage to plan: no route by sea from place 1 to place 2: there is no "
           "passage called \"bass\" \\(leg 1\\)\nThe passages are: gibraltar dover .* admiralty\n";
    QTest::newRow("--from and --to, a clearance the way in cannot keep")
        << "--sea --clearance 2.5 --check-land --from Oslo --to Bergen" << 0
        << "By sea: Skagerrak\nClearance: leg 1 passes nearer the coast than 2\\.5 nm where no "
           "wider way leads\nNo leg crosses land\\.\n";
    QTest::newRow("a voyage, every leg by sea")
        << "--sea --check-land --voyage DIR/three.gpx" << 0
        << "By sea: Strait of Gibraltar\nNo leg crosses land\\.\n";
    // A voyage that says its legs are by sea is routed so without --sea, as it asks.
    QTest::newRow("a voyage file's legs by sea, Gibraltar avoided")
        << "--check-land --voyage DIR/bysea.gpx" << 0
        << "By sea: Cape of Good Hope, Bab-el-Mandeb, Gulf of Suez, Suez Canal\nNo leg crosses "
           "land\\.\n";
    QTest::newRow("a clearance out of range") << "--sea --clearance 51 " + newYorkSanFrancisco << 2
                                              << "gyrena-route: --clearance 51: expected nautical "
                                                 "miles from 0 to 50\n";
}

void tst_SeaTool::routes()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, lines);

    QStringList args;
    for (const QString& arg : arguments.split(' '))
        args << QString(arg).replace("DIR", m_dir.path());
    QProcess tool;
    tool.start(QStringLiteral(GYRENA_ROUTE_TOOL), args);
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), exitCode);
    // What a route by sea adds to the output, and what the land check and the errors say.
    static const QRegularExpression wanted(
        "^(By sea:|Clearance:|No leg crosses land|Land:|gyrena-route:|The passages|"
        "Panama Canal[ ,])");
    QString shown;
    const QString out =
        QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    for (const QString& line : out.split('\n'))
        if (wanted.match(line).hasMatch())
            shown += line + '\n';
    QVERIFY2(QRegularExpression("^" + lines + "$").match(shown).hasMatch(), qPrintable(shown));
}

void tst_SeaTool::exports()
{
    // A route by sea leaves the program as any voyage does, with times and the almanac, its
    // turning points named after the passages in every file.
    const QString gpx = m_dir.filePath("sea.gpx"), rtz = m_dir.filePath("sea.rtz"),
                  kml = m_dir.filePath("sea.kml");
    QProcess tool;
    tool.start(QStringLiteral(GYRENA_ROUTE_TOOL),
               {"--sea", "--depart", "2027-01-05T08:00Z", "--almanac", "--gpx", gpx, "--rtz", rtz,
                "--kml", kml, "--from", "New York", "--to", "San Francisco"});
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), 0);
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    QVERIFY2(out.contains(
                 QRegularExpression("\\nPanama Canal  9[^\\n]* ETA 2027-[^\\n]*\\n    variation ")),
             qPrintable(out));

    GYRENA_VERIFY_GPX_SCHEMA(gpx);
    GYRENA_REQUIRE_PROGRAM(gpsbabel, "gpsbabel", "test");
    QProcess babel;
    babel.start(gpsbabel, {"-r", "-i", "gpx", "-f", gpx, "-o", "unicsv", "-F", "-"});
    QVERIFY(babel.waitForFinished(60000));
    const QStringList points =
        QString::fromUtf8(babel.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(points.filter(",\"Panama Canal\"").size() >= 2, qPrintable(points.join('\n')));

    GYRENA_REQUIRE_PROGRAM(xmllint, "xmllint", "test");
    const QString kmlSchema = schemaFile(QStringLiteral("ogckml22.xsd"));
    if (kmlSchema.isEmpty())
        GYRENA_SKIP_OR_FAIL(
            QStringLiteral("the KML 2.2 schema is missing: run scripts/schemas.sh"));
    const QString problems = schemaProblems(xmllint, kmlSchema, kml);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    // Every route point is a waypoint of the RTZ and a pin of the KML, under the same name.
    for (const QString& path : {rtz, kml}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QString pattern =
            path == rtz ? "<waypoint [^>]*name=\"Panama Canal\"" : "<name>Panama Canal</name>";
        QCOMPARE(text.count(QRegularExpression(pattern)), points.filter("Panama Canal").size());
    }
}

QTEST_GUILESS_MAIN(tst_SeaTool)
#include "tst_seatool.moc"
