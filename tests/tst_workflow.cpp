// The main window's start-up and input workflow, driven through its controls as a user or the
// other commands drive them. Every message box is scripted; an unexpected one fails the test.

#include "fakedialogs.h"
#include "fakeregistry.h"
#include "modalwatch.h"

#include "geo/resultboxes.h"
#include "io/formats/locationfields.h"
#include "platform/appexit.h"
#include "platform/launcher.h"
#include "platform/registry.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/mathwindow.h"
#include "ui/main/startwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>

#include <memory>

using namespace gyrena;

namespace {

enum class Workflow { NamesPending, NamesEntered, Ready, Inconsistent };

enum class Source { Index, EditText, CurrentText, Typing, KeyDown };

const QColor yellow(255, 255, 0);
const QColor green(0, 255, 0);

// The output boxes' names in the order of the result fields.
QStringList outputBoxNames()
{
    QStringList names;
    for (const ResultBox& box : kResultBoxes)
        names << QString::fromUtf8(box.objectName.data());
    return names;
}
const QStringList outputBoxes = outputBoxNames();

// The six texts of one location in kCoordinateOrder.
using SixTexts = QStringList;

QStringList numbers(int from, int to)
{
    QStringList list;
    for (int v = from; v <= to; ++v)
        list << QString::number(v);
    return list;
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

Q_DECLARE_METATYPE(Source)
Q_DECLARE_METATYPE(Workflow)

class tst_Workflow : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpLists_data();
    void startUpLists();
    void startUpState();

    void everySourceRunsTheUpdate_data();
    void everySourceRunsTheUpdate();
    void minutesReadTheDegreesAfresh();

    void enableTest_data();
    void enableTest();
    void typedNamesEnableDoneWithInputs();
    void placeholderBackDoesNotDisable();

    void doneWithInputs_data();
    void doneWithInputs();
    void sameLocation_data();
    void sameLocation();
    void failedCheckAfterPassedOneHidesTheFrame();

    void computeTypedRoute_data();
    void computeTypedRoute();
    void computeSameLocationAfterEdit();
    void computeFailure();

    void clearAll_data();
    void clearAll();
    void clearAllOrder();

    void exit_data();
    void exit();
    void menuExitRunsTheSameSequence();
    void closeBoxAsksNothing();

    void infoWindowsExistOnce_data();
    void infoWindowsExistOnce();
    void exitClosesInfoWindows();

private:
    QComboBox* combo(int n) const
    {
        return m_window->findChild<QComboBox*>(QStringLiteral("Combo%1").arg(n));
    }
    QLineEdit* text(int n) const
    {
        return m_window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    QLineEdit* box(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    QPushButton* command(int n) const
    {
        return m_window->findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
    }
    QGroupBox* frame2() const { return m_window->findChild<QGroupBox*>(QStringLiteral("Frame2")); }

    // The face as it is drawn: a point inside the border, left of the centred caption.
    static QColor faceOf(QPushButton* button)
    {
        return button->grab().toImage().pixelColor(5, button->height() / 2);
    }

    Workflow workflow() const
    {
        const bool done = command(5)->isEnabled();
        const bool shown = !frame2()->isHidden();
        const bool compute = command(1)->isEnabled();
        const QColor face = faceOf(command(1));
        if (!shown && !compute && face == yellow)
            return done ? Workflow::NamesEntered : Workflow::NamesPending;
        if (done && shown && compute && face == green)
            return Workflow::Ready;
        return Workflow::Inconsistent;
    }

    // Types into a list's box as a user does, replacing what it shows.
    void type(int n, const QString& s) { type(combo(n), s); }
    void type(QComboBox* list, const QString& s)
    {
        QLineEdit* edit = list->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, s);
    }

    void pick(QComboBox* list, const QString& item)
    {
        const int index = list->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY2(index >= 0, qPrintable(item));
        list->setCurrentIndex(index);
    }
    void pick(int n, const QString& item) { pick(combo(n), item); }

    QComboBox* coordinateList(RouteEnd end, std::size_t i) const
    {
        return m_window->findChild<QComboBox*>(inputObjectName(end, kCoordinateOrder[i]));
    }

    void typeLocation(RouteEnd end, const SixTexts& texts)
    {
        for (std::size_t i = 0; i < kCoordinateOrder.size(); ++i)
            type(coordinateList(end, i), texts.at(qsizetype(i)));
    }

    void pickLocation(RouteEnd end, const SixTexts& texts)
    {
        for (std::size_t i = 0; i < kCoordinateOrder.size(); ++i)
            pick(coordinateList(end, i), texts.at(qsizetype(i)));
    }

    void enterNames()
    {
        type(13, QStringLiteral("San Francisco"));
        type(14, QStringLiteral("Sydney"));
        QVERIFY(command(5)->isEnabled());
    }

    // From start-up to Ready with the first worked route.
    void reachReady()
    {
        pickLocation(RouteEnd::Start, {"37", "45", "N", "122", "27", "W"});
        pickLocation(RouteEnd::End, {"34", "0", "S", "151", "0", "E"});
        enterNames();
        m_dialogs.answer(Dialogs::AnswerYes);
        m_window->doneWithInputs();
        QCOMPARE(workflow(), Workflow::Ready);
    }

    void verifyBox(qsizetype index, const QString& text, const QString& title,
                   Dialogs::Buttons buttons, Dialogs::Icon icon)
    {
        QVERIFY2(index < m_dialogs.boxes().size(), qPrintable(QString::number(index)));
        const FakeDialogs::Box& b = m_dialogs.boxes().at(index);
        QCOMPARE(b.text, text);
        QCOMPARE(b.title, title);
        QCOMPARE(b.buttons, buttons);
        QCOMPARE(b.defaultAnswer,
                 buttons == Dialogs::Buttons::YesNo ? Dialogs::AnswerYes : Dialogs::AnswerOk);
        QCOMPARE(b.icon, icon);
    }

    void waitForFocus(QWidget* widget)
    {
        QTRY_COMPARE(QApplication::focusWidget() == widget ||
                         QApplication::focusWidget() == widget->focusProxy() ||
                         widget->isAncestorOf(QApplication::focusWidget()),
                     true);
    }

    FakeDialogs m_dialogs;
    // The About window asks the registry and the launcher only when told to; these hold nothing.
    FakeRegistry m_registry;
    FakeLauncher m_launcher;
    std::unique_ptr<StartWindow> m_window;
    int m_quits = 0;
};

void tst_Workflow::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QLocale::setDefault(QLocale::c());
    // The windows close in the exit tests; the test process must go on.
    QApplication::setQuitOnLastWindowClosed(false);
    setQuitHandler([this] { ++m_quits; });
}

void tst_Workflow::init()
{
    QLocale::setDefault(QLocale::c());
    m_dialogs.reset();
    m_quits = 0;
    m_window = std::make_unique<StartWindow>(Services{&m_dialogs, &m_registry, &m_launcher});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_Workflow::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

void tst_Workflow::startUpLists_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("items");

    const QStringList latitudes = numbers(0, 90);
    const QStringList longitudes = numbers(0, 180);
    const QStringList minutes = numbers(0, 59);
    const QStringList ns = {QStringLiteral("N"), QStringLiteral("S")};
    const QStringList ew = {QStringLiteral("E"), QStringLiteral("W")};
    QTest::newRow("Combo1 start latitude degrees") << 1 << latitudes;
    QTest::newRow("Combo2 start latitude minutes") << 2 << minutes;
    QTest::newRow("Combo3 start longitude degrees") << 3 << longitudes;
    QTest::newRow("Combo4 start longitude minutes") << 4 << minutes;
    QTest::newRow("Combo5 end latitude degrees") << 5 << latitudes;
    QTest::newRow("Combo6 end latitude minutes") << 6 << minutes;
    QTest::newRow("Combo7 end longitude degrees") << 7 << longitudes;
    QTest::newRow("Combo8 end longitude minutes") << 8 << minutes;
    QTest::newRow("Combo9 start latitude letter") << 9 << ns;
    QTest::newRow("Combo10 start longitude letter") << 10 << ew;
    QTest::newRow("Combo11 end latitude letter") << 11 << ns;
    QTest::newRow("Combo12 end longitude letter") << 12 << ew;
    QTest::newRow("Combo13 start names: empty") << 13 << QStringList();
    QTest::newRow("Combo14 end names: empty") << 14 << QStringList();
}

void tst_Workflow::startUpLists()
{
    QFETCH(int, list);
    QFETCH(QStringList, items);
    QCOMPARE(itemsOf(combo(list)), items);
    if (!items.isEmpty()) {
        QCOMPARE(combo(list)->currentIndex(), 0);
        QCOMPARE(combo(list)->currentText(), items.first());
    }
}

void tst_Workflow::startUpState()
{
    LocationState expected;
    expected.startLatDir = "N";
    expected.startLongDir = "E";
    expected.endLatDir = "N";
    expected.endLongDir = "E";
    QCOMPARE(m_window->location(), expected);
    QCOMPARE(m_window->results(), ResultState{});
    const QStringList mirrors = {text(7)->text(), text(8)->text(), text(9)->text(),
                                 text(10)->text()};
    QCOMPARE(mirrors, QStringList({"N", "E", "N", "E"}));
    QCOMPARE(combo(13)->currentText(), QStringLiteral("Start Location"));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("End Location"));
    QCOMPARE(text(1)->text(), QStringLiteral("Country"));
    QCOMPARE(text(2)->text(), QStringLiteral("Country"));
    QCOMPARE(workflow(), Workflow::NamesPending);
    QCOMPARE(faceOf(command(5)), yellow);
    waitForFocus(combo(1));
    QVERIFY(m_window->aboutWindow() == nullptr);
    QVERIFY(m_window->mathWindow() == nullptr);
}

