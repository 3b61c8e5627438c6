// What the main window does from start-up on: the coordinate lists feed the location state, and
// the buttons confirm, check, compute, clear and exit. The file commands live in
// startwindow_files.cpp, the look of the window in startwindow_layout.cpp.

#include "ui/main/startwindow.h"
#include "geo/resultboxes.h"
#include "ui/main/startwindowtexts.h"

#include "io/formats/locationfields.h"
#include "platform/appexit.h"
#include "platform/dialogs.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/mathwindow.h"
#include "ui/route/routemapcommand.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>
#include <memory>
#include <span>

namespace gyrena {

namespace {

namespace text = startwindowtext;

// The coordinate lists that offer numbers and those that offer letters: start-up and Clear All
// set the numbers first.
constexpr std::array<LocationField, 4> kNumberFields = {
    LocationField::LatitudeDegrees, LocationField::LatitudeMinutes, LocationField::LongitudeDegrees,
    LocationField::LongitudeMinutes};
constexpr std::array<LocationField, 2> kLetterFields = {LocationField::LatitudeLetter,
                                                        LocationField::LongitudeLetter};

// Runs `pick` for every item picked in `combo`, by the user or by code, once per pick. A user's
// pick of another item raises both currentIndexChanged and activated; picking the item already
// shown raises activated alone, and code setting the index raises currentIndexChanged alone.
template <typename Pick> void connectPicks(QComboBox* combo, QObject* context, Pick pick)
{
    auto indexJustChanged = std::make_shared<bool>(false);
    QObject::connect(combo, &QComboBox::currentIndexChanged, context,
                     [indexJustChanged, pick](int index) {
                         *indexJustChanged = true;
                         // Cleared once control returns to the event loop, so that a later
                         // re-pick of the same item by the user still counts.
                         QTimer::singleShot(0, [indexJustChanged] { *indexJustChanged = false; });
                         pick(index);
                     });
    QObject::connect(combo, &QComboBox::activated, context, [indexJustChanged, pick](int index) {
        if (std::exchange(*indexJustChanged, false))
            return;
        pick(index);
    });
}

} // namespace

StartWindow::StartWindow(const Services& services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    setObjectName(QStringLiteral("Start"));
    setAcceptDrops(true); // a data file or city list dropped on the window opens (openPath)
    buildLayout();
    buildMenus();
    wireEvents();
    startUp();
}

StartWindow::~StartWindow()
{
    // The information windows have no owner; they go with the main window at the latest.
    delete m_aboutWindow.data();
    delete m_mathWindow.data();
}

AboutWindow* StartWindow::aboutWindow() const
{
    return m_aboutWindow.data();
}

MathWindow* StartWindow::mathWindow() const
{
    return m_mathWindow.data();
}

void StartWindow::wireEvents()
{
    // Every change of a list's text, whatever its source (typing, picking an item, code setting
    // the text or the index), raises currentTextChanged; the location state is a function of the
    // texts alone, so this one connection keeps it in line with what the lists show.
    for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
        for (const LocationField field : kCoordinateOrder) {
            connect(inputs(end).list(field), &QComboBox::currentTextChanged, this,
                    [this, end, field] { coordinateChanged(end, field); });
        }
        connect(inputs(end).name(), &QComboBox::currentTextChanged, this,
                &StartWindow::cityNameChanged);
        // Filling an empty list selects its first entry, which counts as a pick once a table is
        // in place: a load fills the lists quietly (QSignalBlocker) or before the table is set.
        connectPicks(inputs(end).name(), this, [this, end](int index) {
            if (index >= 0 && m_cityTable)
                cityPicked(end, index);
        });
    }

    connect(m_doneButton, &QPushButton::clicked, this, &StartWindow::doneWithInputs);
    connect(m_computeButton, &QPushButton::clicked, this, &StartWindow::computeOutputs);
    connect(m_clearAllButton, &QPushButton::clicked, this, &StartWindow::clearAll);
    connect(m_exitButton, &QPushButton::clicked, this, &StartWindow::exitApplication);
    connect(m_mathExampleButton, &QPushButton::clicked, this, &StartWindow::showMathExample);

