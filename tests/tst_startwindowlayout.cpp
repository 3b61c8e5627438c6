// The main window as the user first sees it: every control's place, texts, state, colours and
// accessible names, the menus and the keyboard's tab order.

#include "modalwatch.h"
#include "fakedialogs.h"
#include "ui/main/startwindow.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace gyrena;

class tst_StartWindowLayout : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void labels_data();
    void labels();
    void nothingElseTakesTheFocus();
    void listsTakeTypedTextAsItIs();
    void enterPressesTheFocusedButton();
    void textsHaveNoLengthLimit();
    void faceColours_data();
    void faceColours();
    void faceColourKeepsItsFocus_data();
    void faceColourKeepsItsFocus();
    void background();
    void onlyTheColouredButtonsTakeAStyleSheet();
    void captionsStayDarkUnderADarkTheme();
    void doneWithInputsCaptionFits();
    void windowSizeAndResizing();
    void tabOrder_data();
    void tabOrder();
    void menus_data();
    void menus();

private:
    template <typename T = QWidget> T* control(const QString& name) const
    {
        auto* widget = m_window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QString designNameOf(QWidget* widget) const;

    FakeDialogs m_dialogs;
    std::unique_ptr<StartWindow> m_window;
};

namespace {

QRect px(int left, int top, int width, int height)
{
    return twipsRect(left, top, width, height);
}

QString accessibleText(QWidget* widget, QAccessible::Text which)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(which) : QString();
}

// The most frequent colour inside the face, away from the bevel: the caption covers only a small
// part of it.
QColor faceColourOf(QWidget* button)
{
    const QImage image = button->grab().toImage();
    const QRect inside = image.rect().adjusted(4, 4, -4, -4);
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) & 0xffffff];
    QRgb best = 0;
    int bestCount = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return QColor(best);
}

constexpr auto centred = Qt::AlignHCenter;
constexpr auto left = Qt::AlignLeft;

} // namespace

void tst_StartWindowLayout::initTestCase()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_StartWindowLayout::init()
{
    Services services;
    services.dialogs = &m_dialogs;
    m_window = std::make_unique<StartWindow>(services);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_StartWindowLayout::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

QString tst_StartWindowLayout::designNameOf(QWidget* widget) const
{
    // The focus may sit in a list's inner line edit; report the control it belongs to.
    static const QRegularExpression design(QStringLiteral("^(Combo|Text|Command)\\d+$"));
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (design.match(w->objectName()).hasMatch())
            return w->objectName();
    }
    return widget ? QStringLiteral("<%1>").arg(widget->metaObject()->className())
                  : QStringLiteral("<none>");
}

