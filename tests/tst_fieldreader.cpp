#include "io/formats/fieldreader.h"

#include <QtTest>

#include <string>
#include <vector>

using gyrena::FieldReader;
using gyrena::FileError;

namespace {

std::string bytes(const QByteArray& a)
{
    return std::string(a.constData(), std::size_t(a.size()));
}

} // namespace

class tst_FieldReader : public QObject
{
    Q_OBJECT

private slots:
    void readsFields_data();
    void readsFields();
    void failures_data();
    void failures();
    void failureIsSticky();
    void fieldsMayBeSpreadOverLinesAnyWay();
};

void tst_FieldReader::readsFields_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("lines");

    const QByteArray x4096(4096, 'x');
    QTest::newRow("commas") << QByteArray("a,b,c") << QStringList{"a", "b", "c"} << QList{1, 1, 1};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\nc\r\n") << QStringList{"a", "b", "c"}
                          << QList{1, 2, 3};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"} << QList{1, 2};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"} << QList{1, 2};
    QTest::newRow("mixed line ends")
        << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"} << QList{1, 2, 3, 4};
    QTest::newRow("lf cr is two line ends")
        << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << QList{1, 2, 3};
    QTest::newRow("cr cr lf is two line ends")
        << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << QList{1, 2, 3};
    QTest::newRow("leading blanks skipped")
        << QByteArray("  a,   b") << QStringList{"a", "b"} << QList{1, 1};
    QTest::newRow("trailing blanks kept")
        << QByteArray("a  ,b ") << QStringList{"a  ", "b "} << QList{1, 1};
    QTest::newRow("tab is no blank") << QByteArray("\ta") << QStringList{"\ta"} << QList{1};
    QTest::newRow("quoted comma") << QByteArray("\"Washington, D.C.\",USA")
                                  << QStringList{"Washington, D.C.", "USA"} << QList{1, 1};
    QTest::newRow("quoted blanks kept")
        << QByteArray("\"  x  \",y") << QStringList{"  x  ", "y"} << QList{1, 1};
    QTest::newRow("blanks before quote")
        << QByteArray("   \"a,b\"") << QStringList{"a,b"} << QList{1};
    QTest::newRow("after quote skipped to comma")
        << QByteArray("\"a\"xyz,b") << QStringList{"a", "b"} << QList{1, 1};
    QTest::newRow("after quote skipped to line end")
        << QByteArray("\"a\" junk\r\nb") << QStringList{"a", "b"} << QList{1, 2};
    QTest::newRow("second quote after quote skipped")
        << QByteArray("\"a\"\"b\",c") << QStringList{"a", "c"} << QList{1, 1};
    QTest::newRow("quoted line end")
        << QByteArray("\"a\r\nb\nc\",d") << QStringList{"a\r\nb\nc", "d"} << QList{1, 3};
    QTest::newRow("unclosed quote runs to the end")
        << QByteArray("x,\"abc,def\r\nghi\r\n") << QStringList{"x", "abc,def\r\nghi\r\n"}
        << QList{1, 1};
    QTest::newRow("quote inside bare field")
        << QByteArray("5'30\",x") << QStringList{"5'30\"", "x"} << QList{1, 1};
    QTest::newRow("empty between commas")
        << QByteArray("a,,b") << QStringList{"a", "", "b"} << QList{1, 1, 1};
    QTest::newRow("empty line") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"}
                                << QList{1, 2, 3};
    QTest::newRow("empty quoted") << QByteArray("\"\",x") << QStringList{"", "x"} << QList{1, 1};
    QTest::newRow("trailing comma announces a field")
        << QByteArray("a,") << QStringList{"a", ""} << QList{1, 1};
    QTest::newRow("trailing comma then line end")
        << QByteArray("a,\r\n") << QStringList{"a", ""} << QList{1, 1};
    QTest::newRow("final line end ends the last field")
        << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << QList{1, 2};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""} << QList{1};
    QTest::newRow("only blanks") << QByteArray("   ") << QStringList{""} << QList{1};
    QTest::newRow("empty text") << QByteArray() << QStringList{} << QList<int>{};
    QTest::newRow("utf8 text") << QByteArray("Z\xC3\xBCrich,Gen\xC3\xA8ve")
                               << QStringList{"Zürich", "Genève"} << QList{1, 1};
    QTest::newRow("bare 4096 bytes")
        << (x4096 + ",y") << QStringList{QString(x4096), "y"} << QList{1, 1};
    QTest::newRow("quoted 4096 bytes")
        << ("\"" + x4096 + "\"\r\ny") << QStringList{QString(x4096), "y"} << QList{1, 2};
    QTest::newRow("unclosed 4096 bytes")
        << ("\"" + x4096) << QStringList{QString(x4096)} << QList{1};
    QTest::newRow("many blanks before a field")
        << (QByteArray(100000, ' ') + "a") << QStringList{"a"} << QList{1};
}

