#include "ui/route/routewindow.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/routeview.h"
#include "geo/utctime.h"
#include "io/files/atomicfile.h"
#include "io/files/regularfile.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"
#include "io/plan/passageplan.h"
#include "platform/dialogs.h"
#include "ui/route/mapview.h"
#include "ui/route/planexports.h"
#include "ui/route/voyageeditor.h"
#include "ui/route/waypointmodel.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
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
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace gyrena {

namespace {

// The window's own texts.
namespace text {
const QString title = QStringLiteral("Route Map: %1 to %2");
const QString world = QStringLiteral("World");
const QString chart = QStringLiteral("Great-circle chart");
const QString spacing = QStringLiteral("Waypoints:");
const QString spacingName = QStringLiteral("Waypoint spacing");
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
// A route that crosses no other meridian is spaced by distance instead.
const QString spacedByDistance =
    QStringLiteral("; waypoints every %1 nm, as the route runs along a meridian");
const QString openVoyage = QStringLiteral("Open Voyage\u2026");
const QString openVoyageName = QStringLiteral("Open Voyage");
const QString saveVoyage = QStringLiteral("Save Voyage\u2026");
const QString saveVoyageName = QStringLiteral("Save Voyage");
const QString useMain = QStringLiteral("Use Main Window Route");
const QString voyageFilter = QStringLiteral("GPX Voyage (*.gpx)|*.gpx|");
const QString notRead = QStringLiteral("The voyage could not be read: %1");
const QString atLine = QStringLiteral("%1 (line %2)");
const QString voyageSummary = QStringLiteral("Voyage of %1 places, %2 nm as sailed");
const QString underWay = QStringLiteral("; under way %1");
const QString arrives = QStringLiteral(", arriving %1");
const QString noTimes = QStringLiteral("; no times: %1");
const QString noVoyage = QStringLiteral("No route: %1");
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
const QString renameOnMap = QStringLiteral("Rename Place\u2026");
const QString renameTitle = QStringLiteral("Rename Place");
const QString renameLabel = QStringLiteral("Name:");
const QString removeOnMap = QStringLiteral("Remove Place");
const QString nextLeg = QStringLiteral("Next Leg's Sailing");
const QString sailings[] = {QStringLiteral("Great Circle"), QStringLiteral("Rhumb Line"),
                            QStringLiteral("Composite")};
const QString mapView = QStringLiteral("; the map shows %1 nm across, centred on %2");
const QString pointerName = QStringLiteral("Position under the pointer");
const QString pointerFrom = QStringLiteral(" · %1 nm, course %2° from %3");
const QString placeFallback = QStringLiteral("place %1");
const QString addPlace = QStringLiteral("Add Place");
const QString removePlace = QStringLiteral("Remove Place");
const QString renamePlace = QStringLiteral("Rename Place");
const QString movePlace = QStringLiteral("Move Place");
const QString changeLeg = QStringLiteral("Change Leg");
const QString changeSpeed = QStringLiteral("Change Speed");
const QString changeDeparture = QStringLiteral("Change Departure");
const QString changeSpacing = QStringLiteral("Change Waypoint Spacing");
const QString changeVoyage = QStringLiteral("Change Voyage");
const QString mainRoute = QStringLiteral("Main Window Route");
const QString voyageDescription = QStringLiteral("Voyage from %1 to %2 by way of %3 places, %4 "
                                                 "nautical miles");
} // namespace text

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

// Keys under which changes in a row are one step of Undo; each drag on the map has a key of its
// own from kMergeDrag up.
constexpr int kMergeLeg = 1;
constexpr int kMergeSpeed = 2;
constexpr int kMergeDeparture = 3;
constexpr int kMergeDrag = 1000;
constexpr Sailing kSailings[] = {Sailing::GreatCircle, Sailing::RhumbLine, Sailing::Composite};

// The voyage's legs, one for each pair of places in a row: missing legs are great circles.
Voyage withLegsFitted(Voyage voyage)
{
    voyage.legs.resize(voyage.places.size() > 1 ? voyage.places.size() - 1 : 0);
    return voyage;
}

// `place` put at `index` (0..places): a place inserted inside a leg splits it, both halves
// sailed as the leg was; one added at the end is joined by a great circle.
Voyage withPlaceInserted(Voyage voyage, std::size_t index, const VoyagePlace& place)
{
    voyage = withLegsFitted(std::move(voyage));
    index = std::min(index, voyage.places.size());
    voyage.places.insert(voyage.places.begin() + std::ptrdiff_t(index), place);
    const bool inside = index > 0 && index < voyage.places.size() - 1;
    const VoyageLeg split = inside ? voyage.legs[index - 1] : VoyageLeg{};
    voyage.legs.insert(voyage.legs.begin() + std::ptrdiff_t(std::min(index, voyage.legs.size())),
                       split);
    return withLegsFitted(std::move(voyage));
}

// Without the place `index`; the leg before it now runs to the place after it. Never fewer
// than two places.
Voyage withPlaceRemoved(Voyage voyage, std::size_t index)
{
    voyage = withLegsFitted(std::move(voyage));
    if (voyage.places.size() <= 2 || index >= voyage.places.size())
        return voyage;
    voyage.places.erase(voyage.places.begin() + std::ptrdiff_t(index));
    voyage.legs.erase(voyage.legs.begin() +
                      std::ptrdiff_t(std::min(index, voyage.legs.size() - 1)));
    return voyage;
}

QString shownName(const QString& name, const QString& fallback)
{
    const QString trimmed = name.trimmed();
    return trimmed.isEmpty() ? fallback : trimmed;
}

} // namespace

// One change of the voyage: the voyage before and after it, both whole values.
class RouteWindow::Change : public QUndoCommand
{
public:
    Change(RouteWindow& window, Voyage before, Voyage after, const QString& what, int mergeKey,
           bool applied)
        : QUndoCommand(what), m_window(window), m_before(std::move(before)),
          m_after(std::move(after)), m_mergeKey(mergeKey), m_applied(applied)
    {
    }
    void undo() override { m_window.showVoyage(m_before); }
    void redo() override
    {
        // A change the editor made itself is shown already: showing it again would refill the
        // field being typed in.
        if (m_applied)
            m_applied = false;
        else
            m_window.showVoyage(m_after);
    }
    int id() const override { return m_mergeKey; }
    bool mergeWith(const QUndoCommand* other) override
    {
        m_after = static_cast<const Change*>(other)->m_after;
        return true;
    }

private:
    RouteWindow& m_window;
    Voyage m_before;
    Voyage m_after;
    int m_mergeKey;
    bool m_applied;
};

namespace {

// What changed from one voyage to the next, for the Edit menu's "Undo …", and a key under which
// consecutive changes of one field (the speed typed digit by digit) are one step.
std::pair<QString, int> describeChange(const Voyage& before, const Voyage& after)
{
    if (after.places.size() > before.places.size())
        return {text::addPlace, -1};
    if (after.places.size() < before.places.size())
        return {text::removePlace, -1};
    if (after.places != before.places) {
        const bool moved = !std::equal(
            after.places.begin(), after.places.end(), before.places.begin(),
            [](const VoyagePlace& a, const VoyagePlace& b) { return a.position == b.position; });
        return {moved ? text::movePlace : text::renamePlace, -1};
    }
    if (after.legs != before.legs)
        return {text::changeLeg, kMergeLeg};
    if (after.speed != before.speed)
        return {text::changeSpeed, kMergeSpeed};
    if (after.departure != before.departure)
        return {text::changeDeparture, kMergeDeparture};
    return {text::changeVoyage, -1};
}

} // namespace

RouteWindow::RouteWindow(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services),
      m_options(spacingChoices()[kDefaultSpacing].options)
{
    setObjectName(QStringLiteral("RouteWindow"));
    m_voyage.spacing = m_options;
    m_undo = new QUndoStack(this);
    buildLayout();
    buildMenus();
}

RouteWindow::~RouteWindow() = default;

void RouteWindow::buildLayout()
{
    auto* columns = new QHBoxLayout(this);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout, 3);

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
    views->addStretch();
    m_pointer = new QLabel(this);
    m_pointer->setObjectName(QStringLiteral("Pointer"));
    m_pointer->setAccessibleDescription(text::pointerName);
    m_pointer->setTextFormat(Qt::PlainText);
    views->addWidget(m_pointer);
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
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // A time in full, whatever the width: sized once from its text, not from every row.
    m_table->horizontalHeader()->setSectionResizeMode(WaypointModel::Eta, QHeaderView::Fixed);
    m_table->horizontalHeader()->resizeSection(
        WaypointModel::Eta,
        m_table->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00T00:00Z")) + 16);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    commands->addStretch();
    layout->addLayout(commands);

    auto* side = new QVBoxLayout;
    m_editor = new VoyageEditor(m_services, this);
    m_editor->setObjectName(QStringLiteral("VoyageEditor"));
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

    connect(m_editor, &VoyageEditor::edited, this, &RouteWindow::voyageEdited);
    connect(m_editor, &VoyageEditor::placeSelected, this, [this](int place) {
        selectLeg(std::min(place, int(m_voyage.places.size()) - 2), place);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_plan.hasPlan || current.row() < 0 ||
                    current.row() >= int(m_plan.rows.size()))
                    return;
                const VoyageRow& row = m_plan.rows[std::size_t(current.row())];
                selectLeg(std::min(int(row.place), int(m_voyage.places.size()) - 2),
                          row.isPlace ? int(row.place) : -1);
            });
    connect(m_open, &QPushButton::clicked, this, &RouteWindow::openVoyage);
    connect(m_save, &QPushButton::clicked, this, &RouteWindow::saveVoyage);
    connect(m_useMain, &QPushButton::clicked, this, &RouteWindow::useMainWindowRoute);
    connect(m_world, &QRadioButton::toggled, this, [this](bool world) {
        m_map->setProjection(world ? MapView::Projection::World : MapView::Projection::Chart);
    });
    connect(m_spacing, &QComboBox::currentIndexChanged, this, &RouteWindow::setSpacing);
    connect(m_zoomIn, &QToolButton::clicked, m_map, &MapView::zoomIn);
    connect(m_zoomOut, &QToolButton::clicked, m_map, &MapView::zoomOut);
    connect(m_fit, &QToolButton::clicked, m_map, &MapView::fitVoyage);
    connect(m_map, &MapView::hovered, this, &RouteWindow::showPointer);
    connect(m_map, &MapView::viewChanged, this, &RouteWindow::describeMap);
    connect(m_map, &MapView::placeDragged, this, &RouteWindow::dragPlace);
    connect(m_map, &MapView::addRequested, this, &RouteWindow::addPlaceOnMap);
    connect(m_map, &MapView::contextMenuRequested, this, &RouteWindow::mapContextMenu);
    resize(1280, 820);
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
        PlanDocumentContent content{passagePlanFromVoyage(m_voyage, m_plan), m_map->route(),
                                    m_map->projection(), m_summary->text(), m_model};
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
    QAction* undo = m_undo->createUndoAction(this);
    undo->setObjectName(QStringLiteral("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_undo->createRedoAction(this);
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

void RouteWindow::setRoute(LatLon start, LatLon end, const QString& startName,
                           const QString& endName)
{
    // A place without a name stays so: views and files call it by its number (WP01...).
    m_mainRoute = twoPlaceVoyage({startName.trimmed().toStdString(), start},
                                 {endName.trimmed().toStdString(), end});
    if (m_edited)
        return;
    Voyage voyage = m_mainRoute;
    voyage.speed = m_voyage.speed;
    voyage.departure = m_voyage.departure;
    voyage.spacing = m_options;
    if (voyage == m_voyage) {
        replan(); // the same route, shown again as the main window would (its locale included)
        return;
    }
    changeVoyage(voyage, text::mainRoute);
    m_map->fitVoyage();
}

void RouteWindow::setVoyage(const Voyage& voyage)
{
    m_edited = true;
    m_useMain->setEnabled(!m_mainRoute.places.empty());
    changeVoyage(voyage, text::openVoyageName);
    m_map->fitVoyage();
}

void RouteWindow::changeVoyage(const Voyage& after, const QString& what, int mergeKey)
{
    if (m_voyage.places.empty()) {
        // The window's first voyage is where it starts, not a step to take back.
        showVoyage(after);
        return;
    }
    m_undo->push(new Change(*this, m_voyage, after, what, mergeKey, false));
}

void RouteWindow::showVoyage(const Voyage& voyage)
{
    m_voyage = voyage;
    m_options = voyage.spacing;
    const auto& choices = spacingChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const PlanOptions& choice = choices[i].options;
        if (choice.spacing == m_options.spacing &&
            (choice.spacing == PlanOptions::Spacing::Meridians
                 ? choice.everyDegrees == m_options.everyDegrees
                 : choice.everyNm == m_options.everyNm)) {
            const QSignalBlocker quiet(m_spacing);
            m_spacing->setCurrentIndex(static_cast<int>(i));
        }
    }
    if (!(m_editor->voyage() == voyage) || m_editor->voyage().places != voyage.places)
        m_editor->setVoyage(voyage);
    replan();
}

void RouteWindow::setCities(const CityTable* cities)
{
    m_editor->setCities(cities);
}

void RouteWindow::voyageEdited(bool placesOrLegs)
{
    if (placesOrLegs) {
        m_edited = true;
        m_useMain->setEnabled(!m_mainRoute.places.empty());
    }
    Voyage after = m_editor->voyage();
    after.spacing = m_options;
    const auto [what, key] = describeChange(m_voyage, after);
    m_undo->push(new Change(*this, m_voyage, after, what, key, true));
    m_voyage = after;
    replan();
}

void RouteWindow::useMainWindowRoute()
{
    if (m_mainRoute.places.empty())
        return;
    m_edited = false;
    m_useMain->setEnabled(false);
    Voyage voyage = m_mainRoute;
    voyage.speed = m_voyage.speed;
    voyage.departure = m_voyage.departure;
    voyage.spacing = m_options;
    changeVoyage(voyage, text::useMain);
    m_map->fitVoyage();
}

void RouteWindow::setSpacing(int index)
{
    if (index < 0 || index >= static_cast<int>(spacingChoices().size()))
        return;
    if (m_spacing->currentIndex() != index) {
        m_spacing->setCurrentIndex(index); // comes back here through the list's signal
        return;
    }
    Voyage voyage = m_voyage;
    voyage.spacing = spacingChoices()[static_cast<std::size_t>(index)].options;
    if (m_voyage.places.empty()) {
        m_options = voyage.spacing;
        m_voyage = voyage;
        return;
    }
    changeVoyage(voyage, text::changeSpacing);
}

void RouteWindow::dragPlace(int place, LatLon position, bool finished)
{
    if (place < 0 || place >= int(m_voyage.places.size()))
        return;
    if (!m_dragging) {
        m_dragging = true;
        ++m_dragSerial;
        m_editor->selectPlace(place);
    }
    Voyage after = m_voyage;
    after.places[std::size_t(place)].position = {position.latitude,
                                                 planLongitude(position.longitude)};
    changeVoyage(after, text::movePlace, kMergeDrag + m_dragSerial % 100000);
    if (finished)
        m_dragging = false;
}

void RouteWindow::addPlaceOnMap(LatLon position, bool onNearestLeg)
{
    std::size_t index = m_voyage.places.size();
    if (onNearestLeg)
        if (const auto pixel = m_map->pixelOf(position))
            if (const int leg = m_map->nearestLeg(*pixel); leg >= 0)
                index = std::size_t(leg) + 1;
    changeVoyage(withPlaceInserted(m_voyage, index, {std::string(), position}), text::addPlace);
    m_editor->selectPlace(int(index));
}

void RouteWindow::renamePlaceOnMap(int place)
{
    if (place < 0 || place >= int(m_voyage.places.size()))
        return;
    const std::optional<QString> name =
        m_services.dialogs->text(this, text::renameTitle, text::renameLabel,
                                 QString::fromStdString(m_voyage.places[std::size_t(place)].name));
    if (!name)
        return;
    Voyage after = m_voyage;
    after.places[std::size_t(place)].name = name->trimmed().toStdString();
    if (!(after == m_voyage))
        changeVoyage(after, text::renamePlace);
}

void RouteWindow::mapContextMenu(QPoint global, int place, std::optional<LatLon> position)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MapMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (place >= 0 && place < int(m_voyage.places.size())) {
        m_editor->selectPlace(place);
        menu->addAction(text::renameOnMap, this, [this, place] { renamePlaceOnMap(place); });
        menu->addAction(text::removeOnMap, this,
                        [this, place] {
                            changeVoyage(withPlaceRemoved(m_voyage, std::size_t(place)),
                                         text::removePlace);
                        })
            ->setEnabled(m_voyage.places.size() > 2);
        if (place + 1 < int(m_voyage.places.size())) {
            QMenu* sailing = menu->addMenu(text::nextLeg);
            const Sailing current = withLegsFitted(m_voyage).legs[std::size_t(place)].sailing;
            for (std::size_t i = 0; i < std::size(kSailings); ++i) {
                QAction* choice = sailing->addAction(text::sailings[i], this, [this, place, i] {
                    Voyage after = withLegsFitted(m_voyage);
                    after.legs[std::size_t(place)].sailing = kSailings[i];
                    if (!(after == m_voyage))
                        changeVoyage(after, text::changeLeg);
                });
                choice->setCheckable(true);
                choice->setChecked(kSailings[i] == current);
            }
        }
    } else if (position) {
        menu->addAction(text::addHere, this, [this, at = *position] { addPlaceOnMap(at, false); });
        menu->addAction(text::insertHere, this, [this, at = *position] { addPlaceOnMap(at, true); })
            ->setEnabled(m_voyage.places.size() >= 2);
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
    QString description = m_mapDescription;
    if (m_plan.hasPlan && m_map->width() > 0) {
        const auto centre = m_map->positionAt(QPointF(m_map->width() / 2.0, m_map->height() / 2.0));
        if (centre)
            description += text::mapView.arg(
                QString::number(std::llround(m_map->nauticalMilesPerPixel() * m_map->width())),
                QString::fromStdString(positionText(*centre)));
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
    QString shown = QString::fromStdString(positionText(*position, separator));
    const int place = m_editor->selectedPlace();
    if (place >= 0 && place < int(m_voyage.places.size())) {
        const VoyagePlace& from = m_voyage.places[std::size_t(place)];
        const RoutePlan leg = planRoute(from.position, *position);
        if (leg.hasRoute)
            shown += text::pointerFrom.arg(
                QString::fromStdString(formatDecimals(leg.distance, 1, separator)),
                QString::fromStdString(formatCourse(leg.initialCourse, 0, separator)),
                shownName(QString::fromStdString(from.name), text::placeFallback.arg(place + 1)));
    }
    m_pointer->setText(shown);
}

void RouteWindow::replan()
{
    const Voyage& voyage = m_voyage;
    m_plan = planVoyage(voyage);
    m_model->setPlan(m_plan);
    const std::string separator = QLocale().decimalPoint().toStdString();
    const auto number = [&](double value) {
        return QString::fromStdString(formatDecimals(value, 1, separator));
    };
    // Every place by the name the files and the text output give it.
    const std::vector<std::string> names = voyagePlaceNames(voyage, m_plan);
    const auto placeName = [&](std::size_t i) {
        return i < names.size() ? QString::fromStdString(names[i]) : QString();
    };
    const QString first = placeName(0);
    const QString last = placeName(names.empty() ? 0 : names.size() - 1);
    setWindowTitle(text::title.arg(first, last));

    // A voyage of two places on a great circle is the main window's route: its summary compares
    // it with the rhumb line and the ellipsoid as before.
    const bool simple = voyage.places.size() == 2 && !voyage.legs.empty() &&
                        voyage.legs.front().sailing == Sailing::GreatCircle;
    m_routePlan = simple
                      ? planRoute(voyage.places[0].position, voyage.places[1].position, m_options)
                      : RoutePlan{};
    QString summary;
    if (!m_plan.hasPlan) {
        summary = text::noVoyage.arg(QString::fromStdString(m_plan.problem));
    } else if (simple) {
        summary = QString::fromStdString(routeSummary(m_routePlan, separator));
    } else {
        summary = text::voyageSummary.arg(voyage.places.size()).arg(number(m_plan.distance));
    }
    if (m_plan.hasPlan && m_plan.minutesUnderWay)
        summary +=
            text::underWay.arg(QString::fromStdString(durationText(*m_plan.minutesUnderWay)));
    if (m_plan.hasPlan && m_plan.rows.back().eta)
        summary +=
            text::arrives.arg(QString::fromStdString(utcMinuteText(*m_plan.rows.back().eta)));
    if (!m_plan.timeProblem.empty())
        summary += text::noTimes.arg(QString::fromStdString(m_plan.timeProblem));
    if (simple && m_plan.hasPlan && m_options.spacing == PlanOptions::Spacing::Meridians &&
        m_routePlan.spacing == PlanOptions::Spacing::Distance)
        summary += text::spacedByDistance.arg(m_routePlan.spacingValue);
    m_summary->setText(summary);
    m_mapDescription = (simple ? QString::fromStdString(routeDescription(
                                     m_routePlan, first.toStdString(), last.toStdString()))
                               : text::voyageDescription.arg(first, last)
                                     .arg(voyage.places.size() > 2 ? voyage.places.size() - 2 : 0)
                                     .arg(std::llround(m_plan.distance)));

    MapRoute route;
    route.startName = first;
    route.endName = last;
    if (m_plan.hasPlan) {
        route.start = m_plan.rows.front().position;
        route.end = m_plan.rows.back().position;
        route.greatCircle = sailedPath(m_plan);
        if (simple) {
            route.rhumbLine = rhumbLinePath(route.start, route.end);
            route.vertex = vertexOnRoute(m_routePlan);
        }
        route.waypoints.reserve(m_plan.rows.size());
        for (const VoyageRow& row : m_plan.rows) {
            route.waypoints.push_back(row.position);
            if (row.isPlace && row.place > 0 && row.place + 1 < voyage.places.size())
                route.stops.push_back({row.position, placeName(row.place)});
        }
        for (const PlannedLeg& leg : m_plan.legs) {
            VoyagePlan part;
            part.hasPlan = true;
            part.rows.assign(m_plan.rows.begin() + std::ptrdiff_t(leg.firstRow),
                             m_plan.rows.begin() + std::ptrdiff_t(leg.lastRow) + 1);
            route.legs.push_back(sailedPath(part));
        }
    }
    m_map->setRoute(route);
    describeMap();
    // Without a plan the map would put markers where no place is: the summary says why instead.
    const bool any = m_plan.hasPlan;
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
    if (!m_plan.hasPlan) {
        m_services.dialogs->message(this, text::noRoute, text::gpxTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::gpxTitle, text::gpxFilter);
    if (!path)
        return;
    const std::string gpx = writeGpxRoute(passagePlanFromVoyage(m_voyage, m_plan));
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
    writeFile(*path, QByteArray::fromStdString(writeVoyageGpx(m_voyage, m_plan)),
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
