// What the main window looks like: every control with its design name, place, text and state,
// the menus and the tab order. What the controls do lives in startwindow.cpp and
// startwindow_files.cpp.

#include "geo/resultboxes.h"
#include "ui/find/findplacecommand.h"
#include "ui/main/etchedframe.h"
#include "ui/main/startwindow.h"
#include "ui/main/wrappingbutton.h"
#include "ui/route/routemapcommand.h"
#include "ui/twips.h"

#include "io/formats/locationfields.h"

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
#include <span>
#include <string_view>
#include <vector>

namespace gyrena {

namespace {

// The client area below the menu bar, and the window's light grey.
constexpr int clientWidth = 9525;
constexpr int clientHeight = 7065;
const QColor backgroundGrey(192, 192, 192);

enum class Container { Client, Frame1, Frame2 };

struct LabelDesign
{
    int number;
    Container container;
    std::string_view caption;
    int left;
    int top;
    // The left edge of the box the caption stands before, 0 for none. A caption in a font wider
    // than the design's moves left just enough to end before that box instead of under it.
    int boxLeft = 0;
};

constexpr int captionGap = 2; // pixels at least between a caption and its box

constexpr std::string_view captionOf(ResultField field)
{
    return resultBox(field).caption;
}
constexpr std::string_view unitOf(ResultField field)
{
    return resultBox(field).unit;
}

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
    {10, Container::Frame2, captionOf(ResultField::DistanceNm), 555, 360, 2400},
    {13, Container::Frame2, unitOf(ResultField::DistanceNm), 3960, 360},
    {14, Container::Frame2, unitOf(ResultField::DistanceStatute), 3960, 720},
    {11, Container::Frame2, captionOf(ResultField::InitialCourse), 1200, 1080, 2400},
    {15, Container::Frame2, unitOf(ResultField::InitialCourse), 3960, 1080},
    {12, Container::Frame2, captionOf(ResultField::ArrivalCourse), 960, 1440, 2400},
    {16, Container::Frame2, unitOf(ResultField::ArrivalCourse), 3960, 1440},
    {18, Container::Frame2, captionOf(ResultField::DeltaLongitude), 5400, 360, 5760},
    {20, Container::Frame2, captionOf(ResultField::Arc), 5400, 765, 5760},
    {27, Container::Frame2, captionOf(ResultField::StartAngle), 7200, 360, 7800},
    {28, Container::Frame2, captionOf(ResultField::EndAngle), 7200, 720, 7800},
    {25, Container::Frame2, captionOf(ResultField::DirectionEW), 6240, 1095, 7440},
    {26, Container::Frame2, captionOf(ResultField::DirectionNS), 6360, 1410, 7440},
    {22, Container::Frame2, captionOf(ResultField::StartColatitude), 7080, 1845, 7440},
    {24, Container::Frame2, captionOf(ResultField::EndColatitude), 7080, 2160, 7440},
};

constexpr int listHeight = 315;
constexpr int boxHeight = 285;

// A location's lists and its country box; a screen reader announces them by what they hold.
struct InputDesign
{
    const char* objectName;
    RouteEnd end;
    LocationField field;
    const char* designText; // none: the design shows the control's name
    int left;
    int top;
    int width;
};

const InputDesign listDesigns[] = {
    {"Combo13", RouteEnd::Start, LocationField::Name, "Start Location", 720, 840, 2295},
    {"Combo14", RouteEnd::End, LocationField::Name, "End Location", 720, 2160, 2295},
    {"Combo1", RouteEnd::Start, LocationField::LatitudeDegrees, nullptr, 4560, 840, 735},
    {"Combo2", RouteEnd::Start, LocationField::LatitudeMinutes, nullptr, 5520, 840, 735},
    {"Combo9", RouteEnd::Start, LocationField::LatitudeLetter, nullptr, 6600, 840, 1095},
    {"Combo3", RouteEnd::Start, LocationField::LongitudeDegrees, nullptr, 4560, 1320, 735},
    {"Combo4", RouteEnd::Start, LocationField::LongitudeMinutes, nullptr, 5520, 1320, 735},
    {"Combo10", RouteEnd::Start, LocationField::LongitudeLetter, nullptr, 6600, 1320, 1095},
    {"Combo5", RouteEnd::End, LocationField::LatitudeDegrees, nullptr, 4560, 2160, 735},
    {"Combo6", RouteEnd::End, LocationField::LatitudeMinutes, nullptr, 5520, 2160, 735},
    {"Combo11", RouteEnd::End, LocationField::LatitudeLetter, nullptr, 6600, 2160, 1095},
    {"Combo7", RouteEnd::End, LocationField::LongitudeDegrees, nullptr, 4560, 2640, 735},
    {"Combo8", RouteEnd::End, LocationField::LongitudeMinutes, nullptr, 5520, 2640, 735},
    {"Combo12", RouteEnd::End, LocationField::LongitudeLetter, nullptr, 6600, 2640, 1095},
};

const InputDesign countryDesigns[] = {
    {"Text1", RouteEnd::Start, LocationField::Country, "Country", 720, 1320, 2055},
    {"Text2", RouteEnd::End, LocationField::Country, "Country", 720, 2640, 2055},
};

// The direction letters the coordinate updates derive; never shown.
struct LetterDesign
{
    const char* objectName;
    RouteEnd end;
    bool latitude;
    int top;
    const char* accessibleName;
};

const LetterDesign letterDesigns[] = {
    {"Text7", RouteEnd::Start, true, 840, "Start latitude letter"},
    {"Text8", RouteEnd::Start, false, 1320, "Start longitude letter"},
    {"Text9", RouteEnd::End, true, 2160, "End latitude letter"},
    {"Text10", RouteEnd::End, false, 2640, "End longitude letter"},
};

struct OutputDesign
{
    ResultField field;
    int left;
    int top;
    int width;
    Qt::Alignment alignment = Qt::AlignHCenter;
};

const OutputDesign outputDesigns[] = {
    {ResultField::DistanceNm, 2400, 315, 1455},
    {ResultField::DistanceStatute, 2400, 675, 1455},
    {ResultField::InitialCourse, 2400, 1035, 1455},
    {ResultField::ArrivalCourse, 2400, 1395, 1455},
    {ResultField::DeltaLongitude, 5760, 315, 1095},
    {ResultField::Arc, 5760, 720, 1095},
    {ResultField::StartAngle, 7800, 360, 735, Qt::AlignLeft},
    {ResultField::EndAngle, 7800, 720, 735, Qt::AlignLeft},
    {ResultField::DirectionEW, 7440, 1080, 1095},
    {ResultField::DirectionNS, 7440, 1395, 1095},
    {ResultField::StartColatitude, 7440, 1800, 1095},
    {ResultField::EndColatitude, 7440, 2115, 1095},
};

// What a screen reader calls a location's input: "Start latitude degrees".
QString spokenName(RouteEnd end, LocationField field)
{
    QString name = QString::fromStdString(locationFieldName(end, field));
    name[0] = name[0].toUpper();
    return name;
}

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    QPalette grey = client->palette();
    grey.setColor(QPalette::Window, backgroundGrey);
    // Captions on the fixed grey stay dark whatever colours the desktop's theme has.
    grey.setColor(QPalette::WindowText, Qt::black);
    grey.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    client->setPalette(grey);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    auto* inputFrame = new EtchedFrame(QStringLiteral("Input Latitude / Longitude Data"), client);
    inputFrame->setObjectName(QStringLiteral("Frame1"));
    inputFrame->setGeometry(twipsRect(240, 120, 9135, 3255));