    connect(m_open, &QAction::triggered, this, &StartWindow::openFile);
    connect(m_save, &QAction::triggered, this, &StartWindow::saveFile);
    connect(m_saveAs, &QAction::triggered, this, &StartWindow::saveAs);
    // A user who picks Exit from the menu expects the same exit as from the button.
    connect(m_exit, &QAction::triggered, this, &StartWindow::exitApplication);
    connect(m_cityList, &QAction::triggered, this, &StartWindow::loadCityList);
    connect(m_about, &QAction::triggered, this, &StartWindow::showAbout);
}

void StartWindow::startUp()
{
    m_results.directionEW.clear();
    m_results.directionNS.clear();

    const auto fill = [](QComboBox* list, int last) {
        for (int v = 0; v <= last; ++v)
            list->addItem(QString::number(v));
    };
    const auto letters = [](QComboBox* list, const char* first, const char* second) {
        list->addItem(QString::fromLatin1(first));
        list->addItem(QString::fromLatin1(second));
        list->setCurrentIndex(0);
    };
    for (const LocationInputs* location : {&m_start, &m_end})
        fill(location->list(LocationField::LatitudeDegrees), 90);
    for (const LocationInputs* location : {&m_start, &m_end})
        fill(location->list(LocationField::LongitudeDegrees), 180);
    for (const LocationInputs* location : {&m_start, &m_end}) {
        fill(location->list(LocationField::LatitudeMinutes), 59);
        fill(location->list(LocationField::LongitudeMinutes), 59);
    }
    for (const LocationInputs* location : {&m_start, &m_end}) {
        for (const LocationField field : kNumberFields)
            location->list(field)->setCurrentIndex(0);
    }
    for (const LocationInputs* location : {&m_start, &m_end})
        letters(location->list(LocationField::LatitudeLetter), "N", "S");
    for (const LocationInputs* location : {&m_start, &m_end})
        letters(location->list(LocationField::LongitudeLetter), "E", "W");
}

void StartWindow::coordinateChanged(RouteEnd end, LocationField field)
{
    const LocationInputs& changed = inputs(end);
    const auto textOf = [&changed](LocationField f) {
        return changed.list(f)->currentText().toStdString();
    };
    const bool start = end == RouteEnd::Start;
    switch (field) {
    case LocationField::LatitudeDegrees:
    case LocationField::LatitudeMinutes:
        (start ? updateStartLat : updateEndLat)(m_location, textOf(LocationField::LatitudeDegrees),
                                                textOf(LocationField::LatitudeMinutes));
        break;
    case LocationField::LongitudeDegrees:
    case LocationField::LongitudeMinutes:
        (start ? updateStartLong : updateEndLong)(m_location,
                                                  textOf(LocationField::LongitudeDegrees),
                                                  textOf(LocationField::LongitudeMinutes));
        break;
    case LocationField::LatitudeLetter:
        (start ? updateStartLatDir : updateEndLatDir)(m_location,
                                                      textOf(LocationField::LatitudeLetter));
        changed.latitudeLetterShown->setText(
            QString::fromStdString(start ? m_location.startLatDir : m_location.endLatDir));
        break;
    case LocationField::LongitudeLetter:
        (start ? updateStartLongDir : updateEndLongDir)(m_location,
                                                        textOf(LocationField::LongitudeLetter));
        changed.longitudeLetterShown->setText(
            QString::fromStdString(start ? m_location.startLongDir : m_location.endLongDir));
        break;
    case LocationField::Name:
    case LocationField::Country:
        break;
    }
}