void tst_StartWindowLayout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("alignment"); // text boxes only
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("accessibleName");

    const QString client = QStringLiteral("Client");
    const QString frame1 = QStringLiteral("Frame1");
    const QString frame2 = QStringLiteral("Frame2");
    const auto row = [](const char* name, const QString& parent, QRect geometry, const char* text,
                        bool visible, bool enabled, int alignment, const char* toolTip,
                        const char* accessibleName) {
        QTest::newRow(name) << QString::fromLatin1(name) << parent << geometry
                            << QString::fromLatin1(text) << visible << enabled << alignment
                            << QString::fromLatin1(toolTip) << QString::fromLatin1(accessibleName);
    };

    row("Frame1", client, px(240, 120, 9135, 3255), "Input Latitude / Longitude Data", true, true,
        0, "", "");
    row("Frame2", client, px(240, 3600, 9135, 2535), "Output Data", false, true, 0, "", "");
    row("Command4", client, px(360, 6600, 1575, 375), "Clear All", true, true, 0, "", "Clear All");
    row("Command2", client, px(3960, 6600, 1575, 375), " Math Example", true, true, 0, "",
        "Math Example");
    row("Command3", client, px(7800, 6600, 1455, 375), "Exit", true, true, 0, "", "Exit");

    row("Combo13", frame1, px(720, 840, 2295, 315), "Start Location", true, true, 0,
        "Start Location", "Start location name");
    row("Combo14", frame1, px(720, 2160, 2295, 315), "End Location", true, true, 0, "End Location",
        "End location name");
    row("Text1", frame1, px(720, 1320, 2055, 285), "Country", true, true, left, "",
        "Start country");
    row("Text2", frame1, px(720, 2640, 2055, 285), "Country", true, true, left, "", "End country");
    // The coordinate lists show the first entries start-up selected.
    row("Combo1", frame1, px(4560, 840, 735, 315), "0", true, true, 0, "",
        "Start latitude degrees");
    row("Combo2", frame1, px(5520, 840, 735, 315), "0", true, true, 0, "",
        "Start latitude minutes");
    row("Combo9", frame1, px(6600, 840, 1095, 315), "N", true, true, 0, "",
        "Start latitude direction");
    row("Combo3", frame1, px(4560, 1320, 735, 315), "0", true, true, 0, "",
        "Start longitude degrees");
    row("Combo4", frame1, px(5520, 1320, 735, 315), "0", true, true, 0, "",
        "Start longitude minutes");
    row("Combo10", frame1, px(6600, 1320, 1095, 315), "E", true, true, 0, "",
        "Start longitude direction");
    row("Combo5", frame1, px(4560, 2160, 735, 315), "0", true, true, 0, "", "End latitude degrees");
    row("Combo6", frame1, px(5520, 2160, 735, 315), "0", true, true, 0, "", "End latitude minutes");
    row("Combo11", frame1, px(6600, 2160, 1095, 315), "N", true, true, 0, "",
        "End latitude direction");
    row("Combo7", frame1, px(4560, 2640, 735, 315), "0", true, true, 0, "",
        "End longitude degrees");
    row("Combo8", frame1, px(5520, 2640, 735, 315), "0", true, true, 0, "",
        "End longitude minutes");
    row("Combo12", frame1, px(6600, 2640, 1095, 315), "E", true, true, 0, "",
        "End longitude direction");
    row("Text7", frame1, px(7920, 840, 495, 285), "N", false, true, left, "",
        "Start latitude letter");
    row("Text8", frame1, px(7920, 1320, 495, 285), "E", false, true, left, "",
        "Start longitude letter");
    row("Text9", frame1, px(7920, 2160, 495, 285), "N", false, true, left, "",
        "End latitude letter");
    row("Text10", frame1, px(7920, 2640, 495, 285), "E", false, true, left, "",
        "End longitude letter");
    row("Command5", frame1, px(8160, 1080, 615, 1335), "Done with Inputs", true, false, 0,
        "Click when finished with data input", "Done with Inputs");

    row("Text3", frame2, px(2400, 315, 1455, 285), "", false, true, centred, "",
        "Great Circle Distance, nautical miles");
    row("Text6", frame2, px(2400, 675, 1455, 285), "", false, true, centred, "",
        "Great Circle Distance, statute miles");
    row("Text4", frame2, px(2400, 1035, 1455, 285), "", false, true, centred, "",
        "Initial Course, degrees");
    row("Text5", frame2, px(2400, 1395, 1455, 285), "", false, true, centred, "",
        "Course of Arrival, degrees");
    row("Text11", frame2, px(5760, 315, 1095, 285), "", false, true, centred, "",
        "N, difference of longitude, degrees");
    row("Text12", frame2, px(5760, 720, 1095, 285), "", false, true, centred, "",
        "n, great-circle arc, degrees");
    row("Text19", frame2, px(7800, 360, 735, 285), "", false, true, left, "",
        "Sang, angle at the start, degrees");
    row("Text20", frame2, px(7800, 720, 735, 285), "", false, true, left, "",
        "Eang, angle at the end, degrees");
    row("Text17", frame2, px(7440, 1080, 1095, 285), "", false, true, centred, "", "Direction EW");
    row("Text18", frame2, px(7440, 1395, 1095, 285), "", false, true, centred, "", "Direction NS");
    row("Text14", frame2, px(7440, 1800, 1095, 285), "", false, true, centred, "",
        "s, colatitude of the start, degrees");
    row("Text16", frame2, px(7440, 2115, 1095, 285), "", false, true, centred, "",
        "e, colatitude of the end, degrees");
    row("Command1", frame2, px(480, 2040, 1935, 375), "Compute Outputs", false, false, 0, "",
        "Compute Outputs");
}

