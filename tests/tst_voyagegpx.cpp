// Voyage files: Gyrena's own file read back to the same voyage, checked by the GPX 1.1 schema and
// by gpsbabel (also run as tst_voyagegpx_de, in a German locale); a route from another program;
// refused documents named by line.

#include "externaltools.h"

#include "geo/utctime.h"
#include "io/formats/voyagegpx.h"
#include "turningrouter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::Voyage)

class tst_VoyageGpx : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void foreignRoute();
    void read_data();
    void read();
    void refused_data();
    void refused();
};

namespace {

Voyage threePlaces()
{
    Voyage voyage;
    voyage.places = {{"Lisbon", {38.7, -9.15}},
                     {"Cape <&> \"Good\" Hope", {-34.0 - 21.4 / 60, 18.0 + 28.4 / 60}},
                     {"Z\xC3\xBCrich", {47.37, 8.54}}};
    voyage.legs = {{Sailing::Composite, 44.0 + 1.0 / 3, 7.5}, {Sailing::RhumbLine, 60, {}}};
    voyage.speed = 6.25;
    voyage.departure = parseUtcMinute("2026-12-08T22:30Z");
    voyage.spacing = {PlanOptions::Spacing::Distance, 10, 250.0};
    return voyage;
}

// What went wrong reading, for a failure message; empty when the read went well.
const char* problem(const std::variant<Voyage, FileError>& read)
{
    const FileError* error = std::get_if<FileError>(&read);
    return error ? error->what.c_str() : "";
}

QString written(const QTemporaryDir& dir, const std::string& bytes)
{
    const QString path = dir.filePath("voyage.gpx");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) < 0)
        return {};
    return path;
}

} // namespace

void tst_VoyageGpx::roundTrip_data()
{
    QTest::addColumn<Voyage>("voyage");

    QTest::newRow("three places, composite, times") << threePlaces();
    Voyage antimeridian;
    antimeridian.places = {{"", {-17.7, 179.999999}}, {"Apia", {-13.83, -171.76}}};
    antimeridian.legs = {{}};
    antimeridian.spacing.everyDegrees = 5;
    QTest::newRow("unnamed place at the antimeridian, no departure") << antimeridian;
    // Its waypoints fall on meridians a hair off the round number, and one a hair off 0.
    Voyage meridians;
    meridians.places = {{"", {-47.46391, -23.181454}}, {"", {8.609614, 65.228826}}};
    meridians.legs = {{Sailing::RhumbLine, 60, {}}};
    QTest::newRow("rhumb line with waypoints on the meridians") << meridians;
    // Its turning point is written by its passage's name, planned afresh when read.
    Voyage bySea;
    bySea.places = {{"Lisbon", {38.7, -9.15}}, {"Funchal", {32.65, -16.9}}};
    bySea.legs = {{Sailing::BySea, 60, {}}};
    bySea.sea = {12.5, 65, {"suez", "good-hope"}};
    QTest::newRow("by sea, passages avoided, a clearance") << bySea;
}

void tst_VoyageGpx::roundTrip()
{
    QFETCH(Voyage, voyage);
    const TurningRouter router({{{35.0, -12.0}, "Madeira Gap"}});
    const VoyagePlan plan = planVoyage(voyage, &router);
    QVERIFY(plan.hasPlan);
    const std::string bytes = writeVoyageGpx(voyage, plan);
    const auto read = readVoyageGpx(bytes);
    QVERIFY2(std::holds_alternative<Voyage>(read), problem(read));
    QVERIFY(std::get<Voyage>(read) == voyage);

    QTemporaryDir dir;
    const QString path = written(dir, bytes);
    QVERIFY(!path.isEmpty());
    GYRENA_VERIFY_GPX_SCHEMA(path);
    // A chart plotter's view: every row in order, as one route.
    GYRENA_REQUIRE_PROGRAM(gpsbabel, "gpsbabel", "test");
    QProcess babel;
    babel.start(gpsbabel, {"-r", "-i", "gpx", "-f", path, "-o", "unicsv", "-F", "-"});
    QVERIFY(babel.waitForFinished(60000));
    QCOMPARE(babel.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(babel.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), qsizetype(plan.rows.size()) + 1); // a header line
    const QStringList last = lines.back().split(QLatin1Char(','));
    QVERIFY2(std::abs(last[1].toDouble() - plan.rows.back().position.latitude) < 1e-6,
             qPrintable(lines.back()));
    QCOMPARE(lines.filter(",\"Madeira Gap\"").size(), qsizetype(hasLegBySea(voyage) ? 1 : 0));
}

