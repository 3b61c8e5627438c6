// The gazetteer: its asset read whole or not at all, the folding of typed text, the search on
// real places, and its positions against the world city list built from other data (tzdata).
#include "io/formats/citylist.h"
#include "io/places/gazetteerasset.h"
#include "io/places/placesearch.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace gyrena;

class tst_Gazetteer : public QObject
{
    Q_OBJECT
private slots:
    void fold_data();
    void fold();
    void search_data();
    void search();
    void nothingFound_data();
    void nothingFound();
    void ranking_data();
    void ranking();
    void locationTexts();
    void againstWorldCityList();
    void damagedAsset_data();
    void damagedAsset();
};

namespace {

const Gazetteer& world()
{
    const auto& read = builtInGazetteer();
    if (const auto* error = std::get_if<GazetteerError>(&read))
        qFatal("the built-in gazetteer cannot be read: %s at %zu", error->what.c_str(),
               error->offset);
    return std::get<Gazetteer>(read);
}

std::string assetBytes()
{
    std::ifstream file(GYRENA_SOURCE_DIR "/assets/places/gazetteer.bin", std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(file), {}};
}

std::uint32_t u32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4); // little-endian machines only, as CI runs
    return value;
}

} // namespace

void tst_Gazetteer::fold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("accents") << "São Paulo"
                             << "sao paulo";
    QTest::newRow("capitals and umlaut") << "ZÜRICH"
                                         << "zurich";
    QTest::newRow("sharp s") << "Straße"
                             << "strasse";
    QTest::newRow("stroke letters") << "Łódź"
                                    << "lodz";
    QTest::newRow("apostrophe and stop") << "St. John's"
                                         << "st johns";
    QTest::newRow("typographic apostrophe") << "N’Djamena"
                                            << "ndjamena";
    QTest::newRow("hyphens") << "Aix-en-Provence"
                             << "aix en provence";
    QTest::newRow("blanks in a row and at the ends") << "  New \t York  "
                                                     << "new york";
    QTest::newRow("Greek keeps its letters") << "ΑΘΗΝΑ"
                                             << "αθηνα";
    QTest::newRow("full-width letters") << "ＳＹＤ"
                                        << "syd";
    QTest::newRow("punctuation only") << ",.;-"
                                      << "";
}

void tst_Gazetteer::fold()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(QString::fromStdString(world().fold(text.toStdString())), key);
}

void tst_Gazetteer::search_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("region");
    QTest::newRow("a name's start") << "funch"
                                    << "Funchal"
                                    << "PT"
                                    << "";
    QTest::newRow("no accents typed") << "sao paulo"
                                      << "São Paulo"
                                      << "BR"
                                      << "";
    QTest::newRow("umlaut") << "zurich"
                            << "Zürich"
                            << "CH"
                            << "ZH";
    QTest::newRow("acute accent") << "reykjavik"
                                  << "Reykjavík"
                                  << "IS"
                                  << "";
    QTest::newRow("IATA code") << "SYD"
                               << "Sydney Kingsford Smith International Airport"
                               << "AU"
                               << "New South Wales";
    QTest::newRow("ICAO code, lower case") << "yssy"
                                           << "Sydney Kingsford Smith International Airport"
                                           << "AU"
                                           << "New South Wales";
    QTest::newRow("name, ISO code") << "portland, us"
                                    << "Portland"
                                    << "US"
                                    << "OR";
    QTest::newRow("name, state") << "portland, me"
                                 << "Portland"
                                 << "US"
                                 << "ME";
    QTest::newRow("name, country name") << "paris, france"
                                        << "Paris"
                                        << "FR"
                                        << "";
    QTest::newRow("name, another name of the country") << "birmingham, uk"
                                                       << "Birmingham"
                                                       << "GB"
                                                       << "ENG";
    QTest::newRow("name, start of the country name") << "paris, united st"
                                                     << "Paris"
                                                     << "US"
                                                     << "TX";
    QTest::newRow("UN/LOCODE") << "SGSIN"
                               << "Singapore"
                               << "SG"
                               << "";
    QTest::newRow("UN/LOCODE, lower case, of a mended port") << "cdboa"
                                                             << "Boma"
                                                             << "CD"
                                                             << "";
    QTest::newRow("a later word") << "heathrow airport"
                                  << "London Heathrow Airport"
                                  << "GB"
                                  << "England";
    QTest::newRow("biggest of the exact names") << "london"
                                                << "London"
                                                << "GB"
                                                << "ENG";
    QTest::newRow("punctuation left out") << "st johns, canada"
                                          << "St. John's"
                                          << "CA"
                                          << "";
}

