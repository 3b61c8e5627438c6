#include "io/files/textencoding.h"

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

} // namespace

class tst_TextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void validUtf8_data();
    void validUtf8();
    void decode_data();
    void decode();
    void decodesEveryHighByte();
    void encode_data();
    void encode();
    void roundTrip_data();
    void roundTrip();
    void decodeViewAvoidsCopy();
};

void tst_TextEncoding::validUtf8_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("GyrenaDataFile\r\n") << true;
    QTest::newRow("two bytes") << QByteArray("Z\xC3\xBCrich") << true;
    QTest::newRow("three bytes") << QByteArray("\xE2\x82\xAC") << true;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x8C\x8D") << true;
    QTest::newRow("highest scalar") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("last before surrogates") << QByteArray("\xED\x9F\xBF") << true;
    QTest::newRow("overlong two") << QByteArray("\xC0\x80") << false;
    QTest::newRow("overlong two C1") << QByteArray("\xC1\xBF") << false;
    QTest::newRow("overlong three") << QByteArray("\xE0\x80\x80") << false;
    QTest::newRow("overlong four") << QByteArray("\xF0\x80\x80\x80") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("beyond 10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
    QTest::newRow("stray continuation") << QByteArray("a\x80") << false;
    QTest::newRow("truncated at end") << QByteArray("abc\xE2\x82") << false;
    QTest::newRow("bad continuation") << QByteArray("\xE2\x28\xA1") << false;
    QTest::newRow("windows-1252 umlaut") << QByteArray("Z\xFCrich") << false;
    QTest::newRow("invalid after a long ascii run") << QByteArray("0123456789abcdef\xFF") << false;
    QTest::newRow("invalid inside the ninth byte") << QByteArray("01234567\xFF"
                                                                 "abcdefgh")
                                                   << false;
    QTest::newRow("valid after a long ascii run")
        << QByteArray("0123456789abcdef\xC3\xA9xyz") << true;
}

void tst_TextEncoding::validUtf8()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes(input)), valid);
}

void tst_TextEncoding::decode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii") << QByteArray("London,England") << "London,England";
    QTest::newRow("utf8 stays") << QByteArray("S\xC3\xA3o Paulo") << "São Paulo";
    QTest::newRow("latin-1 range") << QByteArray("S\xE3o Paulo") << "São Paulo";
    QTest::newRow("euro 80") << QByteArray("\x80") << "€";
    QTest::newRow("S caron 8A") << QByteArray("\x8A"
                                              "a")
                                << "Ša";
    QTest::newRow("curly quotes 93 94") << QByteArray("\x93x\x94") << "“x”";
    QTest::newRow("Y diaeresis 9F") << QByteArray("\x9F") << "Ÿ";
    QTest::newRow("unassigned 81 keeps C1") << QByteArray("\x81") << QString(QChar(0x81));
    QTest::newRow("unassigned 9D keeps C1") << QByteArray("\x9D") << QString(QChar(0x9D));
    QTest::newRow("nbsp A0") << QByteArray("\xA0") << QString(QChar(0xA0));
    QTest::newRow("y diaeresis FF") << QByteArray("\xFF") << "ÿ";
    QTest::newRow("one bad byte makes all single-byte") << QByteArray("\xC3\xA9 \xE9") << "Ã© é";
    QTest::newRow("utf8 byte order mark dropped") << QByteArray("\xEF\xBB\xBFGyrena") << "Gyrena";
    QTest::newRow("byte order mark only first")
        << QByteArray("a\xEF\xBB\xBF") << QString("a") + QChar(0xFEFF);
    QTest::newRow("nul stays") << QByteArray("a\0b", 3) << QString("a") + QChar(0) + "b";
}

void tst_TextEncoding::decode()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(decodeFileText(bytes(input))), text);
}

