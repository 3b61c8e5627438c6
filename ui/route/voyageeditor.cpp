#include "ui/route/voyageeditor.h"

#include "geo/location.h"
#include "geo/positiontext.h"
#include "io/formats/citylist.h"
#include "platform/dialogs.h"
#include "ui/find/findplacewindow.h"
#include "ui/route/voyagedocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QStringListModel>
#include <QTimeZone>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace gyrena {

namespace {

namespace text {
const QString places = QStringLiteral("Places");
const QString name = QStringLiteral("Name");
const QString city = QStringLiteral("City list");
const QString latitude = QStringLiteral("Latitude");
const QString longitude = QStringLiteral("Longitude");
const QString add = QStringLiteral("Add Place");
const QString find = QStringLiteral("Find Place…");
const QString addFound = QStringLiteral("Add to Voyage");
const QString addedFound = QStringLiteral("%1 is in the voyage now.");
const QString remove = QStringLiteral("Remove Place");
const QString up = QStringLiteral("Move Up");
const QString down = QStringLiteral("Move Down");
const QString rename = QStringLiteral("Rename");
const QString leg = QStringLiteral("Leg from the selected place");
const QString sailing = QStringLiteral("Sailing");
const QString limit = QStringLiteral("Limiting latitude");
const QString legSpeed = QStringLiteral("Leg speed");
const QString voyageSpeedShort = QStringLiteral("Voyage speed");
const QString speed = QStringLiteral("Speed");
const QString departure = QStringLiteral("Departure (UTC)");
const QString knots = QStringLiteral(" kn");
const QString degrees = QStringLiteral("\u00B0");
const QString noPosition = QStringLiteral("The place's latitude must lie between 90\u00B0S and "
                                          "90\u00B0N, and both its angles must be numbers.");
const QString addTitle = QStringLiteral("Add Place");
const QString unnamed = QStringLiteral("Place %1");
const QString sea = QStringLiteral("Routes by sea");
const QString clearance = QStringLiteral("Clearance from the coast");
const QString clearanceTip = QStringLiteral(
    "How far the routes by sea keep off the coast, nautical miles (a narrow passage or the way "
    "to a port may come nearer: the summary then says so)");
const QString seaLimit = QStringLiteral("Limiting latitude at sea");
const QString seaLimitTip =
    QStringLiteral("No route by sea goes beyond this latitude, north or south: it keeps the "
                   "routes out of the ice");
const QString avoid = QStringLiteral("Avoid these passages:");
const QString avoidName = QStringLiteral("Passages to avoid");
const QString avoidTip = QStringLiteral("The canals, straits and capes no route by sea may take");
const QString avoidReading = QStringLiteral("Reading the passages\u2026");
const QString avoidOne = QStringLiteral("No route by sea through %1");
const QString nm = QStringLiteral(" nm");
} // namespace text

// The sailings in the order of the list.
constexpr Sailing kSailings[] = {Sailing::GreatCircle, Sailing::RhumbLine, Sailing::Composite,
                                 Sailing::BySea};
const QString kSailingNames[] = {QStringLiteral("Great circle"), QStringLiteral("Rhumb line"),
                                 QStringLiteral("Composite"), QStringLiteral("By sea")};
constexpr int kSailingCount = int(std::size(kSailings));

QLineEdit* angleField(QWidget* parent, const QString& object, const QString& name, int width)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(object);
    field->setAccessibleName(name);
    field->setMaximumWidth(width);
    return field;
}

QComboBox* letterList(QWidget* parent, const QString& object, const QString& name,
                      const QStringList& letters)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(object);
    list->setAccessibleName(name);
    list->setAccessibleDescription(name);
    list->addItems(letters);
    return list;
}

} // namespace

VoyageEditor::VoyageEditor(const Services& services, VoyageDocument* document, QWidget* parent)
    : QWidget(parent), m_services(services), m_document(document)
{
    buildLayout();
    connect(m_document, &VoyageDocument::changed, this, &VoyageEditor::showVoyage);
    showVoyage();
}

