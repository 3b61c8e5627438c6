#include "ui/find/findplacewindow.h"

#include "io/places/gazetteerasset.h"
#include "io/places/placesearch.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace gyrena {

namespace {

// The window's texts, in one place.
namespace text {
const QString title = QStringLiteral("Find Place");
const QString field = QStringLiteral("Find place");
const QString fieldHint =
    QStringLiteral("Town, airport or port: Funchal, SYD, NLRTM, Portland, US");
const QString answers = QStringLiteral("Places found");
const QString close = QStringLiteral("Close");
const QString typeToFind =
    QStringLiteral("Type a name, an airport or port code or \"name, country\".");
const QString noPlace = QStringLiteral("No place matches \"%1\".");
const QString onePlace = QStringLiteral("1 place found.");
const QString places = QStringLiteral("%1 places found.");
const QString manyPlaces = QStringLiteral("The best %1 places found; type more to narrow them.");
const QString unreadable = QStringLiteral("The list of places cannot be read: %1.");
const QString credits =
    QStringLiteral("Towns: GeoNames (CC BY 4.0). Airports: OurAirports (public domain). "
                   "Ports: sea-ports (MIT).");
const QStringList columns{QStringLiteral("Name"),      QStringLiteral("Region"),
                          QStringLiteral("Country"),   QStringLiteral("Latitude"),
                          QStringLiteral("Longitude"), QStringLiteral("Kind")};
const QString town = QStringLiteral("town");
const QString townOf = QStringLiteral("town, %1 inhabitants");
const QString airport = QStringLiteral("airport %1");
const QString largeAirport = QStringLiteral("large airport %1");
const QString port = QStringLiteral("port %1");
} // namespace text

QString qStringOf(std::string_view value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// Degrees and minutes as the main window's lists will hold them: 32°40'N.
QString angleText(const std::string& degrees, const std::string& minutes, const std::string& letter)
{
    return QStringLiteral("%1°%2'%3")
        .arg(QString::fromStdString(degrees),
             QString::fromStdString(minutes).rightJustified(2, '0'),
             QString::fromStdString(letter));
}

QString kindText(const Gazetteer& gazetteer, std::size_t place)
{
    if (gazetteer.kind(place) == PlaceKind::Town) {
        const std::uint32_t population = gazetteer.population(place);
        return population == 0 ? text::town : text::townOf.arg(QLocale().toString(population));
    }
    if (gazetteer.kind(place) == PlaceKind::Port)
        return text::port.arg(qStringOf(gazetteer.unlocode(place)));
    QStringList codes;
    for (const std::string_view code : {gazetteer.iata(place), gazetteer.icao(place)})
        if (!code.empty())
            codes << qStringOf(code);
    const QString& pattern =
        gazetteer.kind(place) == PlaceKind::LargeAirport ? text::largeAirport : text::airport;
    return pattern.arg(codes.join(QStringLiteral(" / "))).trimmed();
}

} // namespace

FindPlaceWindow::FindPlaceWindow(std::vector<FindPlaceAction> actions, QWidget* parent)
    : QDialog(parent), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("FindPlace"));
    setWindowTitle(text::title);
    setModal(false); // the main window stays usable beside it
    setSizeGripEnabled(true);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("FindField"));
    m_field->setAccessibleName(text::field);
    m_field->setPlaceholderText(text::fieldHint);
    m_field->setClearButtonEnabled(true);
    // Longer than any name: a pasted page is cut here, not searched.
    m_field->setMaxLength(static_cast<int>(kMaxPlaceQueryBytes));
    m_field->installEventFilter(this);

    m_answers = new QTableWidget(0, static_cast<int>(text::columns.size()), this);
    m_answers->setObjectName(QStringLiteral("FindAnswers"));
    m_answers->setAccessibleName(text::answers);
    m_answers->setHorizontalHeaderLabels(text::columns);
    m_answers->verticalHeader()->hide();
    m_answers->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_answers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_answers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_answers->setWordWrap(false);
    m_answers->horizontalHeader()->setStretchLastSection(true);

    m_status = new QLabel(text::typeToFind, this);
    m_status->setObjectName(QStringLiteral("FindStatus"));
    m_status->setAccessibleName(text::typeToFind);

    auto* buttons = new QHBoxLayout;
    for (std::size_t i = 0; i < m_actions.size(); ++i) {
        auto* button = new QPushButton(m_actions[i].caption, this);
        button->setObjectName(m_actions[i].objectName);
        m_buttons.push_back(button);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] { apply(i); });
    }
    buttons->addStretch();
    auto* close = new QPushButton(text::close, this);
    close->setObjectName(QStringLiteral("FindClose"));
    buttons->addWidget(close);
    m_buttons.push_back(close);
    for (QPushButton* button : m_buttons) {
        button->setAccessibleName(button->text());
        // Enter in the field must not apply a place the user has not chosen.
        button->setAutoDefault(false);
    }
    m_buttons.pop_back(); // Close is no action

    auto* credits = new QLabel(text::credits, this);
    credits->setObjectName(QStringLiteral("FindCredits"));
    credits->setEnabled(false); // read as a footnote

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addWidget(m_answers, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    layout->addWidget(credits);
    resize(640, 360);

    connect(m_field, &QLineEdit::textChanged, this, &FindPlaceWindow::search);
    connect(m_answers, &QTableWidget::itemSelectionChanged, this,
            &FindPlaceWindow::selectionChanged);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    selectionChanged();
}