void tst_Workflow::everySourceRunsTheUpdate_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<Source>("source");
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("angle");   // the angle the list feeds, when it feeds one
    QTest::addColumn<QString>("letter"); // the letter and its mirror, when it feeds one

    QTest::newRow("Combo1 index") << 1 << Source::Index << "45" << 45.0 << "";
    QTest::newRow("Combo1 edit text") << 1 << Source::EditText << "12.5" << 12.5 << "";
    QTest::newRow("Combo1 current text") << 1 << Source::CurrentText << "7" << 7.0 << "";
    QTest::newRow("Combo1 typed") << 1 << Source::Typing << "12.5" << 12.5 << "";
    QTest::newRow("Combo1 key down") << 1 << Source::KeyDown << "1" << 1.0 << "";
    QTest::newRow("Combo2 typed minutes") << 2 << Source::Typing << "30" << 0.5 << "";
    QTest::newRow("Combo3 index") << 3 << Source::Index << "180" << 180.0 << "";
    QTest::newRow("Combo4 typed") << 4 << Source::Typing << "90" << 1.5 << "";
    QTest::newRow("Combo5 typed beyond the list") << 5 << Source::Typing << "200" << 200.0 << "";
    QTest::newRow("Combo6 edit text") << 6 << Source::EditText << "15" << 0.25 << "";
    QTest::newRow("Combo7 typed negative") << 7 << Source::Typing << "-5" << -5.0 << "";
    QTest::newRow("Combo8 key down") << 8 << Source::KeyDown << "1" << 1.0 / 60 << "";
    QTest::newRow("Combo9 index S") << 9 << Source::Index << "S" << 0.0 << "S";
    QTest::newRow("Combo9 typed n") << 9 << Source::Typing << "n" << 0.0 << "S";
    QTest::newRow("Combo9 key down") << 9 << Source::KeyDown << "S" << 0.0 << "S";
    QTest::newRow("Combo10 typed e") << 10 << Source::Typing << "e" << 0.0 << "W";
    QTest::newRow("Combo10 current text W") << 10 << Source::CurrentText << "W" << 0.0 << "W";
    QTest::newRow("Combo11 edit text North") << 11 << Source::EditText << "North" << 0.0 << "S";
    QTest::newRow("Combo12 index W") << 12 << Source::Index << "W" << 0.0 << "W";
    QTest::newRow("Combo12 typed empty") << 12 << Source::Typing << "" << 0.0 << "W";
}