void VoyageEditor::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* placesLabel = new QLabel(text::places, this);
    m_places = new QListWidget(this);
    m_places->setObjectName(QStringLiteral("Places"));
    m_places->setAccessibleName(text::places);
    placesLabel->setBuddy(m_places);
    layout->addWidget(placesLabel);
    layout->addWidget(m_places, 1);

    auto* order = new QHBoxLayout;
    const auto button = [&](QLayout* into, const QString& caption, const QString& object) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(object);
        b->setAccessibleName(caption);
        b->setAutoDefault(false);
        into->addWidget(b);
        return b;
    };
    m_up = button(order, text::up, QStringLiteral("MoveUp"));
    m_down = button(order, text::down, QStringLiteral("MoveDown"));
    m_remove = button(order, text::remove, QStringLiteral("RemovePlace"));
    layout->addLayout(order);

    // A place as the main window takes it: degrees, minutes and a letter for each angle.
    auto* typed = new QGridLayout;
    auto* nameLabel = new QLabel(text::name, this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("PlaceName"));
    m_name->setAccessibleName(text::name);
    nameLabel->setBuddy(m_name);
    auto* cityLabel = new QLabel(text::city, this);
    m_city = new QComboBox(this);
    m_city->setObjectName(QStringLiteral("PlaceCity"));
    m_city->setAccessibleName(text::city);
    m_city->setAccessibleDescription(text::city);
    m_city->setEnabled(false);
    cityLabel->setBuddy(m_city);
    typed->addWidget(cityLabel, 3, 0);
    typed->addWidget(m_city, 3, 1, 1, 3);
    typed->addWidget(nameLabel, 0, 0);
    typed->addWidget(m_name, 0, 1, 1, 3);
    m_latDegrees =
        angleField(this, QStringLiteral("PlaceLatDegrees"), QStringLiteral("Latitude degrees"), 60);
    m_latMinutes =
        angleField(this, QStringLiteral("PlaceLatMinutes"), QStringLiteral("Latitude minutes"), 70);
    m_latLetter = letterList(this, QStringLiteral("PlaceLatLetter"),
                             QStringLiteral("Latitude letter"), {"N", "S"});
    m_longDegrees = angleField(this, QStringLiteral("PlaceLongDegrees"),
                               QStringLiteral("Longitude degrees"), 60);
    m_longMinutes = angleField(this, QStringLiteral("PlaceLongMinutes"),
                               QStringLiteral("Longitude minutes"), 70);
    m_longLetter = letterList(this, QStringLiteral("PlaceLongLetter"),
                              QStringLiteral("Longitude letter"), {"E", "W"});
    auto* latLabel = new QLabel(text::latitude, this);
    latLabel->setBuddy(m_latDegrees);
    auto* longLabel = new QLabel(text::longitude, this);
    longLabel->setBuddy(m_longDegrees);
    typed->addWidget(latLabel, 1, 0);
    typed->addWidget(m_latDegrees, 1, 1);
    typed->addWidget(m_latMinutes, 1, 2);
    typed->addWidget(m_latLetter, 1, 3);
    typed->addWidget(longLabel, 2, 0);
    typed->addWidget(m_longDegrees, 2, 1);
    typed->addWidget(m_longMinutes, 2, 2);
    typed->addWidget(m_longLetter, 2, 3);
    layout->addLayout(typed);
    auto* placeCommands = new QHBoxLayout;
    m_find = button(placeCommands, text::find, QStringLiteral("FindPlace"));
    m_add = button(placeCommands, text::add, QStringLiteral("AddPlace"));
    m_rename = button(placeCommands, text::rename, QStringLiteral("RenamePlace"));
    layout->addLayout(placeCommands);

    auto* legBox = new QGroupBox(text::leg, this);
    auto* legLayout = new QGridLayout(legBox);
    m_sailing = new QComboBox(legBox);
    m_sailing->setObjectName(QStringLiteral("LegSailing"));
    m_sailing->setAccessibleName(text::sailing);
    m_sailing->setAccessibleDescription(text::sailing);
    for (const QString& name : kSailingNames)
        m_sailing->addItem(name);
    m_limit = new QDoubleSpinBox(legBox);
    m_limit->setObjectName(QStringLiteral("LegLimit"));
    m_limit->setAccessibleName(text::limit);
    m_limit->setRange(kMinimumLimit, kMaximumLimit);
    m_limit->setDecimals(1);
    m_limit->setSuffix(text::degrees);
    m_legSpeed = new QDoubleSpinBox(legBox);
    m_legSpeed->setObjectName(QStringLiteral("LegSpeed"));
    m_legSpeed->setAccessibleName(text::legSpeed);
    // Its lowest value stands for "the voyage's speed".
    m_legSpeed->setRange(0.0, kMaximumSpeed);
    m_legSpeed->setDecimals(1);
    m_legSpeed->setSuffix(text::knots);
    m_legSpeed->setSpecialValueText(text::voyageSpeedShort);
    const auto row = [&](QGridLayout* grid, int r, const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, control->parentWidget());
        label->setBuddy(control);
        grid->addWidget(label, r, 0);
        grid->addWidget(control, r, 1);
    };
    row(legLayout, 0, text::sailing, m_sailing);
    row(legLayout, 1, text::limit, m_limit);
    row(legLayout, 2, text::legSpeed, m_legSpeed);
    layout->addWidget(legBox);

    // How every leg by sea is routed: shown while the voyage has one.
    m_seaBox = new QGroupBox(text::sea, this);
    m_seaBox->setObjectName(QStringLiteral("SeaOptions"));
    m_seaBox->setAccessibleName(text::sea);
    auto* seaLayout = new QGridLayout(m_seaBox);
    m_clearance = new QDoubleSpinBox(m_seaBox);
    m_clearance->setObjectName(QStringLiteral("SeaClearance"));
    m_clearance->setAccessibleName(text::clearance);
    m_clearance->setToolTip(text::clearanceTip);
    m_clearance->setRange(0.0, kMaximumSeaClearanceNm);
    m_clearance->setDecimals(1);
    m_clearance->setSuffix(text::nm);
    m_seaLimit = new QDoubleSpinBox(m_seaBox);
    m_seaLimit->setObjectName(QStringLiteral("SeaLimit"));
    m_seaLimit->setAccessibleName(text::seaLimit);
    m_seaLimit->setToolTip(text::seaLimitTip);
    m_seaLimit->setRange(kMinimumLimit, kMaximumLimit);
    m_seaLimit->setDecimals(1);
    m_seaLimit->setSuffix(text::degrees);
    // A check box a passage, in a box that scrolls: the places keep their room.
    m_avoid = new QScrollArea(m_seaBox);
    m_avoid->setObjectName(QStringLiteral("AvoidPassages"));
    m_avoid->setAccessibleName(text::avoidName);
    m_avoid->setToolTip(text::avoidTip);
    m_avoid->setWidgetResizable(true);
    m_avoid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_avoid->setMaximumHeight(m_avoid->fontMetrics().height() * 7);
    m_avoid->setWidget(new QWidget(m_avoid));
    auto* boxes = new QVBoxLayout(m_avoid->widget());
    boxes->setContentsMargins(4, 2, 4, 2);
    boxes->setSpacing(0);
    row(seaLayout, 0, text::clearance, m_clearance);
    row(seaLayout, 1, text::seaLimit, m_seaLimit);
    // The list across the box: the passages' names are long.
    auto* avoidLabel = new QLabel(text::avoid, m_seaBox);
    avoidLabel->setBuddy(m_avoid);
    seaLayout->addWidget(avoidLabel, 2, 0, 1, 2);
    seaLayout->addWidget(m_avoid, 3, 0, 1, 2);
    layout->addWidget(m_seaBox);

    auto* times = new QGridLayout;
    m_speed = new QDoubleSpinBox(this);
    m_speed->setObjectName(QStringLiteral("VoyageSpeed"));
    m_speed->setAccessibleName(text::speed);
    m_speed->setRange(kMinimumSpeed, kMaximumSpeed);
    m_speed->setDecimals(1);
    m_speed->setSuffix(text::knots);
    m_hasDeparture = new QCheckBox(text::departure, this);
    m_hasDeparture->setObjectName(QStringLiteral("HasDeparture"));
    m_hasDeparture->setAccessibleName(text::departure);
    m_departure = new QDateTimeEdit(this);
    m_departure->setObjectName(QStringLiteral("Departure"));
    m_departure->setAccessibleName(QStringLiteral("Departure date and time (UTC)"));
    m_departure->setTimeSpec(Qt::UTC);
    m_departure->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_departure->setDateTimeRange(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC),
                                  QDateTime(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC));
    row(times, 0, text::speed, m_speed);
    times->addWidget(m_hasDeparture, 1, 0);
    times->addWidget(m_departure, 1, 1);
    layout->addLayout(times);

    connect(m_places, &QListWidget::currentRowChanged, this, &VoyageEditor::showLeg);
    connect(m_places, &QListWidget::currentRowChanged, this, &VoyageEditor::placeSelected);
    connect(m_city, &QComboBox::activated, this, &VoyageEditor::pickCity);
    connect(m_add, &QPushButton::clicked, this, &VoyageEditor::addPlace);
    connect(m_find, &QPushButton::clicked, this, &VoyageEditor::findPlace);
    connect(m_remove, &QPushButton::clicked, this, &VoyageEditor::removePlace);
    connect(m_up, &QPushButton::clicked, this, &VoyageEditor::moveUp);
    connect(m_down, &QPushButton::clicked, this, &VoyageEditor::moveDown);
    connect(m_rename, &QPushButton::clicked, this, &VoyageEditor::renamePlace);
    const auto leg = [this] {
        return static_cast<std::size_t>(std::max(0, m_places->currentRow()));
    };
    connect(m_sailing, &QComboBox::currentIndexChanged, this, [this, leg](int index) {
        edit(SetLegSailing{leg(), kSailings[std::clamp(index, 0, kSailingCount - 1)]});
    });
    connect(m_limit, &QDoubleSpinBox::valueChanged, this, [this, leg](double limit) {
        edit(SetLegLimit{leg(), limit});
    });
    // Its lowest value stands for "the voyage's speed".
    connect(m_legSpeed, &QDoubleSpinBox::valueChanged, this, [this, leg](double speed) {
        edit(SetLegSpeed{leg(), speed > 0.0 ? std::optional<double>(speed) : std::nullopt});
    });
    connect(m_speed, &QDoubleSpinBox::valueChanged, this,
            [this](double speed) { edit(SetSpeed{speed}); });
    connect(m_clearance, &QDoubleSpinBox::valueChanged, this, [this](double clearance) {
        SeaRouteOptions sea = m_document->voyage().sea;
        sea.clearanceNm = clearance;
        edit(SetSeaOptions{sea});
    });
    connect(m_seaLimit, &QDoubleSpinBox::valueChanged, this, [this](double limit) {
        SeaRouteOptions sea = m_document->voyage().sea;
        sea.limitLatitude = limit;
        edit(SetSeaOptions{sea});
    });
    connect(m_hasDeparture, &QCheckBox::toggled, this, &VoyageEditor::departureTicked);
    connect(m_departure, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& when) {
        if (m_hasDeparture->isChecked())
            edit(SetDeparture{when.toSecsSinceEpoch() / 60});
    });
}

