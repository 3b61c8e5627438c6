#include "io/files/textencoding.h"
#include "io/formats/datafile.h"

#include <QtTest>

#include <string>

using namespace gyrena;

namespace {

std::string bytes(const QByteArray& a)
{
    return std::string(a.constData(), std::size_t(a.size()));
}
QByteArray qbytes(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

const QByteArray kWorkedExample = "GyrenaDataFile\r\n"
                                  "London\r\n"
                                  "England\r\n"
                                  "New York\r\n"
                                  "USA\r\n"
                                  "51\r\n30\r\nN\r\n"
                                  "0\r\n10\r\nW\r\n"
                                  "40\r\n43\r\nN\r\n"
                                  "74\r\n0\r\nW\r\n";

LocationData workedExample()
{
    return LocationData{{"London", "England", "51", "30", "N", "0", "10", "W"},
                        {"New York", "USA", "40", "43", "N", "74", "0", "W"}};
}

// The worked example with line `line` (2..17) replaced by `value`.
QByteArray exampleWithLine(int line, const QByteArray& value)
{
    QList<QByteArray> lines = kWorkedExample.split('\n');
    lines[line - 1] = value + "\r";
    return lines.join('\n');
}

template <typename Data> auto& valueOfLine(Data& data, int line)
{
    const DataFileLine held = dataFileLine(line);
    return data.at(held.end)[held.field];
}

bool isDegreeOrMinuteLine(int line)
{
    return line >= 2 && isDegreesOrMinutes(dataFileLine(line).field);
}

} // namespace

class tst_DataFile : public QObject
{
    Q_OBJECT

private slots:
    void writesWorkedExampleByteForByte();
    void readsWorkedExample();
    void reads_data();
    void reads();
    void readFailures_data();
    void readFailures();
    void writes_data();
    void writes();
    void refuses_data();
    void refuses();
    void roundTripOfEveryWritableRecord();
};

void tst_DataFile::writesWorkedExampleByteForByte()
{
    const auto written = writeDataFile(workedExample());
    QVERIFY(std::holds_alternative<std::string>(written));
    QCOMPARE(qbytes(std::get<std::string>(written)), kWorkedExample);
}

void tst_DataFile::readsWorkedExample()
{
    const auto read = readDataFile(bytes(kWorkedExample));
    QVERIFY(std::holds_alternative<LocationData>(read));
    QVERIFY(std::get<LocationData>(read) == workedExample());
}

void tst_DataFile::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");

    QByteArray lf = kWorkedExample;
    lf.replace("\r\n", "\n");
    QByteArray cr = kWorkedExample;
    cr.replace("\r\n", "\r");
    QByteArray noFinalLineEnd = kWorkedExample;
    noFinalLineEnd.chop(2);

    QTest::newRow("lf line ends") << lf << 17 << "W";
    QTest::newRow("cr line ends") << cr << 4 << "New York";
    QTest::newRow("no final line end") << noFinalLineEnd << 17 << "W";
    QTest::newRow("lines after 17 ignored")
        << (kWorkedExample + QByteArray("junk,\"\r\nmore\0", 13)) << 17 << "W";
    QTest::newRow("empty degree line reads 0") << exampleWithLine(6, "") << 6 << "0";
    QTest::newRow("empty minute line reads 0") << exampleWithLine(16, "") << 16 << "0";
    QTest::newRow("blank minute line reads 0") << exampleWithLine(7, "   ") << 7 << "0";
    QTest::newRow("fraction kept") << exampleWithLine(7, "30.5") << 7 << "30.5";
    QTest::newRow("degree beyond list kept") << exampleWithLine(6, "95") << 6 << "95";
    QTest::newRow("negative kept") << exampleWithLine(9, "-5") << 9 << "-5";
    QTest::newRow("exponent kept") << exampleWithLine(9, "1e1") << 9 << "1e1";
    QTest::newRow("lower-case letter kept") << exampleWithLine(8, "n") << 8 << "n";
    QTest::newRow("empty letter kept") << exampleWithLine(11, "") << 11 << "";
    QTest::newRow("empty name") << exampleWithLine(2, "") << 2 << "";
    QTest::newRow("leading blanks dropped") << exampleWithLine(3, "  England") << 3 << "England";
    QTest::newRow("quoted comma") << exampleWithLine(4, "\"Washington, D.C.\"") << 4
                                  << "Washington, D.C.";
    QTest::newRow("quoted leading blank") << exampleWithLine(7, "\" 30\"") << 7 << " 30";
    QTest::newRow("blanks in quotes kept") << exampleWithLine(13, "\"  \"") << 13 << "  ";
    QTest::newRow("utf8 name") << exampleWithLine(2, "Z\xC3\xBCrich") << 2 << "Zürich";
    QTest::newRow("windows-1252 name") << exampleWithLine(2, "Z\xFCrich") << 2 << "Zürich";
    QTest::newRow("windows-1252 euro") << exampleWithLine(3, "\x80 land") << 3 << "€ land";
    QTest::newRow("byte order mark") << ("\xEF\xBB\xBF" + kWorkedExample) << 5 << "USA";
    QTest::newRow("fields on one line")
        << QByteArray("GyrenaDataFile,a,b,c,d,1,2,N,3,4,E,5,6,S,7,8,W") << 16 << "8";
    QTest::newRow("placeholder names") << exampleWithLine(4, "End Location") << 4 << "End Location";
}