void tst_Workflow::everySourceRunsTheUpdate()
{
    QFETCH(int, list);
    QFETCH(Source, source);
    QFETCH(QString, value);
    QFETCH(double, angle);
    QFETCH(QString, letter);

    QComboBox* c = combo(list);
    switch (source) {
    case Source::Index:
        pick(list, value);
        break;
    case Source::EditText:
        c->setEditText(value);
        break;
    case Source::CurrentText:
        c->setCurrentText(value);
        break;
    case Source::Typing:
        type(list, value);
        break;
    case Source::KeyDown:
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Down);
        break;
    }
    QCOMPARE(c->currentText(), value);

    LocationState expected;
    expected.startLatDir = "N";
    expected.startLongDir = "E";
    expected.endLatDir = "N";
    expected.endLongDir = "E";
    const std::string l = letter.toStdString();
    switch (list) {
    case 1:
    case 2:
        expected.startLat = angle;
        break;
    case 3:
    case 4:
        expected.startLong = angle;
        break;
    case 5:
    case 6:
        expected.endLat = angle;
        break;
    case 7:
    case 8:
        expected.endLong = angle;
        break;
    case 9:
        expected.startLatDir = l;
        break;
    case 10:
        expected.startLongDir = l;
        break;
    case 11:
        expected.endLatDir = l;
        break;
    case 12:
        expected.endLongDir = l;
        break;
    }
    QCOMPARE(m_window->location(), expected);
    const QStringList mirrors = {text(7)->text(), text(8)->text(), text(9)->text(),
                                 text(10)->text()};
    const QStringList expectedMirrors = {
        QString::fromStdString(expected.startLatDir), QString::fromStdString(expected.startLongDir),
        QString::fromStdString(expected.endLatDir), QString::fromStdString(expected.endLongDir)};
    QCOMPARE(mirrors, expectedMirrors);
    // A coordinate change touches nothing else of the workflow.
    QCOMPARE(workflow(), Workflow::NamesPending);
}

