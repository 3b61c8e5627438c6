// Saves that meet faults on disk: a read-only folder, a full disk, a target whose folder is a
// file, a target that is locked, and a target that vanishes while the save dialog is open. Every
// failure is told ("The file could not be saved: " and the reason, title "File Error", OK only,
// critical icon) and leaves the old file exactly as it was, with no stray temporary file beside
// it; a save that can go through does.
//
// The tests run as root in CI, and permission bits do not stop root: the read-only folder is a
// read-only mount, the locked target an immutable file or folder (chattr +i), the full disk a
// tiny tmpfs filled to the last block. Variants the machine cannot set up are skipped, saying why
// (in CI, CI=true, they fail instead: a missing tmpfs or chattr must not pass unnoticed).

#include "externaltools.h"
#include "fakedialogs.h"
#include "modalwatch.h"

#include "io/formats/datafile.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace gyrena;

namespace {

// FakeDialogs that runs a hook while the save dialog is "open", before it answers.
class HookedDialogs : public FakeDialogs
{
public:
    std::function<void()> whileSaveDialogOpen;

    std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                        const QString& filter) override
    {
        if (whileSaveDialogOpen)
            whileSaveDialogOpen();
        return FakeDialogs::saveFileName(parent, title, filter);
    }
};

const QByteArray kOldFile = "GyrenaDataFile\r\nOld Start\r\nOld Land\r\nOld End\r\nOld Land\r\n"
                            "1\r\n2\r\nN\r\n3\r\n4\r\nE\r\n5\r\n6\r\nS\r\n7\r\n8\r\nW\r\n";

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

std::optional<QByteArray> contents(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// chattr +i / -i through the ioctl; false when the file system or the caller cannot.
bool setImmutable(const QString& path, bool on, QString& why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!ok)
        why = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return ok;
}

bool mountTmpfs(const QString& folder, const char* options, QString& why)
{
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0)
        return true;
    why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool remountReadOnly(const QString& folder, QString& why)
{
    if (::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                nullptr) == 0)
        return true;
    why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// Fills the file system holding `folder` until it has no block left.
bool fillUp(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    QFile probe(folder + QStringLiteral("/probe"));
    const bool full =
        !(probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && probe.write("x", 1) == 1);
    probe.remove();
    return full;
}

} // namespace

class tst_DiskFaults : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;

private slots:
    void init();
    void cleanup();
    void failedSave_data();
    void failedSave();
    void vanishingTarget_data();
    void vanishingTarget();

private:
    // Names both locations so that Save is allowed, and gives the window texts of its own.
    void nameRoute();
    // Runs Save or Save As on `target`, answering OK to the box a failure shows; the dialog hook
    // runs while the dialog is open.
    void save(const QString& command, const QString& target, bool failureExpected);
    // The one box a failed save shows.
    void verifyFailureTold();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HookedDialogs> m_dialogs;
    std::unique_ptr<StartWindow> m_window;
    QStringList m_mounts;     // to unmount
    QStringList m_immutables; // to unlock
};

void tst_DiskFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs = std::make_unique<HookedDialogs>();
    m_window = std::make_unique<StartWindow>(Services{m_dialogs.get(), nullptr, nullptr});
}

void tst_DiskFaults::cleanup()
{
    m_window.reset();
    QString why;
    for (const QString& path : std::as_const(m_immutables))
        setImmutable(path, false, why);
    m_immutables.clear();
    for (auto it = m_mounts.crbegin(); it != m_mounts.crend(); ++it)
        ::umount2(QFile::encodeName(*it).constData(), MNT_DETACH);
    m_mounts.clear();
    m_dialogs.reset();
    m_dir.reset();
}

void tst_DiskFaults::nameRoute()
{
    m_window->findChild<QComboBox*>(QStringLiteral("Combo13"))
        ->setEditText(QStringLiteral("New Start"));
    m_window->findChild<QComboBox*>(QStringLiteral("Combo14"))
        ->setEditText(QStringLiteral("New End"));
    m_window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("45"));
}

void tst_DiskFaults::save(const QString& command, const QString& target, bool failureExpected)
{
    m_dialogs->choose(target);
    if (failureExpected)
        m_dialogs->answer(Dialogs::AnswerOk);
    if (command == QLatin1String("Save"))
        m_window->saveFile();
    else
        m_window->saveAs();
}

void tst_DiskFaults::verifyFailureTold()
{
    QCOMPARE(m_dialogs->fileDialogs().size(), 1);
    QCOMPARE(m_dialogs->boxes().size(), 1);
    const FakeDialogs::Box& box = m_dialogs->boxes().constFirst();
    const QString prefix = QStringLiteral("The file could not be saved: ");
    QVERIFY2(box.text.startsWith(prefix), qPrintable(box.text));
    QVERIFY2(box.text.size() > prefix.size(), "the message gives no reason");
    QCOMPARE(box.title, QStringLiteral("File Error"));
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
    QVERIFY(m_dialogs->verifyDone());
}

void tst_DiskFaults::failedSave_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("command");
    for (const char* fault :
         {"folder is a regular file", "read-only mount", "immutable folder", "immutable old file",
          "full disk (tmpfs)", "read-only permission bits"}) {
        for (const char* command : {"Save", "Save As"})
            QTest::addRow("%s, %s", fault, command)
                << QString::fromLatin1(fault) << QString::fromLatin1(command);
    }
}