void tst_DataFile::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, value);
    auto read = readDataFile(bytes(file));
    QVERIFY2(std::holds_alternative<LocationData>(read),
             std::holds_alternative<FileError>(read) ? std::get<FileError>(read).what.c_str() : "");
    QCOMPARE(QString::fromStdString(valueOfLine(std::get<LocationData>(read), line)), value);
}

void tst_DataFile::readFailures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<FileError::Kind>("kind");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("line");

    const auto unreadable = FileError::Kind::Unreadable;
    const auto notData = FileError::Kind::NotDataFile;
    const QByteArray firstEight = kWorkedExample.left(kWorkedExample.indexOf("10\r\n"));
    QByteArray comma = kWorkedExample;
    comma.replace("London", "Washington, D.C.");

    QTest::newRow("empty file") << QByteArray() << unreadable << "the file is empty" << 1;
    QTest::newRow("other letter case")
        << kWorkedExample.toLower() << notData << "the first line is not \"GyrenaDataFile\"" << 1;
    QTest::newRow("city list") << QByteArray("GyrenaCityListFile\r\n1\r\n") << notData
                               << "the first line is not \"GyrenaDataFile\"" << 1;
    QTest::newRow("only first line") << QByteArray("GyrenaDataFile\r\n") << unreadable
                                     << "the file ends before line 2 (start location name)" << 2;
    QTest::newRow("ends before line 10")
        << firstEight << unreadable << "the file ends before line 10 (start longitude minutes)"
        << 10;
    QTest::newRow("ends before line 17")
        << kWorkedExample.left(kWorkedExample.size() - 3) << unreadable
        << "the file ends before line 17 (end longitude direction)" << 17;
    QTest::newRow("degree not a number") << exampleWithLine(12, "forty") << unreadable
                                         << "line 12 (end latitude degrees) is not a number" << 12;
    QTest::newRow("minute with trailing text")
        << exampleWithLine(13, "43abc") << unreadable
        << "line 13 (end latitude minutes) is not a number" << 13;
    QTest::newRow("comma in an unquoted name")
        << comma << unreadable
        << "line 6 (start latitude degrees) is not a number, on line 5 of the file" << 5;
    QTest::newRow("field too long") << exampleWithLine(5, QByteArray(5000, 'U')) << unreadable
                                    << "line 5 holds a field longer than 4,096 bytes" << 5;
    QTest::newRow("nul byte") << exampleWithLine(3, QByteArray("Eng\0land", 8)) << unreadable
                              << "line 3 holds a NUL byte" << 3;
    QTest::newRow("binary junk") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << notData
                                 << "the first line is not \"GyrenaDataFile\"" << 1;
}

void tst_DataFile::readFailures()
{
    QFETCH(QByteArray, file);
    QFETCH(FileError::Kind, kind);
    QFETCH(QString, what);
    QFETCH(int, line);
    const auto read = readDataFile(bytes(file));
    QVERIFY(std::holds_alternative<FileError>(read));
    const FileError& error = std::get<FileError>(read);
    QCOMPARE(error.kind, kind);
    QCOMPARE(QString::fromStdString(error.what), what);
    QCOMPARE(error.line, line);
}

void tst_DataFile::writes_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("comma quoted") << 2 << "Washington, D.C." << QByteArray("\"Washington, D.C.\"");
    QTest::newRow("leading blank quoted") << 3 << " USA" << QByteArray("\" USA\"");
    QTest::newRow("only blanks quoted") << 5 << "   " << QByteArray("\"   \"");
    QTest::newRow("line break quoted") << 4 << "a\nb" << QByteArray("\"a\nb\"");
    QTest::newRow("quote inside bare")
        << 2 << "The \"Big\" Apple" << QByteArray("The \"Big\" Apple");
    QTest::newRow("trailing blank bare") << 2 << "London " << QByteArray("London ");
    QTest::newRow("empty bare") << 3 << "" << QByteArray("");
    QTest::newRow("empty degree bare") << 6 << "" << QByteArray("");
    QTest::newRow("fraction bare") << 7 << "30.5" << QByteArray("30.5");
    QTest::newRow("leading blank number quoted") << 9 << " 12" << QByteArray("\" 12\"");
    QTest::newRow("minute only blanks quoted") << 16 << "  " << QByteArray("\"  \"");
    QTest::newRow("placeholder") << 2 << "Start Location" << QByteArray("Start Location");
    QTest::newRow("lower-case letter") << 8 << "n" << QByteArray("n");
    QTest::newRow("4096 bytes") << 3 << QString(4096, 'x') << QByteArray(4096, 'x');
}