void tst_Workflow::minutesReadTheDegreesAfresh()
{
    type(1, QStringLiteral("45"));
    type(2, QStringLiteral("30"));
    QCOMPARE(m_window->location().startLat, 45.5);
    combo(1)->setEditText(QStringLiteral("10"));
    QCOMPARE(m_window->location().startLat, 10.5);
    type(8, QStringLiteral("30"));
    QCOMPARE(m_window->location().endLong, 0.5);
}

void tst_Workflow::enableTest_data()
{
    QTest::addColumn<QString>("startName");
    QTest::addColumn<QString>("endName");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("both placeholders") << "Start Location"
                                       << "End Location" << false;
    QTest::newRow("start only") << "Paris"
                                << "End Location" << false;
    QTest::newRow("end only") << "Start Location"
                              << "Rome" << false;
    QTest::newRow("both names") << "Paris"
                                << "Rome" << true;
    QTest::newRow("placeholders in other case") << "start location"
                                                << "END LOCATION" << true;
    QTest::newRow("placeholder with a blank") << "Start Location "
                                              << "End Location" << false;
    QTest::newRow("both empty") << ""
                                << "" << true;
    QTest::newRow("swapped placeholders") << "End Location"
                                          << "Start Location" << true;
}

void tst_Workflow::enableTest()
{
    QFETCH(QString, startName);
    QFETCH(QString, endName);
    QFETCH(bool, enabled);
    combo(13)->setEditText(startName);
    combo(14)->setEditText(endName);
    QCOMPARE(command(5)->isEnabled(), enabled);
}

void tst_Workflow::typedNamesEnableDoneWithInputs()
{
    type(13, QStringLiteral("Paris"));
    QCOMPARE(workflow(), Workflow::NamesPending);
    type(14, QStringLiteral("Rome"));
    QCOMPARE(workflow(), Workflow::NamesEntered);
    QCOMPARE(faceOf(command(5)), yellow);
}

void tst_Workflow::placeholderBackDoesNotDisable()
{
    enterNames();
    type(13, QStringLiteral("Start Location"));
    type(14, QStringLiteral("End Location"));
    QCOMPARE(workflow(), Workflow::NamesEntered);
}

void tst_Workflow::doneWithInputs_data()
{
    QTest::addColumn<bool>("fromReady");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("sameLocation");
    QTest::addColumn<Workflow>("after");

    QTest::newRow("names entered, yes, different")
        << false << int(Dialogs::AnswerYes) << false << Workflow::Ready;
    QTest::newRow("names entered, yes, same")
        << false << int(Dialogs::AnswerYes) << true << Workflow::NamesEntered;
    QTest::newRow("names entered, no")
        << false << int(Dialogs::AnswerNo) << false << Workflow::NamesEntered;
    QTest::newRow("ready, yes, different")
        << true << int(Dialogs::AnswerYes) << false << Workflow::Ready;
    QTest::newRow("ready, yes, same")
        << true << int(Dialogs::AnswerYes) << true << Workflow::NamesEntered;
    QTest::newRow("ready, no, same") << true << int(Dialogs::AnswerNo) << true << Workflow::Ready;
}

void tst_Workflow::doneWithInputs()
{
    QFETCH(bool, fromReady);
    QFETCH(int, answer);
    QFETCH(bool, sameLocation);
    QFETCH(Workflow, after);

    if (fromReady) {
        reachReady();
        m_dialogs.reset();
    } else {
        pickLocation(RouteEnd::Start, {"10", "0", "N", "20", "0", "E"});
        enterNames();
    }
    if (sameLocation)
        pickLocation(RouteEnd::End, {"37", "45", "N", "122", "27", "W"});
    if (sameLocation)
        pickLocation(RouteEnd::Start, {"37", "45", "N", "122", "27", "W"});
    if (!fromReady && !sameLocation)
        pickLocation(RouteEnd::End, {"50", "0", "N", "30", "0", "W"});

    // The focus rests somewhere else, so that its move to Combo1 shows.
    combo(14)->setFocus();
    waitForFocus(combo(14));

    m_dialogs.answer(answer);
    const bool yes = answer == Dialogs::AnswerYes;
    if (yes && sameLocation)
        m_dialogs.answer(Dialogs::AnswerOk);
    command(5)->click();

    QVERIFY(m_dialogs.verifyDone());
    verifyBox(0, "All coordinates correct?", "Check Coordinates", Dialogs::Buttons::YesNo,
              Dialogs::Icon::None);
    if (yes && sameLocation) {
        QCOMPARE(m_dialogs.boxes().size(), 2);
        verifyBox(1, "Same Location!", "Error", Dialogs::Buttons::Ok, Dialogs::Icon::None);
    } else {
        QCOMPARE(m_dialogs.boxes().size(), 1);
    }
    QCOMPARE(workflow(), after);
    // No and a failed check send the user back to the first list; a passed check leaves the
    // focus alone.
    if (yes && !sameLocation)
        waitForFocus(combo(14));
    else
        waitForFocus(combo(1));
}

