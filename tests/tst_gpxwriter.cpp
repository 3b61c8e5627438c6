// GPX route files: any name written so that a reader gets it back, and the atomic write beside
// the target.

#include "io/files/atomicfile.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_GpxWriter : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void atomicWrite_data();
    void atomicWrite();
};

void tst_GpxWriter::names_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("readBack");

    QTest::newRow("markup") << QByteArray("<a & b>") << QByteArray("<a & b>");
    QTest::newRow("quotes") << QByteArray("\"O'Hare\"") << QByteArray("\"O'Hare\"");
    QTest::newRow("line breaks and tabs, a carriage return as a reader takes it")
        << QByteArray("a\tb\r\nc\rd") << QByteArray("a\tb\nc\nd");
    QTest::newRow("other control characters") << QByteArray("a\x01\x1f"
                                                            "b",
                                                            4)
                                              << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD"
                                                            "b");
    QTest::newRow("NUL") << QByteArray("a\0b", 3)
                         << QByteArray("a\xEF\xBF\xBD"
                                       "b");
    QTest::newRow("UTF-8 kept") << QByteArray("Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x8C\x8D")
                                << QByteArray("Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x8C\x8D");
    QTest::newRow("Windows-1252 byte") << QByteArray("Caf\xE9") << QByteArray("Caf\xEF\xBF\xBD");
    QTest::newRow("truncated sequence at the end")
        << QByteArray("a\xE2\x82") << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("overlong slash")
        << QByteArray("\xC0\xAF") << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("noncharacter U+FFFE")
        << QByteArray("\xEF\xBF\xBE") << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

void tst_GpxWriter::names()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, readBack);
    gyrena::PassagePlan plan;
    plan.name = name.toStdString();
    plan.rows.resize(2);
    plan.rows[0].name = name.toStdString();
    plan.rows[1].position = {1, 1};
    const auto read = gyrena::readVoyageGpx(gyrena::writeGpxRoute(plan));
    const auto* error = std::get_if<gyrena::FileError>(&read);
    QVERIFY2(!error, error ? error->what.c_str() : "");
    QCOMPARE(QByteArray::fromStdString(std::get<gyrena::Voyage>(read).places.front().name),
             readBack);
}

void tst_GpxWriter::atomicWrite_data()
{
    QTest::addColumn<QString>("target"); // below the scratch folder
    QTest::addColumn<bool>("written");

    QTest::newRow("new file") << "route.gpx" << true;
    QTest::newRow("over an old file") << "old.gpx" << true;
    QTest::newRow("through a link") << "link.gpx" << true;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("missing folder") << "missing/route.gpx" << false;
    QTest::newRow("below a regular file") << "old.gpx/route.gpx" << false;
}

void tst_GpxWriter::atomicWrite()
{
    QFETCH(QString, target);
    QFETCH(bool, written);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString old = scratch.filePath("old.gpx");
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old bytes");
    }
    QVERIFY(QFile::link(old, scratch.filePath("link.gpx")));
    QVERIFY(QDir(scratch.path()).mkdir("folder"));
    const QStringList before =
        QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    const std::string error =
        gyrena::writeFileAtomically(scratch.filePath(target).toStdString(), "new bytes");
    QCOMPARE(error.empty(), written);

    QStringList after =
        QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    if (target == "route.gpx") {
        after.removeOne("route.gpx");
        QFile file(scratch.filePath(target));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new bytes"));
    }
    // Nothing left beside the target, and a link stays a link to the file it named.
    QCOMPARE(after, before);
    QVERIFY(QFileInfo(scratch.filePath("link.gpx")).isSymLink());
    QFile oldFile(old);
    QVERIFY(oldFile.open(QIODevice::ReadOnly));
    const bool oldReplaced = target == "old.gpx" || target == "link.gpx";
    QCOMPARE(oldFile.readAll(), QByteArray(oldReplaced ? "new bytes" : "old bytes"));
}

QTEST_GUILESS_MAIN(tst_GpxWriter)
#include "tst_gpxwriter.moc"
