// The gyrena-route program end to end: arguments in, text and exit status out.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "geo/resultboxes.h"
#include "tst_workedroutes.h"

class tst_RouteTool : public QObject
{
    Q_OBJECT

private slots:
    void workedRoutes_data();
    void workedRoutes();
    void labelledOutput();
    void cannotCompute_data();
    void cannotCompute();
    void wrongUsage_data();
    void wrongUsage();
    void help();
    void textsAfterDoubleDash();
    void dataFile_data();
    void dataFile();
    void unreadableDataFile_data();
    void unreadableDataFile();
    void notRegularFile_data();
    void notRegularFile();
    void outputNotWritten_data();
    void outputNotWritten();
};

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

enum class Output { Captured, FullDisk, Closed };

Result runTool(const QStringList& arguments, Output output = Output::Captured)
{
    QProcess process;
    if (output == Output::FullDisk)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (output == Output::Closed)
        process.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
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

// A "TextN=value" line of --boxes as the labelled form prints it, by the window's table.
QString labelled(const QString& boxLine)
{
    const QString name = boxLine.section('=', 0, 0);
    for (const gyrena::ResultBox& box : gyrena::kResultBoxes) {
        if (QString::fromUtf8(box.objectName.data()) == name)
            return QString::fromStdString(
                gyrena::labelledResult({box.field, boxLine.section('=', 1).toStdString()}));
    }
    return QStringLiteral("no box %1").arg(name);
}

} // namespace

Q_DECLARE_METATYPE(Output)

void tst_RouteTool::workedRoutes_data()
{
    addWorkedRouteRows();
}

void tst_RouteTool::workedRoutes()
{
    QFETCH(QString, route);
    QFETCH(QStringList, writes);
    const QStringList texts = route.split(' ');

    const Result boxForm = runTool(QStringList{"--boxes"} + texts);
    QCOMPARE(boxForm.exitCode, 0);
    QCOMPARE(boxForm.out, writes.join('\n') + '\n');
    QCOMPARE(boxForm.err, QString());

    QStringList lines;
    for (const QString& box : writes)
        lines << labelled(box);
    const Result labelForm = runTool(texts);
    QCOMPARE(labelForm.exitCode, 0);
    QCOMPARE(labelForm.out, lines.join('\n') + '\n');
    QCOMPARE(labelForm.err, QString());
}

void tst_RouteTool::labelledOutput()
{
    const Result result = runTool(QString("37 45 N 122 27 W 34 0 S 151 0 E").split(' '));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QString("N = 86.55\n"
                                 "s = 52.25\n"
                                 "e = 124.00\n"
                                 "n = 107.63\n"
                                 "Great Circle Distance = 6457.91 nautical miles\n"
                                 "7426.60 staute miles\n"
                                 "Sang = 119.74\n"
                                 "Eang = 55.91\n"
                                 "Initial Course = 240.26 degrees\n"
                                 "Course of Arrival = 235.91 degrees\n"
                                 "direction EW = West\n"
                                 "direction NS =\n"));
}

void tst_RouteTool::cannotCompute_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("message");

    QTest::newRow("same location") << "10 0 N 0 0 E 10 0 N 0 0 W"
                                   << ""
                                   << "Same Location!";
    QTest::newRow("pole at two longitudes") << "90 0 S 5 0 E 90 0 S 7 0 W"
                                            << ""
                                            << "Same Location!";
    QTest::newRow("latitude beyond a double")
        << "1e400 0 N 5 0 E 10 0 N 6 0 W"
        << "Text11=11.00\n"
        << "This route cannot be computed: the start latitude is too large a number.";
    QTest::newRow("longitude beyond a double")
        << "10 0 N 5 0 E 10 0 N 6 1e400 W"
        << ""
        << "This route cannot be computed: the end longitude is too large a number.";
}

void tst_RouteTool::cannotCompute()
{
    QFETCH(QString, route);
    QFETCH(QString, written);
    QFETCH(QString, message);
    const QStringList texts = route.split(' ');

    const Result boxForm = runTool(QStringList{"--boxes"} + texts);
    QCOMPARE(boxForm.exitCode, 1);
    QCOMPARE(boxForm.out, written + "Message=" + message + '\n');
    QCOMPARE(boxForm.err, message + '\n');

    const Result labelForm = runTool(texts);
    QCOMPARE(labelForm.exitCode, 1);
    QCOMPARE(labelForm.err, message + '\n');
    QVERIFY(!labelForm.out.contains("Message="));
    QCOMPARE(labelForm.out.count('\n'), written.count('\n'));
}

void tst_RouteTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("eleven texts") << QString("37 45 N 122 27 W 34 0 S 151 0").split(' ');
    QTest::newRow("thirteen texts") << QString("37 45 N 122 27 W 34 0 S 151 0 E 1").split(' ');
    QTest::newRow("unknown option")
        << (QStringList{"--miles"} + QString("37 45 N 122 27 W 34 0 S 151 0 E").split(' '));
    QTest::newRow("boxes alone") << QStringList{"--boxes"};
    const QStringList route = QString("37 45 N 122 27 W 34 0 S 151 0 E").split(' ');
    QTest::newRow("--every-deg 0") << QStringList{"--every-deg", "0"} + route;
    QTest::newRow("--every-deg 91") << QStringList{"--every-deg", "91"} + route;
    QTest::newRow("--every-deg 2.5") << QStringList{"--every-deg", "2.5"} + route;
    QTest::newRow("--every-nm 0.5") << QStringList{"--every-nm", "0.5"} + route;
    QTest::newRow("--every-nm nan") << QStringList{"--every-nm", "nan"} + route;
    QTest::newRow("--every-nm without a value") << QStringList{"--every-nm"};
    QTest::newRow("--gpx with an empty name") << QStringList{"--gpx", ""} + route;
    QTest::newRow("--batch with texts") << QStringList{"--batch"} + route;
}