void tst_StartWindowLayout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    QFETCH(int, alignment);
    QFETCH(QString, toolTip);
    QFETCH(QString, accessibleName);

    QWidget* widget = control(name);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), visible);
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->toolTip(), toolTip);

    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QCOMPARE(combo->currentText(), text);
        QVERIFY(combo->isEditable());
        // Qt reports an editable list's text as its name; the description tells the lists apart.
        QCOMPARE(accessibleText(widget, QAccessible::Description), accessibleName);
        QCOMPARE(combo->accessibleName(), accessibleName);
        QCOMPARE(accessibleText(combo->lineEdit(), QAccessible::Name), accessibleName);
        // Measuring a long city list on first show takes most of a second.
        QVERIFY(combo->sizeAdjustPolicy() != QComboBox::AdjustToContents);
        QVERIFY(combo->sizeAdjustPolicy() != QComboBox::AdjustToContentsOnFirstShow);
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(box->text(), text);
        QVERIFY(!box->isReadOnly());
        QCOMPARE(int(box->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QCOMPARE(accessibleText(widget, QAccessible::Name), accessibleName);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(accessibleText(widget, QAccessible::Name), accessibleName);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        QCOMPARE(frame->title(), text);
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
    } else {
        QFAIL("unexpected kind of control");
    }
}

void tst_StartWindowLayout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QString>("boxAfter"); // the box the caption stands before, if any

    const auto row = [](const char* name, const char* parent, const char* caption, int left,
                        int top, const char* boxAfter) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent)
                            << QString::fromLatin1(caption) << twipsPoint(left, top)
                            << QString::fromLatin1(boxAfter);
    };
    row("Label9", "Frame1", "Location", 1080, 360, "");
    row("Label5", "Frame1", "deg", 4680, 360, "");
    row("Label6", "Frame1", "min", 5760, 360, "");
    row("Label17", "Frame1", "direction", 6720, 360, "");
    row("Label1", "Frame1", "Start", 240, 900, "Combo13");
    row("Label3", "Frame1", "Latitude", 3360, 900, "Combo1");
    row("Label4", "Frame1", "Longitude", 3360, 1380, "Combo3");
    row("Label2", "Frame1", "End", 240, 2220, "Combo14");
    row("Label8", "Frame1", "Latitude", 3360, 2220, "Combo5");
    row("Label7", "Frame1", "Longitude", 3360, 2700, "Combo7");
    row("Label10", "Frame2", "Great Circle Distance = ", 555, 360, "Text3");
    row("Label13", "Frame2", "nautical miles", 3960, 360, "");
    row("Label14", "Frame2", "staute miles", 3960, 720, "");
    row("Label11", "Frame2", "Initial Course =", 1200, 1080, "Text4");
    row("Label15", "Frame2", "degrees", 3960, 1080, "");
    row("Label12", "Frame2", "Course of Arrival = ", 960, 1440, "Text5");
    row("Label16", "Frame2", "degrees", 3960, 1440, "");
    row("Label18", "Frame2", "N = ", 5400, 360, "Text11");
    row("Label20", "Frame2", "n =", 5400, 765, "Text12");
    row("Label27", "Frame2", "Sang =", 7200, 360, "Text19");
    row("Label28", "Frame2", "Eang =", 7200, 720, "Text20");
    row("Label25", "Frame2", "direction EW =", 6240, 1095, "Text17");
    row("Label26", "Frame2", "direction NS =", 6360, 1410, "Text18");
    row("Label22", "Frame2", "s = ", 7080, 1845, "Text14");
    row("Label24", "Frame2", "e = ", 7080, 2160, "Text16");
}

