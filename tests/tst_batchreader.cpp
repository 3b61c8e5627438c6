// Batch input: lines of any length streamed in small pieces, and their fields.

#include "io/formats/batchreader.h"

#include <QtTest>

class tst_BatchReader : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void fields_data();
    void fields();
};

void tst_BatchReader::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("chunk");         // bytes the source hands over at a time
    QTest::addColumn<QStringList>("lines"); // "number:text", "number:TOO LONG"

    const QByteArray longLine(gyrena::kBatchLineLimit + 1, 'x');
    const QByteArray fullLine(gyrena::kBatchLineLimit, 'y');
    const QByteArray hugeLine(1 << 20, 'z');
    QTest::newRow("LF, CR LF, last line without end")
        << QByteArray("a\r\nb\n\nc") << 4096 << QStringList{"1:a", "2:b", "3:", "4:c"};
    QTest::newRow("no empty line after the last end")
        << QByteArray("a\n") << 1 << QStringList{"1:a"};
    QTest::newRow("empty input") << QByteArray() << 7 << QStringList{};
    QTest::newRow("one byte at a time")
        << QByteArray("ab\ncd\n") << 1 << QStringList{"1:ab", "2:cd"};
    QTest::newRow("a full line passes")
        << fullLine + "\nb" << 1000 << QStringList{"1:" + QString(fullLine), "2:b"};
    QTest::newRow("too long, then on") << "a\n" + longLine + "\nb\n"
                                       << 333 << QStringList{"1:a", "2:TOO LONG", "3:b"};
    QTest::newRow("huge line streams past")
        << "a\n" + hugeLine + "\r\nb" << 65536 << QStringList{"1:a", "2:TOO LONG", "3:b"};
    QTest::newRow("too long at the end")
        << "a\n" + longLine << 4096 << QStringList{"1:a", "2:TOO LONG"};
}

void tst_BatchReader::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(int, chunk);
    QFETCH(QStringList, lines);

    qsizetype offset = 0;
    gyrena::BatchLineReader reader([&](char* buffer, std::size_t size) -> std::ptrdiff_t {
        const auto n =
            std::min<qsizetype>({static_cast<qsizetype>(size), chunk, input.size() - offset});
        std::memcpy(buffer, input.constData() + offset, static_cast<std::size_t>(n));
        offset += n;
        return n;
    });
    QStringList got;
    gyrena::BatchLine line;
    while (reader.next(line))
        got << QString::number(line.number) + ':' +
                   (line.tooLong ? QString("TOO LONG")
                                 : QString::fromLatin1(line.text.data(),
                                                       static_cast<qsizetype>(line.text.size())));
    QCOMPARE(got, lines);
    QVERIFY(!reader.readFailed());
}

void tst_BatchReader::fields_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("fields"); // the first twelve

    QTest::newRow("blanks and tabs, runs and ends")
        << QByteArray(" \t37 45\tN  122 27 W 34 0 S 151 0 E \t") << 12
        << QString("37 45 N 122 27 W 34 0 S 151 0 E").split(' ');
    QTest::newRow("empty") << QByteArray() << 0 << QStringList{};
    QTest::newRow("more than twelve counted")
        << QByteArray("1 2 3 4 5 6 7 8 9 10 11 12 13 14") << 14
        << QString("1 2 3 4 5 6 7 8 9 10 11 12").split(' ');
}

void tst_BatchReader::fields()
{
    QFETCH(QByteArray, line);
    QFETCH(int, count);
    QFETCH(QStringList, fields);

    std::array<std::string_view, 12> got;
    QCOMPARE(static_cast<int>(
                 gyrena::splitBatchFields(std::string_view(line.constData(), line.size()), got)),
             count);
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(QString::fromLatin1(got[i].data(), static_cast<qsizetype>(got[i].size())),
                 fields[i]);
}

QTEST_GUILESS_MAIN(tst_BatchReader)
#include "tst_batchreader.moc"