void tst_RouteTool::wrongUsage()
{
    QFETCH(QStringList, arguments);
    const Result result = runTool(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY(result.err.contains("Usage: gyrena-route"));
}

void tst_RouteTool::help()
{
    const Result result = runTool({"--help"});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.startsWith("Usage: gyrena-route"));
    QVERIFY(result.out.contains("--boxes"));
    QCOMPARE(result.err, QString());
}

// Negative degree texts are texts, not options; "--" lets a text begin with "--".
void tst_RouteTool::textsAfterDoubleDash()
{
    const Result negative =
        runTool({"--boxes", "-5", "0", "N", "5", "0", "E", "10", "0", "N", "6", "0", "W"});
    QCOMPARE(negative.exitCode, 0);
    QVERIFY(negative.out.contains("Text14=95.00\n"));
    const Result dashed =
        runTool({"--boxes", "--", "--5", "0", "N", "5", "0", "E", "10", "0", "N", "6", "0", "W"});
    QCOMPARE(dashed.exitCode, 0);
    QVERIFY(dashed.out.contains("Text14=90.00\n")); // "--5" has no leading number: 0
}

namespace {

// A data file as the window saves it: marker, names and countries, then the twelve coordinate
// texts in the order of the arguments.
QByteArray dataFileBytes(const QString& route, const QByteArray& lineEnd = "\r\n")
{
    QByteArray bytes = "GyrenaDataFile" + lineEnd + "Start" + lineEnd + "Here" + lineEnd + "End" +
                       lineEnd + "There" + lineEnd;
    for (const QString& text : route.split(' '))
        bytes += text.toUtf8() + lineEnd;
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

void tst_RouteTool::dataFile_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QByteArray>("lineEnd");

    QTest::newRow("San Francisco to Sydney")
        << "37 45 N 122 27 W 34 0 S 151 0 E" << QByteArray("\r\n");
    QTest::newRow("Sydney to San Francisco, LF line ends")
        << "33 56 S 151 10 E 37 47 N 122 25 W" << QByteArray("\n");
    QTest::newRow("over the north pole") << "10 0 N 10 0 E 50 0 N 170 0 W" << QByteArray("\r\n");
    QTest::newRow("same location") << "10 0 N 0 0 E 10 0 N 0 0 W" << QByteArray("\r\n");
}

// The file form prints exactly what the twelve texts print.
void tst_RouteTool::dataFile()
{
    QFETCH(QString, route);
    QFETCH(QByteArray, lineEnd);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeFile(dir, "route.gdf", dataFileBytes(route, lineEnd));
    QVERIFY(!path.isEmpty());

    for (const QStringList& option : {QStringList{}, QStringList{"--boxes"}}) {
        const Result fromTexts = runTool(option + route.split(' '));
        const Result fromFile = runTool(option + QStringList{path});
        QVERIFY(fromTexts.exitCode == 0 || fromTexts.exitCode == 1);
        QCOMPARE(fromFile.exitCode, fromTexts.exitCode);
        QCOMPARE(fromFile.out, fromTexts.out);
        QCOMPARE(fromFile.err, fromTexts.err);
    }
}

void tst_RouteTool::unreadableDataFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("where");

    const QByteArray good = dataFileBytes("37 45 N 122 27 W 34 0 S 151 0 E");
    QTest::newRow("not a data file") << QByteArray("Hello\r\nWorld\r\n") << "first line";
    QTest::newRow("ends early") << good.left(good.indexOf("122")) << "line 9";
    QTest::newRow("degree line not a number")
        << QByteArray(good).replace("\r\n122\r\n", "\r\n1x2\r\n") << "line 9";
    QTest::newRow("empty file") << QByteArray() << "empty";
}

void tst_RouteTool::unreadableDataFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, where);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeFile(dir, "bad.gdf", bytes);
    QVERIFY(!path.isEmpty());

    const Result result = runTool({"--boxes", path});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.startsWith(path + ": "), qPrintable(result.err));
    QVERIFY2(result.err.contains(where), qPrintable(result.err));

    const Result missing = runTool({dir.filePath("missing.gdf")});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.startsWith(dir.filePath("missing.gdf") + ": cannot open the file"));
}

void tst_RouteTool::notRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("directory") << "directory";
    QTest::newRow("device") << "/dev/null";
}

// Refused before reading: a named pipe without a writer would block the tool for good.
void tst_RouteTool::notRegularFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = kind;
    if (kind == "pipe") {
        path = dir.filePath("pipe.gdf");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "directory") {
        path = dir.path();
    }
    const Result result = runTool({path});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err, path + ": cannot open the file: not a regular file\n");
}

void tst_RouteTool::outputNotWritten_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Output>("output");
    const QStringList route = QString("51 30 N 0 10 W 40 43 N 74 0 W").split(' ');
    QTest::newRow("labelled, full disk") << route << Output::FullDisk;
    QTest::newRow("boxes, full disk") << QStringList{"--boxes"} + route << Output::FullDisk;
    QTest::newRow("help, full disk") << QStringList{"--help"} << Output::FullDisk;
    QTest::newRow("labelled, closed output") << route << Output::Closed;
}

void tst_RouteTool::outputNotWritten()
{
    QFETCH(QStringList, arguments);
    QFETCH(Output, output);
    const Result result = runTool(arguments, output);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.startsWith("gyrena-route: cannot write the output: "),
             qPrintable(result.err));
}

QTEST_GUILESS_MAIN(tst_RouteTool)
#include "tst_routetool.moc"