void FindPlaceWindow::present()
{
    show();
    raise();
    activateWindow();
    m_field->setFocus();
    m_field->selectAll();
}

const Gazetteer* FindPlaceWindow::gazetteer()
{
    const auto& read = builtInGazetteer();
    if (const auto* error = std::get_if<GazetteerError>(&read)) {
        m_unreadable = true;
        const QString why = text::unreadable.arg(QString::fromStdString(error->what));
        m_status->setText(why);
        m_status->setAccessibleName(why);
        return nullptr;
    }
    return &std::get<Gazetteer>(read);
}

void FindPlaceWindow::search(const QString& query)
{
    m_answers->setRowCount(0);
    m_places.clear();
    QString status;
    const Gazetteer* places = query.trimmed().isEmpty() ? nullptr : gazetteer();
    if (m_unreadable) {
        selectionChanged();
        return;
    }
    if (places) {
        for (const PlaceMatch& match : findPlaces(*places, query.toStdString(), kAnswerLimit))
            m_places.push_back(match.place);
        m_answers->setRowCount(static_cast<int>(m_places.size()));
        for (std::size_t row = 0; row < m_places.size(); ++row) {
            const std::size_t place = m_places[row];
            const LocationTexts texts = placeLocationTexts(*places, place);
            const QStringList cells{
                qStringOf(places->name(place)),
                qStringOf(places->region(place)),
                qStringOf(places->countryName(place)),
                angleText(texts.latitudeDegrees, texts.latitudeMinutes, texts.latitudeLetter),
                angleText(texts.longitudeDegrees, texts.longitudeMinutes, texts.longitudeLetter),
                kindText(*places, place)};
            for (int column = 0; column < cells.size(); ++column)
                m_answers->setItem(static_cast<int>(row), column,
                                   new QTableWidgetItem(cells.at(column)));
        }
        status = m_places.empty()                  ? text::noPlace.arg(query.trimmed())
                 : m_places.size() == 1            ? text::onePlace
                 : m_places.size() == kAnswerLimit ? text::manyPlaces.arg(kAnswerLimit)
                                                   : text::places.arg(m_places.size());
    } else {
        status = text::typeToFind;
    }
    if (!m_places.empty()) {
        m_answers->resizeColumnsToContents();
        m_answers->selectRow(0);
    }
    m_status->setText(status);
    m_status->setAccessibleName(status);
    selectionChanged();
}

void FindPlaceWindow::selectionChanged()
{
    const bool chosen = !m_answers->selectedItems().isEmpty();
    for (QPushButton* button : m_buttons)
        button->setEnabled(chosen);
}

void FindPlaceWindow::apply(std::size_t index)
{
    const QList<QTableWidgetItem*> selected = m_answers->selectedItems();
    const Gazetteer* places = gazetteer();
    if (selected.isEmpty() || !places || index >= m_actions.size())
        return;
    const std::size_t row = static_cast<std::size_t>(selected.front()->row());
    if (row >= m_places.size())
        return;
    const LocationTexts texts = placeLocationTexts(*places, m_places[row]);
    m_actions[index].apply(texts, places->position(m_places[row]));
    const QString done = m_actions[index].done.arg(QString::fromStdString(texts.name));
    m_status->setText(done);
    m_status->setAccessibleName(done);
    m_field->setFocus(); // ready for the other end
}

bool FindPlaceWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Up and Down in the field walk the answers, so the hands stay on the keyboard.
    if (watched == m_field && event->type() == QEvent::KeyPress && m_answers->rowCount() > 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int current = m_answers->currentRow();
            const int next =
                std::clamp(current + (key == Qt::Key_Down ? 1 : -1), 0, m_answers->rowCount() - 1);
            m_answers->selectRow(next);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace gyrena
