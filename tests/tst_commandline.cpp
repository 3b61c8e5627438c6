// The program's command line: a wrong one ends at once with the usage line, before any window.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void wrongUsage_data();
    void wrongUsage();
    void exportPdf_data();
    void exportPdf();
};

void tst_CommandLine::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("onStderr");
    QTest::newRow("unknown long option") << QStringList{"--route"} << 2 << true;
    QTest::newRow("unknown short option") << QStringList{"-x", "a.gdf"} << 2 << true;
    QTest::newRow("two files") << QStringList{"a.gdf", "b.gcl"} << 2 << true;
    QTest::newRow("help") << QStringList{"--help"} << 0 << false;
    QTest::newRow("PDF without a file") << QStringList{"--export-pdf", "out.pdf"} << 2 << true;
    QTest::newRow("PDF after a file")
        << QStringList{"a.gdf", "--export-pdf", "out.pdf"} << 2 << true;
}

void tst_CommandLine::wrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(bool, onStderr);
    QProcess gyrena;
    gyrena.start(QStringLiteral(GYRENA_PROGRAM), arguments);
    QVERIFY(gyrena.waitForFinished(30000));
    QCOMPARE(gyrena.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gyrena.exitCode(), status);
    const QByteArray usage = "usage: gyrena [FILE.gdf | FILE.gcl | FILE.gpx]\n"
                             "       gyrena --export-pdf OUT.pdf FILE.gdf|FILE.gpx\n";
    // Qt's platform plugin may say something about the environment before it.
    const QByteArray said =
        onStderr ? gyrena.readAllStandardError() : gyrena.readAllStandardOutput();
    QVERIFY2(said.endsWith(usage), said.constData());
}

void tst_CommandLine::exportPdf_data()
{
    QTest::addColumn<QByteArray>("data"); // the data file's bytes; empty: no such file
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("out"); // under the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("error"); // what standard error says
    const QByteArray route = "GyrenaDataFile\r\nLondon\r\nEngland\r\nNew York\r\nUSA\r\n"
                             "51\r\n30\r\nN\r\n0\r\n10\r\nW\r\n40\r\n43\r\nN\r\n74\r\n0\r\nW\r\n";
    const QByteArray voyage =
        "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><rte>"
        "<rtept lat=\"38.7\" lon=\"-9.13\"><name>Lisbon</name></rtept>"
        "<rtept lat=\"32.65\" lon=\"-16.92\"><name>Funchal</name></rtept>"
        "<rtept lat=\"13.1\" lon=\"-59.62\"><name>Bridgetown</name></rtept>"
        "</rte></gpx>";
    QTest::newRow("written") << route << "route.gdf"
                             << "plan.pdf" << 0 << QByteArray();
    QTest::newRow("voyage written") << voyage << "voyage.GPX"
                                    << "plan.pdf" << 0 << QByteArray();
    QTest::newRow("no such file") << QByteArray() << "route.gdf"
                                  << "plan.pdf" << 1 << QByteArray("cannot open");
    QTest::newRow("not a data file")
        << QByteArray("hello\n") << "route.gdf"
        << "plan.pdf" << 1 << QByteArray("not a readable Gyrena data file");
    QTest::newRow("not a voyage file")
        << route << "voyage.gpx"
        << "plan.pdf" << 1 << QByteArray("not a readable voyage file");
    QTest::newRow("into a missing folder")
        << route << "route.gdf"
        << "missing/plan.pdf" << 1 << QByteArray("the PDF file was not written");
}

void tst_CommandLine::exportPdf()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, input);
    QFETCH(QString, out);
    QFETCH(int, status);
    QFETCH(QByteArray, error);
    QTemporaryDir dir;
    if (!data.isEmpty()) {
        QFile file(dir.filePath(input));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QProcess gyrena;
    // A script has no display: the export must not need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    gyrena.setProcessEnvironment(environment);
    gyrena.start(QStringLiteral(GYRENA_PROGRAM),
                 {"--export-pdf", dir.filePath(out), dir.filePath(input)});
    QVERIFY(gyrena.waitForFinished(60000));
    QCOMPARE(gyrena.exitCode(), status);
    const QByteArray said = gyrena.readAllStandardError();
    QVERIFY2(error.isEmpty() || said.contains(error), said.constData());
    QFile pdf(dir.filePath(out));
    QCOMPARE(pdf.open(QIODevice::ReadOnly), status == 0);
    if (status == 0)
        QVERIFY(pdf.read(5) == "%PDF-");
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
