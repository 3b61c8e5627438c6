#include "bench/citylistgen.h"
#include "io/formats/citylist.h"

#include <QtTest>

#include <string>
#include <string_view>

using namespace gyrena;

namespace {

std::string bytes(const QByteArray& a)
{
    return std::string(a.constData(), std::size_t(a.size()));
}

const QByteArray kExample = "GyrenaCityListFile\r\n"
                            "3\r\n"
                            "London,England,51,30,N,0,10,W\r\n"
                            "New York,USA,40,43,N,74,0,W\r\n"
                            "\"Washington, D.C.\",USA,38,54,N,77,2,W\r\n";

QString qs(std::string_view v)
{
    return QString::fromUtf8(v.data(), qsizetype(v.size()));
}

QStringList fieldsOf(const CityView& c)
{
    return {qs(c.name),   qs(c.country),     qs(c.latDegrees),  qs(c.latMinutes),
            qs(c.latDir), qs(c.longDegrees), qs(c.longMinutes), qs(c.longDir)};
}

QByteArray withCount(const QByteArray& count)
{
    QByteArray file = kExample;
    file.replace("\r\n3\r\n", "\r\n" + count + "\r\n");
    return file;
}

} // namespace

class tst_CityList : public QObject
{
    Q_OBJECT

private slots:
    void readsExample();
    void tableColumns();
    void reads_data();
    void reads();
    void counts_data();
    void counts();
    void failures_data();
    void failures();
    void largerThanLimit();
    void largestGeneratedList();
    void shippedWorldList();
};

void tst_CityList::readsExample()
{
    const auto read = readCityList(bytes(kExample));
    QVERIFY(std::holds_alternative<CityTable>(read));
    const CityTable& table = std::get<CityTable>(read);
    QCOMPARE(table.cityCount(), 3);
    QCOMPARE(fieldsOf(table.row(1)),
             (QStringList{"London", "England", "51", "30", "N", "0", "10", "W"}));
    QCOMPARE(fieldsOf(table.row(2)),
             (QStringList{"New York", "USA", "40", "43", "N", "74", "0", "W"}));
    QCOMPARE(fieldsOf(table.row(3)),
             (QStringList{"Washington, D.C.", "USA", "38", "54", "N", "77", "2", "W"}));
}

void tst_CityList::tableColumns()
{
    const CityTable table = std::get<CityTable>(readCityList(bytes(kExample)));
    const QStringList expected = {"3", "Washington, D.C.", "USA", "38", "54", "N", "77", "2", "W"};
    for (int c = CityRow; c <= CityLongDir; ++c)
        QCOMPARE(QString::fromStdString(table.text(3, CityColumn(c))), expected[c - 1]);
    QCOMPARE(table.text(1, CityRow), std::string("1"));
}

void tst_CityList::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("fields");

    const QStringList london = {"London", "England", "51", "30", "N", "0", "10", "W"};
    QByteArray lf = kExample;
    lf.replace("\r\n", "\n");
    QByteArray cr = kExample;
    cr.replace("\r\n", "\r");
    QByteArray oneLine = kExample;
    oneLine.replace("\r\n", ",");
    oneLine.chop(1);

    QTest::newRow("lf line ends")
        << lf << 3 << 3 << QStringList{"Washington, D.C.", "USA", "38", "54", "N", "77", "2", "W"};
    QTest::newRow("cr line ends") << cr << 3 << 1 << london;
    QTest::newRow("all on one line")
        << oneLine << 3 << 2 << QStringList{"New York", "USA", "40", "43", "N", "74", "0", "W"};
    QTest::newRow("one record spread over lines")
        << QByteArray("GyrenaCityListFile\n1\nLondon\nEngland\n51,30\nN\n0,10,W") << 1 << 1
        << london;
    QTest::newRow("count smaller than records")
        << withCount("2") << 2 << 2
        << QStringList{"New York", "USA", "40", "43", "N", "74", "0", "W"};
    QTest::newRow("one city") << withCount("1") << 1 << 1 << london;
    QTest::newRow("junk after the last record never read")
        << (withCount("1") + QByteArray("\0\0\"", 3)) << 1 << 1 << london;
    QTest::newRow("empty fields kept empty")
        << QByteArray("GyrenaCityListFile\r\n1\r\nNowhere,,,,,,,\r\n") << 1 << 1
        << QStringList{"Nowhere", "", "", "", "", "", "", ""};
    QTest::newRow("trailing comma gives the last empty field")
        << QByteArray("GyrenaCityListFile\r\n1\r\nNowhere,,,,,,,") << 1 << 1
        << QStringList{"Nowhere", "", "", "", "", "", "", ""};
    QTest::newRow("lower-case letters copied")
        << QByteArray("GyrenaCityListFile\r\n1\r\n"
                      "Oslo,Norway,59,55,n,10,45,e\r\n")
        << 1 << 1 << QStringList{"Oslo", "Norway", "59", "55", "n", "10", "45", "e"};
    QTest::newRow("fractional minutes copied")
        << QByteArray("GyrenaCityListFile\r\n1\r\n"
                      "X,Y,12.5,30.5,N, 1 ,2,W\r\n")
        << 1 << 1 << QStringList{"X", "Y", "12.5", "30.5", "N", "1 ", "2", "W"};
    QTest::newRow("windows-1252 names")
        << QByteArray("GyrenaCityListFile\r\n1\r\n"
                      "Z\xFCrich,Schweiz,47,22,N,8,33,E\r\n")
        << 1 << 1 << QStringList{"Zürich", "Schweiz", "47", "22", "N", "8", "33", "E"};
    QTest::newRow("utf8 names") << QByteArray("\xEF\xBB\xBFGyrenaCityListFile\r\n1\r\n"
                                              "\xE6\x9D\xB1\xE4\xBA\xAC,Japan,35,39,N,139,45,E\r\n")
                                << 1 << 1
                                << QStringList{"東京", "Japan", "35", "39", "N", "139", "45", "E"};
}

