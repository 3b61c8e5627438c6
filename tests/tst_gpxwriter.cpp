// GPX route files: escaping of any name, coordinates the GPX 1.1 schema accepts in any locale,
// and the atomic write beside the target.

#include "externaltools.h"
#include "germanlocale.h"
#include "io/atomicfile.h"
#include "io/gpxwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

class tst_GpxWriter : public QObject
{
    Q_OBJECT

private slots:
    void escaped_data();
    void escaped();
    void coordinates_data();
    void coordinates();
    void atomicWrite_data();
    void atomicWrite();
};

void tst_GpxWriter::escaped_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("escaped");

    QTest::newRow("markup") << QByteArray("<a & b>") << QByteArray("&lt;a &amp; b&gt;");
    QTest::newRow("quotes") << QByteArray("\"O'Hare\"") << QByteArray("&quot;O&apos;Hare&quot;");
    QTest::newRow("line breaks and tabs kept as references")
        << QByteArray("a\tb\r\nc") << QByteArray("a&#9;b&#13;&#10;c");
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

void tst_GpxWriter::escaped()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, escaped);
    const std::string out = gyrena::xmlEscaped(std::string_view(name.constData(), name.size()));
    QCOMPARE(QByteArray::fromStdString(out), escaped);
}

void tst_GpxWriter::coordinates_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("180 is -180") << -10.99 << 180.0 << false
                                 << QByteArray(R"(lat="-10.990000000" lon="-180.000000000")");
    QTest::newRow("rounds to 180") << 0.0 << 179.9999999999 << false
                                   << QByteArray(R"(lat="0.000000000" lon="-180.000000000")");
    QTest::newRow("German locale, a point and not a comma")
        << 51.5 << -0.125 << true << QByteArray(R"(lat="51.500000000" lon="-0.125000000")");
}

void tst_GpxWriter::coordinates()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(bool, german);
    QFETCH(QByteArray, written);
    std::optional<GermanLocale> locale;
    if (german) {
        locale.emplace();
        GYRENA_REQUIRE_GERMAN(*locale);
    }
    const std::string gpx = gyrena::writeGpxRoute(
        "Route", {{{latitude, longitude}, "A"}, {{latitude + 1.0, longitude}, "B"}});
    locale.reset();
    QVERIFY2(QByteArray::fromStdString(gpx).contains("<rtept " + written + "><name>A"),
             gpx.c_str());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("route.gpx");
    QVERIFY(gyrena::writeFileAtomically(path.toStdString(), gpx).empty());
    GYRENA_VERIFY_GPX_SCHEMA(path);
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
