#include "ui/route/routewindow.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/routeview.h"
#include "geo/utctime.h"
#include "io/earth/earth.h"
#include "io/files/atomicfile.h"
#include "io/files/regularfile.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"
#include "io/plan/passageplan.h"
#include "platform/dialogs.h"
#include "platform/preferences.h"
#include "ui/route/landreader.h"
#include "ui/route/mapview.h"
#include "ui/route/planexports.h"
#include "ui/route/seareader.h"
#include "ui/route/voyagedocument.h"
#include "ui/route/voyageeditor.h"
#include "ui/route/waypointmodel.h"

#include <QAccessibleWidget>
#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace gyrena {

namespace {

// The window's own texts.
namespace text {
const QString title = QStringLiteral("Route Map: %1 to %2");
const QString world = QStringLiteral("World");
const QString chart = QStringLiteral("Great-circle chart");
const QString spacing = QStringLiteral("Waypoints:");
const QString spacingName = QStringLiteral("Waypoint spacing");
const QString courses = QStringLiteral("Courses:");
const QString coursesName = QStringLiteral("Courses shown");
const QStringList courseChoices = {QStringLiteral("True"), QStringLiteral("Magnetic")};
const QString times = QStringLiteral("Times:");
const QString timesName = QStringLiteral("Times shown");
// In the order of TimeKeeping.
const QStringList timeChoices = {QStringLiteral("UTC"), QStringLiteral("Zone time"),
                                 QStringLiteral("Local time")};
const QString tableName = QStringLiteral("Waypoints");
const QString mapName = QStringLiteral("Route map");
const QString summaryName = QStringLiteral("Route summary");
const QString exportGpx = QStringLiteral("Export GPX\u2026");
const QString copy = QStringLiteral("Copy");
const QString copyDescription = QStringLiteral("Copy the waypoint table as tab-separated text");
const QString saveMap = QStringLiteral("Save Map As\u2026");
const QString gpxTitle = QStringLiteral("Export GPX");
const QString gpxFilter = QStringLiteral("GPX Route (*.gpx)|*.gpx|");
const QString mapTitle = QStringLiteral("Save Map As");
const QString mapFilter = QStringLiteral("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg|");
const QString notWritten = QStringLiteral("The file could not be written: %1");
const QString noRoute = QStringLiteral("There is no route to export.");
const QString openVoyage = QStringLiteral("Open Voyage\u2026");
const QString openVoyageName = QStringLiteral("Open Voyage");
const QString saveVoyage = QStringLiteral("Save Voyage\u2026");
const QString saveVoyageName = QStringLiteral("Save Voyage");
const QString useMain = QStringLiteral("Use Main Window Route");
const QString checkLand = QStringLiteral("Check for land");
const QString checkLandName = QStringLiteral("Check every leg for land");
const QString checkLandDescription =
    QStringLiteral("Whether every leg is checked against the coast; switch it off for a flight");
const QString checkingLand = QStringLiteral("Checking the legs for land\u2026");
const QString landUnchecked = QStringLiteral("The legs are not checked for land: %1");
// Where the choice is kept between runs.
const std::string checkLandKey = "route/checkLand";
const QString voyageFilter = QStringLiteral("GPX Voyage (*.gpx)|*.gpx|");
const QString notRead = QStringLiteral("The voyage could not be read: %1");
const QString atLine = QStringLiteral("%1 (line %2)");
const QString fileMenu = QStringLiteral("&File");
const QString editMenu = QStringLiteral("&Edit");
const QString viewMenu = QStringLiteral("&View");
const QString close = QStringLiteral("Close");
const QString zoomIn = QStringLiteral("Zoom In");
const QString zoomInCaption = QStringLiteral("+");
const QString zoomInTip = QStringLiteral("Zoom in (+, or the wheel)");
const QString zoomOut = QStringLiteral("Zoom Out");
const QString zoomOutCaption = QStringLiteral("−");
const QString zoomOutTip = QStringLiteral("Zoom out (−, or the wheel)");
const QString fitVoyage = QStringLiteral("Fit Voyage");
const QString fitTip = QStringLiteral("Show the whole voyage (Home)");
const QString showMap = QStringLiteral("Go to Map");
const QString addHere = QStringLiteral("Add Place Here");
const QString insertHere = QStringLiteral("Insert Place on Nearest Leg");
const QString renameOnMap = QStringLiteral("Rename Place…");
const QString renameTitle = QStringLiteral("Rename Place");
const QString renameLabel = QStringLiteral("Name:");
const QString removeOnMap = QStringLiteral("Remove Place");
const QString nextLeg = QStringLiteral("Next Leg's Sailing");
const QString sailings[] = {QStringLiteral("Great Circle"), QStringLiteral("Rhumb Line"),
                            QStringLiteral("Composite"), QStringLiteral("By Sea")};
const QString findingSeaRoutes = QStringLiteral("Finding the routes by sea\u2026");
const QString noSeaRoutes = QStringLiteral("No route: the routes by sea cannot be found: %1");
const QString mapView = QStringLiteral("; the map shows %1 nm across, centred on %2");
const QString pointerName = QStringLiteral("Position under the pointer");
const QString pointerFrom = QStringLiteral(" · %1 nm, course %2° from %3");
const QString moreOverLand =
    QStringLiteral("\u2026and %1 more legs cross land: the Land column marks their rows");
// The names of the steps of Undo that are whole voyages.
const std::string mainRoute = "Main Window Route";
const std::string openedVoyage = "Open Voyage";
const std::string useMainRoute = "Use Main Window Route";
} // namespace text

constexpr Sailing kSailings[] = {Sailing::GreatCircle, Sailing::RhumbLine, Sailing::Composite,
                                 Sailing::BySea};
constexpr qsizetype kShownWarnings = 3; // legs over land the window's summary names

// The summary as the window shows it: at most kShownWarnings of its legs over land named, the
// others counted, so that a long voyage over land never pushes the map and the table out of the
// window. Its tooltip, Print and the PDF give it whole.
QString shownSummary(const VoyageView& view)
{
    const QString whole = QString::fromStdString(view.summary);
    const auto warnings = qsizetype(view.landWarnings.size());
    if (warnings <= kShownWarnings + 1)
        return whole;
    // The summary's own lines, then one line for each leg over land.
    const QStringList lines = whole.split(QLatin1Char('\n'));
    const qsizetype first = lines.size() - warnings;
    return (lines.mid(0, first + kShownWarnings)
            << text::moreOverLand.arg(warnings - kShownWarnings))
        .join(QLatin1Char('\n'));
}

struct SpacingChoice
{
    QString label;
    PlanOptions options;
};

const std::vector<SpacingChoice>& spacingChoices()
{
    using S = PlanOptions::Spacing;
    static const std::vector<SpacingChoice> choices = {
        {QStringLiteral("Every 5\u00B0 of longitude"), {S::Meridians, 5, 600.0}},
        {QStringLiteral("Every 10\u00B0 of longitude"), {S::Meridians, 10, 600.0}},
        {QStringLiteral("Every 15\u00B0 of longitude"), {S::Meridians, 15, 600.0}},
        {QStringLiteral("Every 20\u00B0 of longitude"), {S::Meridians, 20, 600.0}},
        {QStringLiteral("Every 100 nm"), {S::Distance, 10, 100.0}},
        {QStringLiteral("Every 500 nm"), {S::Distance, 10, 500.0}},
        {QStringLiteral("Every 1000 nm"), {S::Distance, 10, 1000.0}},
    };
    return choices;
}
constexpr int kDefaultSpacing = 1; // every 10 degrees of longitude

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

// A plain widget is a "filler" to accessibility tools; this one is a window of its own, which a
// screen reader lists and moves to as it does the main window.
QAccessibleInterface* accessibleRouteWindow(const QString& className, QObject* object)
{
    if (className != QLatin1String(RouteWindow::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

RouteWindow::RouteWindow(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_document(new VoyageDocument(this))
{
    setObjectName(QStringLiteral("RouteWindow"));
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleRouteWindow);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    Voyage empty;
    empty.spacing = spacingChoices()[kDefaultSpacing].options;
    m_document->setVoyage(empty);
    buildLayout();
    buildMenus();
}

RouteWindow::~RouteWindow() = default;

void RouteWindow::buildLayout()
{
    auto* columns = new QHBoxLayout(this);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout, 4);

    auto* views = new QHBoxLayout;
    m_world = new QRadioButton(text::world, this);
    m_world->setObjectName(QStringLiteral("WorldView"));
    m_world->setAccessibleName(text::world);
    m_world->setChecked(true);
    m_chart = new QRadioButton(text::chart, this);
    m_chart->setObjectName(QStringLiteral("ChartView"));
    m_chart->setAccessibleName(text::chart);
    auto* group = new QButtonGroup(this);
    group->addButton(m_world);
    group->addButton(m_chart);
    views->addWidget(m_world);
    views->addWidget(m_chart);
    m_pointer = new QLabel(this);
    m_pointer->setObjectName(QStringLiteral("Pointer"));
    m_pointer->setAccessibleDescription(text::pointerName);
    m_pointer->setTextFormat(Qt::PlainText);
    m_pointer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The room between the views and the buttons, whatever the text: a long position must not
    // widen the window.
    m_pointer->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    views->addWidget(m_pointer, 1);
    const auto viewButton = [&](const QString& caption, const QString& name, const QString& tip,
                                const QString& object) {
        auto* button = new QToolButton(this);
        button->setText(caption);
        button->setObjectName(object);
        button->setAccessibleName(name);
        button->setToolTip(tip);
        views->addWidget(button);
        return button;
    };
    m_zoomIn =
        viewButton(text::zoomInCaption, text::zoomIn, text::zoomInTip, QStringLiteral("ZoomIn"));
    m_zoomOut = viewButton(text::zoomOutCaption, text::zoomOut, text::zoomOutTip,
                           QStringLiteral("ZoomOut"));
    m_fit = viewButton(text::fitVoyage, text::fitVoyage, text::fitTip, QStringLiteral("FitVoyage"));
    const auto addChoice = [&](const QString& caption, const QString& name, const QString& object,
                               const QStringList& items) {
        auto* label = new QLabel(caption, this);
        auto* list = new QComboBox(this);
        list->setObjectName(object);
        list->setAccessibleName(name);
        list->setAccessibleDescription(name);
        list->addItems(items);
        label->setBuddy(list);
        views->addWidget(label);
        views->addWidget(list);
        return list;
    };
    m_courses =
        addChoice(text::courses, text::coursesName, QStringLiteral("Courses"), text::courseChoices);
    m_times = addChoice(text::times, text::timesName, QStringLiteral("Times"), text::timeChoices);
    layout->addLayout(views);

    m_map = new MapView(this);
    m_map->setObjectName(QStringLiteral("Map"));
    m_map->setAccessibleName(text::mapName);
    layout->addWidget(m_map, 3);

    m_model = new WaypointModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("WaypointTable"));
    m_table->setAccessibleName(text::tableName);
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    // Every column of figures as wide as its widest text, sized once from a sample, not from
    // every row; the place's name takes what is left over, so that no figure is cut off.
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(WaypointModel::Place, QHeaderView::Stretch);
    const QString widest[WaypointModel::ColumnCount] = {QStringLiteral("000"),
                                                        QString(), // stretches
                                                        QStringLiteral("00\u00B000.0'N"),
                                                        QStringLiteral("000\u00B000.0'W"),
                                                        QStringLiteral("000.0\u00B0"),
                                                        QStringLiteral("00.0\u00B0W"),
                                                        QStringLiteral("00000.0"),
                                                        QStringLiteral("00000.0"),
                                                        QStringLiteral("00000.0"),
                                                        QStringLiteral("0000-00-00T00:00Z"),
                                                        QStringLiteral("Nautical tw."),
                                                        QStringLiteral("Polar day"),
                                                        QStringLiteral("Polar day"),
                                                        QStringLiteral("over land")};
    for (int column = 0; column < WaypointModel::ColumnCount; ++column)
        header->resizeSection(
            column, std::max(m_table->fontMetrics().horizontalAdvance(widest[column]),
                             header->fontMetrics().horizontalAdvance(
                                 m_model->headerData(column, Qt::Horizontal).toString())) +
                        12);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Only a turning point's name and position can be edited here: the edit makes it a place.
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    layout->addWidget(m_table, 2);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Summary"));
    // A label's accessible name is what a screen reader reads: left unset, it is the summary's
    // own text, and the description says what the text is.
    m_summary->setAccessibleDescription(text::summaryName);
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_summary);

    auto* commands = new QHBoxLayout;
    auto* spacingLabel = new QLabel(text::spacing, this);
    m_spacing = new QComboBox(this);
    m_spacing->setObjectName(QStringLiteral("Spacing"));
    m_spacing->setAccessibleName(text::spacingName);
    m_spacing->setAccessibleDescription(text::spacingName);
    for (const SpacingChoice& choice : spacingChoices())
        m_spacing->addItem(choice.label);
    m_spacing->setCurrentIndex(kDefaultSpacing);
    spacingLabel->setBuddy(m_spacing);
    commands->addWidget(spacingLabel);
    commands->addWidget(m_spacing);
    m_checkLand = new QCheckBox(text::checkLand, this);
    m_checkLand->setObjectName(QStringLiteral("CheckLand"));
    m_checkLand->setAccessibleName(text::checkLandName);
    m_checkLand->setAccessibleDescription(text::checkLandDescription);
    m_checkLand->setToolTip(text::checkLandDescription);
    m_checkLand->setChecked(!m_services.preferences ||
                            m_services.preferences->flag(text::checkLandKey, true));
    commands->addWidget(m_checkLand);
    commands->addStretch();
    layout->addLayout(commands);

    auto* side = new QVBoxLayout;
    m_editor = new VoyageEditor(m_services, m_document, this);
    m_editor->setObjectName(QStringLiteral("VoyageEditor"));
    m_editor->setPassages(SeaReader::instance().passages()); // none until the graph is read
    side->addWidget(m_editor, 1);
    auto* files = new QHBoxLayout;
    const auto fileButton = [&](const QString& caption, const QString& name,
                                const QString& object) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(object);
        button->setAccessibleName(name);
        button->setAutoDefault(false);
        files->addWidget(button);
        return button;
    };
    m_open = fileButton(text::openVoyage, text::openVoyageName, QStringLiteral("OpenVoyage"));
    m_save = fileButton(text::saveVoyage, text::saveVoyageName, QStringLiteral("SaveVoyage"));
    side->addLayout(files);
    m_useMain = new QPushButton(text::useMain, this);
    m_useMain->setObjectName(QStringLiteral("UseMainRoute"));
    m_useMain->setAccessibleName(text::useMain);
    m_useMain->setAutoDefault(false);
    m_useMain->setEnabled(false);
    side->addWidget(m_useMain);
    columns->addLayout(side, 1);