void VoyageEditor::setCities(const CityTable* cities)
{
    m_cities = cities;
    QStringList names;
    if (cities) {
        names.reserve(cities->cityCount());
        for (int r = 1; r <= cities->cityCount(); ++r) {
            const std::string_view name = cities->row(r).name;
            names.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
    }
    // One model for the whole list: filling a long list item by item costs far more.
    // The list deletes the model it made itself; the ones made here are deleted here.
    QAbstractItemModel* const previous =
        m_city->model()->parent() == this ? m_city->model() : nullptr;
    m_city->setModel(new QStringListModel(std::move(names), this));
    delete previous;
    m_city->setCurrentIndex(-1);
    m_city->setEnabled(cities && cities->cityCount() > 0);
}

void VoyageEditor::pickCity(int index)
{
    if (!m_cities || index < 0 || index >= m_cities->cityCount())
        return;
    const LocationTexts city = m_cities->location(index + 1);
    m_name->setText(QString::fromStdString(city.name));
    m_latDegrees->setText(QString::fromStdString(city.latitudeDegrees));
    m_latMinutes->setText(QString::fromStdString(city.latitudeMinutes));
    m_latLetter->setCurrentText(QString::fromStdString(latitudeLetter(city.latitudeLetter)));
    m_longDegrees->setText(QString::fromStdString(city.longitudeDegrees));
    m_longMinutes->setText(QString::fromStdString(city.longitudeMinutes));
    m_longLetter->setCurrentText(QString::fromStdString(longitudeLetter(city.longitudeLetter)));
}

int VoyageEditor::selectedPlace() const
{
    return m_places->currentRow();
}

void VoyageEditor::selectPlace(int index)
{
    m_places->setCurrentRow(index);
}

void VoyageEditor::showVoyage()
{
    const Voyage& voyage = m_document->voyage();
    const bool wasShowing = m_showing;
    m_showing = true;
    const int selected = m_places->currentRow();
    const std::string separator = QLocale().decimalPoint().toStdString();
    // The rows are rewritten in place, so that the list keeps its scrolling.
    const int count = static_cast<int>(voyage.places.size());
    while (m_places->count() > count)
        delete m_places->takeItem(m_places->count() - 1);
    for (int i = 0; i < count; ++i) {
        const VoyagePlace& place = voyage.places[static_cast<std::size_t>(i)];
        const QString name =
            place.name.empty() ? text::unnamed.arg(i + 1) : QString::fromStdString(place.name);
        const QString row = name + QStringLiteral(" \u2014 ") +
                            QString::fromStdString(positionText(place.position, separator));
        if (i < m_places->count())
            m_places->item(i)->setText(row);
        else
            m_places->addItem(row);
    }
    // Some place is always selected, so that the leg controls show the first leg at least.
    m_places->setCurrentRow(std::clamp(selected, 0, m_places->count() - 1));
    // A control is set only when it shows something else: setting it rewrites what the user is
    // typing into it.
    if (m_speed->value() != voyage.speed)
        m_speed->setValue(voyage.speed);
    m_hasDeparture->setChecked(voyage.departure.has_value());
    if (voyage.departure) {
        const QDateTime when = QDateTime::fromSecsSinceEpoch(*voyage.departure * 60, Qt::UTC);
        if (m_departure->dateTime() != when)
            m_departure->setDateTime(when);
    }
    m_departure->setEnabled(voyage.departure.has_value());
    m_remove->setEnabled(voyage.places.size() > 2);
    showSeaOptions();
    showLeg();
    m_showing = wasShowing;
}

void VoyageEditor::showLeg()
{
    const Voyage& voyage = m_document->voyage();
    const int place = m_places->currentRow();
    const bool hasLeg = place >= 0 && static_cast<std::size_t>(place) < voyage.legs.size();
    m_up->setEnabled(place > 0);
    m_down->setEnabled(place >= 0 && place + 1 < m_places->count());
    m_rename->setEnabled(place >= 0);
    m_sailing->setEnabled(hasLeg);
    m_legSpeed->setEnabled(hasLeg);
    const VoyageLeg leg = hasLeg ? voyage.legs[static_cast<std::size_t>(place)] : VoyageLeg{};
    // Also called while the whole voyage is shown (the list's selection moves then).
    const bool wasShowing = m_showing;
    m_showing = true;
    for (int i = 0; i < kSailingCount; ++i)
        if (kSailings[i] == leg.sailing)
            m_sailing->setCurrentIndex(i);
    if (m_limit->value() != leg.limitLatitude)
        m_limit->setValue(leg.limitLatitude);
    m_limit->setEnabled(hasLeg && leg.sailing == Sailing::Composite);
    if (m_legSpeed->value() != leg.speed.value_or(0.0))
        m_legSpeed->setValue(leg.speed.value_or(0.0));
    m_showing = wasShowing;
}

void VoyageEditor::setPassages(std::vector<AvoidablePassage> passages)
{
    m_passages = std::move(passages);
    showSeaOptions();
}

void VoyageEditor::showSeaOptions()
{
    const Voyage& voyage = m_document->voyage();
    const bool wasShowing = m_showing;
    m_showing = true;
    m_seaBox->setVisible(hasLegBySea(voyage));
    if (m_clearance->value() != voyage.sea.clearanceNm)
        m_clearance->setValue(voyage.sea.clearanceNm);
    if (m_seaLimit->value() != voyage.sea.limitLatitude)
        m_seaLimit->setValue(voyage.sea.limitLatitude);
    // A passage the voyage avoids stays listed (and can be taken again) even when the graph
    // does not name it.
    std::vector<AvoidablePassage> listed = m_passages;
    for (const std::string& key : voyage.sea.avoid)
        if (std::none_of(listed.begin(), listed.end(), [&](const auto& p) { return p.key == key; }))
            listed.push_back({key, key});
    QLayout* boxes = m_avoid->widget()->layout();
    while (int(m_avoidBoxes.size()) > int(listed.size())) {
        delete m_avoidBoxes.back();
        m_avoidBoxes.pop_back();
    }
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const AvoidablePassage& passage = listed[i];
        const QString key = QString::fromStdString(passage.key);
        if (i == m_avoidBoxes.size()) {
            auto* box = new QCheckBox(m_avoid->widget());
            boxes->addWidget(box);
            m_avoidBoxes.push_back(box);
            connect(box, &QCheckBox::toggled, this, [this, box](bool avoided) {
                const std::string key = box->property("passage").toString().toStdString();
                SeaRouteOptions sea = m_document->voyage().sea;
                std::erase(sea.avoid, key);
                if (avoided)
                    sea.avoid.push_back(key);
                edit(SetSeaOptions{sea});
            });
        }
        QCheckBox* box = m_avoidBoxes[i];
        const QString name = QString::fromStdString(passage.name);
        box->setText(name);
        box->setProperty("passage", key);
        box->setObjectName(QStringLiteral("Avoid_") + key);
        box->setAccessibleName(name);
        box->setAccessibleDescription(text::avoidOne.arg(name));
        box->setChecked(std::find(voyage.sea.avoid.begin(), voyage.sea.avoid.end(), passage.key) !=
                        voyage.sea.avoid.end());
    }
    m_avoid->setToolTip(listed.empty() ? text::avoidReading : text::avoidTip);
    m_showing = wasShowing;
}

