// The file commands of the main window, driven as the menus drive them: Open, Save, Save As,
// Load City list and the city picks. Every box and file dialog is scripted; an unexpected one
// fails the test. Each failing read is checked to change nothing but the caption.

#include "fakedialogs.h"
#include "modalwatch.h"

#include "geo/calcs.h"
#include "geo/resultboxes.h"
#include "io/formats/citylist.h"
#include "io/formats/locationfields.h"
#include "ui/main/startwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace gyrena;

namespace {

const QByteArray workedExample =
    "GyrenaDataFile\r\nLondon\r\nEngland\r\nNew York\r\nUSA\r\n"
    "51\r\n30\r\nN\r\n0\r\n10\r\nW\r\n40\r\n43\r\nN\r\n74\r\n0\r\nW\r\n";
const QByteArray exampleList = "GyrenaCityListFile\r\n3\r\nLondon,England,51,30,N,0,10,W\r\n"
                               "New York,USA,40,43,N,74,0,W\r\n"
                               "\"Washington, D.C.\",USA,38,54,N,77,2,W\r\n";

enum class Command { Open, Save, SaveAs, LoadCityList };

// Remembers the caption at each message box, to show that it was set before the file was read.
class CaptionDialogs : public FakeDialogs
{
public:
    int message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                Icon icon) override
    {
        captions << (parent ? parent->window()->windowTitle() : QString());
        return FakeDialogs::message(parent, text, title, buttons, icon);
    }
    QStringList captions;
};

