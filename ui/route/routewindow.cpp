#include "ui/route/routewindow.h"

#include "geo/routeview.h"
#include "io/atomicfile.h"
#include "io/gpxwriter.h"
#include "platform/dialogs.h"
#include "ui/route/mapview.h"
#include "ui/route/planexports.h"
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
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgGenerator>
#include <QTableView>
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
const QString exportGpxName = QStringLiteral("Export GPX");
const QString copy = QStringLiteral("Copy");
const QString copyDescription = QStringLiteral("Copy the waypoint table as tab-separated text");
const QString saveMap = QStringLiteral("Save Map As\u2026");
const QString saveMapName = QStringLiteral("Save Map As");
const QString gpxTitle = QStringLiteral("Export GPX");
const QString gpxFilter = QStringLiteral("GPX Route (*.gpx)|*.gpx|");
const QString mapTitle = QStringLiteral("Save Map As");
const QString mapFilter = QStringLiteral("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg|");
const QString notWritten = QStringLiteral("The file could not be written: %1");
const QString noRoute = QStringLiteral("There is no route to export.");
// A route that crosses no other meridian is spaced by distance instead.
const QString spacedByDistance =
    QStringLiteral("; waypoints every %1 nm, as the route runs along a meridian");
const QString startFallback = QStringLiteral("Start");
const QString endFallback = QStringLiteral("End");
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

QString shownName(const QString& name, const QString& fallback)
{
    const QString trimmed = name.trimmed();
    return trimmed.isEmpty() ? fallback : trimmed;
}

} // namespace

RouteWindow::RouteWindow(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services),
      m_options(spacingChoices()[kDefaultSpacing].options)
{
    setObjectName(QStringLiteral("RouteWindow"));
    buildLayout();
}

RouteWindow::~RouteWindow() = default;

void RouteWindow::buildLayout()
{
    auto* layout = new QVBoxLayout(this);

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
    const auto addButton = [&](const QString& caption, const QString& name, const QString& object) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(object);
        button->setAccessibleName(name);
        button->setAutoDefault(false);
        commands->addWidget(button);
        return button;
    };
    m_export = addButton(text::exportGpx, text::exportGpxName, QStringLiteral("ExportGpx"));
    m_copy = addButton(text::copy, text::copy, QStringLiteral("Copy"));
    m_copy->setAccessibleDescription(text::copyDescription);
    m_saveMap = addButton(text::saveMap, text::saveMapName, QStringLiteral("SaveMap"));
    m_exports = new PlanExports(m_services, this, [this] {
        return PlanDocumentContent{
            passagePlanFromRoute(m_plan, m_startName.toStdString(), m_endName.toStdString()),
            m_map->route(), m_map->projection(), m_summary->text(), m_model};
    });
    for (QPushButton* button : m_exports->buttons())
        commands->addWidget(button);
    layout->addLayout(commands);

    connect(m_world, &QRadioButton::toggled, this, [this](bool world) {
        m_map->setProjection(world ? MapView::Projection::World : MapView::Projection::Chart);
    });
    connect(m_spacing, &QComboBox::currentIndexChanged, this, &RouteWindow::setSpacing);
    connect(m_export, &QPushButton::clicked, this, &RouteWindow::exportGpx);
    connect(m_copy, &QPushButton::clicked, this, &RouteWindow::copyTable);
    connect(m_saveMap, &QPushButton::clicked, this, &RouteWindow::saveMapAs);
    resize(960, 800);
}

void RouteWindow::setRoute(LatLon start, LatLon end, const QString& startName,
                           const QString& endName)
{
    m_start = start;
    m_end = end;
    m_startName = shownName(startName, text::startFallback);
    m_endName = shownName(endName, text::endFallback);
    setWindowTitle(text::title.arg(m_startName, m_endName));
    replan();
}

void RouteWindow::setSpacing(int index)
{
    if (index < 0 || index >= static_cast<int>(spacingChoices().size()))
        return;
    if (m_spacing->currentIndex() != index) {
        m_spacing->setCurrentIndex(index); // comes back here through the list's signal
        return;
    }
    m_options = spacingChoices()[static_cast<std::size_t>(index)].options;
    replan();
}

void RouteWindow::replan()
{
    m_plan = planRoute(m_start, m_end, m_options);
    m_model->setPlan(m_plan);
    QString summary =
        QString::fromStdString(routeSummary(m_plan, QLocale().decimalPoint().toStdString()));
    if (m_plan.hasRoute && m_options.spacing == PlanOptions::Spacing::Meridians &&
        m_plan.spacing == PlanOptions::Spacing::Distance)
        summary += text::spacedByDistance.arg(m_plan.spacingValue);
    m_summary->setText(summary);
    m_map->setAccessibleDescription(QString::fromStdString(
        routeDescription(m_plan, m_startName.toStdString(), m_endName.toStdString())));

    MapRoute route;
    route.startName = m_startName;
    route.endName = m_endName;
    route.start = m_start;
    route.end = m_end;
    if (m_plan.hasRoute) {
        route.start = m_plan.waypoints.front().position;
        route.end = m_plan.waypoints.back().position;
        route.greatCircle = greatCirclePath(m_plan);
        route.rhumbLine =
            rhumbLinePath(m_plan.waypoints.front().position, m_plan.waypoints.back().position);
        if (const std::optional<LatLon> vertex = vertexOnRoute(m_plan))
            route.vertex = *vertex;
        for (const Waypoint& waypoint : m_plan.waypoints)
            route.waypoints.push_back(waypoint.position);
    }
    m_map->setRoute(route);
    // Without a route the map would put markers where no place is: the summary says why instead.
    const bool any = m_plan.hasRoute;
    m_map->setVisible(any);
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
    if (!m_plan.hasRoute) {
        m_services.dialogs->message(this, text::noRoute, text::gpxTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::gpxTitle, text::gpxFilter);
    if (!path)
        return;
    const std::vector<std::string> names = routePointNames(
        m_plan.waypoints.size(), m_startName.toStdString(), m_endName.toStdString());
    std::vector<GpxPoint> points;
    points.reserve(m_plan.waypoints.size());
    for (std::size_t i = 0; i < m_plan.waypoints.size(); ++i)
        points.push_back({m_plan.waypoints[i].position, names[i]});
    const std::string gpx = writeGpxRoute(names.front() + " to " + names.back(), points);
    writeFile(*path, QByteArray::fromStdString(gpx), text::gpxTitle);
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