    m_outputFrame = new EtchedFrame(QStringLiteral("Output Data"), client);
    m_outputFrame->setObjectName(QStringLiteral("Frame2"));
    m_outputFrame->setGeometry(twipsRect(240, 3600, 9135, 2535));
    m_outputFrame->hide();

    const auto containerOf = [&](Container container) -> QWidget* {
        switch (container) {
        case Container::Frame1:
            return inputFrame;
        case Container::Frame2:
            return m_outputFrame;
        case Container::Client:
            break;
        }
        return client;
    };

    for (const LabelDesign& design : labelDesigns) {
        auto* label = new QLabel(utf8(design.caption), containerOf(design.container));
        label->setObjectName(QStringLiteral("Label%1").arg(design.number));
        label->adjustSize();
        QPoint topLeft = twipsPoint(design.left, design.top);
        if (design.boxLeft > 0) {
            const int overlap = topLeft.x() + label->width() + captionGap - twips(design.boxLeft);
            topLeft.rx() -= std::max(overlap, 0);
        }
        label->move(topLeft);
    }

    for (const InputDesign& design : listDesigns) {
        auto* list = new QComboBox(inputFrame);
        list->setObjectName(QString::fromLatin1(design.objectName));
        list->setEditable(true);
        // Typed text is the list's text: Enter adds no entry, and nothing completes a typed "n"
        // to "N" or "Lon" to a city's name behind the user's back.
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr);
        // The default policy measures every entry on first show: slow for a long city list, and
        // the size is fixed anyway.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(1);
        // Every entry is one line in one font; without this the first drop-down of a 32,767-city
        // list measures each entry (more than half a second).
        if (auto* entries = qobject_cast<QListView*>(list->view()))
            entries->setUniformItemSizes(true);
        list->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
        list->setEditText(
            QString::fromUtf8(design.designText ? design.designText : design.objectName));
        list->setGeometry(twipsRect(design.left, design.top, design.width, listHeight));
        // Qt reports an editable list's current text as its name, so the description carries
        // the list's meaning too.
        const QString spoken = spokenName(design.end, design.field);
        list->setAccessibleName(spoken);
        list->setAccessibleDescription(spoken);
        // The focus sits in the list's own line edit; named, it tells which list it belongs to.
        list->lineEdit()->setAccessibleName(spoken);
        inputs(design.end).lists[static_cast<std::size_t>(design.field)] = list;
    }
    m_start.name()->setToolTip(QStringLiteral("Start Location"));
    m_end.name()->setToolTip(QStringLiteral("End Location"));

    const auto addBox = [](const QString& text, QWidget* parent, const QString& name,
                           const QRect& geometry, const QString& spoken, Qt::Alignment alignment) {
        auto* box = new QLineEdit(text, parent);
        box->setObjectName(name);
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setAlignment(alignment | Qt::AlignVCenter);
        box->setGeometry(geometry);
        box->setAccessibleName(spoken);
        return box;
    };
    for (const InputDesign& design : countryDesigns) {
        inputs(design.end).country =
            addBox(QString::fromUtf8(design.designText), inputFrame,
                   QString::fromLatin1(design.objectName),
                   twipsRect(design.left, design.top, design.width, boxHeight),
                   spokenName(design.end, design.field), Qt::AlignLeft);
    }
    for (const LetterDesign& design : letterDesigns) {
        QLineEdit* letter = addBox(QString::fromLatin1(design.objectName), inputFrame,
                                   QString::fromLatin1(design.objectName),
                                   twipsRect(7920, design.top, 495, boxHeight),
                                   QString::fromLatin1(design.accessibleName), Qt::AlignLeft);
        letter->hide();
        (design.latitude ? inputs(design.end).latitudeLetterShown
                         : inputs(design.end).longitudeLetterShown) = letter;
    }
    for (const OutputDesign& design : outputDesigns) {
        const ResultBox& result = resultBox(design.field);
        m_outputs[static_cast<std::size_t>(design.field)] =
            addBox(QString(), m_outputFrame, utf8(result.objectName),
                   twipsRect(design.left, design.top, design.width, boxHeight),
                   utf8(result.accessibleName), design.alignment);
    }

    struct ButtonDesign
    {
        QPushButton* StartWindow::*button;
        const char* objectName;
        Container container;
        const char* caption;
        int left;
        int top;
        int width;
        const char* accessibleName;
    };
    const ButtonDesign buttonDesigns[] = {
        {&StartWindow::m_clearAllButton, "Command4", Container::Client, "Clear All", 360, 6600,
         1575, "Clear All"},
        {&StartWindow::m_mathExampleButton, "Command2", Container::Client, " Math Example", 3960,
         6600, 1575, "Math Example"},
        {&StartWindow::m_exitButton, "Command3", Container::Client, "Exit", 7800, 6600, 1455,
         "Exit"},
        {&StartWindow::m_computeButton, "Command1", Container::Frame2, "Compute Outputs", 480, 2040,
         1935, "Compute Outputs"},
    };
    for (const ButtonDesign& design : buttonDesigns) {
        auto* button =
            new QPushButton(QString::fromUtf8(design.caption), containerOf(design.container));
        button->setObjectName(QString::fromLatin1(design.objectName));
        button->setGeometry(twipsRect(design.left, design.top, design.width, 375));
        button->setAccessibleName(QString::fromUtf8(design.accessibleName));
        this->*design.button = button;
    }
    m_computeButton->setEnabled(false);
    setFaceColour(m_computeButton, QColor(kFaceYellow));

    m_doneButton = new WrappingButton(QStringLiteral("Done with Inputs"), inputFrame);
    m_doneButton->setObjectName(QStringLiteral("Command5"));
    m_doneButton->setGeometry(twipsRect(8160, 1080, 615, 1335));
    m_doneButton->setAccessibleName(QStringLiteral("Done with Inputs"));
    m_doneButton->setToolTip(QStringLiteral("Click when finished with data input"));
    m_doneButton->setEnabled(false);
    setFaceColour(m_doneButton, QColor(kFaceYellow));
    // Enter presses the button that has the focus, as Space does: in a main window Qt leaves
    // Enter to dialogs' default buttons otherwise.
    for (QPushButton* button :
         {m_computeButton, m_mathExampleButton, m_exitButton, m_clearAllButton, m_doneButton})
        button->setAutoDefault(true);

    auto* rule = new QFrame(inputFrame);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(1);
    rule->setGeometry(QRect(twipsPoint(720, 1920), twipsPoint(7800, 1920)));
    // Unnamed, a screen reader would announce the rule by the frame's caption.
    rule->setAccessibleName(QStringLiteral("Rule between start and end location"));

    // The keyboard visits the coordinate lists row by row, then the buttons along the bottom,
    // the outputs, and the names last; hidden and disabled controls are skipped by Qt.
    const auto output = [this](ResultField field) {
        return m_outputs[static_cast<std::size_t>(field)];
    };
    std::vector<QWidget*> tabOrder;
    for (const LocationInputs* location : {&m_start, &m_end}) {
        for (const LocationField field : kCoordinateOrder)
            tabOrder.push_back(location->list(field));
    }
    tabOrder.insert(tabOrder.end(), {m_mathExampleButton,
                                     m_exitButton,
                                     m_clearAllButton,
                                     output(ResultField::DistanceNm),
                                     output(ResultField::InitialCourse),
                                     output(ResultField::ArrivalCourse),
                                     output(ResultField::DistanceStatute),
                                     m_computeButton,
                                     m_start.latitudeLetterShown,
                                     m_start.longitudeLetterShown,
                                     m_end.latitudeLetterShown,
                                     m_end.longitudeLetterShown,
                                     output(ResultField::DeltaLongitude),
                                     output(ResultField::Arc),
                                     output(ResultField::StartColatitude),
                                     output(ResultField::EndColatitude),
                                     output(ResultField::DirectionEW),
                                     output(ResultField::DirectionNS),
                                     output(ResultField::StartAngle),
                                     output(ResultField::EndAngle),
                                     m_start.name(),
                                     m_end.name(),
                                     m_doneButton,
                                     m_start.country,
                                     m_end.country});
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_start.list(LocationField::LatitudeDegrees)->setFocus();

    placeWindow();
}