void tst_CityList::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QStringList, fields);
    const auto read = readCityList(bytes(file));
    QVERIFY2(std::holds_alternative<CityTable>(read),
             std::holds_alternative<FileError>(read) ? std::get<FileError>(read).what.c_str() : "");
    const CityTable& table = std::get<CityTable>(read);
    QCOMPARE(table.cityCount(), count);
    QCOMPARE(fieldsOf(table.row(row)), fields);
}

void tst_CityList::counts_data()
{
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("cities");
    QTest::addColumn<FileError::Kind>("kind");

    const auto ok = FileError::Kind::Refused; // stands for "no error" in this table
    const auto below = FileError::Kind::CountBelowOne;
    const auto unreadable = FileError::Kind::Unreadable;
    QTest::newRow("3") << QByteArray("3") << 3 << ok;
    QTest::newRow("leading blanks") << QByteArray("   3") << 3 << ok;
    QTest::newRow("trailing blanks") << QByteArray("3  ") << 3 << ok;
    QTest::newRow("plus sign") << QByteArray("+3") << 3 << ok;
    QTest::newRow("leading zeros") << QByteArray("0003") << 3 << ok;
    QTest::newRow("point zero") << QByteArray("3.0") << 3 << ok;
    QTest::newRow("point") << QByteArray("3.") << 3 << ok;
    QTest::newRow("quoted") << QByteArray("\"2\"") << 2 << ok;
    QTest::newRow("zero") << QByteArray("0") << 0 << below;
    QTest::newRow("minus one") << QByteArray("-1") << 0 << below;
    QTest::newRow("minus zero") << QByteArray("-0") << 0 << below;
    QTest::newRow("very negative") << QByteArray("-99999999999999999999") << 0 << below;
    QTest::newRow("fraction") << QByteArray("2.5") << 0 << unreadable;
    QTest::newRow("words") << QByteArray("three") << 0 << unreadable;
    QTest::newRow("empty") << QByteArray("") << 0 << unreadable;
    QTest::newRow("32768") << QByteArray("32768") << 0 << unreadable;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << 0 << unreadable;
    QTest::newRow("exponent") << QByteArray("3E0") << 0 << unreadable;
    QTest::newRow("hexadecimal") << QByteArray("&H3") << 0 << unreadable;
    QTest::newRow("blank inside") << QByteArray("1 2") << 0 << unreadable;
    QTest::newRow("trailing letters") << QByteArray("3x") << 0 << unreadable;
    QTest::newRow("sign only") << QByteArray("-") << 0 << unreadable;
}

void tst_CityList::counts()
{
    QFETCH(QByteArray, count);
    QFETCH(int, cities);
    QFETCH(FileError::Kind, kind);
    const auto read = readCityList(bytes(withCount(count)));
    if (cities > 0) {
        QVERIFY(std::holds_alternative<CityTable>(read));
        QCOMPARE(std::get<CityTable>(read).cityCount(), cities);
        return;
    }
    QVERIFY(std::holds_alternative<FileError>(read));
    const FileError& error = std::get<FileError>(read);
    QCOMPARE(error.kind, kind);
    QCOMPARE(error.line, 2);
    if (kind == FileError::Kind::Unreadable)
        QCOMPARE(error.what,
                 std::string("the count on line 2 is not a whole number from 1 to 32,767"));
}