void tst_Workflow::sameLocation_data()
{
    QTest::addColumn<SixTexts>("start");
    QTest::addColumn<bool>("startTyped");
    QTest::addColumn<SixTexts>("end");
    QTest::addColumn<bool>("endTyped");
    QTest::addColumn<bool>("same");

    QTest::newRow("12 30 N both picked")
        << SixTexts{"12", "30", "N", "5", "0", "E"} << false
        << SixTexts{"12", "30", "N", "5", "0", "E"} << false << true;
    QTest::newRow("12.5 typed against 12 30 picked")
        << SixTexts{"12.5", "0", "N", "5", "0", "E"} << true
        << SixTexts{"12", "30", "N", "5", "0", "E"} << false << true;
    QTest::newRow("0 N against 0 S") << SixTexts{"0", "0", "N", "5", "0", "E"} << false
                                     << SixTexts{"0", "0", "S", "5", "0", "E"} << false << false;
    QTest::newRow("180 E against 180 W")
        << SixTexts{"20", "0", "N", "180", "0", "E"} << false
        << SixTexts{"20", "0", "N", "180", "0", "W"} << false << false;
    QTest::newRow("typed n against picked N")
        << SixTexts{"12", "30", "n", "5", "0", "E"} << true
        << SixTexts{"12", "30", "N", "5", "0", "E"} << false << false;
    // Both read as south, but the lists show different texts.
    QTest::newRow("typed s against picked S")
        << SixTexts{"12", "30", "s", "5", "0", "E"} << true
        << SixTexts{"12", "30", "S", "5", "0", "E"} << false << false;
    QTest::newRow("typed West against picked W")
        << SixTexts{"12", "30", "N", "5", "0", "West"} << true
        << SixTexts{"12", "30", "N", "5", "0", "W"} << false << false;
    QTest::newRow("typed e against typed e")
        << SixTexts{"12", "30", "N", "5", "0", "e"} << true
        << SixTexts{"12", "30", "N", "5", "0", "e"} << true << true;
    QTest::newRow("one minute apart") << SixTexts{"12", "30", "N", "5", "0", "E"} << false
                                      << SixTexts{"12", "31", "N", "5", "0", "E"} << false << false;
    QTest::newRow("longitude differs only")
        << SixTexts{"12", "30", "N", "5", "0", "E"} << false
        << SixTexts{"12", "30", "N", "6", "0", "E"} << false << false;
    QTest::newRow("start-up zeros") << SixTexts{"0", "0", "N", "0", "0", "E"} << false
                                    << SixTexts{"0", "0", "N", "0", "0", "E"} << false << true;
}

void tst_Workflow::sameLocation()
{
    QFETCH(SixTexts, start);
    QFETCH(bool, startTyped);
    QFETCH(SixTexts, end);
    QFETCH(bool, endTyped);
    QFETCH(bool, same);

    if (startTyped)
        typeLocation(RouteEnd::Start, start);
    else
        pickLocation(RouteEnd::Start, start);
    if (endTyped)
        typeLocation(RouteEnd::End, end);
    else
        pickLocation(RouteEnd::End, end);
    enterNames();

    m_dialogs.answer(Dialogs::AnswerYes);
    if (same)
        m_dialogs.answer(Dialogs::AnswerOk);
    m_window->doneWithInputs();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.boxTexts().contains(QStringLiteral("Same Location!")), same);
    QCOMPARE(workflow(), same ? Workflow::NamesEntered : Workflow::Ready);
}

void tst_Workflow::failedCheckAfterPassedOneHidesTheFrame()
{
    reachReady();
    pickLocation(RouteEnd::End, {"37", "45", "N", "122", "27", "W"});
    QCOMPARE(workflow(), Workflow::Ready); // editing alone changes nothing
    m_dialogs.answer(Dialogs::AnswerYes);
    m_dialogs.answer(Dialogs::AnswerOk);
    m_window->doneWithInputs();
    QVERIFY(m_dialogs.verifyDone());
    verifyBox(2, "Same Location!", "Error", Dialogs::Buttons::Ok, Dialogs::Icon::None);
    QCOMPARE(workflow(), Workflow::NamesEntered);
    QVERIFY(frame2()->isHidden());
    waitForFocus(combo(1));
}

