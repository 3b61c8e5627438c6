#include "ui/route/routewindow.h"

#include "geo/numberformat.h"
#include "geo/routeview.h"
#include "geo/utctime.h"
#include "io/files/atomicfile.h"
#include "io/files/regularfile.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"
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
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
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
const QString openVoyage = QStringLiteral("Open Voyage\u2026");
const QString openVoyageName = QStringLiteral("Open Voyage");
const QString saveVoyage = QStringLiteral("Save Voyage\u2026");
const QString saveVoyageName = QStringLiteral("Save Voyage");
const QString useMain = QStringLiteral("Use Main Window Route");
const QString voyageFilter = QStringLiteral("GPX Voyage (*.gpx)|*.gpx|");
const QString notRead = QStringLiteral("The voyage could not be read: %1");
const QString atLine = QStringLiteral("%1 (line %2)");
const char* const tooLarge = "the file is larger than 8 MB";
const QString voyageSummary = QStringLiteral("Voyage of %1 places, %2 nm as sailed");
const QString underWay = QStringLiteral("; under way %1");
const QString arrives = QStringLiteral(", arriving %1");
const QString noTimes = QStringLiteral("; no times: %1");
const QString noVoyage = QStringLiteral("No route: %1");
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
        return PlanDocumentContent{passagePlanFromVoyage(m_editor->voyage(), m_plan),
                                   m_map->route(), m_map->projection(), m_summary->text(), m_model};
    });
    for (QPushButton* button : m_exports->buttons())
        commands->addWidget(button);
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
    connect(m_open, &QPushButton::clicked, this, &RouteWindow::openVoyage);
    connect(m_save, &QPushButton::clicked, this, &RouteWindow::saveVoyage);
    connect(m_useMain, &QPushButton::clicked, this, &RouteWindow::useMainWindowRoute);
    connect(m_world, &QRadioButton::toggled, this, [this](bool world) {
        m_map->setProjection(world ? MapView::Projection::World : MapView::Projection::Chart);
    });
    connect(m_spacing, &QComboBox::currentIndexChanged, this, &RouteWindow::setSpacing);
    connect(m_export, &QPushButton::clicked, this, &RouteWindow::exportGpx);
    connect(m_copy, &QPushButton::clicked, this, &RouteWindow::copyTable);
    connect(m_saveMap, &QPushButton::clicked, this, &RouteWindow::saveMapAs);
    resize(1280, 820);
}

void RouteWindow::setRoute(LatLon start, LatLon end, const QString& startName,
                           const QString& endName)
{
    m_mainRoute = twoPlaceVoyage({shownName(startName, text::startFallback).toStdString(), start},
                                 {shownName(endName, text::endFallback).toStdString(), end});
    if (m_edited)
        return;
    Voyage voyage = m_mainRoute;
    voyage.speed = m_editor->voyage().speed;
    voyage.departure = m_editor->voyage().departure;
    m_editor->setVoyage(voyage);
    replan();
}

void RouteWindow::setVoyage(const Voyage& voyage)
{
    m_edited = true;
    m_useMain->setEnabled(!m_mainRoute.places.empty());
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
    m_editor->setVoyage(voyage);
    replan();
}

void RouteWindow::setCities(const CityTable* cities)
{
    m_editor->setCities(cities);
}

const Voyage& RouteWindow::voyage() const
{
    return m_editor->voyage();
}

void RouteWindow::voyageEdited(bool placesOrLegs)
{
    if (placesOrLegs) {
        m_edited = true;
        m_useMain->setEnabled(!m_mainRoute.places.empty());
    }
    replan();
}

void RouteWindow::useMainWindowRoute()
{
    if (m_mainRoute.places.empty())
        return;
    m_edited = false;
    m_useMain->setEnabled(false);
    Voyage voyage = m_mainRoute;
    voyage.speed = m_editor->voyage().speed;
    voyage.departure = m_editor->voyage().departure;
    m_editor->setVoyage(voyage);
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
    Voyage voyage = m_editor->voyage();
    voyage.spacing = m_options;
    m_plan = planVoyage(voyage);
    m_model->setPlan(m_plan);
    const std::string separator = QLocale().decimalPoint().toStdString();
    const auto number = [&](double value) {
        return QString::fromStdString(formatDecimals(value, 1, separator));
    };
    const auto placeName = [&](std::size_t i, const QString& fallback) {
        return i < voyage.places.size()
                   ? shownName(QString::fromStdString(voyage.places[i].name), fallback)
                   : fallback;
    };
    const QString first = placeName(0, text::startFallback);
    const QString last = placeName(voyage.places.size() - 1, text::endFallback);
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
    m_map->setAccessibleDescription(
        simple ? QString::fromStdString(
                     routeDescription(m_routePlan, first.toStdString(), last.toStdString()))
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
                route.stops.push_back({row.position, placeName(row.place, QString())});
        }
    }
    m_map->setRoute(route);
    // Without a plan the map would put markers where no place is: the summary says why instead.
    const bool any = m_plan.hasPlan;
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
    if (!m_plan.hasPlan) {
        m_services.dialogs->message(this, text::noRoute, text::gpxTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::gpxTitle, text::gpxFilter);
    if (!path)
        return;
    std::vector<std::string> names = routePointNames(m_plan.rows.size(), {}, {});
    std::vector<GpxPoint> points;
    points.reserve(m_plan.rows.size());
    for (std::size_t i = 0; i < m_plan.rows.size(); ++i) {
        const VoyageRow& row = m_plan.rows[i];
        if (row.isPlace && !row.name.empty())
            names[i] = row.name;
        points.push_back({row.position, names[i]});
    }
    const std::string gpx = writeGpxRoute(names.front() + " to " + names.back(), points);
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
    std::variant<Voyage, FileReadError> read =
        readRegularFile<Voyage>(QFile::encodeName(path).toStdString(),
                                {kMaxVoyageFileBytes, text::tooLarge}, readVoyageGpx);
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
    Voyage voyage = m_editor->voyage();
    voyage.spacing = m_options;
    writeFile(*path, QByteArray::fromStdString(writeVoyageGpx(voyage, m_plan)),
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
