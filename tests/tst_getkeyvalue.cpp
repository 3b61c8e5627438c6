// getKeyValue over the in-memory registry, the desktop stand-in for the registry, and the file
// test and launch of QtLauncher.

#include "fakeregistry.h"
#include "platform/desktopregistry.h"
#include "platform/getkeyvalue.h"
#include "platform/qtlauncher.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gyrena;

Q_DECLARE_METATYPE(std::string)

namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kOther = "SOFTWARE\\Microsoft\\Shared Tools Location";

QString show(const std::string& s)
{
    QString out;
    for (unsigned char c : s)
        out += c >= 32 && c < 127 ? QString(QChar(c))
                                  : QStringLiteral("\\x%1").arg(c, 2, 16, QChar('0'));
    return out;
}

} // namespace

class tst_GetKeyValue : public QObject
{
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void missing_data();
    void missing();
    void emptyValueIsAnErrorOfItsOwn();
    void asksForReadAccessOnly();
    void desktopStandInOrder_data();
    void desktopStandInOrder();
    void desktopStandInHasNothingElse();
    void fileExists_data();
    void fileExists();
    void launch();
};

void tst_GetKeyValue::values_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<std::string>("expected");

    using namespace std::string_literals;
    const std::string path = "C:\\WINDOWS\\msinfo32.exe";
    QTest::newRow("text with its zero byte") << quint32(1) << path + "\0"s << path;
    QTest::newRow("text without a zero byte") << quint32(1) << path << path;
    QTest::newRow("only the zero byte") << quint32(1) << "\0"s
                                        << ""s;
    QTest::newRow("only the last of two zero bytes dropped") << quint32(1) << "ab\0\0"s
                                                             << "ab\0"s;
    QTest::newRow("high code page byte kept") << quint32(1) << "C:\\Gr\xfc\xdf\0"s
                                              << "C:\\Gr\xfc\xdf"s;
    QTest::newRow("text filling the buffer")
        << quint32(1) << std::string(1023, 'x') + "\0"s << std::string(1023, 'x');
    QTest::newRow("number 0x1A2B") << quint32(4) << "\x2b\x1a\0\0"s
                                   << "&h1A2B"s;
    QTest::newRow("number 0") << quint32(4) << "\0\0\0\0"s
                              << "&h0"s;
    QTest::newRow("number with high byte") << quint32(4) << "\xef\xbe\xad\xde"s
                                           << "&hDEADBEEF"s;
    QTest::newRow("number with inner zero bytes") << quint32(4) << "\0\x01\0\x02"s
                                                  << "&h2000100"s;
    QTest::newRow("number 256, zero byte last") << quint32(4) << "\0\x01\0\0"s
                                                << "&h100"s;
    // Other kinds are read but leave the text as the caller had it.
    QTest::newRow("binary") << quint32(3) << "\x01\x02\x03"s
                            << "unchanged"s;
    QTest::newRow("expandable text") << quint32(2) << "%SystemRoot%\\x.exe\0"s
                                     << "unchanged"s;
    QTest::newRow("multiple texts") << quint32(7) << "a\0b\0\0"s
                                    << "unchanged"s;
    QTest::newRow("64-bit number") << quint32(11) << "\x01\0\0\0\0\0\0\0"s
                                   << "unchanged"s;
    QTest::newRow("big-endian number") << quint32(5) << "\0\0\x1a\x2b"s
                                       << "unchanged"s;
    QTest::newRow("no type") << quint32(0) << "x"s
                             << "unchanged"s;
}

void tst_GetKeyValue::values()
{
    QFETCH(quint32, type);
    QFETCH(std::string, bytes);
    QFETCH(std::string, expected);

    FakeRegistry registry;
    registry.set(kKey, "PATH", {type, bytes});
    std::string value = "unchanged";
    QVERIFY(getKeyValue(registry, Registry::LocalMachine, kKey, "PATH", value));
    QCOMPARE(show(value), show(expected));
    QCOMPARE(registry.openKeys(), std::size_t(0));
    QCOMPARE(registry.bufferSizes, std::vector<std::uint32_t>{1024});
    QCOMPARE(registry.buffersZeroed, std::vector<bool>{true});
}

void tst_GetKeyValue::missing_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("root");

    QTest::newRow("missing key") << QString::fromStdString(kOther) << "PATH"
                                 << quint32(Registry::LocalMachine);
    QTest::newRow("missing value")
        << QString::fromStdString(kKey) << "MSINFO" << quint32(Registry::LocalMachine);
    QTest::newRow("other root") << QString::fromStdString(kKey) << "PATH" << quint32(0x80000001u);
    QTest::newRow("value too long for the buffer")
        << QString::fromStdString(kKey) << "LONG" << quint32(Registry::LocalMachine);
}

void tst_GetKeyValue::missing()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(quint32, root);

    FakeRegistry registry;
    registry.set(kKey, "PATH", FakeRegistry::text("C:\\x.exe"));
    registry.set(kKey, "LONG", FakeRegistry::text(std::string(1024, 'x'))); // 1025 bytes
    std::string value = "left over";
    QVERIFY(!getKeyValue(registry, root, key.toStdString(), name.toStdString(), value));
    QCOMPARE(value, std::string());
    QCOMPARE(registry.openKeys(), std::size_t(0));
}