void StartWindow::doneWithInputs()
{
    const int coordsAnswer =
        m_services.dialogs->message(this, text::coordsQuestion, text::coordsTitle,
                                    Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (coordsAnswer == Dialogs::AnswerYes)
        checkReady();
    else
        m_start.list(LocationField::LatitudeDegrees)->setFocus();
}

void StartWindow::checkReady()
{
    // The letters are compared as the lists show them: a typed "n" is not the "N" of the other
    // side, although both may read as the same hemisphere.
    const auto sameText = [this](LocationField field) {
        return m_start.list(field)->currentText() == m_end.list(field)->currentText();
    };
    const bool same =
        m_location.startLat == m_location.endLat && m_location.startLong == m_location.endLong &&
        sameText(LocationField::LatitudeLetter) && sameText(LocationField::LongitudeLetter);
    if (same) {
        m_services.dialogs->message(this, text::sameLocation, text::sameLocationTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        m_start.list(LocationField::LatitudeDegrees)->setFocus();
        setComputeReady(false);
    } else {
        setComputeReady(true);
    }
}

void StartWindow::computeOutputs()
{
    RouteRun run = computeRoute(m_location, m_results, decimalSeparator().toStdString());
    m_results = std::move(run.results);
    applyWrites(run.writes);
    switch (run.outcome) {
    case RouteOutcome::Completed:
        m_routeMap->routeComputed(m_location, m_start.name()->currentText(),
                                  m_end.name()->currentText());
        break;
    case RouteOutcome::SameLocation:
        // Inputs edited after the check reach here unchecked; treat them as the check would.
        m_services.dialogs->message(this, text::sameLocation, text::sameLocationTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        m_start.list(LocationField::LatitudeDegrees)->setFocus();
        setComputeReady(false);
        break;
    case RouteOutcome::Failed:
        // The boxes the run did not reach would show the previous route's figures beside the
        // new inputs; empty they say that nothing was computed there.
        for (const ResultBox& box : kResultBoxes) {
            const bool written =
                std::any_of(run.writes.begin(), run.writes.end(),
                            [&box](const FieldWrite& w) { return w.field == box.field; });
            if (!written)
                m_outputs[static_cast<std::size_t>(box.field)]->clear();
        }
        m_services.dialogs->message(this, QString::fromStdString(run.message),
                                    text::computationTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::Critical);
        break;
    }
}

void StartWindow::clearAll()
{
    m_start.list(LocationField::LatitudeDegrees)->setFocus();
    setComputeReady(false);
    // Setting the index puts the entry's text back even where a typed text left the index as
    // it was. The numbers go first, then the letters.
    for (const auto fields : {std::span<const LocationField>(kNumberFields),
                              std::span<const LocationField>(kLetterFields)}) {
        for (const LocationInputs* location : {&m_start, &m_end}) {
            for (const LocationField field : fields)
                location->list(field)->setCurrentIndex(0);
        }
    }
    m_start.name()->setEditText(text::startPlaceholder);
    m_start.country->clear();
    m_end.name()->setEditText(text::endPlaceholder);
    m_end.country->clear();
    m_doneButton->setEnabled(false);
}

void StartWindow::exitApplication()
{
    const int saveAnswer =
        m_services.dialogs->message(this, text::saveQuestion, text::saveQuestionTitle,
                                    Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (saveAnswer == Dialogs::AnswerYes)
        saveFile();
    const int exitAnswer = m_services.dialogs->message(
        this, text::exitQuestion, text::exitTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (exitAnswer == Dialogs::AnswerYes)
        endApplication();
}

void StartWindow::showMathExample()
{
    if (!m_mathWindow) {
        // No owner: the main window stays usable beside it, and closing it frees it so the
        // next command loads it afresh.
        m_mathWindow = new MathWindow(nullptr);
        m_mathWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_mathWindow->show();
    m_mathWindow->raise();
    m_mathWindow->activateWindow();
}

void StartWindow::showAbout()
{
    if (!m_aboutWindow) {
        m_aboutWindow = new AboutWindow(m_services, nullptr);
        m_aboutWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutWindow->show();
    m_aboutWindow->raise();
    m_aboutWindow->activateWindow();
}

void StartWindow::setComputeReady(bool ready)
{
    if (ready) {
        m_outputFrame->show();
        m_computeButton->setEnabled(true);
        setFaceColour(m_computeButton, QColor(kFaceGreen));
    } else {
        m_computeButton->setEnabled(false);
        setFaceColour(m_computeButton, QColor(kFaceYellow));
        m_outputFrame->hide();
    }
}

void StartWindow::applyWrites(const std::vector<FieldWrite>& writes)
{
    for (const FieldWrite& write : writes)
        m_outputs[static_cast<std::size_t>(write.field)]->setText(
            QString::fromStdString(write.text));
}

QString StartWindow::decimalSeparator() const
{
    return QLocale().decimalPoint();
}

} // namespace gyrena
