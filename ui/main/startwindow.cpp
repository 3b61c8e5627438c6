// What the main window does from start-up on: the coordinate lists feed the location state, and
// the buttons confirm, check, compute, clear and exit. The file commands live in
// startwindow_files.cpp, the look of the window in startwindow_layout.cpp.

#include "ui/main/startwindow.h"
#include "ui/main/startwindowtexts.h"

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
#include <memory>

namespace gyrena {

namespace {

namespace text = startwindowtext;

const QColor faceYellow(255, 255, 0);
const QColor faceGreen(0, 255, 0);

std::string utf8(const QComboBox* combo)
{
    return combo->currentText().toStdString();
}

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
    for (int n = 1; n <= 12; ++n) {
        connect(m_combo[static_cast<std::size_t>(n)], &QComboBox::currentTextChanged, this,
                [this, n] { coordinateListChanged(n); });
    }
    connect(m_combo[13], &QComboBox::currentTextChanged, this, &StartWindow::cityNameChanged);
    connect(m_combo[14], &QComboBox::currentTextChanged, this, &StartWindow::cityNameChanged);
    // Filling an empty list selects its first entry, which counts as a pick once a table is in
    // place: a load fills the lists quietly (QSignalBlocker) or before the table is set.
    connectPicks(m_combo[13], this, [this](int index) {
        if (index >= 0 && m_cityTable)
            startCityPicked(index);
    });
    connectPicks(m_combo[14], this, [this](int index) {
        if (index >= 0 && m_cityTable)
            endCityPicked(index);
    });

    connect(m_command[5], &QPushButton::clicked, this, &StartWindow::doneWithInputs);
    connect(m_command[1], &QPushButton::clicked, this, &StartWindow::Calcs);
    connect(m_command[4], &QPushButton::clicked, this, &StartWindow::clearAll);
    connect(m_command[3], &QPushButton::clicked, this, &StartWindow::exitApplication);
    connect(m_command[2], &QPushButton::clicked, this, &StartWindow::showMathExample);