void tst_StartWindowLayout::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QPoint, topLeft);
    QFETCH(QString, boxAfter);

    auto* label = control<QLabel>(name);
    QCOMPARE(label->parentWidget()->objectName(), parent);
    QCOMPARE(label->text(), caption);
    QVERIFY(!label->wordWrap());
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    // A name would hide the caption from a screen reader.
    QVERIFY(label->accessibleName().isEmpty());

    // One line high, as wide as the caption, at its design top.
    const QFontMetrics metrics(label->font());
    QCOMPARE(label->y(), topLeft.y());
    QVERIFY2(label->height() < 2 * metrics.height(), qPrintable(QString::number(label->height())));
    QVERIFY(label->width() >= metrics.horizontalAdvance(caption));

    // At its design left edge unless the font is too wide for the room before its box; it then
    // ends before the box instead of under it, and still inside its frame.
    QVERIFY(label->x() <= topLeft.x());
    QVERIFY(label->x() >= 0);
    if (!boxAfter.isEmpty()) {
        QWidget* box = control(boxAfter);
        QCOMPARE(box->parentWidget(), label->parentWidget());
        QVERIFY2(label->geometry().right() < box->x(),
                 qPrintable(QStringLiteral("%1 ends at %2, %3 begins at %4")
                                .arg(name)
                                .arg(label->geometry().right())
                                .arg(boxAfter)
                                .arg(box->x())));
        if (label->x() < topLeft.x())
            QCOMPARE(label->geometry().right(), box->x() - 3);
    } else {
        QCOMPARE(label->x(), topLeft.x());
    }
    for (QWidget* sibling :
         label->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (sibling != label && !sibling->isHidden() && !qobject_cast<QLabel*>(sibling) &&
            sibling->objectName() != QStringLiteral("Line1")) {
            QVERIFY2(!label->geometry().intersects(sibling->geometry()),
                     qPrintable(name + QStringLiteral(" overlaps ") + sibling->objectName()));
        }
    }
}

void tst_StartWindowLayout::nothingElseTakesTheFocus()
{
    // Only the lists, boxes and buttons of the design can hold the focus, so the tab order over
    // them is the whole tab order.
    static const QRegularExpression design(QStringLiteral("^(Combo|Text|Command)\\d+$"));
    for (QWidget* widget : m_window->findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        QWidget* owner = widget->focusProxy() ? widget->focusProxy() : widget;
        if (qobject_cast<QComboBox*>(owner->parentWidget()))
            owner = owner->parentWidget(); // a list's own line edit
        QVERIFY2(
            design.match(owner->objectName()).hasMatch() || !owner->isVisibleTo(m_window.get()),
            qPrintable(owner->objectName() + QLatin1Char(' ') + owner->metaObject()->className()));
    }
}

void tst_StartWindowLayout::listsTakeTypedTextAsItIs()
{
    // Typing into a list that has entries neither completes nor adds one: a typed lower-case "n"
    // stays "n", and Enter keeps the list as it was.
    auto* combo = control<QComboBox>(QStringLiteral("Combo9"));
    const int entries = combo->count();
    QVERIFY(entries > 0);
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("n"));
    QCOMPARE(combo->currentText(), QStringLiteral("n"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->currentText(), QStringLiteral("n"));
    QCOMPARE(combo->count(), entries);

    auto* minutes = control<QComboBox>(QStringLiteral("Combo2"));
    minutes->setFocus();
    minutes->lineEdit()->selectAll();
    QTest::keyClicks(minutes->lineEdit(), QStringLiteral("5"));
    QCOMPARE(minutes->currentText(), QStringLiteral("5"));
}

void tst_StartWindowLayout::enterPressesTheFocusedButton()
{
    auto* clearAll = control<QPushButton>(QStringLiteral("Command4"));
    QSignalSpy clicks(clearAll, &QPushButton::clicked);
    clearAll->setFocus();
    QTest::keyClick(clearAll, Qt::Key_Return);
    QTest::keyClick(clearAll, Qt::Key_Enter);
    QTest::keyClick(clearAll, Qt::Key_Space);
    QCOMPARE(clicks.size(), 3);
}

void tst_StartWindowLayout::textsHaveNoLengthLimit()
{
    const QString longText(40000, QLatin1Char('x'));
    auto* country = control<QLineEdit>(QStringLiteral("Text1"));
    country->setText(longText);
    QCOMPARE(country->text().size(), longText.size());
    auto* name = control<QComboBox>(QStringLiteral("Combo13"));
    name->setEditText(longText);
    QCOMPARE(name->currentText().size(), longText.size());
}