void VoyageEditor::edit(const VoyageEdit& edit)
{
    if (!m_showing)
        m_document->apply(edit);
}

void VoyageEditor::departureTicked(bool on)
{
    if (!on) {
        edit(SetDeparture{std::nullopt});
        return;
    }
    // A departure just ticked on starts at the next whole hour, not at a date long past.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    edit(SetDeparture{QDateTime(now.date(), QTime(now.time().hour(), 0), Qt::UTC)
                          .addSecs(3600)
                          .toSecsSinceEpoch() /
                      60});
}

void VoyageEditor::addPlace()
{
    const double latitude =
        angleFromTexts(m_latDegrees->text().toStdString(), m_latMinutes->text().toStdString());
    const double longitude =
        angleFromTexts(m_longDegrees->text().toStdString(), m_longMinutes->text().toStdString());
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90.0) {
        m_services.dialogs->message(this, text::noPosition, text::addTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
    VoyagePlace place;
    place.name = m_name->text().trimmed().toStdString();
    place.position.latitude =
        latitudeLetter(m_latLetter->currentText().toStdString()) == "N" ? latitude : -latitude;
    place.position.longitude =
        longitudeLetter(m_longLetter->currentText().toStdString()) == "E" ? longitude : -longitude;
    insertPlace(place);
}

void VoyageEditor::insertPlace(const VoyagePlace& place)
{
    const int selected = m_places->currentRow();
    const std::size_t at =
        selected < 0 ? m_document->voyage().places.size() : static_cast<std::size_t>(selected) + 1;
    edit(InsertPlace{at, place});
    m_places->setCurrentRow(static_cast<int>(at));
}

void VoyageEditor::findPlace()
{
    if (!m_findWindow) {
        // The place found fills the typed fields, as if typed, and goes in at the gazetteer's
        // position: the fields' whole minutes would move it by up to half a mile.
        const auto add = [this](const LocationTexts& place, LatLon position) {
            m_name->setText(QString::fromStdString(place.name));
            m_latDegrees->setText(QString::fromStdString(place.latitudeDegrees));
            m_latMinutes->setText(QString::fromStdString(place.latitudeMinutes));
            m_latLetter->setCurrentText(QString::fromStdString(place.latitudeLetter));
            m_longDegrees->setText(QString::fromStdString(place.longitudeDegrees));
            m_longMinutes->setText(QString::fromStdString(place.longitudeMinutes));
            m_longLetter->setCurrentText(QString::fromStdString(place.longitudeLetter));
            insertPlace({place.name, position});
        };
        m_findWindow = new FindPlaceWindow(
            {{text::addFound, QStringLiteral("FindAddToVoyage"), text::addedFound, add}}, this);
    }
    m_findWindow->present();
}

void VoyageEditor::removePlace()
{
    if (const int selected = m_places->currentRow(); selected >= 0)
        edit(RemovePlace{static_cast<std::size_t>(selected)});
}

void VoyageEditor::moveUp()
{
    const int selected = m_places->currentRow();
    if (selected <= 0)
        return;
    edit(MovePlace{static_cast<std::size_t>(selected), static_cast<std::size_t>(selected) - 1});
    m_places->setCurrentRow(selected - 1);
}

void VoyageEditor::moveDown()
{
    const int selected = m_places->currentRow();
    if (selected < 0 || selected + 1 >= m_places->count())
        return;
    edit(MovePlace{static_cast<std::size_t>(selected), static_cast<std::size_t>(selected) + 1});
    m_places->setCurrentRow(selected + 1);
}

void VoyageEditor::renamePlace()
{
    if (const int selected = m_places->currentRow(); selected >= 0)
        edit(RenamePlace{static_cast<std::size_t>(selected),
                         m_name->text().trimmed().toStdString()});
}

} // namespace gyrena