    connect(m_open, &QAction::triggered, this, &StartWindow::OpenFile);
    connect(m_save, &QAction::triggered, this, &StartWindow::SaveFile);
    connect(m_saveAs, &QAction::triggered, this, &StartWindow::saveAs);
    // A user who picks Exit from the menu expects the same exit as from the button.
    connect(m_exit, &QAction::triggered, this, &StartWindow::exitApplication);
    connect(m_cityList, &QAction::triggered, this, &StartWindow::LoadCityList);
    connect(m_about, &QAction::triggered, this, &StartWindow::showAbout);
}

void StartWindow::startUp()
{
    m_results.DirectionEW.clear();
    m_results.DirectionNS.clear();

    for (int v = 0; v <= 90; ++v) {
        m_combo[1]->addItem(QString::number(v));
        m_combo[5]->addItem(QString::number(v));
    }
    for (int v = 0; v <= 180; ++v) {
        m_combo[3]->addItem(QString::number(v));
        m_combo[7]->addItem(QString::number(v));
    }
    for (int v = 0; v <= 59; ++v) {
        for (const std::size_t n : {2u, 4u, 6u, 8u})
            m_combo[n]->addItem(QString::number(v));
    }
    for (std::size_t n = 1; n <= 8; ++n)
        m_combo[n]->setCurrentIndex(0);

    for (const std::size_t n : {9u, 11u}) {
        m_combo[n]->addItem(QStringLiteral("N"));
        m_combo[n]->addItem(QStringLiteral("S"));
        m_combo[n]->setCurrentIndex(0);
    }
    for (const std::size_t n : {10u, 12u}) {
        m_combo[n]->addItem(QStringLiteral("E"));
        m_combo[n]->addItem(QStringLiteral("W"));
        m_combo[n]->setCurrentIndex(0);
    }
}

void StartWindow::coordinateListChanged(int comboNumber)
{
    const auto textOf = [this](std::size_t n) { return utf8(m_combo[n]); };
    const auto mirror = [this](std::size_t n, const std::string& letter) {
        m_text[n]->setText(QString::fromStdString(letter));
    };
    switch (comboNumber) {
    case 1:
    case 2:
        updateStartLat(m_location, textOf(1), textOf(2));
        break;
    case 3:
    case 4:
        updateStartLong(m_location, textOf(3), textOf(4));
        break;
    case 5:
    case 6:
        updateEndLat(m_location, textOf(5), textOf(6));
        break;
    case 7:
    case 8:
        updateEndLong(m_location, textOf(7), textOf(8));
        break;
    case 9:
        updateStartLatDir(m_location, textOf(9));
        mirror(7, m_location.StartLatDir);
        break;
    case 10:
        updateStartLongDir(m_location, textOf(10));
        mirror(8, m_location.StartLongDir);
        break;
    case 11:
        updateEndLatDir(m_location, textOf(11));
        mirror(9, m_location.EndLatDir);
        break;
    case 12:
        updateEndLongDir(m_location, textOf(12));
        mirror(10, m_location.EndLongDir);
        break;
    default:
        break;
    }
}

void StartWindow::doneWithInputs()
{
    CoordsAnswer = m_services.dialogs->message(this, text::coordsQuestion, text::coordsTitle,
                                               Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (CoordsAnswer == Dialogs::AnswerYes)
        CheckReady();
    else
        m_combo[1]->setFocus();
}

void StartWindow::CheckReady()
{
    // The letters are compared as the lists show them: a typed "n" is not the "N" of the other
    // side, although both may read as the same hemisphere.
    const bool same = m_location.StartLat == m_location.EndLat &&
                      m_location.StartLong == m_location.EndLong &&
                      m_combo[9]->currentText() == m_combo[11]->currentText() &&
                      m_combo[10]->currentText() == m_combo[12]->currentText();
    if (same) {
        m_services.dialogs->message(this, text::sameLocation, text::sameLocationTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        m_combo[1]->setFocus();
        setComputeReady(false);
    } else {
        setComputeReady(true);
    }
}

void StartWindow::Calcs()
{
    CalcsRun run = gyrena::Calcs(m_location, m_results, decimalSeparator().toStdString());
    m_results = std::move(run.results);
    applyWrites(run.writes);
    switch (run.outcome) {
    case CalcsOutcome::Completed:
        m_routeMap->routeComputed(m_location, m_combo[13]->currentText(),
                                  m_combo[14]->currentText());
        break;
    case CalcsOutcome::SameLocation:
        // Inputs edited after the check reach here unchecked; treat them as the check would.
        m_services.dialogs->message(this, text::sameLocation, text::sameLocationTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        m_combo[1]->setFocus();
        setComputeReady(false);
        break;
    case CalcsOutcome::Failed:
        // The boxes the run did not reach would show the previous route's figures beside the
        // new inputs; empty they say that nothing was computed there.
        for (const std::string_view name : kOutputBoxes) {
            const bool written = std::any_of(run.writes.begin(), run.writes.end(),
                                             [name](const BoxWrite& w) { return w.box == name; });
            if (QLineEdit* box = outputBox(name); box && !written)
                box->clear();
        }
        m_services.dialogs->message(this, QString::fromStdString(run.message),
                                    text::computationTitle, Dialogs::Buttons::Ok,
                                    Dialogs::Icon::Critical);
        break;
    }
}

void StartWindow::clearAll()
{
    m_combo[1]->setFocus();
    setComputeReady(false);
    // Setting the index puts the entry's text back even where a typed text left the index as
    // it was.
    for (std::size_t n = 1; n <= 12; ++n)
        m_combo[n]->setCurrentIndex(0);
    m_combo[13]->setEditText(text::startPlaceholder);
    m_text[1]->clear();
    m_combo[14]->setEditText(text::endPlaceholder);
    m_text[2]->clear();
    m_command[5]->setEnabled(false);
}

void StartWindow::exitApplication()
{
    const int saveAnswer =
        m_services.dialogs->message(this, text::saveQuestion, text::saveQuestionTitle,
                                    Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (saveAnswer == Dialogs::AnswerYes)
        SaveFile();
    ExitAnswer = m_services.dialogs->message(this, text::exitQuestion, text::exitTitle,
                                             Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (ExitAnswer == Dialogs::AnswerYes)
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
        m_frame2->show();
        m_command[1]->setEnabled(true);
        setFaceColour(m_command[1], faceGreen);
    } else {
        m_command[1]->setEnabled(false);
        setFaceColour(m_command[1], faceYellow);
        m_frame2->hide();
    }
}

void StartWindow::applyWrites(const std::vector<BoxWrite>& writes)
{
    for (const BoxWrite& write : writes) {
        if (QLineEdit* box = outputBox(write.box))
            box->setText(QString::fromStdString(write.text));
    }
}

QLineEdit* StartWindow::outputBox(std::string_view name) const
{
    constexpr std::string_view prefix = "Text";
    if (!name.starts_with(prefix))
        return nullptr;
    std::size_t number = 0;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return nullptr;
        number = number * 10 + static_cast<std::size_t>(c - '0');
        if (number >= m_text.size())
            return nullptr;
    }
    return m_text[number];
}

QString StartWindow::decimalSeparator() const
{
    return QLocale().decimalPoint();
}

} // namespace gyrena