void tst_StartWindowLayout::faceColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QList<QColor>>("painted"); // given to setFaceColour in this order
    QTest::addColumn<QColor>("face");

    const QColor yellow(255, 255, 0);
    const QColor green(0, 255, 0);
    QTest::newRow("Command5 as designed")
        << QStringLiteral("Command5") << false << QList<QColor>{} << yellow;
    QTest::newRow("Command1 as designed")
        << QStringLiteral("Command1") << false << QList<QColor>{} << yellow;
    QTest::newRow("Command5 enabled")
        << QStringLiteral("Command5") << true << QList<QColor>{} << yellow;
    QTest::newRow("Command1 green")
        << QStringLiteral("Command1") << true << QList<QColor>{green} << green;
    QTest::newRow("Command1 yellow again")
        << QStringLiteral("Command1") << false << QList<QColor>{green, yellow} << yellow;
}

void tst_StartWindowLayout::faceColours()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QFETCH(QList<QColor>, painted);
    QFETCH(QColor, face);

    control(QStringLiteral("Frame2"))->show();
    auto* button = control<QPushButton>(name);
    for (const QColor& colour : painted)
        setFaceColour(button, colour);
    button->setEnabled(enabled);
    QCOMPARE(faceColourOf(button), face);
}

void tst_StartWindowLayout::faceColourKeepsItsFocus_data()
{
    QTest::addColumn<QString>("from"); // where the focus was before
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("Tab") << QStringLiteral("Text6") << int(Qt::Key_Tab) << int(Qt::NoModifier);
    QTest::newRow("Shift+Tab") << QStringLiteral("Text11") << int(Qt::Key_Backtab)
                               << int(Qt::ShiftModifier);
    QTest::newRow("Shift+Tab as Tab with Shift")
        << QStringLiteral("Text11") << int(Qt::Key_Tab) << int(Qt::ShiftModifier);
    QTest::newRow("focus by the mouse") << QString() << 0 << 0;
}

void tst_StartWindowLayout::faceColourKeepsItsFocus()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);

    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    control(QStringLiteral("Frame2"))->show();
    auto* button = control<QPushButton>(QStringLiteral("Command1"));
    button->setEnabled(true);
    const QColor green(0, 255, 0);
    setFaceColour(button, green);
    if (from.isEmpty()) {
        button->setFocus(Qt::MouseFocusReason);
    } else {
        control(from)->setFocus(Qt::OtherFocusReason);
        const auto keyModifiers = Qt::KeyboardModifiers(modifiers);
        // The key goes down in the box that had the focus and comes up in the button, with Shift
        // still held, as from a keyboard.
        if (keyModifiers & Qt::ShiftModifier)
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Shift);
        QTest::keyPress(QApplication::focusWidget(), Qt::Key(key), keyModifiers);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key(key), keyModifiers);
        if (keyModifiers & Qt::ShiftModifier)
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift, keyModifiers);
    }
    QCOMPARE(designNameOf(QApplication::focusWidget()), QStringLiteral("Command1"));
    QCOMPARE(faceColourOf(button), green);
    // The focus still shows, in the border.
    const QImage image = button->grab().toImage();
    QCOMPARE(image.pixelColor(0, image.height() / 2), QColor(Qt::black));
}

void tst_StartWindowLayout::background()
{
    QWidget* client = control(QStringLiteral("Client"));
    const QImage image = client->grab().toImage();
    const QColor grey(192, 192, 192);
    // Between the bottom buttons, and inside the input frame below its last row.
    QCOMPARE(image.pixelColor(twipsPoint(2800, 6800)), grey);
    QCOMPARE(image.pixelColor(twipsPoint(240 + 4000, 120 + 3100)), grey);
}

void tst_StartWindowLayout::onlyTheColouredButtonsTakeAStyleSheet()
{
    // A style sheet puts the widget and everything inside it under Qt's style-sheet style, which
    // slows the window's start-up; only the two buttons with an exact face colour need one.
    const QStringList coloured = {QStringLiteral("Command1"), QStringLiteral("Command5")};
    QStringList sheeted;
    const auto widgets = m_window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (widget->style() != QApplication::style())
            sheeted << designNameOf(widget);
    }
    sheeted.sort();
    QCOMPARE(sheeted, coloured);
}