void tst_DataFile::writes()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    LocationData data = workedExample();
    valueOfLine(data, line) = value.toStdString();
    const auto result = writeDataFile(data);
    QVERIFY(std::holds_alternative<std::string>(result));
    QCOMPARE(qbytes(std::get<std::string>(result)), exampleWithLine(line, written));
}

void tst_DataFile::refuses_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("what");

    QTest::newRow("begins with a quote")
        << 2 << "\"Big Apple\""
        << "line 2 (start location name) begins with a double quote";
    QTest::newRow("quote after blanks") << 3 << "  \"x"
                                        << "line 3 (start country) holds a double quote together "
                                           "with a comma, a line break or a leading blank";
    QTest::newRow("quote with comma") << 4 << "a \"b\", c"
                                      << "line 4 (end location name) holds a double quote "
                                         "together with a comma, a line break or a leading blank";
    QTest::newRow("quote with line break") << 5 << "a\"\r\n"
                                           << "line 5 (end country) holds a double quote together "
                                              "with a comma, a line break or a leading blank";
    QTest::newRow("too long") << 2 << QString(4097, 'x')
                              << "line 2 (start location name) is longer than 4,096 bytes";
    QTest::newRow("too long in utf8 bytes") << 2 << QString(2049, QChar(0xE9))
                                            << "line 2 (start location name) is longer than "
                                               "4,096 bytes";
    QTest::newRow("nul") << 3 << QString("a") + QChar(0)
                         << "line 3 (start country) holds a NUL character";
    QTest::newRow("degree not a number") << 6 << "abc"
                                         << "line 6 (start latitude degrees) is not a number";
}

void tst_DataFile::refuses()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QString, what);
    LocationData data = workedExample();
    valueOfLine(data, line) = value.toStdString();
    const auto result = writeDataFile(data);
    QVERIFY(std::holds_alternative<FileError>(result));
    const FileError& error = std::get<FileError>(result);
    QCOMPARE(error.kind, FileError::Kind::Refused);
    QCOMPARE(error.field, line);
    QCOMPARE(QString::fromStdString(error.what), what);
}

void tst_DataFile::roundTripOfEveryWritableRecord()
{
    // Every value of the pool on every line, and records mixing them. What is written must read
    // back as the same record (an empty degree or minute line reads back as "0"); only values
    // that cannot be read back may be refused.
    const QStringList pool = {"",
                              "London",
                              "Washington, D.C.",
                              " lead",
                              "  ",
                              "trail ",
                              "a\"b",
                              "\"q",
                              "a,\"b",
                              "Zürich",
                              "Ã©",
                              "東京",
                              "São, Brasil",
                              "x\r\ny",
                              "€ ‰",
                              "30.5",
                              " 12",
                              "-5",
                              "1e1",
                              "&H1F",
                              "n",
                              "W",
                              "12abc",
                              ",",
                              "\t tab",
                              QString(QChar(0x81)),
                              "a\rb"};
    int written = 0, refused = 0;
    const auto check = [&](const LocationData& data) {
        const auto result = writeDataFile(data);
        if (std::holds_alternative<FileError>(result)) {
            const FileError& error = std::get<FileError>(result);
            QCOMPARE(error.kind, FileError::Kind::Refused);
            const std::string value = valueOfLine(data, error.field);
            const bool quoteProblem =
                value.starts_with('"') ||
                (value.find('"') != std::string::npos &&
                 (value.find_first_of(",\r\n") != std::string::npos || value.starts_with(' ')));
            QVERIFY2(quoteProblem || isDegreeOrMinuteLine(error.field), error.what.c_str());
            ++refused;
            return;
        }
        const auto read = readDataFile(std::get<std::string>(result));
        QVERIFY2(std::holds_alternative<LocationData>(read),
                 std::holds_alternative<FileError>(read) ? std::get<FileError>(read).what.c_str()
                                                         : "");
        LocationData expected = data;
        for (int line = 6; line <= 17; ++line) {
            if (isDegreeOrMinuteLine(line) && valueOfLine(expected, line).empty())
                valueOfLine(expected, line).assign(1, '0'); // GCC 12 warns wrongly on = "0"
        }
        QVERIFY(std::get<LocationData>(read) == expected);
        ++written;
    };
    for (int line = 2; line <= 17; ++line) {
        for (const QString& value : pool) {
            LocationData data = workedExample();
            valueOfLine(data, line) = value.toStdString();
            check(data);
            if (QTest::currentTestFailed())
                return;
        }
    }
    for (qsizetype shift = 0; shift < pool.size(); ++shift) {
        LocationData data;
        for (int line = 2; line <= 17; ++line)
            valueOfLine(data, line) = pool[(shift + line) % pool.size()].toStdString();
        check(data);
        if (QTest::currentTestFailed())
            return;
    }
    // Names and countries take nearly the whole pool, degree and minute lines only its numbers.
    QVERIFY(written > 200);
    QVERIFY(refused > 100);
}

QTEST_GUILESS_MAIN(tst_DataFile)
#include "tst_datafile.moc"