void tst_Gazetteer::search()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    QFETCH(QString, country);
    QFETCH(QString, region);
    const std::vector<PlaceMatch> matches = findPlaces(world(), query.toStdString(), 10);
    QVERIFY(!matches.empty());
    const std::size_t best = matches.front().place;
    QCOMPARE(QString::fromUtf8(world().name(best)), name);
    QCOMPARE(QString::fromUtf8(world().countryCode(best)), country);
    QCOMPARE(QString::fromUtf8(world().region(best)), region);
}

void tst_Gazetteer::nothingFound_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blanks") << QByteArray("   ");
    QTest::newRow("punctuation") << QByteArray("%%%!");
    QTest::newRow("no such place") << QByteArray("xyzzyq");
    QTest::newRow("unknown country") << QByteArray("paris, narnia");
    QTest::newRow("a country alone") << QByteArray(", france");
    QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\xc3");
    QTest::newRow("a pasted page") << QByteArray(100000, 'a');
}

void tst_Gazetteer::nothingFound()
{
    QFETCH(QByteArray, query);
    QVERIFY(findPlaces(world(), query.toStdString(), 10).empty());
}

void tst_Gazetteer::ranking_data()
{
    // The first answers, as name/region/country and the IATA code or UN/LOCODE, in order.
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("exact names before a bigger place with the word later (New York City)")
        << "york" << QStringList{"York/ENG/GB", "York/PA/US", "York/SC/US"};
    QTest::newRow("an airport's code is an exact answer")
        << "san" << QStringList{"San Diego International Airport/California/US SAN", "San//ML"};
    QTest::newRow("a port of its town's name after the town, before smaller towns")
        << "hamburg" << QStringList{"Hamburg//DE", "Hamburg//DE DEHAM", "Hamburg/NY/US"};
    QTest::newRow("a port's code is an exact answer, its name's start not")
        << "gbsou" << QStringList{"Southampton/ENG/GB GBSOU"};
    QTest::newRow("starts of names, the biggest first")
        << "s" << QStringList{"Shanghai//CN", "Shenzhen//CN", "Seoul//KR"};
    QTest::newRow("a name before a later word")
        << "heathrow" << QStringList{"Heathrow/FL/US", "London Heathrow Airport/England/GB LHR"};
    QTest::newRow("a bigger start after exact names")
        << "sydney"
        << QStringList{"Sydney//AU", "Sydney//CA", "Sydney//AU AUSYD",
                       "Sydney Kingsford Smith International Airport/New South Wales/AU SYD"};
}

void tst_Gazetteer::ranking()
{
    QFETCH(QString, query);
    QFETCH(QStringList, first);
    const std::vector<PlaceMatch> matches = findPlaces(world(), query.toStdString(), 50);
    QStringList answers;
    for (const PlaceMatch& match : matches) {
        const std::string code =
            std::string(world().iata(match.place)) + std::string(world().unlocode(match.place));
        answers << QString::fromUtf8(world().name(match.place)) + '/' +
                       QString::fromUtf8(world().region(match.place)) + '/' +
                       QString::fromUtf8(world().countryCode(match.place)) +
                       (code.empty() ? QString() : ' ' + QString::fromStdString(code));
    }
    QCOMPARE(answers.mid(0, first.size()), first);
    QSet<std::size_t> places;
    for (const PlaceMatch& match : matches)
        places.insert(match.place);
    QCOMPARE(places.size(), answers.size()); // no place twice
}