// Opens the write end of a named pipe, and closes it again, whenever its read end is open: code
// that wrongly reads the pipe then meets its end instead of blocking the test for good.
class PipeWatch
{
public:
    explicit PipeWatch(const QByteArray& path)
        : m_thread([this, path](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  // Without a reader this fails at once (ENXIO); it never blocks.
                  const int descriptor = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                  if (descriptor >= 0) {
                      m_readerCame = true;
                      ::close(descriptor);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    // Stops watching; true when the pipe was open for reading at some moment.
    bool readerCame()
    {
        m_thread.request_stop();
        m_thread.join();
        return m_readerCame;
    }

private:
    std::atomic<bool> m_readerCame{false};
    std::jthread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Dialogs::Icon)

class tst_FileCommands : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void emptyFileName_data();
    void emptyFileName();

    void openWorkedExample();
    void openLeavesTheOutputs();
    void openFailureChangesNothing_data();
    void openFailureChangesNothing();
    void openEncodingsAndLineEnds_data();
    void openEncodingsAndLineEnds();
    void openLetters_data();
    void openLetters();

    void saveWorkedExample();
    void saveWithoutInputs();
    void saveAsPlaceholders();
    void roundTrip_data();
    void roundTrip();
    void saveFailureKeepsTheOldFile_data();
    void saveFailureKeepsTheOldFile();
    void saveFailsWhileWriting();
    void refusedValue_data();
    void refusedValue();
    void exitYesSaves();

    void loadExample();
    void loadFailureChangesNothing_data();
    void loadFailureChangesNothing();
    void loadRefusesLargeFileFromItsSize();
    void loadCountSmallerThanRecords();
    void loadOneCity_data();
    void loadOneCity();
    void secondListReplacesFirst();
    void pickCopiesTexts_data();
    void pickCopiesTexts();
    void picksRunOnce();
    void typedNameDoesNotPick();
    void sameCityBothEndsIsSameLocation();
    void worldListComputesRoute();

    void handedFileAsTheMenu_data();
    void handedFileAsTheMenu();
    void dragTakesOneLocalFile();

private:
    QComboBox* combo(int n) const
    {
        return m_window->findChild<QComboBox*>(QStringLiteral("Combo%1").arg(n));
    }
    QLineEdit* text(int n) const
    {
        return m_window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    QPushButton* command(int n) const
    {
        return m_window->findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
    }

    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    // The file a failure row names: `bytes` written to `name`; no bytes and no name, an empty
    // file `empty`; "fifo:" and a name, a named pipe that nobody writes to; else `name` itself.
    QString prepare(const QString& name, const QByteArray& bytes, const QString& empty) const
    {
        if (!bytes.isEmpty())
            return write(name, bytes);
        if (name.isEmpty())
            return write(empty, QByteArray());
        if (name.startsWith(QStringLiteral("fifo:"))) {
            const QString pipe = path(name.mid(5));
            if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
                qFatal("cannot make the pipe %s", qPrintable(pipe));
            return pipe;
        }
        return QDir(m_dir->path()).absoluteFilePath(name);
    }
    static QByteArray read(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    void run(Command which)
    {
        switch (which) {
        case Command::Open:
            return m_window->openFile();
        case Command::Save:
            return m_window->saveFile();
        case Command::SaveAs:
            return m_window->saveAs();
        case Command::LoadCityList:
            return m_window->loadCityList();
        }
    }
    // Chooses `file` in the command's dialog; `boxes` message boxes are answered OK.
    void open(const QString& file, int boxes = 0)
    {
        m_dialogs.choose(file);
        for (int i = 0; i < boxes; ++i)
            m_dialogs.answer(Dialogs::AnswerOk);
        m_window->openFile();
    }
    // Chooses `file` in the command's dialog; `boxes` message boxes are answered OK.
    void load(const QString& file, int boxes = 0)
    {
        m_dialogs.choose(file);
        for (int i = 0; i < boxes; ++i)
            m_dialogs.answer(Dialogs::AnswerOk);
        m_window->loadCityList();
    }
    // Chooses `file` in the command's dialog; `boxes` message boxes are answered OK.
    void saveAs(const QString& file, int boxes = 0)
    {
        m_dialogs.choose(file);
        for (int i = 0; i < boxes; ++i)
            m_dialogs.answer(Dialogs::AnswerOk);
        m_window->saveAs();
    }

    // Everything the user can see or the computation reads, one line per control.
    QStringList snapshot() const
    {
        QStringList lines;
        for (const QComboBox* c : m_window->findChildren<QComboBox*>()) {
            QString line = QStringLiteral("%1 '%2' #%3 of %4")
                               .arg(c->objectName(), c->currentText())
                               .arg(c->currentIndex())
                               .arg(c->count());
            for (int i = 0; i < std::min(c->count(), 5); ++i)
                line += QStringLiteral(" |") + c->itemText(i);
            lines << line;
        }
        for (const QLineEdit* box : m_window->findChildren<QLineEdit*>())
            if (box->objectName().startsWith(QStringLiteral("Text")))
                lines << box->objectName() + QStringLiteral(" '") + box->text() + u'\'';
        for (int n = 1; n <= 5; ++n)
            lines << QStringLiteral("Command%1 %2").arg(n).arg(command(n)->isEnabled());
        lines << QStringLiteral("Frame2 %1")
                     .arg(m_window->findChild<QGroupBox*>(QStringLiteral("Frame2"))->isVisible());
        const LocationState& s = m_window->location();
        lines << QStringLiteral("location %1 %2 %3 %4 %5 %6 %7 %8")
                     .arg(s.startLat, 0, 'g', 17)
                     .arg(s.startLong, 0, 'g', 17)
                     .arg(s.endLat, 0, 'g', 17)
                     .arg(s.endLong, 0, 'g', 17)
                     .arg(QString::fromStdString(s.startLatDir),
                          QString::fromStdString(s.startLongDir),
                          QString::fromStdString(s.endLatDir),
                          QString::fromStdString(s.endLongDir));
        const auto& table = m_window->cityTable();
        lines << QStringLiteral("cities %1").arg(table ? table->cityCount() : -1);
        return lines;
    }

    // The twelve coordinate lists in the order of a data file's lines 6 to 17.
    std::vector<QComboBox*> coordinateLists() const
    {
        std::vector<QComboBox*> lists;
        for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
            for (const LocationField field : kCoordinateOrder)
                lists.push_back(m_window->findChild<QComboBox*>(inputObjectName(end, field)));
        }
        return lists;
    }
    QStringList coordinateTexts() const
    {
        QStringList texts;
        for (const QComboBox* list : coordinateLists())
            texts << list->currentText();
        return texts;
    }
    void setCoordinateTexts(const QStringList& texts)
    {
        const std::vector<QComboBox*> lists = coordinateLists();
        for (std::size_t i = 0; i < lists.size(); ++i)
            lists[i]->setEditText(texts.at(qsizetype(i)));
    }
    QStringList itemsOf(int n) const
    {
        QStringList items;
        for (int i = 0; i < combo(n)->count(); ++i)
            items << combo(n)->itemText(i);
        return items;
    }

    void verifyBox(qsizetype index, const QString& text, const QString& title, Dialogs::Icon icon)
    {
        QVERIFY2(index < m_dialogs.boxes().size(), qPrintable(m_dialogs.boxTexts().join('/')));
        const FakeDialogs::Box& box = m_dialogs.boxes().at(index);
        QCOMPARE(box.text, text);
        QCOMPARE(box.title, title);
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(box.icon, icon);
    }

    CaptionDialogs m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StartWindow> m_window;
};

void tst_FileCommands::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QLocale::setDefault(QLocale::c());
}

void tst_FileCommands::init()
{
    m_dialogs.reset();
    m_dialogs.captions.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window = std::make_unique<StartWindow>(Services{&m_dialogs, nullptr, nullptr});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_FileCommands::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

void tst_FileCommands::cancelChangesNothing_data()
{
    QTest::addColumn<Command>("which");
    QTest::addColumn<bool>("openDialog");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    const QString data = QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|");
    QTest::newRow("Open") << Command::Open << true << "Open File" << data;
    QTest::newRow("Save") << Command::Save << false << "Save As" << data;
    QTest::newRow("Save As") << Command::SaveAs << false << "Save As" << data;
    QTest::newRow("Load City list") << Command::LoadCityList << true << "Open City List"
                                    << "Gyrena City List File (*.gcl)|*.gcl|";
}

void tst_FileCommands::cancelChangesNothing()
{
    QFETCH(Command, which);
    QFETCH(bool, openDialog);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    combo(13)->setEditText(QStringLiteral("Here")); // Save needs both names
    combo(14)->setEditText(QStringLiteral("There"));
    const QStringList before = snapshot();
    const QString caption = m_window->windowTitle();
    m_dialogs.cancel();
    run(which);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.fileDialogs().size(), 1);
    const FakeDialogs::FileDialog& dialog = m_dialogs.fileDialogs().at(0);
    QCOMPARE(dialog.kind, openDialog ? FakeDialogs::FileKind::Open : FakeDialogs::FileKind::Save);
    QCOMPARE(dialog.title, title);
    QCOMPARE(dialog.filter, filter);
    QCOMPARE(m_window->windowTitle(), caption);
    QCOMPARE(snapshot(), before);
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void tst_FileCommands::emptyFileName_data()
{
    QTest::addColumn<Command>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");
    QTest::newRow("Open sets the caption") << Command::Open << "  [ ]" << QString();
    QTest::newRow("Load sets the caption") << Command::LoadCityList << "  [ ]" << QString();
    QTest::newRow("Save ends silently") << Command::Save << " Gyrena" << QString();
    QTest::newRow("Save As tells") << Command::SaveAs << " Gyrena"
                                   << "No file selected";
}

void tst_FileCommands::emptyFileName()
{
    QFETCH(Command, which);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    combo(13)->setEditText(QStringLiteral("Here"));
    combo(14)->setEditText(QStringLiteral("There"));
    const QStringList before = snapshot();
    m_dialogs.choose(QString());
    if (!box.isEmpty())
        m_dialogs.answer(Dialogs::AnswerOk);
    run(which);
    QVERIFY(m_dialogs.verifyDone());
    if (!box.isEmpty())
        verifyBox(0, box, QStringLiteral("Error"), Dialogs::Icon::None);
    QCOMPARE(m_window->windowTitle(), caption);
    QCOMPARE(snapshot(), before);
}

void tst_FileCommands::openWorkedExample()
{
    const QString file = write(QStringLiteral("example.gdf"), workedExample);
    // The caption already names the file while the controls are being set.
    QStringList captionsSeen;
    connect(combo(13), &QComboBox::currentTextChanged, m_window.get(),
            [&] { captionsSeen << m_window->windowTitle(); });
    open(file);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(captionsSeen, QStringList{"  [ " + file + ']'});
    QCOMPARE(m_window->windowTitle(), "  [ " + file + ']');
    QCOMPARE(combo(13)->currentText(), QStringLiteral("London"));
    QCOMPARE(text(1)->text(), QStringLiteral("England"));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("New York"));
    QCOMPARE(text(2)->text(), QStringLiteral("USA"));
    QCOMPARE(coordinateTexts(),
             QStringList({"51", "30", "N", "0", "10", "W", "40", "43", "N", "74", "0", "W"}));
    // Whole numbers select their items.
    QCOMPARE(combo(1)->currentIndex(), 51);
    QCOMPARE(combo(10)->currentIndex(), 1);
    QCOMPARE(combo(8)->currentIndex(), 0);
    const LocationState& s = m_window->location();
    QCOMPARE(s.startLat, 51.5);
    QCOMPARE(s.startLong, 10.0 / 60);
    QCOMPARE(s.endLat, 40 + 43.0 / 60);
    QCOMPARE(s.endLong, 74.0);
    QCOMPARE(s.startLatDir + s.startLongDir + s.endLatDir + s.endLongDir, std::string("NWNW"));
    QCOMPARE(text(7)->text() + text(8)->text() + text(9)->text() + text(10)->text(),
             QStringLiteral("NWNW"));
    QVERIFY(command(5)->isEnabled());
}

void tst_FileCommands::openLeavesTheOutputs()
{
    setCoordinateTexts({"37", "45", "N", "122", "27", "W", "34", "0", "S", "151", "0", "E"});
    combo(13)->setEditText(QStringLiteral("San Francisco"));
    combo(14)->setEditText(QStringLiteral("Sydney"));
    m_dialogs.answer(Dialogs::AnswerYes);
    m_window->doneWithInputs();
    m_window->computeOutputs();
    QVERIFY(command(1)->isEnabled());
    QStringList outputs;
    for (int n = 3; n <= 20; ++n)
        if (n >= 11 || n <= 6)
            if (QLineEdit* box = text(n))
                outputs << box->text();
    QVERIFY(!outputs.join(QString()).isEmpty());

    open(write(QStringLiteral("example.gdf"), workedExample));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(combo(13)->currentText(), QStringLiteral("London"));
    QVERIFY(m_window->findChild<QGroupBox*>(QStringLiteral("Frame2"))->isVisible());
    QVERIFY(command(1)->isEnabled());
    QStringList after;
    for (int n = 3; n <= 20; ++n)
        if (n >= 11 || n <= 6)
            if (QLineEdit* box = text(n))
                after << box->text();
    QCOMPARE(after, outputs);
}

void tst_FileCommands::openFailureChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: `name` is used as it stands
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message"); // ends with "*": only this beginning is fixed
    const QString notData = QStringLiteral("This file is not a Gyrena data file.");
    const QString unreadable = QStringLiteral("This file could not be read: ");
    QByteArray lines = workedExample;
    QTest::newRow("other first field")
        << QByteArray("Gyrena\r\n") + lines.mid(16) << "a.gdf" << notData;
    QTest::newRow("first field in lower case") << lines.toLower() << "a.gdf" << notData;
    QTest::newRow("a city list") << exampleList << "a.gcl" << notData;
    QTest::newRow("ends early") << workedExample.left(workedExample.indexOf("W\r\n")) << "a.gdf"
                                << unreadable + "the file ends before line 11 (start longitude "
                                                "direction)";
    QTest::newRow("degrees not a number")
        << QByteArray(workedExample).replace("\r\n51\r\n", "\r\nabc\r\n") << "a.gdf"
        << unreadable + "line 6 (start latitude degrees) is not a number";
    QTest::newRow("unquoted comma shifts the fields")
        << QByteArray(workedExample).replace("London", "Washington, D.C.") << "a.gdf"
        << unreadable + "line 6 (start latitude degrees) is not a number, on line 5 of the file";
    QTest::newRow("field too long")
        << QByteArray(workedExample).replace("England", QByteArray(5000, 'e')) << "a.gdf"
        << unreadable + "line 3 holds a field longer than 4,096 bytes";
    QTest::newRow("NUL byte") << QByteArray(workedExample).replace("USA", QByteArray("U\0A", 3))
                              << "a.gdf" << unreadable + "line 5 holds a NUL byte";
    QTest::newRow("empty file") << QByteArray() << "" << unreadable + "*";
    QTest::newRow("missing file") << QByteArray() << "missing.gdf"
                                  << unreadable + "No such file or directory";
    // Nothing but a regular file is read: a pipe would block the window until a writer came.
    QTest::newRow("a directory") << QByteArray() << "." << unreadable + "not a regular file";
    QTest::newRow("endless device")
        << QByteArray() << "/dev/zero" << unreadable + "not a regular file";
    QTest::newRow("named pipe") << QByteArray() << "fifo:pipe.gdf"
                                << unreadable + "not a regular file";
}

void tst_FileCommands::openFailureChangesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, message);
    // Fill the window first so a half-applied read would show.
    load(write(QStringLiteral("cities.gcl"), exampleList));
    m_dialogs.reset();
    m_dialogs.captions.clear();
    combo(14)->setEditText(QStringLiteral("End Location"));
    command(5)->setEnabled(false);
    const QStringList before = snapshot();

    const QString file = prepare(name, bytes, QStringLiteral("empty.gdf"));
    std::optional<PipeWatch> watch;
    if (name.startsWith(QStringLiteral("fifo:")))
        watch.emplace(QFile::encodeName(file));
    open(file, 1);
    if (watch)
        QVERIFY2(!watch->readerCame(), "the named pipe was opened for reading");
    QVERIFY(m_dialogs.verifyDone());
    const QString caption = "  [ " + file + ']';
    QCOMPARE(m_dialogs.captions, QStringList{caption});
    QCOMPARE(m_window->windowTitle(), caption);
    const FakeDialogs::Box& box = m_dialogs.boxes().at(0);
    if (message.endsWith('*'))
        QVERIFY2(box.text.startsWith(message.chopped(1)) && box.text.size() > message.size(),
                 qPrintable(box.text));
    else
        QCOMPARE(box.text, message);
    verifyBox(0, box.text, QStringLiteral("File Error"), Dialogs::Icon::None);
    QCOMPARE(snapshot(), before);
}