void tst_FieldReader::readsFields()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, lines);

    const std::string text = bytes(input);
    FieldReader reader(text);
    FileError error;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QVERIFY2(!reader.atEnd(), qPrintable(QString("at end before field %1").arg(i + 1)));
        const auto value = reader.next(error);
        QVERIFY2(value, error.what.c_str());
        QCOMPARE(QString::fromStdString(*value), fields[i]);
        QCOMPARE(reader.line(), lines[i]);
        QCOMPARE(reader.fieldsRead(), int(i + 1));
    }
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.next(error));
    QCOMPARE(error.kind, FileError::Kind::Unreadable);
    QVERIFY2(error.what.starts_with("the file ends on line "), error.what.c_str());
    QCOMPARE(error.field, int(fields.size() + 1));
    QVERIFY(reader.ranPastEnd());

    // Read in one batch, with one field too many, the same fields come back.
    FieldReader batch(text);
    std::vector<std::string_view> values(std::size_t(fields.size() + 1));
    FileError batchError;
    QCOMPARE(batch.nextFields(values.data(), int(values.size()), batchError), int(fields.size()));
    for (qsizetype i = 0; i < fields.size(); ++i)
        QCOMPARE(QString::fromUtf8(values[std::size_t(i)].data(), values[std::size_t(i)].size()),
                 fields[i]);
    QCOMPARE(batchError.what, error.what);
    QCOMPARE(batch.currentLine(), reader.currentLine());
}

void tst_FieldReader::failures_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("goodFields");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("line");

    const QByteArray x4097(4097, 'x');
    QTest::newRow("bare too long")
        << ("a\r\n" + x4097 + "\r\n") << 1 << "line 2 holds a field longer than 4,096 bytes" << 2;
    QTest::newRow("bare too long at the end")
        << x4097 << 0 << "line 1 holds a field longer than 4,096 bytes" << 1;
    QTest::newRow("quoted too long")
        << ("\"" + x4097 + "\"") << 0 << "line 1 holds a field longer than 4,096 bytes" << 1;
    QTest::newRow("quoted too long over lines")
        << ("a\n\"" + QByteArray(3000, 'x') + "\n" + QByteArray(3000, 'x') + "\"") << 1
        << "line 2 holds a field longer than 4,096 bytes" << 2;
    QTest::newRow("unclosed too long") << ("\"" + QByteArray(1 << 20, 'x')) << 0
                                       << "line 1 holds a field longer than 4,096 bytes" << 1;
    QTest::newRow("after quote too long") << ("\"a\"" + QByteArray(5000, 'x') + ",b") << 0
                                          << "line 1 holds a field longer than 4,096 bytes" << 1;
    QTest::newRow("huge field is no hang")
        << QByteArray(32 << 20, 'x') << 0 << "line 1 holds a field longer than 4,096 bytes" << 1;
    QTest::newRow("nul in bare field")
        << QByteArray("a,b\0c", 5) << 1 << "line 1 holds a NUL byte" << 1;
    QTest::newRow("nul as whole field")
        << QByteArray("a\r\n\0\r\n", 6) << 1 << "line 2 holds a NUL byte" << 2;
    QTest::newRow("nul in quoted field")
        << QByteArray("a\r\n\"x\r\n\0\"", 9) << 1 << "line 3 holds a NUL byte" << 3;
    QTest::newRow("nul after quote")
        << QByteArray("\"a\"\0,b", 6) << 0 << "line 1 holds a NUL byte" << 1;
    QTest::newRow("past the end") << QByteArray("a\r\nb\r\n") << 2 << "the file ends on line 3"
                                  << 3;
    QTest::newRow("past the end without line end")
        << QByteArray("a\r\nb") << 2 << "the file ends on line 2" << 2;
    QTest::newRow("past the end of empty text")
        << QByteArray() << 0 << "the file ends on line 1" << 1;
}

void tst_FieldReader::failures()
{
    QFETCH(QByteArray, input);
    QFETCH(int, goodFields);
    QFETCH(QString, what);
    QFETCH(int, line);

    const std::string text = bytes(input);
    FieldReader reader(text);
    FileError error;
    for (int i = 0; i < goodFields; ++i)
        QVERIFY2(reader.nextView(error), error.what.c_str());
    QVERIFY(!reader.nextView(error));
    QCOMPARE(error.kind, FileError::Kind::Unreadable);
    QCOMPARE(QString::fromStdString(error.what), what);
    QCOMPARE(error.line, line);
    QCOMPARE(error.field, goodFields + 1);
    QCOMPARE(reader.ranPastEnd(), what.startsWith("the file ends"));

    FieldReader batch(text);
    std::vector<std::string_view> values(std::size_t(goodFields + 2));
    FileError batchError;
    QCOMPARE(batch.nextFields(values.data(), int(values.size()), batchError), goodFields);
    QCOMPARE(QString::fromStdString(batchError.what), what);
    QCOMPARE(batchError.line, line);
}

void tst_FieldReader::failureIsSticky()
{
    const std::string text = std::string("\0a,b,c", 6);
    FieldReader reader(text);
    FileError first, second;
    QVERIFY(!reader.next(first));
    QVERIFY(!reader.next(second));
    QCOMPARE(second.what, first.what);
    QCOMPARE(reader.fieldsRead(), 0);
}

void tst_FieldReader::fieldsMayBeSpreadOverLinesAnyWay()
{
    // The same fields, once one per line and once all on one line, read the same.
    const std::string perLine = "GyrenaCityListFile\r\n1\r\nLondon\r\nEngland\r\n51\r\n30\r\n";
    const std::string oneLine = "GyrenaCityListFile,1,London,England,51,30";
    FieldReader a(perLine), b(oneLine);
    FileError error;
    while (!a.atEnd()) {
        const auto fa = a.next(error);
        const auto fb = b.next(error);
        QVERIFY(fa && fb);
        QCOMPARE(*fa, *fb);
    }
    QVERIFY(b.atEnd());
    QCOMPARE(a.fieldsRead(), 6);
}

QTEST_GUILESS_MAIN(tst_FieldReader)
#include "tst_fieldreader.moc"
