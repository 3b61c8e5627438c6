// What the main window looks like: every control with its design name, place, text and state,
// the menus and the tab order. What the controls do lives in startwindow.cpp and
// startwindow_files.cpp.

#include "ui/main/etchedframe.h"
#include "ui/main/startwindow.h"
#include "ui/main/wrappingbutton.h"
#include "ui/route/routemapcommand.h"
#include "ui/twips.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace gyrena {

namespace {

// The client area below the menu bar, and the window's light grey.
constexpr int clientWidth = 9525;
constexpr int clientHeight = 7065;
const QColor backgroundGrey(192, 192, 192);
const QColor faceYellow(255, 255, 0);

enum class Container { Client, Frame1, Frame2 };

struct LabelDesign
{
    int number;
    Container container;
    const char* caption;
    int left;
    int top;
    // The left edge of the box the caption stands before, 0 for none. A caption in a font wider
    // than the design's moves left just enough to end before that box instead of under it.
    int boxLeft = 0;
};

constexpr int captionGap = 2; // pixels at least between a caption and its box

// Labels size themselves to their caption and never wrap.
constexpr LabelDesign labelDesigns[] = {
    {9, Container::Frame1, "Location", 1080, 360},
    {5, Container::Frame1, "deg", 4680, 360},
    {6, Container::Frame1, "min", 5760, 360},
    {17, Container::Frame1, "direction", 6720, 360},
    {1, Container::Frame1, "Start", 240, 900, 720},
    {3, Container::Frame1, "Latitude", 3360, 900, 4560},
    {4, Container::Frame1, "Longitude", 3360, 1380, 4560},
    {2, Container::Frame1, "End", 240, 2220, 720},
    {8, Container::Frame1, "Latitude", 3360, 2220, 4560},
    {7, Container::Frame1, "Longitude", 3360, 2700, 4560},
    {10, Container::Frame2, "Great Circle Distance = ", 555, 360, 2400},
    {13, Container::Frame2, "nautical miles", 3960, 360},
    {14, Container::Frame2, "staute miles", 3960, 720},
    {11, Container::Frame2, "Initial Course =", 1200, 1080, 2400},
    {15, Container::Frame2, "degrees", 3960, 1080},
    {12, Container::Frame2, "Course of Arrival = ", 960, 1440, 2400},
    {16, Container::Frame2, "degrees", 3960, 1440},
    {18, Container::Frame2, "N = ", 5400, 360, 5760},
    {20, Container::Frame2, "n =", 5400, 765, 5760},
    {27, Container::Frame2, "Sang =", 7200, 360, 7800},
    {28, Container::Frame2, "Eang =", 7200, 720, 7800},
    {25, Container::Frame2, "direction EW =", 6240, 1095, 7440},
    {26, Container::Frame2, "direction NS =", 6360, 1410, 7440},
    {22, Container::Frame2, "s = ", 7080, 1845, 7440},
    {24, Container::Frame2, "e = ", 7080, 2160, 7440},
};

struct BoxDesign
{
    int number;
    Container container;
    const char* designText;
    int left;
    int top;
    int width;
    int height;
    // What a screen reader announces: the row and column the box stands in, or its caption.
    const char* accessibleName;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool hidden = false;
};

constexpr int listHeight = 315;
constexpr int boxHeight = 285;

const BoxDesign comboDesigns[] = {
    {13, Container::Frame1, "Start Location", 720, 840, 2295, listHeight, "Start location name"},
    {14, Container::Frame1, "End Location", 720, 2160, 2295, listHeight, "End location name"},
    {1, Container::Frame1, "Combo1", 4560, 840, 735, listHeight, "Start latitude degrees"},
    {2, Container::Frame1, "Combo2", 5520, 840, 735, listHeight, "Start latitude minutes"},
    {9, Container::Frame1, "Combo9", 6600, 840, 1095, listHeight, "Start latitude direction"},
    {3, Container::Frame1, "Combo3", 4560, 1320, 735, listHeight, "Start longitude degrees"},
    {4, Container::Frame1, "Combo4", 5520, 1320, 735, listHeight, "Start longitude minutes"},
    {10, Container::Frame1, "Combo10", 6600, 1320, 1095, listHeight, "Start longitude direction"},
    {5, Container::Frame1, "Combo5", 4560, 2160, 735, listHeight, "End latitude degrees"},
    {6, Container::Frame1, "Combo6", 5520, 2160, 735, listHeight, "End latitude minutes"},
    {11, Container::Frame1, "Combo11", 6600, 2160, 1095, listHeight, "End latitude direction"},
    {7, Container::Frame1, "Combo7", 4560, 2640, 735, listHeight, "End longitude degrees"},
    {8, Container::Frame1, "Combo8", 5520, 2640, 735, listHeight, "End longitude minutes"},
    {12, Container::Frame1, "Combo12", 6600, 2640, 1095, listHeight, "End longitude direction"},
};

const BoxDesign textDesigns[] = {
    {1, Container::Frame1, "Country", 720, 1320, 2055, boxHeight, "Start country"},
    {2, Container::Frame1, "Country", 720, 2640, 2055, boxHeight, "End country"},
    // The direction letters the coordinate updates derive; never shown.
    {7, Container::Frame1, "Text7", 7920, 840, 495, boxHeight, "Start latitude letter",
     Qt::AlignLeft, true},
    {8, Container::Frame1, "Text8", 7920, 1320, 495, boxHeight, "Start longitude letter",
     Qt::AlignLeft, true},
    {9, Container::Frame1, "Text9", 7920, 2160, 495, boxHeight, "End latitude letter",
     Qt::AlignLeft, true},
    {10, Container::Frame1, "Text10", 7920, 2640, 495, boxHeight, "End longitude letter",
     Qt::AlignLeft, true},
    {3, Container::Frame2, "", 2400, 315, 1455, boxHeight, "Great Circle Distance, nautical miles",
     Qt::AlignHCenter},
    {6, Container::Frame2, "", 2400, 675, 1455, boxHeight, "Great Circle Distance, statute miles",
     Qt::AlignHCenter},
    {4, Container::Frame2, "", 2400, 1035, 1455, boxHeight, "Initial Course, degrees",
     Qt::AlignHCenter},
    {5, Container::Frame2, "", 2400, 1395, 1455, boxHeight, "Course of Arrival, degrees",
     Qt::AlignHCenter},
    {11, Container::Frame2, "", 5760, 315, 1095, boxHeight, "N, difference of longitude, degrees",
     Qt::AlignHCenter},
    {12, Container::Frame2, "", 5760, 720, 1095, boxHeight, "n, great-circle arc, degrees",
     Qt::AlignHCenter},
    {19, Container::Frame2, "", 7800, 360, 735, boxHeight, "Sang, angle at the start, degrees"},
    {20, Container::Frame2, "", 7800, 720, 735, boxHeight, "Eang, angle at the end, degrees"},
    {17, Container::Frame2, "", 7440, 1080, 1095, boxHeight, "Direction EW", Qt::AlignHCenter},
    {18, Container::Frame2, "", 7440, 1395, 1095, boxHeight, "Direction NS", Qt::AlignHCenter},
    {14, Container::Frame2, "", 7440, 1800, 1095, boxHeight, "s, colatitude of the start, degrees",
     Qt::AlignHCenter},
    {16, Container::Frame2, "", 7440, 2115, 1095, boxHeight, "e, colatitude of the end, degrees",
     Qt::AlignHCenter},
};

struct ButtonDesign
{
    int number;
    Container container;
    const char* caption;
    int left;
    int top;
    int width;
    int height;
    const char* accessibleName;
};

const ButtonDesign buttonDesigns[] = {
    {4, Container::Client, "Clear All", 360, 6600, 1575, 375, "Clear All"},
    {2, Container::Client, " Math Example", 3960, 6600, 1575, 375, "Math Example"},
    {3, Container::Client, "Exit", 7800, 6600, 1455, 375, "Exit"},
    {1, Container::Frame2, "Compute Outputs", 480, 2040, 1935, 375, "Compute Outputs"},
};

} // namespace