void tst_FileCommands::openEncodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("country");
    const auto file = [](const QByteArray& name, const QByteArray& country, const char* end) {
        QByteArray bytes = workedExample;
        return bytes.replace("London", name).replace("England", country).replace("\r\n", end);
    };
    QTest::newRow("Windows-1252") << file("Z\xfcrich", "Schweiz", "\r\n") << "Zürich"
                                  << "Schweiz";
    QTest::newRow("UTF-8") << file("Z\xc3\xbcrich", "\xe6\x97\xa5\xe6\x9c\xac", "\r\n") << "Zürich"
                           << "日本";
    QTest::newRow("LF line ends") << file("Ume\xe5", "Sverige", "\n") << "Umeå"
                                  << "Sverige";
    QTest::newRow("CR line ends") << file("Ume\xe5", "Sverige", "\r") << "Umeå"
                                  << "Sverige";
    QTest::newRow("quoted comma and leading blanks")
        << file("\"Washington, D.C.\"", "\"  USA\"", "\r\n") << "Washington, D.C."
        << "  USA";
}

void tst_FileCommands::openEncodingsAndLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, country);
    open(write(QStringLiteral("a.gdf"), bytes));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(combo(13)->currentText(), name);
    QCOMPARE(text(1)->text(), country);
    QCOMPARE(combo(14)->currentText(), QStringLiteral("New York"));
    QCOMPARE(combo(12)->currentText(), QStringLiteral("W"));
}