QString inputObjectName(RouteEnd end, LocationField field)
{
    for (const auto& designs : {std::span<const InputDesign>(listDesigns),
                                std::span<const InputDesign>(countryDesigns)}) {
        for (const InputDesign& design : designs) {
            if (design.end == end && design.field == field)
                return QString::fromLatin1(design.objectName);
        }
    }
    return QString();
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

    QMenu* const fileMenu = addMenu(QStringLiteral("File"), QStringLiteral("MFile"));
    m_open = addItem(fileMenu, QStringLiteral("Open"), QStringLiteral("MOpen"));
    m_save = addItem(fileMenu, QStringLiteral("Save"), QStringLiteral("MSave"));
    m_saveAs = addItem(fileMenu, QStringLiteral("Save As"), QStringLiteral("MSaveAs"));
    m_exit = addItem(fileMenu, QStringLiteral("Exit"), QStringLiteral("MExit"));

    QMenu* const optionsMenu = addMenu(QStringLiteral("Options"), QStringLiteral("MOptions"));
    m_cityList =
        addItem(optionsMenu, QStringLiteral("Load City list"), QStringLiteral("MCityList"));
    m_findPlace =
        new FindPlaceCommand(optionsMenu, this, [this](RouteEnd end, const LocationTexts& place) {
            placeFound(end, place);
        });
    m_routeMap = new RouteMapCommand(optionsMenu, m_services, this);

    QMenu* const helpMenu = addMenu(QStringLiteral("Help"), QStringLiteral("MHelp"));
    addItem(helpMenu, QStringLiteral("Help"), QStringLiteral("M2Help"))->setEnabled(false);
    m_about = addItem(helpMenu, QStringLiteral("About"), QStringLiteral("MAbout"));
    placeWindow();
}

} // namespace gyrena