void tst_Gazetteer::locationTexts()
{
    // Whole minutes as the lists hold them, rounded, for every place: never 60 minutes, and
    // never more than half a minute from the place.
    const Gazetteer& places = world();
    for (std::size_t p = 0; p < places.placeCount(); ++p) {
        const LocationTexts texts = placeLocationTexts(places, p);
        const LatLon at = places.position(p);
        const auto check = [&](const std::string& degrees, const std::string& minutes,
                               const std::string& letter, double value, const char* negative) {
            const int m = std::stoi(minutes);
            const double written = (std::stoi(degrees) + m / 60.0) * (letter == negative ? -1 : 1);
            return m >= 0 && m < 60 && std::fabs(written - value) <= 0.5 / 60 + 1e-9;
        };
        if (!check(texts.latitudeDegrees, texts.latitudeMinutes, texts.latitudeLetter, at.latitude,
                   "S") ||
            !check(texts.longitudeDegrees, texts.longitudeMinutes, texts.longitudeLetter,
                   at.longitude, "W"))
            QFAIL(std::string(places.name(p)).c_str());
    }
}

void tst_Gazetteer::againstWorldCityList()
{
    // tzdata's cities and GeoNames' towns come from different surveys. Where both name a town in
    // the same country, the nearest town of that name lies within 0.2 degrees. Two differ by
    // more: GeoNames puts Dubai's point at 25.08N, south of the creek that tzdata's 25 18N
    // marks; and it names two of tzdata's towns otherwise ("Khovd" for Hovd, "Heroica
    // Matamoros" for Matamoros), while towns of the same name lie far away.
    std::ifstream file(GYRENA_SOURCE_DIR "/assets/cities/world.gcl", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const auto parsed = readCityList(bytes);
    QVERIFY(std::holds_alternative<CityTable>(parsed));
    const CityTable& cities = std::get<CityTable>(parsed);
    const Gazetteer& places = world();
    const auto angle = [](std::string_view d, std::string_view m, std::string_view l,
                          char negative) {
        const double value = std::stoi(std::string(d)) + std::stoi(std::string(m)) / 60.0;
        return l.front() == negative ? -value : value;
    };
    int compared = 0;
    for (int r = 1; r <= cities.cityCount(); ++r) {
        const CityView city = cities.row(r);
        const std::string key = places.fold(city.name);
        const std::string country = places.fold(city.country);
        const double latitude = angle(city.latDegrees, city.latMinutes, city.latDir, 'S');
        const double longitude = angle(city.longDegrees, city.longMinutes, city.longDir, 'W');
        double nearest = 360;
        for (const PlaceMatch& match : findPlaces(places, city.name, 500)) {
            const std::size_t p = match.place;
            if (places.key(p) != key || places.kind(p) != PlaceKind::Town ||
                places.countryKeys(places.country(p)).front() != country)
                continue;
            const LatLon at = places.position(p);
            nearest = std::min(nearest, std::max(std::fabs(at.latitude - latitude),
                                                 std::fabs(at.longitude - longitude)));
        }
        if (nearest == 360 || city.name == "Hovd" || city.name == "Matamoros")
            continue;
        ++compared;
        const double tolerance = city.name == "Dubai" ? 0.25 : 0.2;
        QVERIFY2(
            nearest <= tolerance,
            qPrintable(QStringLiteral("%1: %2 degrees away")
                           .arg(QString::fromUtf8(city.name.data(), qsizetype(city.name.size())))
                           .arg(nearest)));
    }
    // Most of the list: a list that no longer matched anything would prove nothing.
    QVERIFY2(compared > 240, qPrintable(QString::number(compared)));
    qInfo("%d cities compared", compared);
}

void tst_Gazetteer::damagedAsset_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("patch"); // written over the asset at `at` (-1: cut one byte)
    QTest::addColumn<QString>("what");

    const std::string bytes = assetBytes();
    const std::size_t countries = u32At(bytes, 8), aliases = u32At(bytes, 12),
                      regions = u32At(bytes, 16), places = u32At(bytes, 20),
                      airports = u32At(bytes, 24), ports = u32At(bytes, 28);
    const int place = int(44 + countries * 7 + aliases * 6 + regions * 5);
    const int airport = int(place + places * 17);
    const int port = int(airport + airports * 11);
    const int fold = int(port + ports * 9);
    const int word = int(fold + u32At(bytes, 32) * 9);
    QTest::newRow("cut short") << -1 << QByteArray() << "size disagrees";
    QTest::newRow("wrong magic") << 0 << QByteArray("GYLN") << "magic";
    QTest::newRow("version 1, before the ports") << 4 << QByteArray("\x01", 1) << "version 1";
    const std::uint32_t allPorts = std::uint32_t(places - airports + 1);
    QTest::newRow("more ports than places")
        << 28 << QByteArray(reinterpret_cast<const char*>(&allPorts), 4) << "than places";
    QTest::newRow("a huge place count") << 20 << QByteArray("\xff\xff\xff\x7f") << "too many";
    const std::uint32_t onePlaceMore = std::uint32_t(places + 1);
    QTest::newRow("one place more")
        << 20 << QByteArray(reinterpret_cast<const char*>(&onePlaceMore), 4) << "size disagrees";
    QTest::newRow("latitude beyond 90")
        << place << QByteArray("\x41\x54\x89\x00", 4) << "beyond 90";
    QTest::newRow("no such country") << place + 14 << QByteArray("\xff") << "no country";
    QTest::newRow("no such kind") << place + 15 << QByteArray("\x07") << "no known kind";
    QTest::newRow("name cut") << place + 16 << QByteArray("\x00", 1) << "no name";
    QTest::newRow("airport code in lower case")
        << airport + 4 << QByteArray("abc") << "capitals and digits";
    QTest::newRow("port code with a digit 1")
        << port + 6 << QByteArray("1") << "no UN/LOCODE of its country";
    QTest::newRow("port code of another country")
        << port + 4 << QByteArray("ZZ") << "no UN/LOCODE of its country";
    QTest::newRow("a port's code on a town")
        << port << QByteArray("\x00\x00\x00\x00", 4) << "is no port";
    QTest::newRow("fold of an ASCII letter")
        << fold << QByteArray("\x41\x00\x00\x00", 4) << "out of order or range";
    QTest::newRow("names shifted") << place + 16 << QByteArray("\x10") << "";
    QTest::newRow("a word that is none")
        << word + 4 << QByteArray("\x00\x00", 2) << "not the start of a later word";
    const QByteArray firstWords = QByteArray::fromStdString(bytes.substr(std::size_t(word), 12));
    QTest::newRow("two words swapped")
        << word << firstWords.mid(6) + firstWords.left(6) << "out of order";
}

void tst_Gazetteer::damagedAsset()
{
    QFETCH(int, at);
    QFETCH(QByteArray, patch);
    QFETCH(QString, what);
    std::string bytes = assetBytes();
    QVERIFY(std::holds_alternative<Gazetteer>(readGazetteer(bytes)));
    if (at < 0)
        bytes.pop_back();
    else
        bytes.replace(std::size_t(at), std::size_t(patch.size()), patch.toStdString());
    const auto read = readGazetteer(bytes);
    QVERIFY(std::holds_alternative<GazetteerError>(read));
    const GazetteerError& error = std::get<GazetteerError>(read);
    QVERIFY2(QString::fromStdString(error.what).contains(what), error.what.c_str());
    QVERIFY(error.offset <= bytes.size());
}

QTEST_GUILESS_MAIN(tst_Gazetteer)
#include "tst_gazetteer.moc"