void tst_FileCommands::openLetters_data()
{
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::newRow("upper case") << QByteArray("N") << "N"
                                << "W"; // "N" is not "E"
    QTest::newRow("lower case") << QByteArray("n") << "S"
                                << "W";
    QTest::newRow("empty") << QByteArray() << "S"
                           << "W";
    QTest::newRow("E") << QByteArray("E") << "S"
                       << "E";
}

void tst_FileCommands::openLetters()
{
    QFETCH(QByteArray, letter);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    // Typed texts leave the index where it was; the open must still show the item it selects.
    for (int n = 9; n <= 12; ++n)
        combo(n)->setEditText(QStringLiteral("typed"));
    QByteArray bytes = workedExample;
    bytes.replace("\r\nN\r\n", "\r\n" + letter + "\r\n")
        .replace("\r\nW\r\n", "\r\n" + letter + "\r\n");
    open(write(QStringLiteral("a.gdf"), bytes));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(combo(9)->currentText(), latitude);
    QCOMPARE(combo(11)->currentText(), latitude);
    QCOMPARE(combo(10)->currentText(), longitude);
    QCOMPARE(combo(12)->currentText(), longitude);
    QCOMPARE(QString::fromStdString(m_window->location().endLatDir), latitude);
    QCOMPARE(QString::fromStdString(m_window->location().startLongDir), longitude);
}

void tst_FileCommands::saveWorkedExample()
{
    setCoordinateTexts({"51", "30", "N", "0", "10", "W", "40", "43", "N", "74", "0", "W"});
    combo(13)->setEditText(QStringLiteral("London"));
    text(1)->setText(QStringLiteral("England"));
    combo(14)->setEditText(QStringLiteral("New York"));
    text(2)->setText(QStringLiteral("USA"));
    QVERIFY(command(5)->isEnabled());
    const QString file = path(QStringLiteral("example.gdf"));
    m_dialogs.choose(file);
    m_window->saveFile();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(read(file), workedExample);
    // Saving over an existing file replaces it whole.
    write(QStringLiteral("example.gdf"), QByteArray(500, 'x'));
    m_dialogs.choose(file);
    m_window->saveFile();
    QCOMPARE(read(file), workedExample);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"example.gdf"});
}

void tst_FileCommands::saveWithoutInputs()
{
    m_dialogs.answer(Dialogs::AnswerOk);
    m_window->saveFile();
    QVERIFY(m_dialogs.verifyDone());
    verifyBox(0, QStringLiteral("Input city data before saving"), QStringLiteral("Error"),
              Dialogs::Icon::None);
    QVERIFY(m_dialogs.fileDialogs().isEmpty());
}

void tst_FileCommands::saveAsPlaceholders()
{
    const QString file = path(QStringLiteral("start.gdf"));
    saveAs(file);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(read(file),
             QByteArray("GyrenaDataFile\r\nStart Location\r\nCountry\r\nEnd Location\r\n"
                        "Country\r\n0\r\n0\r\nN\r\n0\r\n0\r\nE\r\n0\r\n0\r\nN\r\n0\r\n"
                        "0\r\nE\r\n"));
}

void tst_FileCommands::roundTrip_data()
{
    QTest::addColumn<QStringList>("names"); // start name, start country, end name, end country
    QTest::addColumn<QStringList>("coordinates");
    QTest::addColumn<QByteArray>("written"); // a part of the file's bytes
    const QStringList plain = {"Here", "Land", "There", "Land"};
    const QStringList route = {"51", "30", "N", "0", "10", "W", "40", "43", "S", "74", "0", "E"};
    const auto with = [&](int i, const QString& value) {
        QStringList texts = route;
        texts[i] = value;
        return texts;
    };
    QTest::newRow("whole numbers") << plain << route << QByteArray("\r\n40\r\n43\r\nS\r\n");
    QTest::newRow("fractional minutes") << plain << with(1, "30.5") << QByteArray("\r\n30.5\r\n");
    QTest::newRow("half minutes") << plain << with(7, "31.5") << QByteArray("\r\n31.5\r\n");
    QTest::newRow("degrees beyond the list") << plain << with(0, "95") << QByteArray("\r\n95\r\n");
    QTest::newRow("negative") << plain << with(3, "-5") << QByteArray("\r\n-5\r\n");
    QTest::newRow("exponent") << plain << with(4, "1e1") << QByteArray("\r\n1e1\r\n");
    QTest::newRow("leading zero") << plain << with(6, "07") << QByteArray("\r\n07\r\n");
    QTest::newRow("leading blank") << plain << with(9, " 12") << QByteArray("\r\n\" 12\"\r\n");
    // Blanks read as 0 when computing, so Save keeps them and Open gives them back as they were.
    QTest::newRow("blank minutes") << plain << with(1, "  ") << QByteArray("\r\n\"  \"\r\n");
    QTest::newRow("comma in name") << QStringList{"Washington, D.C.", "USA", "Lyon", "France"}
                                   << route << QByteArray("\r\n\"Washington, D.C.\"\r\nUSA\r\n");
    QTest::newRow("leading blanks in names")
        << QStringList{"  Here", " Land", "There", "Land, far"} << route
        << QByteArray("\r\n\"  Here\"\r\n\" Land\"\r\nThere\r\n\"Land, far\"\r\n");
    QTest::newRow("Windows-1252 names") << QStringList{"Zürich", "Schweiz", "Bogotá", "Colombia"}
                                        << route << QByteArray("\r\nZ\xfcrich\r\n");
    QTest::newRow("UTF-8 names") << QStringList{"Zürich", "Schweiz", "東京", "日本"} << route
                                 << QByteArray("\r\nZ\xc3\xbcrich\r\n");
    QTest::newRow("placeholders and empty countries")
        << QStringList{"Start Location", "", "End Location", ""} << route
        << QByteArray("Start Location\r\n\r\nEnd Location\r\n\r\n51");
}

