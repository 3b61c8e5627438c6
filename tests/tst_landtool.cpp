// gyrena-route --check-land with every way of giving a route; run under a German locale too
// (tst_landtool_de), where the numbers must still be written with a point.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_LandTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void crossings_data();
    void crossings();

private:
    QTemporaryDir m_dir;
};

void tst_LandTool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile data(m_dir.filePath("dover-calais.gdf"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write("GyrenaDataFile\r\nDover\r\nUK\r\nCalais\r\nFrance\r\n51\r\n8\r\nN\r\n1\r\n19\r\nE\r\n"
               "50\r\n57\r\nN\r\n1\r\n51\r\nE\r\n");
    data.close();
    QFile voyage(m_dir.filePath("five.gpx"));
    QVERIFY(voyage.open(QIODevice::WriteOnly));
    voyage.write(R"(<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="38.71667" lon="-9.13333"><name>Lisbon</name></rtept>
<rtept lat="8.9936" lon="-79.51973"><name>Panama</name></rtept>
<rtept lat="21.30694" lon="-157.85833"><name>Honolulu</name></rtept>
<rtept lat="-33.86785" lon="151.20732"><name>Sydney</name></rtept>
<rtept lat="1.28967" lon="103.85007"><name>Singapore</name></rtept></rte></gpx>)");
}

void tst_LandTool::crossings_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("land"); // a pattern for all the lines about land, in order

    // One line of land; the numbers are written with a point whatever the locale.
    const auto line = [](const QString& leg) {
        return "Land: leg " + leg +
               R"(: \d+\.\d nm over land from \d+°\d\d\.\d'[NS] \d+°\d\d\.\d'[EW] to )"
               R"(\d+°\d\d\.\d'[NS] \d+°\d\d\.\d'[EW]\n)";
    };
    QTest::newRow("twelve texts, Tampa to Miami")
        << "--check-land 27 57 N 82 28 W 25 46 N 80 12 W" << 3 << line("1 WP01 – WP02");
    QTest::newRow("a data file, Dover to Calais")
        << "--check-land DIR/dover-calais.gdf" << 0 << QString("No leg crosses land\\.\n");
    QTest::newRow("--from and --to, Sydney to Singapore, Australia first")
        << "--check-land --from Sydney --to Singapore" << 3
        << "Land: leg 1 Sydney – Singapore: 181\\d\\.\\d nm over land from 33°52\\.0'S 151°12\\.0'E "
           "to 16°2\\d\\.\\d'S 123°3\\d\\.\\d'E\n(" +
               line("1 Sydney – Singapore") + ")+";
    QTest::newRow("a voyage of five places")
        << "--check-land --voyage DIR/five.gpx" << 3
        << "(" + line("1 Lisbon – Panama") + "){2}(" + line("2 Panama – Honolulu") + "){2}" +
               line("3 Honolulu – Sydney") + "(" + line("4 Sydney – Singapore") + ")+";
    QTest::newRow("--plan lists them, the status unchanged")
        << "--plan 27 57 N 82 28 W 25 46 N 80 12 W" << 0 << line("1 WP01 – WP02");
    QTest::newRow("a voyage's text lists them, the status unchanged")
        << "--voyage DIR/five.gpx" << 0 << "(" + line("[1-4] [^:]+") + "){12}";
    QTest::newRow("not with --csv")
        << "--check-land --csv --from Sydney --to Singapore" << 2 << QString();
}

void tst_LandTool::crossings()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, land);

    QStringList args;
    for (const QString& arg : arguments.split(' '))
        args << QString(arg).replace("DIR", m_dir.path());
    QProcess tool;
    tool.start(QStringLiteral(GYRENA_ROUTE_TOOL), args);
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), exitCode);
    QString lines;
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Land:") || line.startsWith("No leg crosses land"))
            lines += line + '\n';
    QVERIFY2(QRegularExpression("^" + land + "$").match(lines).hasMatch(), qPrintable(lines));
}

QTEST_GUILESS_MAIN(tst_LandTool)
#include "tst_landtool.moc"