void tst_StartWindowLayout::captionsStayDarkUnderADarkTheme()
{
    struct PaletteRestorer
    {
        QPalette original = QApplication::palette();
        ~PaletteRestorer() { QApplication::setPalette(original); }
    } restorer;
    QPalette dark = restorer.original;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);

    Services services;
    services.dialogs = &m_dialogs;
    StartWindow window(services);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* client = window.findChild<QWidget*>(QStringLiteral("Client"));
    QVERIFY(client);
    const QImage image = client->grab().toImage();
    const auto darkestIn = [&image](const QRect& rect) {
        int darkest = 255;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    };
    // The frame's caption and two labels.
    const QRect frame1 = twipsRect(240, 120, 9135, 3255);
    const QRect title(frame1.topLeft() + QPoint(8, 0), QSize(150, 12));
    QVERIFY2(darkestIn(title) < 64, qPrintable(QString::number(darkestIn(title))));
    for (const char* name : {"Label9", "Label1"}) {
        auto* label = window.findChild<QLabel*>(QLatin1String(name));
        QVERIFY(label);
        const QRect rect(label->mapTo(client, QPoint(0, 0)), label->size());
        QVERIFY2(darkestIn(rect) < 64, qPrintable(QString::number(darkestIn(rect))));
    }
    QCOMPARE(image.pixelColor(twipsPoint(240 + 4000, 120 + 3100)), QColor(192, 192, 192));
}

void tst_StartWindowLayout::doneWithInputsCaptionFits()
{
    // The caption wraps onto lines of the narrow button and none of them runs past the bevel's
    // outer line.
    auto* button = control<QPushButton>(QStringLiteral("Command5"));
    const QFontMetrics metrics(button->font());
    const QRect face = button->rect().adjusted(1, 1, -1, -1);
    const QRect needed =
        metrics.boundingRect(face, Qt::AlignCenter | Qt::TextWordWrap, button->text());
    QVERIFY2(face.contains(needed), qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                                   .arg(needed.width())
                                                   .arg(needed.height())
                                                   .arg(face.width())
                                                   .arg(face.height())));
    QVERIFY(needed.height() >= 2 * metrics.height());

    // The face shows more than one line of caption: caption pixels in at least two bands.
    button->setEnabled(true);
    const QImage image = button->grab().toImage();
    int rowsWithText = 0;
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            if (image.pixelColor(x, y) != QColor(255, 255, 0)) {
                ++rowsWithText;
                break;
            }
        }
    }
    QVERIFY2(rowsWithText > metrics.height(), qPrintable(QString::number(rowsWithText)));
}

void tst_StartWindowLayout::windowSizeAndResizing()
{
    QWidget* client = control(QStringLiteral("Client"));
    QCOMPARE(client->size(), twipsSize(9525, 7065));
    QCOMPARE(m_window->windowTitle(), QStringLiteral(" Gyrena"));
    QCOMPARE(client->y(), m_window->menuBar()->geometry().bottom() + 1);
    // Opened in the middle of the screen.
    const QPoint offCentre =
        m_window->frameGeometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

    // A larger window shows more background; nothing moves or grows.
    QWidget* exit = control(QStringLiteral("Command3"));
    const QRect exitBefore = exit->geometry();
    const QRect frameBefore = control(QStringLiteral("Frame1"))->geometry();
    m_window->resize(m_window->size() + QSize(200, 150));
    QTRY_COMPARE(client->size(), twipsSize(9525, 7065) + QSize(200, 150));
    QCOMPARE(exit->geometry(), exitBefore);
    QCOMPARE(control(QStringLiteral("Frame1"))->geometry(), frameBefore);
    m_window->resize(300, 200);
    QTRY_COMPARE(m_window->size(), QSize(300, 200));
    QCOMPARE(exit->geometry(), exitBefore);
}