void tst_FileCommands::roundTrip()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, coordinates);
    QFETCH(QByteArray, written);
    combo(13)->setEditText(names.at(0));
    text(1)->setText(names.at(1));
    combo(14)->setEditText(names.at(2));
    text(2)->setText(names.at(3));
    setCoordinateTexts(coordinates);
    const LocationState location = m_window->location();
    const QString file = path(QStringLiteral("route.gdf"));
    saveAs(file);
    QVERIFY(m_dialogs.verifyDone());
    const QByteArray bytes = read(file);
    QVERIFY2(bytes.contains(written), bytes.constData());

    m_window->clearAll();
    QCOMPARE(combo(1)->currentText(), QStringLiteral("0"));
    open(file);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(QStringList({combo(13)->currentText(), text(1)->text(), combo(14)->currentText(),
                          text(2)->text()}),
             names);
    QCOMPARE(coordinateTexts(), coordinates);
    QVERIFY(m_window->location() == location);
}

void tst_FileCommands::saveFailureKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("parent is a regular file") << "parent file";
    QTest::newRow("target is a directory") << "directory";
    // The temporary file beside the target takes 7 more characters than a name may hold.
    QTest::newRow("no room for the temporary file") << "long name";
}

void tst_FileCommands::saveFailureKeepsTheOldFile()
{
    QFETCH(QString, setup);
    QString target;
    QByteArray old = "old contents\r\n";
    if (setup == "parent file") {
        target = write(QStringLiteral("plain"), old) + QStringLiteral("/route.gdf");
    } else if (setup == "directory") {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("route.gdf")));
        target = path(QStringLiteral("route.gdf"));
    } else {
        target = write(QString(250, u'r') + QStringLiteral(".gdf"), old);
    }
    const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden);
    saveAs(target, 1);
    QVERIFY(m_dialogs.verifyDone());
    const QString text = m_dialogs.boxes().at(0).text;
    QVERIFY2(text.startsWith(QStringLiteral("The file could not be saved: ")) && text.size() > 31,
             qPrintable(text));
    verifyBox(0, text, QStringLiteral("File Error"), Dialogs::Icon::Critical);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
    if (setup == "long name")
        QCOMPARE(read(target), old);
    if (setup == "parent file")
        QCOMPARE(read(path(QStringLiteral("plain"))), old);
}

void tst_FileCommands::saveFailsWhileWriting()
{
    // A limit on file sizes stops root too: the write of the temporary file fails part-way.
    const QString target = write(QStringLiteral("route.gdf"), QByteArray(100, 'o'));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    saveAs(target, 1);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY(m_dialogs.verifyDone());
    verifyBox(0, m_dialogs.boxes().at(0).text, QStringLiteral("File Error"),
              Dialogs::Icon::Critical);
    QVERIFY(
        m_dialogs.boxes().at(0).text.startsWith(QStringLiteral("The file could not be saved: ")));
    QCOMPARE(read(target), QByteArray(100, 'o'));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"route.gdf"});
}

void tst_FileCommands::refusedValue_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("name begins with a quote")
        << "Combo13"
        << "\"Quoted\" Place"
        << "The start location name cannot be saved: it begins with a double quote.";
    QTest::newRow("quote and comma") << "Text2"
                                     << "The \"Big\", Land"
                                     << "The end country cannot be saved: it holds a double quote "
                                        "together with a comma, a line break or a leading blank.";
    QTest::newRow("quote and leading blank")
        << "Combo14"
        << " A \"B\""
        << "The end location name cannot be saved: it holds a double quote together with a "
           "comma, a line break or a leading blank.";
    QTest::newRow("degrees not a number")
        << "Combo7"
        << "12abc"
        << "The end longitude degrees cannot be saved: it is not a number.";
}

void tst_FileCommands::refusedValue()
{
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, message);
    combo(13)->setEditText(QStringLiteral("Here"));
    combo(14)->setEditText(QStringLiteral("There"));
    if (auto* c = m_window->findChild<QComboBox*>(control))
        c->setEditText(value);
    else
        m_window->findChild<QLineEdit*>(control)->setText(value);
    const QString target = write(QStringLiteral("route.gdf"), workedExample);
    m_dialogs.choose(target);
    m_dialogs.answer(Dialogs::AnswerOk);
    m_window->saveFile();
    QVERIFY(m_dialogs.verifyDone());
    verifyBox(0, message, QStringLiteral("File Error"), Dialogs::Icon::Critical);
    QCOMPARE(read(target), workedExample);
}

void tst_FileCommands::exitYesSaves()
{
    combo(13)->setEditText(QStringLiteral("Here"));
    combo(14)->setEditText(QStringLiteral("There"));
    const QString file = path(QStringLiteral("exit.gdf"));
    m_dialogs.answer(Dialogs::AnswerYes); // "Save input data to file?"
    m_dialogs.choose(file);
    m_dialogs.answer(Dialogs::AnswerNo); // "Confirm exit."
    m_window->exitApplication();
    QVERIFY(m_dialogs.verifyDone());
    QVERIFY(read(file).startsWith("GyrenaDataFile\r\nHere\r\n"));
}