void tst_VoyageGpx::foreignRoute()
{
    // GPX 1.0 from another program: a waypoint and a track beside the route, foreign extensions.
    const std::string bytes = R"(<?xml version="1.0"?>
<gpx version="1.0" creator="other" xmlns="http://www.topografix.com/GPX/1/0" xmlns:o="urn:other">
  <wpt lat="1" lon="2"><name>not a place</name></wpt>
  <rte><name>Across</name>
    <rtept lat=" 50.1" lon="-5.5"><name>Falmouth</name><o:x speed="3"/></rtept>
    <rtept lat="43.3" lon="-8.4"/>
    <rtept lat="+36.1" lon="-5.35"><name>Gibraltar</name></rtept>
  </rte>
  <rte><rtept lat="0" lon="0"/><rtept lat="1" lon="1"/></rte>
</gpx>)";
    const auto read = readVoyageGpx(bytes);
    QVERIFY2(std::holds_alternative<Voyage>(read), problem(read));
    const Voyage& voyage = std::get<Voyage>(read);
    Voyage expected;
    expected.places = {
        {"Falmouth", {50.1, -5.5}}, {"", {43.3, -8.4}}, {"Gibraltar", {36.1, -5.35}}};
    expected.legs = {{}, {}};
    QVERIFY(voyage == expected);
}

void tst_VoyageGpx::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Voyage>("voyage");

    const QString gpx = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<gpx version=\"1.1\" creator=\"t\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<rte><rtept lat=\"1\" lon=\"2\"><name>"
        "Z\u00FCrich \U0001F30D</name></rtept><rtept lat=\"3\" lon=\"4\"/></rte></gpx>");
    Voyage twoPlaces;
    twoPlaces.places = {{"Z\xC3\xBCrich \xF0\x9F\x8C\x8D", {1, 2}}, {"", {3, 4}}};
    twoPlaces.legs = {{}};
    const auto utf16 = [&](QSysInfo::Endian order, bool mark) {
        QByteArray out;
        for (const QChar c : (mark ? QStringLiteral("\uFEFF") : QString()) + gpx) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out += order == QSysInfo::BigEndian ? QByteArray{&hi, 1} + lo : QByteArray{&lo, 1} + hi;
        }
        return out;
    };
    QTest::newRow("UTF-16, little-endian with its mark")
        << utf16(QSysInfo::LittleEndian, true) << twoPlaces;
    QTest::newRow("UTF-16, big-endian with its mark")
        << utf16(QSysInfo::BigEndian, true) << twoPlaces;
    QTest::newRow("UTF-16, big-endian, declaration only")
        << utf16(QSysInfo::BigEndian, false) << twoPlaces;

    Voyage split;
    split.places = {{"Cadiz & C\xC3\xA1"
                     "diz <old>",
                     {1, 2}},
                    {"", {3, 4}}};
    split.legs = {{}};
    QTest::newRow("a name in pieces: text, a comment, references, CDATA")
        << QByteArray("<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><rte><rtept lat=\"1\" "
                      "lon=\"2\"><name>Cadiz<!-- & --> &amp; C&#xE1;diz <![CDATA[<old>]]></name>"
                      "</rtept><rtept lat=\"3\" lon=\"4\"/></rte></gpx>")
        << split;

    // Gyrena's places marked, without its voyage settings: the marks still say which points
    // are places and how each leg is sailed.
    Voyage marked;
    marked.places = {{"", {-47.46391, -23.181454}}, {"", {8.609614, 65.228826}}};
    marked.legs = {{Sailing::RhumbLine, 60, {}}};
    QTest::newRow("places marked, no voyage settings")
        << QByteArray(
               "<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
               "xmlns:gyrena=\"https://gyrena.github.io/xmlns/voyage/1\"><rte><rtept "
               "lat=\"-47.46391\" lon=\"-23.181454\"><extensions><gyrena:place "
               "sailing=\"rhumb-line\"/></extensions></rtept><rtept lat=\"-40\" "
               "lon=\"-10\"/><rtept lat=\"8.609614\" lon=\"65.228826\"><extensions>"
               "<gyrena:place/></extensions></rtept></rte></gpx>")
        << marked;
}

void tst_VoyageGpx::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Voyage, voyage);
    const auto read = readVoyageGpx(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QVERIFY2(std::holds_alternative<Voyage>(read), problem(read));
    QVERIFY(std::get<Voyage>(read) == voyage);
}

