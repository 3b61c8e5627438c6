// The About window: its design, its texts, how it closes, and startSysInfo over the fake
// registry, launcher and message boxes.

#include "fakedialogs.h"
#include "fakeregistry.h"
#include "keepsrunning.h"
#include "modalwatch.h"
#include "ui/info/aboutwindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace gyrena;

namespace {

constexpr int px(int twipValue)
{
    return (twipValue * 2 + 15) / 30;
}
QRect design(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

const std::string kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct Fixture
{
    FakeDialogs dialogs;
    FakeRegistry registry;
    FakeLauncher launcher;
    Services services() { return Services{&dialogs, &registry, &launcher}; }
};

} // namespace

class tst_AboutWindow : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;
private slots:
    void initTestCase();
    void controls_data();
    void controls();
    void windowDesign();
    void separator();
    void texts();
    void tabOrderAndFocus();
    void closes_data();
    void closes();
    void enterOnSysInfoPressesIt();
    void altSPressesSysInfo();
    void reloadShowsTheSameTexts();
    void startSysInfo_data();
    void startSysInfo();
    void keepsTheApplicationRunning();
};

void tst_AboutWindow::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Gyrena"));
}

void tst_AboutWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("picIcon") << "picIcon" << design(240, 240, 540, 540) << QString();
    QTest::newRow("lblTitle") << "lblTitle" << design(1050, 240, 3885, 480) << "Gyrena";
    QTest::newRow("lblVersion") << "lblVersion" << design(1050, 780, 3885, 225)
                                << "Version " GYRENA_EXPECTED_VERSION;
    QTest::newRow("lblDescription")
        << "lblDescription" << design(1050, 1125, 3885, 1170)
        << "This application permits the user to input the longitude and latitude of any start "
           "point and the longitude and latitude of any end point on a globe. The program output "
           "will compute the greatcircle distance, the initial course and the course on arrival.";
    QTest::newRow("cmdOK") << "cmdOK" << design(4245, 2625, 1260, 345) << "OK";
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << design(4260, 3075, 1245, 345)
                                << "&System Info...";
}

void tst_AboutWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    Fixture f;
    AboutWindow window(f.services());
    auto* widget = window.findChild<QWidget*>(name);
    QVERIFY(widget);
    if (name == "lblDescription") {
        // Grows downward to fit a taller font, but stays above the separator.
        QCOMPARE(widget->pos(), geometry.topLeft());
        QCOMPARE(widget->width(), geometry.width());
        QVERIFY(widget->height() >= geometry.height());
        QVERIFY(widget->geometry().bottom() < px(2445));
    } else {
        QCOMPARE(widget->geometry(), geometry);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->focusPolicy() == Qt::NoFocus, name != "picIcon");
        if (name != "lblVersion")
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        if (name == "picIcon")
            QCOMPARE(label->pixmap().size(), QSize(32, 32));
        else { // the text fits its label
            QVERIFY(!label->wordWrap() || label->heightForWidth(label->width()) <= label->height());
        }
    } else {
        QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), text);
    }
}