void tst_TextEncoding::decodesEveryHighByte()
{
    // Against Qt's own Windows-1252 knowledge would need ICU; instead: every byte 80..FF decodes
    // to one character that encodes back to the same byte, and no two bytes share a character.
    QSet<QString> seen;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string single = std::string("\xFF") + char(b); // \xFF keeps it invalid UTF-8
        const QString decoded = QString::fromStdString(decodeFileText(single));
        QCOMPARE(decoded.size(), 2);
        QVERIFY2(!seen.contains(decoded), qPrintable(QString::number(b, 16)));
        seen.insert(decoded);
        QCOMPARE(qbytes(encodeFileText(decoded.toStdString())), qbytes(single));
    }
}

void tst_TextEncoding::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("ascii") << "New York,USA\r\n" << QByteArray("New York,USA\r\n");
    QTest::newRow("latin-1 range") << "Zürich" << QByteArray("Z\xFCrich");
    QTest::newRow("euro and dashes") << "€–—" << QByteArray("\x80\x96\x97");
    QTest::newRow("all of it fits") << "Ålesund, Norge ‰" << QByteArray("\xC5lesund, Norge \x89");
    QTest::newRow("C1 control of unassigned byte")
        << QString(QChar(0x8D)) + "é" << QByteArray("\x8D\xE9");
    QTest::newRow("japanese stays utf8") << "東京" << QByteArray("\xE6\x9D\xB1\xE4\xBA\xAC");
    QTest::newRow("one misfit makes all utf8")
        << "Zürich 東" << QByteArray("Z\xC3\xBCrich \xE6\x9D\xB1");
    QTest::newRow("C1 80 has no byte") << QString("a") + QChar(0x80) << QByteArray("a\xC2\x80");
    QTest::newRow("single bytes that read as utf8 stay utf8")
        << "Ã©" << QByteArray("\xC3\x83\xC2\xA9");
}

void tst_TextEncoding::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, file);
    QCOMPARE(qbytes(encodeFileText(text.toStdString())), file);
}

void tst_TextEncoding::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    const QStringList samples = {"",     "plain",  "Zürich", "Ã©",  "Ã",  "Ã©Ã", "€",
                                 "東京", "a\r\nb", "Â ",     "ÃƒÂ", "Ð¼", "é€ž", "\xEF\xBB\xBF"};
    for (const QString& s : samples)
        QTest::newRow(qPrintable("sample " + s.toUtf8().toHex())) << s;
    // Every pair of characters out of a mixed alphabet, which finds single-byte texts that are
    // accidentally UTF-8.
    const QString alphabet = QString("aÃ©Â€Ð¼ž") + QChar(0x81) + QChar(0xA0) + QChar(0xBF);
    for (QChar a : alphabet)
        for (QChar b : alphabet)
            QTest::newRow(qPrintable(QString("pair %1 %2").arg(a.unicode()).arg(b.unicode())))
                << (QString(a) + b);
}

void tst_TextEncoding::roundTrip()
{
    QFETCH(QString, text);
    const std::string utf8 = text.toStdString();
    if (utf8.starts_with("\xEF\xBB\xBF"))
        QSKIP("a leading byte order mark is dropped by design");
    QCOMPARE(QString::fromStdString(decodeFileText(encodeFileText(utf8))), text);
}

void tst_TextEncoding::decodeViewAvoidsCopy()
{
    const std::string utf8 = "\xEF\xBB\xBFZ\xC3\xBCrich";
    std::string storage;
    const std::string_view view = decodeFileText(utf8, storage);
    QCOMPARE(view.data(), utf8.data() + 3);
    QVERIFY(storage.empty());

    const std::string single = "Z\xFCrich";
    const std::string_view decoded = decodeFileText(single, storage);
    QCOMPARE(decoded.data(), storage.data());
    QCOMPARE(QString::fromStdString(std::string(decoded)), QString("Zürich"));
}

QTEST_GUILESS_MAIN(tst_TextEncoding)
#include "tst_textencoding.moc"