void tst_VoyageGpx::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("line");

    const QByteArray head =
        "<?xml version=\"1.0\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" "
        "xmlns:g=\"https://gyrena.github.io/xmlns/voyage/1\">\n";
    QTest::newRow("not XML") << QByteArray("<gpx>\n<rte>\n</gpx>") << "not well-formed XML" << 3;
    QTest::newRow("no GPX") << QByteArray("<kml/>") << "the document is not GPX" << 1;
    QTest::newRow("not in GPX's namespace")
        << QByteArray("<gpx xmlns=\"http://example.com/not-gpx\">\n<rte><rtept lat=\"1\" "
                      "lon=\"1\"/><rtept lat=\"2\" lon=\"2\"/></rte></gpx>")
        << "the document is not GPX" << 1;
    QTest::newRow("undefined entity")
        << head + "<rte>\n<rtept lat=\"1\" lon=\"1\"><name>&undefined;</name></rtept></rte></gpx>"
        << "not well-formed XML: the entity &undefined; is not defined" << 4;
    const QByteArray doctype = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY c \"Cadiz\">\n";
    QTest::newRow("internal entity") << doctype + "]>\n<gpx><rte><name>&c;</name></rte></gpx>"
                                     << "a document type declaration" << 2;
    QByteArray laughs = doctype + "<!ENTITY l0 \"ha\">\n";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    QTest::newRow("billion laughs") << laughs + "]>\n<gpx><rte><name>&l9;</name></rte></gpx>"
                                    << "a document type declaration" << 2;
    QTest::newRow("no route") << head + "<trk/>\n</gpx>"
                              << "the file holds no route" << 2;
    QTest::newRow("one point") << head + "<rte>\n<rtept lat=\"1\" lon=\"1\"/>\n</rte></gpx>"
                               << "the route holds fewer than two places" << 3;
    QTest::newRow("latitude beyond 90")
        << head + "<rte>\n<rtept lat=\"1\" lon=\"1\"/>\n<rtept lat=\"91\" lon=\"1\"/></rte></gpx>"
        << "lat 91 is outside -90..90" << 5;
    QTest::newRow("longitude missing")
        << head + "<rte>\n<rtept lat=\"1\" lon=\"1\"/>\n\n<rtept lat=\"1\"/></rte></gpx>"
        << "<rtept> has no lon attribute" << 6;
    QTest::newRow("number with a comma")
        << head + "<rte><rtept lat=\"1,5\" lon=\"1\"/><rtept lat=\"1\" lon=\"1\"/></rte></gpx>"
        << "lat \"1,5\" is not a number" << 3;
    QTest::newRow("own file, unknown sailing")
        << head +
               "<rte><extensions><g:voyage speed=\"6\" spacing=\"meridians\" every-degrees=\"10\" "
               "every-nm=\"600\"/></extensions>\n<rtept lat=\"1\" lon=\"1\"><extensions><g:place "
               "sailing=\"loxodrome\"/></extensions></rtept></rte></gpx>"
        << "sailing \"loxodrome\" is none of" << 4;
    const QByteArray settings =
        "<rte><extensions>\n<g:voyage speed=\"6\" spacing=\"meridians\" every-degrees=\"10\" "
        "every-nm=\"600\" ";
    QTest::newRow("own file, a passage that is no key")
        << head + settings + "sea-avoid=\"suez Panama\"/></extensions></rte></gpx>"
        << "sea-avoid names a passage \"Panama\" that is not a key" << 4;
    QTest::newRow("own file, a clearance beyond 50 nm")
        << head + settings + "sea-clearance=\"51\"/></extensions></rte></gpx>"
        << "sea-clearance 51 is outside 0..50" << 4;
    QTest::newRow("own file, departure in local time")
        << head + "<rte><extensions>\n<g:voyage speed=\"6\" departure=\"2026-12-08T22:30\"/>"
                  "</extensions></rte></gpx>"
        << "departure \"2026-12-08T22:30\" is not a UTC date and time" << 4;
    QByteArray deep = head;
    for (int i = 0; i < 70; ++i)
        deep += "<x>\n";
    for (int i = 0; i < 70; ++i)
        deep += "</x>";
    // <gpx> is at depth 0, the first <x> (line 3) at 1.
    QTest::newRow("nested too deep") << deep + "</gpx>"
                                     << "elements nested deeper than 64" << 3 + 63;
    QTest::newRow("too large") << QByteArray(int(kMaxVoyageFileBytes) + 1, ' ')
                               << "the file is larger than 8 MB" << 0;
}

void tst_VoyageGpx::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, what);
    QFETCH(int, line);
    const auto read = readVoyageGpx(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QVERIFY(std::holds_alternative<FileError>(read));
    const FileError& error = std::get<FileError>(read);
    QVERIFY2(QString::fromStdString(error.what).startsWith(what), error.what.c_str());
    QCOMPARE(error.line, line);
}

QTEST_GUILESS_MAIN(tst_VoyageGpx)
#include "tst_voyagegpx.moc"