void tst_AboutWindow::windowDesign()
{
    Fixture f;
    AboutWindow window(f.services());
    QCOMPARE(window.objectName(), QStringLiteral("frmAbout"));
    const QSize client(px(5730), px(3555));
    QCOMPARE(window.size(), client);
    QCOMPARE(window.minimumSize(), client);
    QCOMPARE(window.maximumSize(), client);
    const QPoint screen = QGuiApplication::primaryScreen()->geometry().topLeft();
    QCOMPARE(window.geometry().topLeft(), screen + QPoint(px(2340), px(1935)));

    // No taskbar button: a tool window, yet an ordinary top-level one without an owner.
    QCOMPARE(window.windowType(), Qt::Tool);
    QVERIFY(window.isWindow());
    QVERIFY(!window.parentWidget());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(window.testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(!window.isModal());
    QVERIFY(!window.windowIcon().isNull());

    auto* ok = window.findChild<QPushButton*>("cmdOK");
    QVERIFY(ok->isDefault());
    QVERIFY(!window.findChild<QPushButton*>("cmdSysInfo")->isDefault());

    // The disclaimer keeps its place and width and grows downward to show all its text.
    auto* disclaimer = window.findChild<QLabel*>("lblDisclaimer");
    QCOMPARE(disclaimer->pos(), QPoint(px(360), px(2760)));
    QCOMPARE(disclaimer->width(), px(3525));
    QVERIFY(disclaimer->wordWrap());
    QVERIFY(disclaimer->height() >= px(390));
    QCOMPARE(disclaimer->height(),
             std::max(px(390), disclaimer->heightForWidth(disclaimer->width())));
    QCOMPARE(disclaimer->palette().color(QPalette::WindowText), QColor(Qt::black));
    // Its last line, the credits of the places' data, still inside the window.
    QCOMPARE(disclaimer->text().section('\n', 1), AboutWindow::kCreditsText);
    QVERIFY(disclaimer->geometry().bottom() < window.height());
}

void tst_AboutWindow::separator()
{
    Fixture f;
    AboutWindow window(f.services());
    const QList<QFrame*> lines = window.findChildren<QFrame*>("Line1", Qt::FindDirectChildrenOnly);
    QCOMPARE(lines.size(), 2);
    for (QFrame* line : lines) {
        const int index = line->property("index").toInt();
        QVERIFY(line->autoFillBackground());
        if (index == 1) { // grey, one pixel, from (90, 2445) to (5654, 2445)
            QCOMPARE(line->geometry(), QRect(QPoint(px(90), px(2445)), QPoint(px(5654), px(2445))));
            QCOMPARE(line->palette().color(QPalette::Window), QColor(128, 128, 128));
        } else { // white, two pixels, from (105, 2460) to (5654, 2460)
            QCOMPARE(index, 0);
            QCOMPARE(line->geometry(),
                     QRect(QPoint(px(105), px(2460)), QPoint(px(5654), px(2460) + 1)));
            QCOMPARE(line->palette().color(QPalette::Window), QColor(Qt::white));
        }
    }
    // Drawn as an etched rule: grey directly above white.
    window.show();
    const QImage shot = window.grab().toImage();
    QCOMPARE(QColor(shot.pixel(px(2000), px(2445))), QColor(128, 128, 128));
    QCOMPARE(QColor(shot.pixel(px(2000), px(2460))), QColor(Qt::white));
    QCOMPARE(QColor(shot.pixel(px(2000), px(2460) + 1)), QColor(Qt::white));
}

void tst_AboutWindow::texts()
{
    Fixture f;
    AboutWindow window(f.services());
    QCOMPARE(window.windowTitle(), QStringLiteral("About Gyrena"));
    const QString version = window.findChild<QLabel*>("lblVersion")->text();
    // Three plain decimal numbers without leading zeros.
    QVERIFY2(QRegularExpression("^Version (0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$")
                 .match(version)
                 .hasMatch(),
             qPrintable(version));

    const QString disclaimer = window.findChild<QLabel*>("lblDisclaimer")->text();
    const QString lead = QStringLiteral("Use at your own risk! Report bugs via e-mail to: ");
    QVERIFY(disclaimer.startsWith(lead));
    // A role address of the project, not a person's.
    QVERIFY2(QRegularExpression("^gyrena-[a-z]+@[a-z0-9.-]+\\.[a-z]+$")
                 .match(disclaimer.section('\n', 0, 0).mid(lead.size()))
                 .hasMatch(),
             qPrintable(disclaimer));

    // The title follows the application's name.
    QCoreApplication::setApplicationName(QStringLiteral("Orthodrome"));
    AboutWindow renamed(f.services());
    QCoreApplication::setApplicationName(QStringLiteral("Gyrena"));
    QCOMPARE(renamed.windowTitle(), QStringLiteral("About Orthodrome"));
    QCOMPARE(renamed.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Orthodrome"));
}

void tst_AboutWindow::tabOrderAndFocus()
{
    Fixture f;
    AboutWindow window(f.services());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    auto* ok = window.findChild<QWidget*>("cmdOK");
    QCOMPARE(QApplication::focusWidget(), ok);
    const QStringList expected = {"picIcon", "cmdSysInfo", "cmdOK", "picIcon"};
    for (const QString& next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
}

void tst_AboutWindow::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("Enter on the icon") << "EnterOnIcon";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box") << "close";
}

void tst_AboutWindow::closes()
{
    QFETCH(QString, how);
    Fixture f;
    QPointer<AboutWindow> window = new AboutWindow(f.services());
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    if (how == "OK") {
        QTest::mouseClick(window->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    } else if (how == "Enter") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (how == "EnterOnIcon") {
        window->findChild<QWidget*>("picIcon")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    } else if (how == "Esc") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else {
        window->close();
    }
    // Unloaded: the window is gone, not merely hidden.
    QTRY_VERIFY(window.isNull());
    QVERIFY(f.dialogs.verifyDone());
    QVERIFY(f.launcher.tried.empty());
}

void tst_AboutWindow::enterOnSysInfoPressesIt()
{
    Fixture f;
    QPointer<AboutWindow> window = new AboutWindow(f.services());
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->findChild<QWidget*>("cmdSysInfo")->setFocus();
    f.dialogs.answer(Dialogs::AnswerOk);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(f.dialogs.verifyDone());
    QCOMPARE(f.dialogs.boxTexts(), QStringList{"System Information Is Unavailable At This Time"});
    // Whatever the key press posted has run, a close and its deletion included.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window.isNull());
    QVERIFY(window->isVisible());
    delete window;
}

void tst_AboutWindow::altSPressesSysInfo()
{
    Fixture f;
    f.registry.set(kMsinfoKey, "PATH", FakeRegistry::text("C:\\msinfo32.exe"));
    f.launcher.files.insert("C:\\msinfo32.exe");
    AboutWindow window(f.services());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::AltModifier);
    // A button's access key clicks it a moment later, as if animated.
    QTRY_COMPARE(f.launcher.launched, std::vector<std::string>{"C:\\msinfo32.exe"});
    QVERIFY(f.dialogs.verifyDone());
}

void tst_AboutWindow::reloadShowsTheSameTexts()
{
    Fixture f;
    QStringList first;
    for (int round = 0; round < 2; ++round) {
        QPointer<AboutWindow> window = new AboutWindow(f.services());
        window->show();
        QStringList texts = {window->windowTitle()};
        for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"})
            texts << window->findChild<QLabel*>(name)->text();
        if (round == 0)
            first = texts;
        else
            QCOMPARE(texts, first);
        window->close();
        QTRY_VERIFY(window.isNull());
    }
}

void tst_AboutWindow::startSysInfo_data()
{
    // Registry contents, files on disk, and what must happen.
    QTest::addColumn<QByteArray>("msinfoPath"); // value PATH, "-" when absent; raw bytes
    QTest::addColumn<quint32>("msinfoType");
    QTest::addColumn<QByteArray>("location"); // value MSINFO, "-" when absent
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("unrunnable");
    QTest::addColumn<QString>("launched"); // empty: the message is shown instead
    QTest::addColumn<QStringList>("existsAsked");

    const QByteArray absent = "-";
    const QByteArray z(1, '\0');
    const QString tool = "C:\\WINDOWS\\system32\\msinfo32.exe";
    const QString folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";

    QTest::newRow("first lookup, launched without a file test")
        << tool.toLatin1() + z << quint32(1) << absent << QStringList{tool} << QStringList{} << tool
        << QStringList{};
    QTest::newRow("first lookup without zero byte")
        << tool.toLatin1() << quint32(1) << absent << QStringList{tool} << QStringList{} << tool
        << QStringList{};
    QTest::newRow("first lookup wins over the second")
        << tool.toLatin1() + z << quint32(1) << folder.toLatin1() + z
        << QStringList{tool, folder + "\\MSINFO32.EXE"} << QStringList{} << tool << QStringList{};
    QTest::newRow("first lookup names no file")
        << tool.toLatin1() + z << quint32(1) << folder.toLatin1() + z
        << QStringList{folder + "\\MSINFO32.EXE"} << QStringList{} << QString() << QStringList{};
    QTest::newRow("first lookup not runnable")
        << tool.toLatin1() + z << quint32(1) << absent << QStringList{tool} << QStringList{tool}
        << QString() << QStringList{};
    QTest::newRow("first lookup a number")
        << QByteArray("\x2b\x1a\0\0", 4) << quint32(4) << absent << QStringList{"&h1A2B"}
        << QStringList{} << "&h1A2B" << QStringList{};
    QTest::newRow("first lookup of another type launches nothing")
        << tool.toLatin1() + z << quint32(2) << folder.toLatin1() + z
        << QStringList{tool, folder + "\\MSINFO32.EXE"} << QStringList{} << QString()
        << QStringList{};
    QTest::newRow("first lookup empty stops at once")
        << QByteArray() << quint32(1) << folder.toLatin1() + z
        << QStringList{folder + "\\MSINFO32.EXE"} << QStringList{} << QString() << QStringList{};
    QTest::newRow("second lookup with the program")
        << absent << quint32(1) << folder.toLatin1() + z << QStringList{folder + "\\MSINFO32.EXE"}
        << QStringList{} << folder + "\\MSINFO32.EXE" << QStringList{folder + "\\MSINFO32.EXE"};
    QTest::newRow("second lookup without the program")
        << absent << quint32(1) << folder.toLatin1() + z << QStringList{} << QStringList{}
        << QString() << QStringList{folder + "\\MSINFO32.EXE"};
    QTest::newRow("second lookup, folder ending in a backslash")
        << absent << quint32(1) << folder.toLatin1() + "\\" + z
        << QStringList{folder + "\\\\MSINFO32.EXE"} << QStringList{} << folder + "\\\\MSINFO32.EXE"
        << QStringList{folder + "\\\\MSINFO32.EXE"};
    QTest::newRow("second lookup, program not runnable")
        << absent << quint32(1) << folder.toLatin1() + z << QStringList{folder + "\\MSINFO32.EXE"}
        << QStringList{folder + "\\MSINFO32.EXE"} << QString()
        << QStringList{folder + "\\MSINFO32.EXE"};
    QTest::newRow("second lookup empty")
        << absent << quint32(1) << QByteArray() << QStringList{"\\MSINFO32.EXE"} << QStringList{}
        << QString() << QStringList{};
    QTest::newRow("neither key") << absent << quint32(1) << absent << QStringList{"\\MSINFO32.EXE"}
                                 << QStringList{} << QString() << QStringList{};
}

void tst_AboutWindow::startSysInfo()
{
    QFETCH(QByteArray, msinfoPath);
    QFETCH(quint32, msinfoType);
    QFETCH(QByteArray, location);
    QFETCH(QStringList, files);
    QFETCH(QStringList, unrunnable);
    QFETCH(QString, launched);
    QFETCH(QStringList, existsAsked);

    Fixture f;
    if (msinfoPath != "-")
        f.registry.set(kMsinfoKey, "PATH", {msinfoType, msinfoPath.toStdString()});
    if (location != "-")
        f.registry.set(kLocationKey, "MSINFO", {Registry::TypeString, location.toStdString()});
    for (const QString& file : files)
        f.launcher.files.insert(file.toStdString());
    for (const QString& file : unrunnable)
        f.launcher.unrunnable.insert(file.toStdString());
    if (launched.isEmpty())
        f.dialogs.answer(Dialogs::AnswerOk);

    AboutWindow window(f.services());
    window.show();
    const QString titleBefore = window.windowTitle();
    QTest::mouseClick(window.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);

    QVERIFY(f.dialogs.verifyDone());
    if (launched.isEmpty()) {
        QVERIFY(f.launcher.launched.empty());
        QCOMPARE(f.dialogs.boxes().size(), 1);
        const FakeDialogs::Box box = f.dialogs.boxes().first();
        QCOMPARE(box.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(box.title, QStringLiteral("Gyrena"));
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(box.icon, Dialogs::Icon::None);
    } else {
        QCOMPARE(f.launcher.launched, std::vector<std::string>{launched.toStdString()});
    }
    std::vector<std::string> asked;
    for (const QString& path : existsAsked)
        asked.push_back(path.toStdString());
    QCOMPARE(f.launcher.existsAsked, asked);
    QCOMPARE(f.registry.openKeys(), std::size_t(0));
    for (std::uint32_t mask : f.registry.openMasks)
        QCOMPARE(mask, 0x20019u);
    // The window stays open and unchanged.
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), titleBefore);
}

void tst_AboutWindow::keepsTheApplicationRunning()
{
    Fixture f;
    verifyKeepsTheApplicationRunning(new AboutWindow(f.services()));
}

QTEST_MAIN(tst_AboutWindow)
#include "tst_aboutwindow.moc"