void tst_Workflow::computeTypedRoute_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected"); // in the order of outputBoxes

    const QStringList route1 = {"86.55",  "52.25", "124.00", "107.63", "6457.91", "7426.60",
                                "119.74", "55.91", "240.26", "235.91", "West",    ""};
    QTest::newRow("route 1, C locale") << QLocale::c() << route1;
    QStringList comma = route1;
    for (QString& s : comma)
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    QTest::newRow("route 1, German decimal comma")
        << QLocale(QLocale::German, QLocale::Germany) << comma;
}

void tst_Workflow::computeTypedRoute()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, expected);
    QLocale::setDefault(locale);

    typeLocation(RouteEnd::Start, {"37", "45", "N", "122", "27", "W"});
    typeLocation(RouteEnd::End, {"34", "0", "S", "151", "0", "E"});
    type(13, QStringLiteral("San Francisco"));
    type(14, QStringLiteral("Sydney"));
    m_dialogs.answer(Dialogs::AnswerYes);
    QTest::mouseClick(command(5), Qt::LeftButton);
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(workflow(), Workflow::Ready);

    QTest::mouseClick(command(1), Qt::LeftButton);
    QCOMPARE(m_dialogs.boxes().size(), 1);
    QStringList shown;
    for (const QString& name : outputBoxes)
        shown << box(name)->text();
    QCOMPARE(shown, expected);
    QCOMPARE(m_window->results().directionEW, std::string("West"));
    QCOMPARE(workflow(), Workflow::Ready);
}

void tst_Workflow::computeSameLocationAfterEdit()
{
    reachReady();
    command(1)->click();
    const QString distance = box(QStringLiteral("Text3"))->text();
    QCOMPARE(distance, QStringLiteral("6457.91"));
    m_dialogs.reset();

    // In Ready the inputs are not checked again; the computation finds the coincidence itself.
    pickLocation(RouteEnd::End, {"37", "45", "N", "122", "27", "W"});
    m_dialogs.answer(Dialogs::AnswerOk);
    command(1)->click();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.boxes().size(), 1);
    verifyBox(0, "Same Location!", "Error", Dialogs::Buttons::Ok, Dialogs::Icon::None);
    QCOMPARE(workflow(), Workflow::NamesEntered);
    waitForFocus(combo(1));
    // Nothing was written: the last results stay, hidden with the frame.
    QCOMPARE(box(QStringLiteral("Text3"))->text(), distance);
}

void tst_Workflow::computeFailure()
{
    pickLocation(RouteEnd::Start, {"10", "0", "N", "20", "0", "W"});
    pickLocation(RouteEnd::End, {"50", "0", "N", "10", "0", "W"});
    enterNames();
    m_dialogs.answer(Dialogs::AnswerYes);
    m_window->doneWithInputs();
    command(1)->click();
    QCOMPARE(box(QStringLiteral("Text3"))->text(), QStringLiteral("2450.98"));
    m_dialogs.reset();

    type(1, QStringLiteral("1e400"));
    const RouteRun run = gyrena::computeRoute(m_window->location(), m_window->results(), ".");
    QCOMPARE(run.outcome, RouteOutcome::Failed);
    m_dialogs.answer(Dialogs::AnswerOk);
    command(1)->click();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.boxes().size(), 1);
    verifyBox(0,
              QStringLiteral("This route cannot be computed: the start latitude is too large a "
                             "number."),
              "Gyrena", Dialogs::Buttons::Ok, Dialogs::Icon::Critical);

    // The difference of longitude was written before the failure; no box the run did not reach
    // may still show the previous route (2450.98 nm, its courses, "East").
    QStringList expected(outputBoxes.size());
    expected[0] = QStringLiteral("10.00");
    QStringList shown;
    for (const QString& name : outputBoxes)
        shown << box(name)->text();
    QCOMPARE(shown, expected);
    QCOMPARE(m_window->results(), run.results);
    QCOMPARE(workflow(), Workflow::Ready);
}

void tst_Workflow::clearAll_data()
{
    QTest::addColumn<Workflow>("from");
    QTest::newRow("names pending") << Workflow::NamesPending;
    QTest::newRow("names entered") << Workflow::NamesEntered;
    QTest::newRow("ready") << Workflow::Ready;
}