void tst_CityList::failures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<FileError::Kind>("kind");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("line");

    const auto unreadable = FileError::Kind::Unreadable;
    const auto notList = FileError::Kind::NotCityList;
    QTest::newRow("empty file") << QByteArray() << unreadable << "the file is empty" << 1;
    QTest::newRow("data file") << QByteArray("GyrenaDataFile\r\nLondon\r\n") << notList
                               << "the first field is not \"GyrenaCityListFile\"" << 1;
    QTest::newRow("other letter case")
        << kExample.toUpper() << notList << "the first field is not \"GyrenaCityListFile\"" << 1;
    QTest::newRow("marker only") << QByteArray("GyrenaCityListFile\r\n") << unreadable
                                 << "the file ends before the count, on line 2" << 2;
    QTest::newRow("count larger than records")
        << withCount("4") << unreadable << "the file ends on line 6, before the end of city 4 of 4"
        << 6;
    QTest::newRow("ends inside a record")
        << QByteArray("GyrenaCityListFile\r\n2\r\nLondon,England,51,30,N,0,10,W\r\nOslo,Norway\r\n")
        << unreadable << "the file ends on line 5, before the end of city 2 of 2" << 5;
    QTest::newRow("count without records")
        << QByteArray("GyrenaCityListFile\r\n32767\r\n") << unreadable
        << "the file ends on line 3, before the end of city 1 "
           "of 32767"
        << 3;
    QTest::newRow("field too long")
        << QByteArray("GyrenaCityListFile\r\n1\r\nX," + QByteArray(4097, 'y') + ",1,2,N,3,4,E")
        << unreadable << "line 3 holds a field longer than 4,096 bytes" << 3;
    QTest::newRow("nul byte") << QByteArray("GyrenaCityListFile\r\n1\r\nX,Y,1\0,2,N,3,4,E", 40)
                              << unreadable << "line 3 holds a NUL byte" << 3;
    QTest::newRow("utf16 file") << QByteArray("\xFF\xFEG\0y\0r\0", 8) << unreadable
                                << "line 1 holds a NUL byte" << 1;
}

void tst_CityList::failures()
{
    QFETCH(QByteArray, file);
    QFETCH(FileError::Kind, kind);
    QFETCH(QString, what);
    QFETCH(int, line);
    const auto read = readCityList(bytes(file));
    QVERIFY(std::holds_alternative<FileError>(read));
    const FileError& error = std::get<FileError>(read);
    QCOMPARE(error.kind, kind);
    QCOMPARE(QString::fromStdString(error.what), what);
    QCOMPARE(error.line, line);
}

void tst_CityList::largerThanLimit()
{
    std::string file = "GyrenaCityListFile\r\n1\r\nLondon,England,51,30,N,0,10,W\r\n";
    file.resize(kMaxCityListBytes, ' ');
    QVERIFY(std::holds_alternative<CityTable>(readCityList(file)));
    file.push_back(' ');
    const auto read = readCityList(file);
    QVERIFY(std::holds_alternative<FileError>(read));
    QCOMPARE(std::get<FileError>(read).what, std::string("the file is larger than 64 MiB"));
}

void tst_CityList::largestGeneratedList()
{
    const bench::GeneratedCityList list = bench::makeCityList(kMaxCityCount);
    QVERIFY(list.bytes.size() > 1'000'000);
    const auto read = readCityList(list.bytes);
    QVERIFY(std::holds_alternative<CityTable>(read));
    const CityTable& table = std::get<CityTable>(read);
    QCOMPARE(table.cityCount(), kMaxCityCount);
    int withComma = 0;
    for (int r = 1; r <= kMaxCityCount; ++r) {
        const auto& fields = list.cities[std::size_t(r - 1)];
        for (int c = CityName; c <= CityLongDir; ++c)
            QCOMPARE(table.text(r, CityColumn(c)), fields[std::size_t(c - CityName)]);
        withComma += fields[0].find(',') != std::string::npos;
    }
    QVERIFY(withComma > 100);
}

void tst_CityList::shippedWorldList()
{
    QFile file(QFINDTESTDATA("../assets/cities/world.gcl"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("GyrenaCityListFile\r\n"));
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(content.count("\r\n"), content.count('\n'));
    const auto read = readCityList(bytes(content));
    QVERIFY(std::holds_alternative<CityTable>(read));
    const CityTable& table = std::get<CityTable>(read);
    QVERIFY(table.cityCount() > 300);
    QCOMPARE(content.count("\r\n"), table.cityCount() + 2); // every record on its own line
    const auto inRange = [](std::string_view text, int highest) {
        bool ok = false;
        const int value = qs(text).toInt(&ok);
        return ok && value >= 0 && value <= highest;
    };
    QSet<QString> names;
    bool ivoryCoast = false;
    for (int r = 1; r <= table.cityCount(); ++r) {
        const CityView city = table.row(r);
        ivoryCoast = ivoryCoast || city.country == "Côte d'Ivoire";
        const QString name = qs(city.name);
        QVERIFY2(!name.isEmpty() && !name.contains('_') && !name.contains('/'), qPrintable(name));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QVERIFY(!city.country.empty());
        QVERIFY2(inRange(city.latDegrees, 90) && inRange(city.latMinutes, 59), qPrintable(name));
        QVERIFY2(inRange(city.longDegrees, 180) && inRange(city.longMinutes, 59), qPrintable(name));
        QVERIFY(city.latDir == "N" || city.latDir == "S");
        QVERIFY(city.longDir == "E" || city.longDir == "W");
    }
    QVERIFY(names.contains("Buenos Aires"));
    QVERIFY(names.contains("Vincennes, Indiana"));
    // Windows-1252 in the file, UTF-8 in the table.
    QVERIFY(ivoryCoast);
}

QTEST_GUILESS_MAIN(tst_CityList)
#include "tst_citylist.moc"