void setFaceColour(QPushButton* button, const QColor& colour)
{
    // A palette colour is shaded into a gradient by most styles; a style sheet with a border of
    // its own paints the face in exactly this colour, enabled or not. The sheet names the button
    // alone, so no other control goes through the slower style-sheet style on its account. The
    // black border shows the focus: the style's own focus mark would tint the whole face when
    // the focus came by the keyboard.
    const QString selector = button->objectName().isEmpty()
                                 ? QStringLiteral("QPushButton")
                                 : QStringLiteral("QPushButton#%1").arg(button->objectName());
    button->setStyleSheet(
        QStringLiteral("%1 { background-color: %2; border-width: 2px; border-style: solid;"
                       " border-radius: 0px; border-color: #ffffff #404040 #404040 #ffffff;"
                       " outline: none; }"
                       " %1:pressed { border-color: #404040 #ffffff #ffffff #404040; }"
                       " %1:focus { border-color: #000000; }"
                       " %1:disabled { color: #808080; }")
            .arg(selector, colour.name()));
}

void StartWindow::buildLayout()
{
    setWindowTitle(QStringLiteral(" Gyrena"));

    // Nothing here is laid out: every control keeps its design place, and a larger window shows
    // more grey while a smaller one cuts the controls off.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("Client"));
    QPalette grey = m_client->palette();
    grey.setColor(QPalette::Window, backgroundGrey);
    // Captions on the fixed grey stay dark whatever colours the desktop's theme has.
    grey.setColor(QPalette::WindowText, Qt::black);
    grey.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    m_client->setPalette(grey);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);

    m_frame1 = new EtchedFrame(QStringLiteral("Input Latitude / Longitude Data"), m_client);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(twipsRect(240, 120, 9135, 3255));

    m_frame2 = new EtchedFrame(QStringLiteral("Output Data"), m_client);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame2->setGeometry(twipsRect(240, 3600, 9135, 2535));
    m_frame2->hide();

    const auto containerOf = [this](Container container) -> QWidget* {
        switch (container) {
        case Container::Frame1:
            return m_frame1;
        case Container::Frame2:
            return m_frame2;
        case Container::Client:
            break;
        }
        return m_client;
    };

    for (const LabelDesign& design : labelDesigns) {
        auto* label = new QLabel(QString::fromUtf8(design.caption), containerOf(design.container));
        label->setObjectName(QStringLiteral("Label%1").arg(design.number));
        label->adjustSize();
        QPoint topLeft = twipsPoint(design.left, design.top);
        if (design.boxLeft > 0) {
            const int overlap = topLeft.x() + label->width() + captionGap - twips(design.boxLeft);
            topLeft.rx() -= std::max(overlap, 0);
        }
        label->move(topLeft);
        m_label[static_cast<std::size_t>(design.number)] = label;
    }

    for (const BoxDesign& design : comboDesigns) {
        auto* combo = new QComboBox(containerOf(design.container));
        combo->setObjectName(QStringLiteral("Combo%1").arg(design.number));
        combo->setEditable(true);
        // Typed text is the list's text: Enter adds no entry, and nothing completes a typed "n"
        // to "N" or "Lon" to a city's name behind the user's back.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        // The default policy measures every entry on first show: slow for a long city list, and
        // the size is fixed anyway.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(1);
        // Every entry is one line in one font; without this the first drop-down of a 32,767-city
        // list measures each entry (more than half a second).
        if (auto* entries = qobject_cast<QListView*>(combo->view()))
            entries->setUniformItemSizes(true);
        combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
        combo->setEditText(QString::fromUtf8(design.designText));
        combo->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
        // Qt reports an editable list's current text as its name, so the description carries
        // the list's meaning too.
        combo->setAccessibleName(QString::fromUtf8(design.accessibleName));
        combo->setAccessibleDescription(QString::fromUtf8(design.accessibleName));
        // The focus sits in the list's own line edit; named, it tells which list it belongs to.
        combo->lineEdit()->setAccessibleName(QString::fromUtf8(design.accessibleName));
        m_combo[static_cast<std::size_t>(design.number)] = combo;
    }
    m_combo[13]->setToolTip(QStringLiteral("Start Location"));
    m_combo[14]->setToolTip(QStringLiteral("End Location"));

    for (const BoxDesign& design : textDesigns) {
        auto* box =
            new QLineEdit(QString::fromUtf8(design.designText), containerOf(design.container));
        box->setObjectName(QStringLiteral("Text%1").arg(design.number));
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setAlignment(design.alignment | Qt::AlignVCenter);
        box->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
        box->setAccessibleName(QString::fromUtf8(design.accessibleName));
        if (design.hidden)
            box->hide();
        m_text[static_cast<std::size_t>(design.number)] = box;
    }

    for (const ButtonDesign& design : buttonDesigns) {
        auto* button =
            new QPushButton(QString::fromUtf8(design.caption), containerOf(design.container));
        button->setObjectName(QStringLiteral("Command%1").arg(design.number));
        button->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
        button->setAccessibleName(QString::fromUtf8(design.accessibleName));
        m_command[static_cast<std::size_t>(design.number)] = button;
    }
    m_command[1]->setEnabled(false);
    setFaceColour(m_command[1], faceYellow);

    auto* done = new WrappingButton(QStringLiteral("Done with Inputs"), m_frame1);
    done->setObjectName(QStringLiteral("Command5"));
    done->setGeometry(twipsRect(8160, 1080, 615, 1335));
    done->setAccessibleName(QStringLiteral("Done with Inputs"));
    done->setToolTip(QStringLiteral("Click when finished with data input"));
    done->setEnabled(false);
    setFaceColour(done, faceYellow);
    m_command[5] = done;
    // Enter presses the button that has the focus, as Space does: in a main window Qt leaves
    // Enter to dialogs' default buttons otherwise.
    for (QPushButton* button : m_command) {
        if (button)
            button->setAutoDefault(true);
    }

    m_line1 = new QFrame(m_frame1);
    m_line1->setObjectName(QStringLiteral("Line1"));
    m_line1->setFrameShape(QFrame::HLine);
    m_line1->setFrameShadow(QFrame::Plain);
    m_line1->setLineWidth(1);
    m_line1->setGeometry(QRect(twipsPoint(720, 1920), twipsPoint(7800, 1920)));
    // Unnamed, a screen reader would announce the rule by the frame's caption.
    m_line1->setAccessibleName(QStringLiteral("Rule between start and end location"));

    // The keyboard visits the coordinate lists row by row, then the buttons along the bottom,
    // the outputs, and the names last; hidden and disabled controls are skipped by Qt.
    const QWidget* const tabOrder[] = {
        m_combo[1],   m_combo[2],  m_combo[9], m_combo[3], m_combo[4],  m_combo[10],  m_combo[5],
        m_combo[6],   m_combo[11], m_combo[7], m_combo[8], m_combo[12], m_command[2], m_command[3],
        m_command[4], m_text[3],   m_text[4],  m_text[5],  m_text[6],   m_command[1], m_text[7],
        m_text[8],    m_text[9],   m_text[10], m_text[11], m_text[12],  m_text[14],   m_text[16],
        m_text[17],   m_text[18],  m_text[19], m_text[20], m_combo[13], m_combo[14],  m_command[5],
        m_text[1],    m_text[2],
    };
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));
    m_combo[1]->setFocus();

    placeWindow();
}