void tst_Workflow::clearAll()
{
    QFETCH(Workflow, from);

    // A loaded list's entries stay through "Clear All". Filled quietly here: a real load also
    // enables "Done with Inputs", which the Names pending row must not have.
    for (int n : {13, 14}) {
        const QSignalBlocker quiet(combo(n));
        const QString placeholder = combo(n)->currentText();
        combo(n)->addItems({QStringLiteral("London"), QStringLiteral("New York")});
        combo(n)->setEditText(placeholder);
    }
    QStringList results;
    if (from != Workflow::NamesPending) {
        reachReady();
        if (from == Workflow::Ready) {
            command(1)->click();
        } else {
            pickLocation(RouteEnd::End, {"37", "45", "N", "122", "27", "W"});
            m_dialogs.answer(Dialogs::AnswerYes);
            m_dialogs.answer(Dialogs::AnswerOk);
            m_window->doneWithInputs();
        }
        text(1)->setText(QStringLiteral("USA"));
        text(2)->setText(QStringLiteral("Australia"));
    }
    type(2, QStringLiteral("59.5"));
    type(9, QStringLiteral("n"));
    type(12, QStringLiteral("W"));
    QCOMPARE(workflow(), from);
    for (const QString& name : outputBoxes)
        results << box(name)->text();

    command(4)->click();

    QCOMPARE(workflow(), Workflow::NamesPending);
    for (int n = 1; n <= 12; ++n) {
        const QString first = n == 9 || n == 11 ? "N" : n == 10 || n == 12 ? "E" : "0";
        QCOMPARE(combo(n)->currentText(), first);
    }
    LocationState zero;
    zero.startLatDir = "N";
    zero.startLongDir = "E";
    zero.endLatDir = "N";
    zero.endLongDir = "E";
    QCOMPARE(m_window->location(), zero);
    QCOMPARE(text(7)->text() + text(8)->text() + text(9)->text() + text(10)->text(),
             QStringLiteral("NENE"));
    QCOMPARE(combo(13)->currentText(), QStringLiteral("Start Location"));
    QCOMPARE(combo(14)->currentText(), QStringLiteral("End Location"));
    QCOMPARE(text(1)->text(), QString());
    QCOMPARE(text(2)->text(), QString());
    QCOMPARE(itemsOf(combo(13)), QStringList({"London", "New York"}));
    QCOMPARE(itemsOf(combo(14)), QStringList({"London", "New York"}));
    QStringList after;
    for (const QString& name : outputBoxes)
        after << box(name)->text();
    QCOMPARE(after, results);
    waitForFocus(combo(1));
    // "Done with Inputs" cannot run until names are entered again.
    QVERIFY(!command(5)->isEnabled());
}

void tst_Workflow::clearAllOrder()
{
    reachReady();
    command(1)->click();
    type(1, QStringLiteral("5"));
    type(12, QStringLiteral("W"));
    text(1)->setText(QStringLiteral("USA"));
    text(2)->setText(QStringLiteral("Australia"));
    combo(14)->setFocus();
    waitForFocus(combo(14));

    // Record the visible steps in the order they happen.
    QStringList steps;
    const auto note = [&steps](const QString& step) { steps << step; };
    QList<QMetaObject::Connection> connections;
    connections << connect(qApp, &QApplication::focusChanged, this, [&](QWidget*, QWidget* now) {
        if (now == combo(1) || combo(1)->isAncestorOf(now))
            note(QStringLiteral("focus Combo1"));
    });
    for (int n = 1; n <= 14; ++n) {
        connections << connect(
            combo(n), &QComboBox::currentTextChanged, this,
            [&note, n](const QString& t) { note(QStringLiteral("Combo%1=%2").arg(n).arg(t)); });
    }
    for (int n : {1, 2}) {
        connections << connect(
            text(n), &QLineEdit::textChanged, this,
            [&note, n](const QString& t) { note(QStringLiteral("Text%1=%2").arg(n).arg(t)); });
    }
    struct Watch : QObject
    {
        std::function<void(QObject*, QEvent*)> onEvent;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            onEvent(o, e);
            return false;
        }
    } watch;
    watch.onEvent = [&](QObject* o, QEvent* e) {
        if (e->type() == QEvent::Hide && o == frame2())
            note(QStringLiteral("Frame2 hidden"));
        if (e->type() == QEvent::EnabledChange) {
            auto* w = static_cast<QWidget*>(o);
            note(QStringLiteral("%1 %2").arg(w->objectName(),
                                             w->isEnabled() ? "enabled" : "disabled"));
        }
    };
    frame2()->installEventFilter(&watch);
    command(1)->installEventFilter(&watch);
    command(5)->installEventFilter(&watch);

    command(4)->click();
    for (const auto& c : connections)
        disconnect(c);
    frame2()->removeEventFilter(&watch);
    command(1)->removeEventFilter(&watch);
    command(5)->removeEventFilter(&watch);

    // Lists that already show their first entry (Combo6, Combo8, Combo9) do not change.
    const QStringList expected = {
        "focus Combo1",
        "Command1 disabled",
        "Frame2 hidden",
        "Combo1=0",
        "Combo2=0",
        "Combo3=0",
        "Combo4=0",
        "Combo5=0",
        "Combo7=0",
        "Combo10=E",
        "Combo11=N",
        "Combo12=E",
        "Combo13=Start Location",
        "Text1=",
        "Combo14=End Location",
        "Text2=",
        "Command5 disabled",
    };
    QCOMPARE(steps, expected);
}