void tst_FileCommands::loadExample()
{
    for (int n = 3; n <= 6; ++n)
        text(n)->setText(QStringLiteral("old"));
    QSignalSpy startIndex(combo(13), &QComboBox::currentIndexChanged);
    QSignalSpy endIndex(combo(14), &QComboBox::currentIndexChanged);
    const QString file = write(QStringLiteral("cities.gcl"), exampleList);
    load(file);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.fileDialogs().at(0).title, QStringLiteral("Open City List"));
    QCOMPARE(m_window->windowTitle(), "  [ " + file + ']');
    const QStringList names = {"London", "New York", "Washington, D.C."};
    QCOMPARE(itemsOf(13), names);
    QCOMPARE(itemsOf(14), names);
    // One selection each, not one per city.
    QCOMPARE(startIndex.size(), 1);
    QCOMPARE(endIndex.size(), 1);
    QCOMPARE(combo(13)->currentText(), QStringLiteral("London"));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("New York"));
    QCOMPARE(text(1)->text(), QStringLiteral("England"));
    QCOMPARE(text(2)->text(), QStringLiteral("USA"));
    QCOMPARE(coordinateTexts(),
             QStringList({"51", "30", "N", "0", "10", "W", "40", "43", "N", "74", "0", "W"}));
    for (int n = 3; n <= 6; ++n)
        QCOMPARE(text(n)->text(), QString());
    QCOMPARE(m_window->location().startLat, 51.5);
    QCOMPARE(m_window->location().endLong, 74.0);
    QVERIFY(command(5)->isEnabled());
    QCOMPARE(m_window->cityTable()->cityCount(), 3);
}

void tst_FileCommands::loadFailureChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: `name` is used as it stands
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message"); // ends with "*": only this beginning is fixed
    QTest::addColumn<QString>("title");
    QTest::addColumn<Dialogs::Icon>("icon");
    const QString notList = QStringLiteral("The file is not a list of cities\rthat can be used by "
                                           "Gyrena.exe");
    const QString count = QStringLiteral("The data file does not appear\r\n to be the correct "
                                         "type!");
    const QString unreadable = QStringLiteral("This city list could not be read: ");
    const QString fileError = QStringLiteral("File Error");
    const auto list = [](const char* count) {
        return QByteArray(exampleList).replace("\r\n3\r\n", QByteArray("\r\n") + count + "\r\n");
    };
    QTest::newRow("a data file") << workedExample << "a.gdf" << notList << fileError
                                 << Dialogs::Icon::None;
    QTest::newRow("first field in lower case")
        << exampleList.toLower() << "a.gcl" << notList << fileError << Dialogs::Icon::None;
    QTest::newRow("count 0") << list("0") << "a.gcl" << count << "Error" << Dialogs::Icon::Critical;
    QTest::newRow("negative count")
        << list("-3") << "a.gcl" << count << "Error" << Dialogs::Icon::Critical;
    QTest::newRow("count abc") << list("abc") << "a.gcl"
                               << unreadable + "the count on line 2 is not a whole number from 1 "
                                               "to 32,767"
                               << fileError << Dialogs::Icon::None;
    QTest::newRow("count 40000") << list("40000") << "a.gcl"
                                 << unreadable + "the count on line 2 is not a whole number from "
                                                 "1 to 32,767"
                                 << fileError << Dialogs::Icon::None;
    QTest::newRow("count larger than the records")
        << list("5") << "a.gcl"
        << unreadable + "the file ends on line 6, before the end of city 4 of 5" << fileError
        << Dialogs::Icon::None;
    QTest::newRow("NUL byte") << QByteArray(exampleList).replace("USA", QByteArray("U\0A", 3))
                              << "a.gcl" << unreadable + "line 4 holds a NUL byte" << fileError
                              << Dialogs::Icon::None;
    QTest::newRow("empty file") << QByteArray() << "" << unreadable + "*" << fileError
                                << Dialogs::Icon::None;
    QTest::newRow("missing file") << QByteArray() << "missing.gcl"
                                  << unreadable + "No such file or directory" << fileError
                                  << Dialogs::Icon::None;
    QTest::newRow("endless device")
        << QByteArray() << "/dev/zero" << unreadable + "not a regular file" << fileError
        << Dialogs::Icon::None;
    QTest::newRow("named pipe") << QByteArray() << "fifo:pipe.gcl"
                                << unreadable + "not a regular file" << fileError
                                << Dialogs::Icon::None;
}

void tst_FileCommands::loadFailureChangesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(Dialogs::Icon, icon);
    load(write(QStringLiteral("first.gcl"), exampleList));
    combo(13)->setCurrentIndex(2);
    m_dialogs.reset();
    m_dialogs.captions.clear();
    const QStringList before = snapshot();

    const QString file = prepare(name, bytes, QStringLiteral("empty.gcl"));
    std::optional<PipeWatch> watch;
    if (name.startsWith(QStringLiteral("fifo:")))
        watch.emplace(QFile::encodeName(file));
    load(file, 1);
    if (watch)
        QVERIFY2(!watch->readerCame(), "the named pipe was opened for reading");
    QVERIFY(m_dialogs.verifyDone());
    const QString caption = "  [ " + file + ']';
    QCOMPARE(m_dialogs.captions, QStringList{caption});
    QCOMPARE(m_window->windowTitle(), caption);
    const QString text = m_dialogs.boxes().at(0).text;
    if (message.endsWith('*'))
        QVERIFY2(text.startsWith(message.chopped(1)) && text.size() > message.size(),
                 qPrintable(text));
    else
        QCOMPARE(text, message);
    verifyBox(0, text, title, icon);
    QCOMPARE(snapshot(), before);
    QCOMPARE(m_window->cityTable()->text(3, CityName), std::string("Washington, D.C."));
}