void tst_DiskFaults::failedSave()
{
    QFETCH(QString, fault);
    QFETCH(QString, command);
    const bool root = ::geteuid() == 0;
    QString folder = m_dir->filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(folder));
    QString target = folder + QStringLiteral("/route.gdf");
    QString why;

    if (fault == QLatin1String("folder is a regular file")) {
        // No one, root included, creates a file below a regular file.
        QVERIFY(writeBytes(folder + QStringLiteral("/plain"), kOldFile));
        target = folder + QStringLiteral("/plain/route.gdf");
    } else if (fault == QLatin1String("read-only mount")) {
        if (!mountTmpfs(folder, "size=1m,mode=0755", why))
            GYRENA_SKIP_OR_FAIL(QStringLiteral("cannot mount a tmpfs here: %1").arg(why));
        m_mounts << folder;
        QVERIFY(writeBytes(target, kOldFile));
        if (!remountReadOnly(folder, why))
            GYRENA_SKIP_OR_FAIL(QStringLiteral("cannot remount read-only: %1").arg(why));
    } else if (fault == QLatin1String("immutable folder")) {
        QVERIFY(writeBytes(target, kOldFile));
        if (!setImmutable(folder, true, why))
            GYRENA_SKIP_OR_FAIL(QStringLiteral("chattr +i is not available here: %1").arg(why));
        m_immutables << folder;
    } else if (fault == QLatin1String("immutable old file")) {
        QVERIFY(writeBytes(target, kOldFile));
        if (!setImmutable(target, true, why))
            GYRENA_SKIP_OR_FAIL(QStringLiteral("chattr +i is not available here: %1").arg(why));
        m_immutables << target;
    } else if (fault == QLatin1String("full disk (tmpfs)")) {
        if (!mountTmpfs(folder, "size=64k,mode=0755", why))
            GYRENA_SKIP_OR_FAIL(QStringLiteral("cannot mount a tmpfs here: %1").arg(why));
        m_mounts << folder;
        QVERIFY(writeBytes(target, kOldFile));
        QVERIFY2(fillUp(folder), "the tmpfs did not fill up");
    } else if (fault == QLatin1String("read-only permission bits")) {
        if (root)
            QSKIP("running as root: permission bits do not stop root (the read-only mount and "
                  "immutable variants stand for this case)");
        QVERIFY(writeBytes(target, kOldFile));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else {
        QFAIL("unknown fault");
    }

    const QString parent = QFileInfo(target).absolutePath();
    const QStringList before = entries(QFileInfo(parent).isDir() ? parent : folder);
    const std::optional<QByteArray> old = contents(target);
    nameRoute();
    save(command, target, true);
    verifyFailureTold();

    // The old file, byte for byte, and nothing left beside it.
    QCOMPARE(contents(target), old);
    QCOMPARE(entries(QFileInfo(parent).isDir() ? parent : folder), before);
    if (fault == QLatin1String("folder is a regular file"))
        QCOMPARE(contents(folder + QStringLiteral("/plain")), std::optional<QByteArray>(kOldFile));
    if (fault == QLatin1String("read-only permission bits"))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
}

// The target changes while the save dialog is open. A file that is gone is simply written anew;
// a folder that is gone, or a folder now standing where the file was, is a failure told.
void tst_DiskFaults::vanishingTarget_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("saves");
    for (const char* command : {"Save", "Save As"}) {
        QTest::addRow("file removed, %s", command) << "file removed" << command << true;
        QTest::addRow("folder removed, %s", command) << "folder removed" << command << false;
        QTest::addRow("file replaced by a folder, %s", command)
            << "file replaced by a folder" << command << false;
    }
}

void tst_DiskFaults::vanishingTarget()
{
    QFETCH(QString, change);
    QFETCH(QString, command);
    QFETCH(bool, saves);
    const QString folder = m_dir->filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/route.gdf");
    QVERIFY(writeBytes(target, kOldFile));

    m_dialogs->whileSaveDialogOpen = [&] {
        QVERIFY(QFile::remove(target));
        if (change == QLatin1String("folder removed"))
            QVERIFY(QDir(folder).removeRecursively());
        else if (change == QLatin1String("file replaced by a folder"))
            QVERIFY(QDir().mkdir(target));
    };
    nameRoute();
    save(command, target, !saves);

    if (saves) {
        QVERIFY(m_dialogs->boxes().isEmpty());
        const std::optional<QByteArray> written = contents(target);
        QVERIFY(written);
        const auto read =
            readDataFile(std::string_view(written->constData(), std::size_t(written->size())));
        QVERIFY(std::holds_alternative<LocationData>(read));
        const LocationData& data = std::get<LocationData>(read);
        QCOMPARE(data.start.name, std::string("New Start"));
        QCOMPARE(data.end.name, std::string("New End"));
        QCOMPARE(data.start.latitudeDegrees, std::string("45"));
        QCOMPARE(entries(folder), QStringList{QStringLiteral("route.gdf")});
        return;
    }
    verifyFailureTold();
    if (change == QLatin1String("folder removed")) {
        QVERIFY(!QFileInfo::exists(folder));
    } else {
        QVERIFY(QFileInfo(target).isDir());
        QVERIFY(entries(target).isEmpty());
        QCOMPARE(entries(folder), QStringList{QStringLiteral("route.gdf")});
    }
}

QTEST_MAIN(tst_DiskFaults)
#include "tst_diskfaults.moc"