void tst_StartWindowLayout::tabOrder_data()
{
    QTest::addColumn<bool>("namesEntered");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QStringList>("order"); // from Combo1 round to Combo1

    const QStringList coordinates = {
        "Combo1", "Combo2", "Combo9",  "Combo3", "Combo4", "Combo10",
        "Combo5", "Combo6", "Combo11", "Combo7", "Combo8", "Combo12",
    };
    const QStringList buttons = {"Command2", "Command3", "Command4"};
    const QStringList outputs = {"Text3",  "Text4",  "Text5",  "Text6",  "Command1",
                                 "Text11", "Text12", "Text14", "Text16", "Text17",
                                 "Text18", "Text19", "Text20"};
    const QStringList namesPending = {"Combo13", "Combo14", "Text1", "Text2", "Combo1"};
    const QStringList namesEntered = {"Combo13", "Combo14", "Command5", "Text1", "Text2", "Combo1"};

    QTest::newRow("names pending")
        << false << false << false << coordinates + buttons + namesPending;
    QTest::newRow("names entered")
        << true << false << false << coordinates + buttons + namesEntered;
    QTest::newRow("ready") << true << true << false
                           << coordinates + buttons + outputs + namesEntered;
    QStringList reversed = coordinates + buttons + outputs + namesEntered;
    std::reverse(reversed.begin(), reversed.end());
    QTest::newRow("ready, backwards") << true << true << true << reversed;
}

void tst_StartWindowLayout::tabOrder()
{
    QFETCH(bool, namesEntered);
    QFETCH(bool, ready);
    QFETCH(bool, backwards);
    QFETCH(QStringList, order);

    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // The window opens with the focus in the first coordinate list.
    QCOMPARE(designNameOf(QApplication::focusWidget()), QStringLiteral("Combo1"));

    control(QStringLiteral("Command5"))->setEnabled(namesEntered);
    control(QStringLiteral("Frame2"))->setVisible(ready);
    control(QStringLiteral("Command1"))->setEnabled(ready);

    QStringList visited{designNameOf(QApplication::focusWidget())};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        visited << designNameOf(QApplication::focusWidget());
    }
    QCOMPARE(visited, order);
}

void tst_StartWindowLayout::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<bool>>("enabled");

    QTest::newRow("File") << QStringLiteral("MFile") << QStringLiteral("File")
                          << QStringList{"MOpen", "MSave", "MSaveAs", "MExit"}
                          << QStringList{"Open", "Save", "Save As", "Exit"}
                          << QList<bool>{true, true, true, true};
    QTest::newRow("Options") << QStringLiteral("MOptions") << QStringLiteral("Options")
                             << QStringList{"MCityList", "MFindPlace", "MRouteMap"}
                             << QStringList{"Load City list", "Find Place…", "Route Map"}
                             << QList<bool>{true, true, false};
    QTest::newRow("Help") << QStringLiteral("MHelp") << QStringLiteral("Help")
                          << QStringList{"M2Help", "MAbout"} << QStringList{"Help", "About"}
                          << QList<bool>{false, true};
}

void tst_StartWindowLayout::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, names);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, enabled);

    // The menu bar holds exactly the three menus, in this order.
    QStringList titles;
    for (QAction* action : m_window->menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, (QStringList{"File", "Options", "Help"}));

    auto* theMenu = control<QMenu>(menu);
    QCOMPARE(theMenu->title(), title);
    QVERIFY(theMenu->menuAction()->shortcut().isEmpty());
    const QList<QAction*> items = theMenu->actions();
    QCOMPARE(items.size(), names.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        QAction* item = items.at(i);
        QCOMPARE(item->objectName(), names.at(i));
        QCOMPARE(item->text(), texts.at(i)); // no "&": no access key
        QCOMPARE(item->isEnabled(), enabled.at(i));
        QVERIFY(!item->isSeparator());
        QVERIFY(!item->isCheckable());
        // Ctrl+F finds a place, as in every program with a search; nothing else has a shortcut.
        QCOMPARE(item->shortcut(), item->objectName() == "MFindPlace"
                                       ? QKeySequence(Qt::CTRL | Qt::Key_F)
                                       : QKeySequence());
        QVERIFY(item->isVisible());
    }
}

QTEST_MAIN(tst_StartWindowLayout)
#include "tst_startwindowlayout.moc"