void tst_FileCommands::loadRefusesLargeFileFromItsSize()
{
    const QStringList before = snapshot();
    // Sparse files: no disk space, but the sizes are real. One byte over the limit is refused
    // before reading; at the limit the file is read and its NUL bytes are found.
    for (const qint64 size : {qint64(kMaxCityListBytes) + 1, qint64(kMaxCityListBytes)}) {
        QFile file(path(QStringLiteral("large%1.gcl").arg(size)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("GyrenaCityListFile\r\n1\r\n");
        QVERIFY(file.resize(size));
        file.close();
        m_dialogs.reset();
        load(file.fileName(), 1);
        QVERIFY(m_dialogs.verifyDone());
        verifyBox(0,
                  size > qint64(kMaxCityListBytes)
                      ? QStringLiteral("This city list could not be read: the file is larger "
                                       "than 64 MiB")
                      : QStringLiteral("This city list could not be read: line 3 holds a NUL "
                                       "byte"),
                  QStringLiteral("File Error"), Dialogs::Icon::None);
        QCOMPARE(snapshot(), before);
    }
}

void tst_FileCommands::loadCountSmallerThanRecords()
{
    load(write(QStringLiteral("a.gcl"), QByteArray(exampleList).replace("\r\n3\r\n", "\r\n2\r\n")));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(itemsOf(14), QStringList({"London", "New York"}));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("New York"));
}

void tst_FileCommands::loadOneCity_data()
{
    QTest::addColumn<QString>("endName");
    QTest::addColumn<QString>("endCountry");
    QTest::addColumn<bool>("doneWithInputs"); // enabled after the load, as typed names would
    QTest::newRow("typed end") << "Sydney"
                               << "Australia" << true;
    QTest::newRow("placeholder end") << "End Location"
                                     << "Country" << false;
}

void tst_FileCommands::loadOneCity()
{
    QFETCH(QString, endName);
    QFETCH(QString, endCountry);
    QFETCH(bool, doneWithInputs);
    combo(14)->setEditText(endName);
    text(2)->setText(endCountry);
    setCoordinateTexts({"0", "0", "N", "0", "0", "E", "34", "0", "S", "151", "0", "E"});
    load(write(QStringLiteral("one.gcl"),
               "GyrenaCityListFile\r\n1\r\nOslo,Norway,59,55,N,10,45,E\r\n"));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(itemsOf(13), QStringList{"Oslo"});
    QCOMPARE(itemsOf(14), QStringList{"Oslo"});
    QCOMPARE(combo(13)->currentText(), QStringLiteral("Oslo"));
    QCOMPARE(text(1)->text(), QStringLiteral("Norway"));
    QCOMPARE(combo(14)->currentText(), endName);
    QCOMPARE(text(2)->text(), endCountry);
    QCOMPARE(coordinateTexts(),
             QStringList({"59", "55", "N", "10", "45", "E", "34", "0", "S", "151", "0", "E"}));
    QCOMPARE(command(5)->isEnabled(), doneWithInputs);
}

void tst_FileCommands::secondListReplacesFirst()
{
    load(write(QStringLiteral("first.gcl"), exampleList));
    combo(14)->setEditText(QStringLiteral("typed"));
    load(write(QStringLiteral("second.gcl"),
               "GyrenaCityListFile\r\n2\r\nLima,Peru,12,3,S,77,2,W\r\n"
               "Quito,Ecuador,0,13,S,78,30,W\r\n"));
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(itemsOf(13), QStringList({"Lima", "Quito"}));
    QCOMPARE(itemsOf(14), QStringList({"Lima", "Quito"}));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("Quito"));
    QCOMPARE(m_window->cityTable()->cityCount(), 2);
    combo(13)->setCurrentIndex(1);
    QCOMPARE(text(1)->text(), QStringLiteral("Ecuador"));
    QCOMPARE(combo(2)->currentText(), QStringLiteral("13"));
}

void tst_FileCommands::pickCopiesTexts_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<QString>("letters");
    QTest::newRow("fractional minutes")
        << QByteArray("Half,Land,12,30.5,N,5,0,E") << QStringList{"12", "30.5", "N", "5", "0", "E"}
        << 12 + 30.5 / 60 << "NE";
    QTest::newRow("lower-case letters")
        << QByteArray("Low,Land,1,2,n,3,4,e") << QStringList{"1", "2", "n", "3", "4", "e"}
        << 1 + 2.0 / 60 << "SW";
    QTest::newRow("empty degrees") << QByteArray("Blank,,,15,S,,,W")
                                   << QStringList{"", "15", "S", "", "", "W"} << 0.25 << "SW";
}

void tst_FileCommands::pickCopiesTexts()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, texts);
    QFETCH(double, latitude);
    QFETCH(QString, letters);
    load(write(QStringLiteral("a.gcl"), "GyrenaCityListFile\r\n3\r\nA,Aland,1,1,N,1,1,E\r\n" +
                                            record + "\r\nB,Bland,2,2,S,2,2,W\r\n"));
    QVERIFY(m_dialogs.verifyDone());
    const QString country = QString::fromUtf8(record.split(',').at(1));
    for (const bool start : {true, false}) {
        combo(start ? 13 : 14)->setCurrentIndex(1);
        QCOMPARE(text(start ? 1 : 2)->text(), country);
        // The first six lines of a data file are the start's lists, the last six the end's.
        QStringList shown = coordinateTexts().mid(start ? 0 : 6, 6);
        QCOMPARE(shown, texts);
        const LocationState& s = m_window->location();
        QCOMPARE(start ? s.startLat : s.endLat, latitude);
        QCOMPARE(QString::fromStdString(start ? s.startLatDir + s.startLongDir
                                              : s.endLatDir + s.endLongDir),
                 letters);
    }
}

void tst_FileCommands::picksRunOnce()
{
    load(write(QStringLiteral("cities.gcl"), exampleList));
    QVERIFY(m_dialogs.verifyDone());
    // Runs after the window's own handler of the same signal: a second run of the pick for the
    // same selection would empty Text3 again.
    connect(combo(13), &QComboBox::currentIndexChanged, m_window.get(),
            [this] { text(3)->setText(QStringLiteral("after the pick")); });
    QApplication::processEvents();

    combo(13)->setCurrentIndex(2); // from code
    QCOMPARE(text(1)->text(), QStringLiteral("USA"));
    QCOMPARE(text(3)->text(), QStringLiteral("after the pick"));
    QApplication::processEvents();

    // From the user: the drop-down opened, one entry up and Enter.
    combo(13)->setFocus();
    combo(13)->showPopup();
    QListView* view = qobject_cast<QListView*>(combo(13)->view());
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo(13)->currentIndex(), 1);
    QCOMPARE(combo(1)->currentText(), QStringLiteral("40"));
    QCOMPARE(text(3)->text(), QStringLiteral("after the pick"));
    QApplication::processEvents();

    // Picking the city already shown copies it again.
    text(1)->setText(QStringLiteral("edited"));
    combo(1)->setEditText(QStringLiteral("3"));
    combo(13)->showPopup();
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(text(1)->text(), QStringLiteral("USA"));
    QCOMPARE(combo(1)->currentText(), QStringLiteral("40"));
    QCOMPARE(text(3)->text(), QString());
}