void StartWindow::placeWindow()
{
    // The client area keeps its design size below the menu bar, whichever of the menus and the
    // controls is built first; the window opens centred.
    const QSize client = twipsSize(clientWidth, clientHeight);
    const QSize window(client.width(), client.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window,
                                        screen->availableGeometry()));
    } else {
        resize(window);
    }
}

void StartWindow::buildMenus()
{
    // No access keys, shortcuts or separators: the captions are plain words.
    const auto addMenu = [this](const QString& title, const QString& name) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    const auto addItem = [this](QMenu* menu, const QString& text, const QString& name) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        menu->addAction(action);
        return action;
    };

    m_fileMenu = addMenu(QStringLiteral("File"), QStringLiteral("MFile"));
    m_open = addItem(m_fileMenu, QStringLiteral("Open"), QStringLiteral("MOpen"));
    m_save = addItem(m_fileMenu, QStringLiteral("Save"), QStringLiteral("MSave"));
    m_saveAs = addItem(m_fileMenu, QStringLiteral("Save As"), QStringLiteral("MSaveAs"));
    m_exit = addItem(m_fileMenu, QStringLiteral("Exit"), QStringLiteral("MExit"));

    m_optionsMenu = addMenu(QStringLiteral("Options"), QStringLiteral("MOptions"));
    m_cityList =
        addItem(m_optionsMenu, QStringLiteral("Load City list"), QStringLiteral("MCityList"));
    m_routeMap = new RouteMapCommand(m_optionsMenu, m_services, this);

    m_helpMenu = addMenu(QStringLiteral("Help"), QStringLiteral("MHelp"));
    m_help = addItem(m_helpMenu, QStringLiteral("Help"), QStringLiteral("M2Help"));
    m_help->setEnabled(false);
    m_about = addItem(m_helpMenu, QStringLiteral("About"), QStringLiteral("MAbout"));
    placeWindow();
}

} // namespace gyrena
