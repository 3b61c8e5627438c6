// The data-file and city-list commands of the main window: Open, Save, Save As, Load City list,
// the same for a file named on the command line or dropped on the window, and the picks of a
// city in the two name lists.

#include "ui/main/startwindow.h"
#include "ui/main/startwindowtexts.h"

#include "io/files/atomicfile.h"
#include "io/files/regularfile.h"
#include "io/formats/citylist.h"
#include "io/formats/datafile.h"
#include "io/formats/locationfields.h"
#include "platform/dialogs.h"
#include "ui/route/routemapcommand.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QUrl>

#include <array>
#include <optional>
#include <string_view>
#include <variant>

namespace gyrena {

namespace {

namespace text = startwindowtext;

// "The start location name cannot be saved: it begins with a double quote."
QString refusedMessage(const FileError& error)
{
    if (error.field < 2 || error.field > 17)
        return text::notSaved + QString::fromStdString(error.what);
    const DataFileLine line = dataFileLine(error.field);
    return QStringLiteral("The %1 cannot be saved: it %2.")
        .arg(QString::fromStdString(locationFieldName(line.end, line.field)),
             QString::fromStdString(error.reason));
}

QString qStringOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void StartWindow::cityNameChanged()
{
    // Two names entered mean inputs are present. Only "Clear All" takes this back, so putting a
    // placeholder back into one list leaves the button enabled.
    if (m_start.name()->currentText() != text::startPlaceholder &&
        m_end.name()->currentText() != text::endPlaceholder)
        m_doneButton->setEnabled(true);
}

void StartWindow::openFile()
{
    const std::optional<QString> path =
        m_services.dialogs->openFileName(this, text::openTitle, text::dataFileFilter);
    if (path)
        openDataFile(*path);
}

void StartWindow::openDataFile(const QString& path)
{
    // The caption names the file before it is read, so it stands even for a file that proves
    // unreadable.
    setFileCaption(path);
    if (path.isEmpty())
        return;

    const auto tellUnreadable = [this](const QString& why) {
        m_services.dialogs->message(this, text::dataFileUnreadable + why, text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
    };
    // Only a regular file is read: a named pipe or a device would hold the window up.
    const std::variant<LocationData, FileReadError> parsed = readRegularFile<LocationData>(
        QFile::encodeName(path).toStdString(), {kDataFileReadLimit}, readDataFile);
    if (const auto* failed = std::get_if<FileReadError>(&parsed)) {
        if (failed->error.kind == FileError::Kind::NotDataFile)
            m_services.dialogs->message(this, text::notDataFile, text::fileErrorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::None);
        else
            tellUnreadable(QString::fromStdString(failed->error.what));
        return;
    }
    applyLocationData(std::get<LocationData>(parsed));
    m_doneButton->setEnabled(true);
}

void StartWindow::saveFile()
{
    if (!m_doneButton->isEnabled()) {
        m_services.dialogs->message(this, text::inputBeforeSaving, text::errorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::saveTitle, text::dataFileFilter);
    if (!path || path->isEmpty())
        return;
    writeDataFile(*path);
}

void StartWindow::saveAs()
{
    const std::optional<QString> path =
        m_services.dialogs->saveFileName(this, text::saveTitle, text::dataFileFilter);
    if (!path)
        return;
    if (path->isEmpty()) {
        m_services.dialogs->message(this, text::noFileSelected, text::errorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    writeDataFile(*path);
}

void StartWindow::loadCityList()
{
    const std::optional<QString> path =
        m_services.dialogs->openFileName(this, text::cityListTitle, text::cityListFilter);
    if (path)
        loadCityListFile(*path);
}

void StartWindow::loadCityListFile(const QString& path)
{
    setFileCaption(path);
    if (path.isEmpty())
        return;

    const auto tellUnreadable = [this](const QString& why) {
        m_services.dialogs->message(this, text::cityListUnreadable + why, text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
    };
    // Only a regular file is read: a named pipe or a device would hold the window up, and a
    // large file chosen by mistake is refused from its size, before a byte of it is read.
    std::variant<CityTable, FileReadError> parsed =
        readRegularFile<CityTable>(QFile::encodeName(path).toStdString(),
                                   {kMaxCityListBytes, kCityListTooLarge}, readCityList);
    if (const auto* failed = std::get_if<FileReadError>(&parsed)) {
        switch (failed->error.kind) {
        case FileError::Kind::NotCityList:
            m_services.dialogs->message(this, text::notCityList, text::fileErrorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::None);
            break;
        case FileError::Kind::CountBelowOne:
            m_services.dialogs->message(this, text::countBelowOne, text::errorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
            break;
        default:
            tellUnreadable(QString::fromStdString(failed->error.what));
            break;
        }
        return;
    }

    m_cityTable = std::move(std::get<CityTable>(parsed));
    m_routeMap->citiesLoaded(&*m_cityTable);
    QStringList names;
    names.reserve(m_cityTable->cityCount());
    for (int r = 1; r <= m_cityTable->cityCount(); ++r)
        names.append(qStringOf(m_cityTable->row(r).name));
    // One model serves both lists: filling each list item by item costs far more for a long list,
    // and the two can never disagree.
    auto* model = new QStringListModel(std::move(names), this);
    // The lists delete the models they made themselves; the one they shared before is the
    // window's to delete.
    QAbstractItemModel* const shared = m_start.name()->model();
    QAbstractItemModel* const previous = shared->parent() == this ? shared : nullptr;
    for (QComboBox* list : {m_start.name(), m_end.name()}) {
        // A new model selects its first item; the lists keep their texts until the picks below.
        const QSignalBlocker quiet(list);
        const QString shown = list->currentText();
        list->setModel(model);
        list->setCurrentIndex(-1);
        list->setEditText(shown);
        // A list looks a typed text up among its items when the typing ends and picks the item
        // it matches; a typed name is a name, and only picking an item copies a city.
        QObject::disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
    }
    delete previous;

    // Each selection from code raises the pick once (see wireEvents).
    m_start.name()->setCurrentIndex(0);
    // A list of one city has no second one to pick: the end keeps its name and country.
    if (m_cityTable->cityCount() >= 2)
        m_end.name()->setCurrentIndex(1);
    // The same test as for typed names: a one-city list next to an unnamed end leaves
    // "Done with Inputs" as it was.
    cityNameChanged();
}

void StartWindow::openPath(const QString& path)
{
    // The desktop hands over a file by its type, which it knows from the extension.
    if (path.endsWith(QStringLiteral(".gcl"), Qt::CaseInsensitive))
        loadCityListFile(path);
    else if (path.endsWith(QStringLiteral(".gpx"), Qt::CaseInsensitive))
        m_routeMap->openVoyage(path);
    else
        openDataFile(path);
}

namespace {

// The one local file of a drag, or nothing: several files or a remote one are not taken.
std::optional<QString> droppedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().front().isLocalFile())
        return std::nullopt;
    return mime->urls().front().toLocalFile();
}

} // namespace

void StartWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void StartWindow::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = droppedFile(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    openPath(*path);
}

void StartWindow::cityPicked(RouteEnd end, int index)
{
    if (!m_cityTable || index < 0 || index >= m_cityTable->cityCount())
        return;
    fillLocation(end, m_cityTable->location(index + 1));
}

void StartWindow::placeFound(RouteEnd end, const LocationTexts& place)
{
    // The name as if typed, then the rest as a pick from a city list fills it.
    inputs(end).name()->setEditText(qStringOf(place.name));
    fillLocation(end, place);
}

void StartWindow::fillLocation(RouteEnd end, const LocationTexts& city)
{
    const LocationInputs& location = inputs(end);
    location.country->setText(qStringOf(city.country));
    // Set as texts, not selected, so a value outside the offered items ("30.5") stays as it is;
    // each change runs the list's coordinate update, in the order of the city's record.
    for (const LocationField field : kCoordinateOrder)
        location.list(field)->setEditText(qStringOf(city[field]));
    // The distance and courses of an earlier route no longer apply.
    for (const ResultField field : {ResultField::DistanceNm, ResultField::InitialCourse,
                                    ResultField::ArrivalCourse, ResultField::DistanceStatute})
        m_outputs[static_cast<std::size_t>(field)]->clear();
    cityNameChanged();
}

LocationTexts StartWindow::locationTexts(RouteEnd end) const
{
    const LocationInputs& location = inputs(end);
    LocationTexts texts;
    texts.name = location.name()->currentText().toStdString();
    texts.country = location.country->text().toStdString();
    for (const LocationField field : kCoordinateOrder)
        texts[field] = location.list(field)->currentText().toStdString();
    return texts;
}

void StartWindow::applyLocationData(const LocationData& data)
{
    // The names and countries first, then the coordinates, in the order of the file's lines.
    for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
        inputs(end).name()->setEditText(QString::fromStdString(data.at(end).name));
        inputs(end).country->setText(QString::fromStdString(data.at(end).country));
    }
    for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
        for (const LocationField field : kCoordinateOrder) {
            QComboBox* const list = inputs(end).list(field);
            const QString value = QString::fromStdString(data.at(end)[field]);
            if (!isDegreesOrMinutes(field)) {
                // Letter lists: the first letter ("N" or "E") only when written exactly so.
                list->setCurrentIndex(value == list->itemText(0) ? 0 : 1);
                continue;
            }
            // A whole number naming an item selects it; any other number ("30.5", "95", "-5",
            // "1e1", "07") comes back as the text that was saved, so the route reopens unchanged.
            bool whole = false;
            const int item = value.toInt(&whole);
            if (whole && item >= 0 && item < list->count() && list->itemText(item) == value)
                list->setCurrentIndex(item);
            else
                list->setEditText(value);
        }
    }
}

void StartWindow::writeDataFile(const QString& path)
{
    const std::variant<std::string, FileError> encoded = gyrena::writeDataFile(
        LocationData{locationTexts(RouteEnd::Start), locationTexts(RouteEnd::End)});
    if (const auto* error = std::get_if<FileError>(&encoded)) {
        m_services.dialogs->message(this, refusedMessage(*error), text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    const std::string& bytes = std::get<std::string>(encoded);
    // Written beside the target and renamed over it only when complete, as every file Gyrena
    // writes: a failed save leaves an existing file exactly as it was.
    const std::string failed = writeFileAtomically(QFile::encodeName(path).toStdString(), bytes);
    if (failed.empty())
        return;
    m_services.dialogs->message(this, text::notSaved + QString::fromStdString(failed),
                                text::fileErrorTitle, Dialogs::Buttons::Ok,
                                Dialogs::Icon::Critical);
}

void StartWindow::setFileCaption(const QString& path)
{
    // A "[*]" in a title marks where Qt shows the modified mark; doubled, it shows as itself.
    QString shown = path;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(QStringLiteral("  [ ") + shown + QStringLiteral("]"));
}

} // namespace gyrena