void tst_FileCommands::typedNameDoesNotPick()
{
    load(write(QStringLiteral("cities.gcl"), exampleList));
    QVERIFY(m_dialogs.verifyDone());
    QLineEdit* edit = combo(13)->lineEdit();
    // Leaving a list selects the item its text names (Combo1 shows "51"): done before the
    // snapshot, as it is no pick of a city.
    edit->setFocus();
    QApplication::processEvents();
    const QStringList before = snapshot();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("New York"));
    QTest::keyClick(edit, Qt::Key_Return);
    combo(5)->setFocus();
    QApplication::processEvents();
    QCOMPARE(combo(13)->currentText(), QStringLiteral("New York"));
    QCOMPARE(combo(13)->currentIndex(), 0);
    QStringList after = snapshot();
    QCOMPARE(after.filter(QStringLiteral("Combo13")).size(), 1);
    after.replaceInStrings(QStringLiteral("Combo13 'New York'"),
                           QStringLiteral("Combo13 'London'"));
    QCOMPARE(after, before);
}

void tst_FileCommands::sameCityBothEndsIsSameLocation()
{
    load(write(QStringLiteral("cities.gcl"), exampleList));
    combo(14)->setCurrentIndex(0);
    m_dialogs.answer(Dialogs::AnswerYes);
    m_dialogs.answer(Dialogs::AnswerOk);
    m_window->doneWithInputs();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.boxTexts(), QStringList({"All coordinates correct?", "Same Location!"}));
    QVERIFY(!command(1)->isEnabled());
}

void tst_FileCommands::worldListComputesRoute()
{
    const QString world = QStringLiteral(GYRENA_SOURCE_DIR "/assets/cities/world.gcl");
    QVERIFY2(QFile::exists(world), qPrintable(world));
    load(world);
    QVERIFY(m_dialogs.verifyDone());
    QVERIFY(m_window->cityTable()->cityCount() > 100);
    const int start = combo(13)->findText(QStringLiteral("London"));
    const int end = combo(14)->findText(QStringLiteral("Sydney"));
    QVERIFY(start >= 0 && end >= 0);
    combo(13)->setCurrentIndex(start);
    combo(14)->setCurrentIndex(end);
    m_dialogs.answer(Dialogs::AnswerYes);
    m_window->doneWithInputs();
    QVERIFY(command(1)->isEnabled());
    m_window->computeOutputs();
    QVERIFY(m_dialogs.verifyDone());

    // The same route from the table's texts, without the window.
    LocationState s;
    updateLocation(s, RouteEnd::Start, m_window->cityTable()->location(start + 1));
    updateLocation(s, RouteEnd::End, m_window->cityTable()->location(end + 1));
    QVERIFY(m_window->location() == s);
    const RouteRun run = gyrena::computeRoute(s, ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    QVERIFY(run.writes.size() >= 12);
    for (const FieldWrite& w : run.writes) {
        const QString name = QString::fromUtf8(resultBox(w.field).objectName.data());
        const auto* box = m_window->findChild<QLineEdit*>(name);
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->text(), QString::fromStdString(w.text));
    }
}

void tst_FileCommands::handedFileAsTheMenu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // nothing is written for a null array
    QTest::addColumn<Command>("menu");
    QTest::addColumn<bool>("dropped"); // dropped on the window, else named on the command line
    QTest::addColumn<int>("boxes");
    QTest::newRow("data file") << "route.gdf" << workedExample << Command::Open << false << 0;
    QTest::newRow("city list") << "cities.gcl" << exampleList << Command::LoadCityList << false
                               << 0;
    QTest::newRow("city list, upper-case extension")
        << "CITIES.GCL" << exampleList << Command::LoadCityList << false << 0;
    QTest::newRow("missing data file") << "gone.gdf" << QByteArray() << Command::Open << false << 1;
    QTest::newRow("city list named .gdf")
        << "list.gdf" << exampleList << Command::Open << false << 1;
    QTest::newRow("data file named .gcl")
        << "route.gcl" << workedExample << Command::LoadCityList << false << 1;
    QTest::newRow("dropped data file")
        << "route.gdf" << workedExample << Command::Open << true << 0;
    QTest::newRow("dropped city list")
        << "cities.gcl" << exampleList << Command::LoadCityList << true << 0;
    QTest::newRow("dropped unreadable city list")
        << "gone.gcl" << QByteArray() << Command::LoadCityList << true << 1;
}

void tst_FileCommands::handedFileAsTheMenu()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(Command, menu);
    QFETCH(bool, dropped);
    QFETCH(int, boxes);
    const QString file = bytes.isNull() ? path(name) : write(name, bytes);

    // Through the menu, as the reference: the window, its caption and every box it showed.
    m_dialogs.choose(file);
    for (int i = 0; i < boxes; ++i)
        m_dialogs.answer(Dialogs::AnswerOk);
    run(menu);
    QVERIFY(m_dialogs.verifyDone());
    const QStringList byMenu = snapshot() << m_window->windowTitle();
    const QList<FakeDialogs::Box> menuBoxes = m_dialogs.boxes();

    m_dialogs.reset();
    m_window = std::make_unique<StartWindow>(Services{&m_dialogs, nullptr, nullptr});
    for (int i = 0; i < boxes; ++i)
        m_dialogs.answer(Dialogs::AnswerOk);
    if (dropped) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        // A drop arrives after the drag entered and was accepted there.
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &enter);
        QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &drop);
        QVERIFY(drop.isAccepted());
    } else {
        m_window->openPath(file);
    }
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(snapshot() << m_window->windowTitle(), byMenu);
    QCOMPARE(m_dialogs.boxes().size(), menuBoxes.size());
    for (qsizetype i = 0; i < menuBoxes.size(); ++i)
        verifyBox(i, menuBoxes[i].text, menuBoxes[i].title, menuBoxes[i].icon);
}

void tst_FileCommands::dragTakesOneLocalFile()
{
    const QString file = write(QStringLiteral("route.gdf"), workedExample);
    const auto accepts = [this](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(m_window.get(), &enter);
        return enter.isAccepted();
    };
    QVERIFY(accepts({QUrl::fromLocalFile(file)}));
    QVERIFY(!accepts({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)}));
    QVERIFY(!accepts({QUrl(QStringLiteral("https://example.org/route.gdf"))}));
    QVERIFY(m_dialogs.verifyDone());
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
