// The program's command line: a wrong one ends at once with the usage line, before any window.
#include <QProcess>
#include <QtTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void wrongUsage_data();
    void wrongUsage();
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
    const QByteArray usage = "usage: gyrena [FILE.gdf | FILE.gcl | FILE.gpx]\n";
    // Qt's platform plugin may say something about the environment before it.
    const QByteArray said = onStderr ? gyrena.readAllStandardError() : gyrena.readAllStandardOutput();
    QVERIFY2(said.endsWith(usage), said.constData());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