void tst_Workflow::exit_data()
{
    QTest::addColumn<int>("saveAnswer");
    QTest::addColumn<int>("exitAnswer");

    QTest::newRow("no, no") << int(Dialogs::AnswerNo) << int(Dialogs::AnswerNo);
    QTest::newRow("no, yes") << int(Dialogs::AnswerNo) << int(Dialogs::AnswerYes);
    QTest::newRow("yes, no") << int(Dialogs::AnswerYes) << int(Dialogs::AnswerNo);
    QTest::newRow("yes, yes") << int(Dialogs::AnswerYes) << int(Dialogs::AnswerYes);
}

void tst_Workflow::exit()
{
    QFETCH(int, saveAnswer);
    QFETCH(int, exitAnswer);

    type(1, QStringLiteral("12"));
    const LocationState before = m_window->location();

    m_dialogs.answer(saveAnswer);
    // Save runs in Names pending here, so it refuses with its own message.
    if (saveAnswer == Dialogs::AnswerYes)
        m_dialogs.answer(Dialogs::AnswerOk);
    m_dialogs.answer(exitAnswer);
    command(3)->click();
    QVERIFY(m_dialogs.verifyDone());

    qsizetype i = 0;
    verifyBox(i++, "Save input data to file?", "Save File?", Dialogs::Buttons::YesNo,
              Dialogs::Icon::None);
    if (saveAnswer == Dialogs::AnswerYes)
        verifyBox(i++, "Input city data before saving", "Error", Dialogs::Buttons::Ok,
                  Dialogs::Icon::None);
    verifyBox(i++, "Confirm exit.", "Confirm Exit", Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    QCOMPARE(m_dialogs.boxes().size(), i);

    const bool ends = exitAnswer == Dialogs::AnswerYes;
    QCOMPARE(m_quits, ends ? 1 : 0);
    QCOMPARE(m_window->isVisible(), !ends);
    QCOMPARE(m_window->location(), before);
    QCOMPARE(combo(1)->currentText(), QStringLiteral("12"));
}

void tst_Workflow::menuExitRunsTheSameSequence()
{
    auto* exitItem = m_window->findChild<QAction*>(QStringLiteral("MExit"));
    QVERIFY(exitItem);
    m_dialogs.answer(Dialogs::AnswerNo);
    m_dialogs.answer(Dialogs::AnswerYes);
    exitItem->trigger();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_dialogs.boxTexts(), QStringList({"Save input data to file?", "Confirm exit."}));
    QCOMPARE(m_quits, 1);
    QVERIFY(!m_window->isVisible());
}

void tst_Workflow::closeBoxAsksNothing()
{
    reachReady();
    m_dialogs.reset();
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_dialogs.boxes().isEmpty());
    QCOMPARE(m_quits, 0);
}

void tst_Workflow::infoWindowsExistOnce_data()
{
    QTest::addColumn<bool>("about");
    QTest::newRow("About") << true;
    QTest::newRow("Math Example") << false;
}

void tst_Workflow::infoWindowsExistOnce()
{
    QFETCH(bool, about);
    const auto show = [&] {
        if (about)
            m_window->findChild<QAction*>(QStringLiteral("MAbout"))->trigger();
        else
            command(2)->click();
    };
    const auto current = [&]() -> QWidget* {
        if (about)
            return m_window->aboutWindow();
        return m_window->mathWindow();
    };

    show();
    QPointer<QWidget> first = current();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(first->isWindow());
    QCOMPARE(first->parentWidget(), nullptr);
    QVERIFY(!first->isModal());
    QVERIFY(m_window->isEnabled());

    first->hide();
    show();
    QCOMPARE(current(), first.data());
    QVERIFY(first->isVisible());

    // Closing frees it; the next command loads it afresh.
    first->close();
    QTRY_VERIFY(first.isNull());
    QCOMPARE(current(), nullptr);
    show();
    QVERIFY(current());
    QVERIFY(current()->isVisible());
    QVERIFY(m_dialogs.boxes().isEmpty());
}

void tst_Workflow::exitClosesInfoWindows()
{
    m_window->showAbout();
    m_window->showMathExample();
    QPointer<QWidget> about = m_window->aboutWindow();
    QPointer<QWidget> math = m_window->mathWindow();
    QVERIFY(about && about->isVisible());
    QVERIFY(math && math->isVisible());

    m_dialogs.answer(Dialogs::AnswerNo);
    m_dialogs.answer(Dialogs::AnswerYes);
    m_window->exitApplication();
    QVERIFY(m_dialogs.verifyDone());
    QCOMPARE(m_quits, 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!about || !about->isVisible());
    QVERIFY(!math || !math->isVisible());
}

QTEST_MAIN(tst_Workflow)
#include "tst_workflow.moc"