void tst_GetKeyValue::emptyValueIsAnErrorOfItsOwn()
{
    FakeRegistry registry;
    registry.set(kKey, "PATH", {Registry::TypeString, std::string()});
    std::string value = "left over";
    QVERIFY_THROWS_EXCEPTION(EmptyRegistryValue,
                             getKeyValue(registry, Registry::LocalMachine, kKey, "PATH", value));
    QCOMPARE(value, std::string());
    QCOMPARE(registry.openKeys(), std::size_t(0));
}

void tst_GetKeyValue::asksForReadAccessOnly()
{
    // A user without administrator rights may read the key but not write it: the read must
    // still succeed, so it may ask for nothing beyond KEY_READ.
    FakeRegistry registry;
    registry.readOnlyUser = true;
    registry.set(kKey, "PATH", FakeRegistry::text("C:\\x.exe"));
    std::string value;
    QVERIFY(getKeyValue(registry, Registry::LocalMachine, kKey, "PATH", value));
    QCOMPARE(registry.openMasks, std::vector<std::uint32_t>{0x20019u});
}

void tst_GetKeyValue::desktopStandInOrder_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("asked");

    const QStringList all = {"kinfocenter", "gnome-system-monitor", "hardinfo",
                             "xfce4-taskmanager"};
    QTest::newRow("all installed") << all << "/usr/bin/kinfocenter" << QStringList{"kinfocenter"};
    QTest::newRow("gnome and xfce") << QStringList{"xfce4-taskmanager", "gnome-system-monitor"}
                                    << "/usr/bin/gnome-system-monitor" << all.mid(0, 2);
    QTest::newRow("hardinfo and xfce")
        << QStringList{"xfce4-taskmanager", "hardinfo"} << "/usr/bin/hardinfo" << all.mid(0, 3);
    QTest::newRow("xfce only") << QStringList{"xfce4-taskmanager"} << "/usr/bin/xfce4-taskmanager"
                               << all;
    QTest::newRow("none") << QStringList{"htop"} << QString() << all;
}

void tst_GetKeyValue::desktopStandInOrder()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, expected);
    QFETCH(QStringList, asked);

    QStringList askedFor;
    DesktopRegistry registry([&](const std::string& name) {
        askedFor << QString::fromStdString(name);
        return installed.contains(QString::fromStdString(name)) ? "/usr/bin/" + name
                                                                : std::string();
    });
    QVERIFY(askedFor.isEmpty()); // nothing is searched before the first lookup

    std::string value = "left over";
    const bool found = getKeyValue(registry, Registry::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value);
    QCOMPARE(askedFor, asked);
    getKeyValue(registry, Registry::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                "PATH", value);
    QCOMPARE(askedFor, asked); // searched once
    QCOMPARE(found, !expected.isEmpty());
    QCOMPARE(QString::fromStdString(value), expected);
}

void tst_GetKeyValue::desktopStandInHasNothingElse()
{
    DesktopRegistry registry([](const std::string& name) { return "/opt/" + name; });
    std::string value;
    QVERIFY(!getKeyValue(registry, Registry::LocalMachine, kOther, "MSINFO", value));
    QVERIFY(!getKeyValue(registry, Registry::LocalMachine, kKey, "MSINFO", value));
    QVERIFY(!getKeyValue(registry, 0x80000001u, kKey, "PATH", value));
    // Names compare without case, as the registry's do.
    QVERIFY(getKeyValue(registry, Registry::LocalMachine,
                        "software\\microsoft\\shared tools\\msinfo", "Path", value));
    QCOMPARE(value, std::string("/opt/kinfocenter"));

    // With the real PATH search, the result is an executable or nothing.
    DesktopRegistry real;
    QVERIFY(real.programPath().empty() ||
            QFileInfo(QString::fromStdString(real.programPath())).isExecutable());
}

void tst_GetKeyValue::fileExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    QTest::newRow("ordinary file") << "MSINFO32.EXE" << true;
    QTest::newRow("hidden file") << ".MSINFO32.EXE" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing") << "nothing.exe" << false;
    QTest::newRow("empty path") << QString() << false;
    QTest::newRow("inside a hidden folder") << ".hidden/MSINFO32.EXE" << true;
}

void tst_GetKeyValue::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("folder"));
    QVERIFY(QDir(dir.path()).mkpath(".hidden"));
    for (const char* file : {"MSINFO32.EXE", ".MSINFO32.EXE", ".hidden/MSINFO32.EXE"}) {
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QtLauncher launcher;
    const std::string path = name.isEmpty() ? std::string() : dir.filePath(name).toStdString();
    QCOMPARE(launcher.fileExists(path), expected);
}

void tst_GetKeyValue::launch()
{
    QTemporaryDir dir;
    QFile notAProgram(dir.filePath("notes.txt"));
    QVERIFY(notAProgram.open(QIODevice::WriteOnly));
    notAProgram.close();

    QtLauncher launcher;
    QVERIFY(!launcher.launch(""));
    QVERIFY(!launcher.launch(dir.filePath("missing").toStdString()));
    QVERIFY(!launcher.launch(notAProgram.fileName().toStdString()));
    QVERIFY(launcher.launch("/bin/true"));
}

QTEST_GUILESS_MAIN(tst_GetKeyValue)
#include "tst_getkeyvalue.moc"