    connect(m_document, &VoyageDocument::edited, this, [this](bool placesOrLegs) {
        if (!placesOrLegs)
            return;
        m_edited = true;
        m_useMain->setEnabled(!m_mainRoute.places.empty());
    });
    connect(m_document, &VoyageDocument::changed, this, &RouteWindow::replan);
    connect(m_editor, &VoyageEditor::placeSelected, this, [this](int place) {
        selectLeg(std::min(place, int(voyage().places.size()) - 2), place);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                const VoyagePlan& plan = m_view.plan;
                if (!plan.hasPlan || current.row() < 0 || current.row() >= int(plan.rows.size()))
                    return;
                const VoyageRow& row = plan.rows[std::size_t(current.row())];
                selectLeg(std::min(int(row.place), int(voyage().places.size()) - 2),
                          row.isPlace ? int(row.place) : -1);
            });
    connect(m_zoomIn, &QToolButton::clicked, m_map, &MapView::zoomIn);
    connect(m_zoomOut, &QToolButton::clicked, m_map, &MapView::zoomOut);
    connect(m_fit, &QToolButton::clicked, m_map, &MapView::fitVoyage);
    connect(m_map, &MapView::hovered, this, &RouteWindow::showPointer);
    connect(m_map, &MapView::viewChanged, this, &RouteWindow::describeMap);
    connect(m_map, &MapView::placeDragged, this, &RouteWindow::dragPlace);
    connect(m_map, &MapView::turnDragged, this, &RouteWindow::dragTurn);
    // Queued: the table finishes its edit before the model is given the new plan.
    connect(m_model, &WaypointModel::turnEdited, this, &RouteWindow::editTurn,
            Qt::QueuedConnection);
    connect(m_map, &MapView::addRequested, this, &RouteWindow::addPlaceOnMap);
    connect(m_map, &MapView::contextMenuRequested, this, &RouteWindow::mapContextMenu);
    connect(m_open, &QPushButton::clicked, this, &RouteWindow::openVoyage);
    connect(m_save, &QPushButton::clicked, this, &RouteWindow::saveVoyage);
    connect(m_useMain, &QPushButton::clicked, this, &RouteWindow::useMainWindowRoute);
    connect(m_world, &QRadioButton::toggled, this, [this](bool world) {
        m_map->setProjection(world ? MapView::Projection::World : MapView::Projection::Chart);
    });
    connect(m_spacing, &QComboBox::currentIndexChanged, this, &RouteWindow::setSpacing);
    connect(m_courses, &QComboBox::currentIndexChanged, this, &RouteWindow::replan);
    connect(m_times, &QComboBox::currentIndexChanged, this, &RouteWindow::replan);
    connect(m_checkLand, &QCheckBox::toggled, this, [this](bool on) {
        if (m_services.preferences)
            m_services.preferences->setFlag(text::checkLandKey, on);
        replan();
    });
    connect(&LandReader::instance(), &LandReader::ready, this, [this] {
        if (m_checkLand->isChecked())
            replan();
    });
    connect(&SeaReader::instance(), &SeaReader::ready, this, [this] {
        if (m_seaRouter)
            return;
        m_editor->setPassages(SeaReader::instance().passages());
        if (hasLegBySea(voyage()))
            replan();
    });
    // The design size, within the screen the window opens on: a laptop's 1280 pixels must not
    // cut off the places panel. The layout's own minimum still holds below that.
    QSize opening(1360, 820);
    if (const QScreen* shownOn = screen())
        opening = opening.boundedTo(shownOn->availableGeometry().size());
    resize(opening.expandedTo(minimumSizeHint()));
}

void RouteWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("RouteMenus"));
    layout()->setMenuBar(m_menuBar);
    const auto action = [this](QMenu* menu, const QString& caption, const QString& object,
                               auto slot) {
        auto* a = menu->addAction(caption);
        a->setObjectName(object);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = m_menuBar->addMenu(text::fileMenu);
    action(file, text::openVoyage, QStringLiteral("MOpenVoyage"), &RouteWindow::openVoyage)
        ->setShortcut(QKeySequence::Open);
    action(file, text::saveVoyage, QStringLiteral("MSaveVoyage"), &RouteWindow::saveVoyage)
        ->setShortcut(QKeySequence::Save);
    file->addSeparator();
    m_export = action(file, text::exportGpx, QStringLiteral("ExportGpx"), &RouteWindow::exportGpx);
    m_exports = new PlanExports(m_services, this, [this] {
        // A plan leaves the program checked, never "checking": wait for the land if need be.
        if ((m_checkLand->isChecked() && !m_view.landChecked) ||
            (hasLegBySea(voyage()) && !m_view.plan.hasPlan))
            checkLandNow();
        std::vector<int> hidden;
        for (int column = 0; column < m_model->columnCount(); ++column)
            if (m_table->isColumnHidden(column))
                hidden.push_back(column);
        PlanDocumentContent content{m_view.passage,        m_map->route(), m_map->projection(),
                                    qText(m_view.summary), m_model,        hidden};
        content.selectedLeg = m_map->selectedLeg();
        return content;
    });
    const QList<QAction*> exports = m_exports->actions(); // Print, PDF, RTZ, KML
    file->addActions({exports[2], exports[3], exports[1]});
    m_saveMap = action(file, text::saveMap, QStringLiteral("SaveMap"), &RouteWindow::saveMapAs);
    file->addSeparator();
    file->addAction(exports[0]);
    file->addSeparator();
    action(file, text::close, QStringLiteral("MCloseRoute"), &QWidget::close)
        ->setShortcut(QKeySequence::Close);

    QMenu* edit = m_menuBar->addMenu(text::editMenu);
    QAction* undo = undoStack()->createUndoAction(this);
    undo->setObjectName(QStringLiteral("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undoStack()->createRedoAction(this);
    redo->setObjectName(QStringLiteral("Redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    m_copy = action(edit, text::copy, QStringLiteral("Copy"), &RouteWindow::copyTable);
    m_copy->setStatusTip(text::copyDescription);

    QMenu* view = m_menuBar->addMenu(text::viewMenu);
    QAction* zoomIn =
        action(view, text::zoomIn, QStringLiteral("MZoomIn"), [this] { m_map->zoomIn(); });
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    action(view, text::zoomOut, QStringLiteral("MZoomOut"), [this] {
        m_map->zoomOut();
    })->setShortcut(QKeySequence::ZoomOut);
    action(view, text::fitVoyage, QStringLiteral("MFitVoyage"), [this] {
        m_map->fitVoyage();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    view->addSeparator();
    action(view, text::world, QStringLiteral("MWorld"), [this] { m_world->setChecked(true); });
    action(view, text::chart, QStringLiteral("MChart"), [this] { m_chart->setChecked(true); });
    action(view, text::showMap, QStringLiteral("MShowMap"), [this] {
        m_map->setFocus();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
}

Voyage RouteWindow::mainRouteVoyage() const
{
    Voyage voyage = m_mainRoute;
    voyage.speed = m_document->voyage().speed;
    voyage.departure = m_document->voyage().departure;
    voyage.spacing = m_document->voyage().spacing;
    return voyage;
}

void RouteWindow::setRoute(LatLon start, LatLon end, const QString& startName,
                           const QString& endName)
{
    // A place without a name stays so: views and files call it by its number (WP01...).
    m_mainRoute = twoPlaceVoyage({startName.trimmed().toStdString(), start},
                                 {endName.trimmed().toStdString(), end});
    if (m_edited)
        return;
    m_document->setVoyage(mainRouteVoyage(), text::mainRoute);
    m_map->fitVoyage();
}

void RouteWindow::setVoyage(const Voyage& voyage)
{
    m_edited = true;
    m_useMain->setEnabled(!m_mainRoute.places.empty());
    m_document->setVoyage(voyage, text::openedVoyage);
    m_map->fitVoyage();
}

QUndoStack* RouteWindow::undoStack() const
{
    return m_document->undoStack();
}

void RouteWindow::setCities(const CityTable* cities)
{
    m_editor->setCities(cities);
}

const Voyage& RouteWindow::voyage() const
{
    return m_document->voyage();
}

void RouteWindow::useMainWindowRoute()
{
    if (m_mainRoute.places.empty())
        return;
    m_edited = false;
    m_useMain->setEnabled(false);
    m_document->setVoyage(mainRouteVoyage(), text::useMainRoute);
    m_map->fitVoyage();
}

void RouteWindow::dragPlace(int place, LatLon position, bool finished)
{
    if (place < 0 || place >= int(voyage().places.size()))
        return;
    if (!m_dragging) {
        m_dragging = true;
        ++m_dragGesture;
        m_editor->selectPlace(place);
    }
    m_document->apply(
        SetPosition{std::size_t(place), {position.latitude, planLongitude(position.longitude)}},
        m_dragGesture);
    if (finished)
        m_dragging = false;
}

const VoyageRow* RouteWindow::turningRow(int turn) const
{
    for (const VoyageRow& row : m_view.plan.rows)
        if (row.turningPoint && turn-- == 0)
            return &row;
    return nullptr;
}

void RouteWindow::makeTurnPlace(const VoyageRow& row, const VoyagePlace& place, int gesture)
{
    // The place goes in after the one that begins the leg; both halves stay by sea.
    const std::size_t at = row.place + 1;
    m_document->apply(
        InsertPlace{
            at, {place.name, {place.position.latitude, planLongitude(place.position.longitude)}}},
        gesture);
    m_editor->selectPlace(int(at));
}

void RouteWindow::dragTurn(int turn, LatLon position, bool finished)
{
    if (!m_dragging) {
        const VoyageRow* row = turningRow(turn);
        if (!row)
            return;
        m_dragging = true;
        ++m_dragGesture;
        // The first move makes the turning point a place; the rest move that place, and the
        // whole drag is one step of Undo.
        m_dragTurnPlace = int(row->place) + 1;
        makeTurnPlace(*row, {row->name, position}, m_dragGesture);
    } else if (m_dragTurnPlace >= 0) {
        m_document->apply(SetPosition{std::size_t(m_dragTurnPlace),
                                      {position.latitude, planLongitude(position.longitude)}},
                          m_dragGesture);
    }
    if (finished) {
        m_dragging = false;
        m_dragTurnPlace = -1;
    }
}

void RouteWindow::editTurn(int tableRow, const QString& name, LatLon position)
{
    const auto& rows = m_view.plan.rows;
    if (tableRow < 0 || tableRow >= int(rows.size()) || !rows[std::size_t(tableRow)].turningPoint)
        return;
    const VoyageRow row = rows[std::size_t(tableRow)];
    makeTurnPlace(row, {name.trimmed().toStdString(), position});
}

void RouteWindow::addPlaceOnMap(LatLon position, bool onNearestLeg)
{
    std::size_t index = voyage().places.size();
    if (onNearestLeg)
        if (const auto pixel = m_map->pixelOf(position))
            if (const int leg = m_map->nearestLeg(*pixel); leg >= 0)
                index = std::size_t(leg) + 1;
    m_document->apply(InsertPlace{
        index, {std::string(), {position.latitude, planLongitude(position.longitude)}}});
    m_editor->selectPlace(int(index));
}

void RouteWindow::renamePlaceOnMap(int place)
{
    if (place < 0 || place >= int(voyage().places.size()))
        return;
    const std::optional<QString> name =
        m_services.dialogs->text(this, text::renameTitle, text::renameLabel,
                                 qText(voyage().places[std::size_t(place)].name));
    if (name)
        m_document->apply(RenamePlace{std::size_t(place), name->trimmed().toStdString()});
}

void RouteWindow::mapContextMenu(QPoint global, int place, std::optional<LatLon> position)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MapMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const Voyage& shown = voyage();
    if (place >= 0 && place < int(shown.places.size())) {
        m_editor->selectPlace(place);
        menu->addAction(text::renameOnMap, this, [this, place] { renamePlaceOnMap(place); });
        menu->addAction(text::removeOnMap, this,
                        [this, place] { m_document->apply(RemovePlace{std::size_t(place)}); })
            ->setEnabled(shown.places.size() > 2);
        if (place + 1 < int(shown.places.size())) {
            QMenu* sailing = menu->addMenu(text::nextLeg);
            const Sailing current = shown.legs[std::size_t(place)].sailing;
            for (std::size_t i = 0; i < std::size(kSailings); ++i) {
                QAction* choice = sailing->addAction(text::sailings[i], this, [this, place, i] {
                    m_document->apply(SetLegSailing{std::size_t(place), kSailings[i]});
                });
                choice->setCheckable(true);
                choice->setChecked(kSailings[i] == current);
            }
        }
    } else if (position) {
        menu->addAction(text::addHere, this, [this, at = *position] { addPlaceOnMap(at, false); });
        menu->addAction(text::insertHere, this, [this, at = *position] { addPlaceOnMap(at, true); })
            ->setEnabled(shown.places.size() >= 2);
    }
    menu->addSeparator();
    menu->addAction(text::zoomIn, m_map, &MapView::zoomIn);
    menu->addAction(text::zoomOut, m_map, &MapView::zoomOut);
    menu->addAction(text::fitVoyage, m_map, &MapView::fitVoyage);
    // Not exec(): the window's event loop goes on, and tests find the menu among the children.
    menu->popup(global);
}

void RouteWindow::describeMap()
{
    // The route in words, then what the map shows of it: a screen reader hears the zoom too.
    QString description = qText(m_view.description);
    if (m_view.plan.hasPlan && m_map->width() > 0) {
        const auto centre = m_map->positionAt(QPointF(m_map->width() / 2.0, m_map->height() / 2.0));
        if (centre)
            description += text::mapView.arg(
                QString::number(std::llround(m_map->nauticalMilesPerPixel() * m_map->width())),
                qText(positionText(*centre)));
    }
    m_map->setAccessibleDescription(description);
}

void RouteWindow::selectLeg(int leg, int place)
{
    m_map->setSelectedLeg(std::max(0, leg));
    m_map->setSelectedPlace(place);
}

void RouteWindow::showPointer(std::optional<LatLon> position)
{
    if (!position) {
        m_pointer->clear();
        return;
    }
    const std::string separator = QLocale().decimalPoint().toStdString();
    QString shown = qText(positionText(*position, separator));
    const int place = m_editor->selectedPlace();
    const Voyage& current = voyage();
    if (place >= 0 && place < int(current.places.size()) && m_view.plan.hasPlan) {
        const RoutePlan leg = planRoute(current.places[std::size_t(place)].position, *position);
        const std::vector<std::string> names = voyagePlaceNames(current, m_view.plan);
        if (leg.hasRoute && std::size_t(place) < names.size())
            shown += text::pointerFrom.arg(qText(formatDecimals(leg.distance, 1, separator)),
                                           qText(formatCourse(leg.initialCourse, 0, separator)),
                                           qText(names[std::size_t(place)]));
    }
    m_pointer->setText(shown);
}

void RouteWindow::setSpacing(int index)
{
    if (index < 0 || index >= static_cast<int>(spacingChoices().size()))
        return;
    if (m_spacing->currentIndex() != index) {
        m_spacing->setCurrentIndex(index); // comes back here through the list's signal
        return;
    }
    m_document->apply(SetSpacing{spacingChoices()[static_cast<std::size_t>(index)].options});
}

void RouteWindow::setMagneticCourses(bool magnetic)
{
    m_courses->setCurrentIndex(magnetic ? 1 : 0); // the list's signal views the voyage afresh
}

void RouteWindow::setTimeKeeping(TimeKeeping keeping)
{
    m_times->setCurrentIndex(static_cast<int>(keeping));
}

void RouteWindow::setLandCheck(bool on)
{
    m_checkLand->setChecked(on); // kept and shown through the box's signal
}

bool RouteWindow::landCheck() const
{
    return m_checkLand->isChecked();
}

void RouteWindow::checkLandNow()
{
    m_waitForLand = true;
    replan();
}

const SeaRouter* RouteWindow::seaRouter()
{
    return m_seaRouter ? m_seaRouter : SeaReader::instance().router();
}

void RouteWindow::setSeaRouting(const SeaRouter* router, std::vector<AvoidablePassage> passages)
{
    m_seaRouter = router;
    m_editor->setPassages(std::move(passages));
    replan();
}

void RouteWindow::replan()
{
    VoyageViewOptions options;
    const QLocale locale;
    options.decimalSeparator = locale.decimalPoint().toStdString();
    options.groupSeparator = locale.groupSeparator().toStdString();
    LandReader& reader = LandReader::instance();
    if (m_checkLand->isChecked())
        options.land = m_waitForLand ? reader.landNow() : reader.land();
    // A voyage without a departure takes today's variation.
    options.earth = &programEarth();
    options.nowMinute = QDateTime::currentSecsSinceEpoch() / 60;
    options.magneticCourses = m_courses->currentIndex() == 1;
    options.timeKeeping = static_cast<TimeKeeping>(m_times->currentIndex());
    // The routes by sea are asked for only when a leg needs them: their graph is read then.
    const bool bySea = hasLegBySea(m_document->voyage());
    if (bySea)
        options.sea =
            m_waitForLand && !m_seaRouter ? SeaReader::instance().routerNow() : seaRouter();
    m_view = viewVoyage(m_document->voyage(), options);
    if (bySea && !options.sea) {
        // While the graph is read, the voyage waits for its routes rather than failing.
        const QString problem = m_seaRouter ? QString() : SeaReader::instance().problem();
        const QString why =
            problem.isEmpty() ? text::findingSeaRoutes : text::noSeaRoutes.arg(problem);
        m_view.summary = m_view.description = why.toStdString();
    }
    // While the land is read, or when it cannot be, the summary says the legs are unchecked.
    if (m_checkLand->isChecked() && !m_view.landChecked && m_view.plan.hasPlan) {
        const QString problem = reader.problem();
        const QString why = reader.reading() || problem.isEmpty()
                                ? text::checkingLand
                                : text::landUnchecked.arg(problem);
        m_view.summary += "\n" + why.toStdString();
    }
    showView();
}

void RouteWindow::showView()
{
    const auto& choices = spacingChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].options == m_document->voyage().spacing) {
            const QSignalBlocker quiet(m_spacing);
            m_spacing->setCurrentIndex(static_cast<int>(i));
        }
    }
    m_model->setView(m_view);
    // A time with its offset is wider than one in UTC.
    const QString widest = m_view.timeKeeping == TimeKeeping::Utc
                               ? QStringLiteral("0000-00-00T00:00Z")
                               : QStringLiteral("0000-00-00T00:00+00:00");
    m_table->horizontalHeader()->resizeSection(
        WaypointModel::Eta, m_table->fontMetrics().horizontalAdvance(widest) + 12);
    m_table->setColumnHidden(WaypointModel::Land, !m_view.landChecked);
    // The Sun's columns need times: without a departure they would be empty, and the places'
    // and passages' names take their room.
    const bool timed = !m_view.plan.rows.empty() && m_view.plan.rows.front().eta.has_value();
    for (const int column : {WaypointModel::Light, WaypointModel::Sunrise, WaypointModel::Sunset})
        m_table->setColumnHidden(column, !timed);
    setWindowTitle(text::title.arg(qText(m_view.startName), qText(m_view.endName)));
    const QString summary = shownSummary(m_view);
    m_summary->setText(summary);
    m_summary->setToolTip(
        summary.size() == qsizetype(m_view.summary.size()) ? QString() : qText(m_view.summary));
    // A voyage over land is said in the summary's own words, in the colour of a warning.
    QPalette palette = m_summary->palette();
    palette.setColor(QPalette::WindowText, m_view.landWarnings.empty()
                                               ? this->palette().color(QPalette::WindowText)
                                               : QColor(0xa0, 0x28, 0x00));
    m_summary->setPalette(palette);
    m_map->setRoute(m_view.map);
    describeMap();
    // Without a plan the map would put markers where no place is: the summary says why instead.
    const bool any = m_view.plan.hasPlan;
    m_map->setVisible(any);
    for (QToolButton* button : {m_zoomIn, m_zoomOut, m_fit})
        button->setEnabled(any);
    m_export->setEnabled(any);
    m_copy->setEnabled(any);
    m_saveMap->setEnabled(any);
    m_exports->setEnabled(any);
}

bool RouteWindow::writeFile(const QString& path, const QByteArray& bytes, const QString& title)
{
    const std::string failed =
        writeFileAtomically(QFile::encodeName(path).toStdString(),
                            std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (failed.empty())
        return true;
    m_services.dialogs->message(this, text::notWritten.arg(QString::fromStdString(failed)), title,
                                Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return false;
}

void RouteWindow::exportGpx()
{
    const VoyagePlan& plan = m_view.plan;
    if (!plan.hasPlan) {
        m_services.dialogs->message(this, text::noRoute, text::gpxTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::gpxTitle, text::gpxFilter);
    if (!path)
        return;
    const std::string gpx = writeGpxRoute(m_view.passage);
    writeFile(*path, QByteArray::fromStdString(gpx), text::gpxTitle);
}

void RouteWindow::openVoyage()
{
    const std::optional<QString> path =
        m_services.dialogs->openFileName(this, text::openVoyageName, text::voyageFilter);
    if (path)
        openVoyageFile(*path);
}

bool RouteWindow::openVoyageFile(const QString& path)
{
    // Only a whole voyage changes the window: a file that fails anywhere leaves it as it was.
    std::variant<Voyage, FileReadError> read = readRegularFile<Voyage>(
        QFile::encodeName(path).toStdString(), kVoyageFileLimit, readVoyageGpx);
    if (const auto* failed = std::get_if<FileReadError>(&read)) {
        QString why = QString::fromStdString(failed->error.what);
        if (failed->error.line > 0)
            why = text::atLine.arg(why).arg(failed->error.line);
        m_services.dialogs->message(this, text::notRead.arg(why), text::openVoyageName,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return false;
    }
    setVoyage(std::get<Voyage>(read));
    return true;
}

void RouteWindow::saveVoyage()
{
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::saveVoyageName, text::voyageFilter);
    if (!path)
        return;
    writeFile(*path, QByteArray::fromStdString(writeVoyageGpx(m_document->voyage(), m_view.plan)),
              text::saveVoyageName);
}

void RouteWindow::copyTable()
{
    QGuiApplication::clipboard()->setText(m_model->tabSeparated());
}

void RouteWindow::saveMapAs()
{
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::mapTitle, text::mapFilter);
    if (!path)
        return;
    layout()->activate(); // the map at the window's size, shown or not
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path->endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(m_map->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_map->size()));
        // The viewBox counts the screen's pixels, so the text must be sized at the screen's
        // density too: at the generator's default of 72 dpi it comes out three quarters as large.
        svg.setResolution(m_map->logicalDpiY());
        svg.setTitle(windowTitle());
        svg.setDescription(m_map->accessibleDescription());
        QPainter painter(&svg);
        m_map->render(&painter);
    } else {
        // At the screen's own density, so the picture is as sharp as the window.
        const qreal ratio = m_map->devicePixelRatioF();
        QImage image((QSizeF(m_map->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        m_map->render(&image);
        image.save(&buffer, "PNG");
    }
    writeFile(*path, bytes, text::mapTitle);
}

} // namespace gyrena
