// The data-file and city-list commands of the main window: Open, Save, Save As, Load City list,
// and the picks of a city in the two name lists.

#include "ui/main/startwindow.h"
#include "ui/main/startwindowtexts.h"

#include "io/citylist.h"
#include "io/datafile.h"
#include "io/regularfile.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStringListModel>

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
    const std::string_view what = error.what;
    if (error.field < 2 || error.field > 17)
        return text::notSaved + QString::fromStdString(error.what);
    // The reader's phrase reads "line 2 (start location name) begins with ..."; the message
    // names the field in words of its own and keeps only the reason.
    const std::size_t afterRole = what.find(") ");
    const std::string_view reason =
        afterRole == std::string_view::npos ? what : what.substr(afterRole + 2);
    return QStringLiteral("The %1 cannot be saved: it %2.")
        .arg(QString::fromUtf8(text::fieldNames[static_cast<std::size_t>(error.field - 2)]),
             QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size())));
}

// The file at `path` if it is a regular file, for reading; otherwise why not.
std::variant<RegularFile, FileError> openRegularFile(const QString& path)
{
    return RegularFile::open(QFile::encodeName(path).toStdString());
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
    if (m_combo[13]->currentText() != text::startPlaceholder &&
        m_combo[14]->currentText() != text::endPlaceholder)
        m_command[5]->setEnabled(true);
}

void StartWindow::OpenFile()
{
    const std::optional<QString> path =
        m_services.dialogs->openFileName(this, text::openTitle, text::dataFileFilter);
    if (!path)
        return;
    // The caption names the file before it is read, so it stands even for a file that proves
    // unreadable.
    setFileCaption(*path);
    if (path->isEmpty())
        return;

    const auto tellUnreadable = [this](const QString& why) {
        m_services.dialogs->message(this, text::dataFileUnreadable + why, text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
    };
    // Only a regular file is read: a named pipe or a device would hold the window up.
    std::variant<RegularFile, FileError> file = openRegularFile(*path);
    if (const auto* error = std::get_if<FileError>(&file)) {
        tellUnreadable(QString::fromStdString(error->what));
        return;
    }
    const std::variant<std::string, FileError> bytes =
        std::get<RegularFile>(file).readAtMost(kDataFileReadLimit);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        tellUnreadable(QString::fromStdString(error->what));
        return;
    }
    const std::variant<LocationData, FileError> parsed = readDataFile(std::get<std::string>(bytes));
    if (const auto* error = std::get_if<FileError>(&parsed)) {
        if (error->kind == FileError::Kind::NotDataFile)
            m_services.dialogs->message(this, text::notDataFile, text::fileErrorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::None);
        else
            tellUnreadable(QString::fromStdString(error->what));
        return;
    }
    applyLocationData(std::get<LocationData>(parsed));
    m_command[5]->setEnabled(true);
}

void StartWindow::SaveFile()
{
    if (!m_command[5]->isEnabled()) {
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

void StartWindow::LoadCityList()
{
    const std::optional<QString> path =
        m_services.dialogs->openFileName(this, text::cityListTitle, text::cityListFilter);
    if (!path)
        return;
    setFileCaption(*path);
    if (path->isEmpty())
        return;

    const auto tellUnreadable = [this](const QString& why) {
        m_services.dialogs->message(this, text::cityListUnreadable + why, text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
    };
    // Only a regular file is read: a named pipe or a device would hold the window up.
    std::variant<RegularFile, FileError> file = openRegularFile(*path);
    if (const auto* error = std::get_if<FileError>(&file)) {
        tellUnreadable(QString::fromStdString(error->what));
        return;
    }
    // A large file chosen by mistake is refused from its size, before a byte of it is read.
    if (std::get<RegularFile>(file).size() > kMaxCityListBytes) {
        tellUnreadable(text::cityListTooLarge);
        return;
    }
    // One byte more than allowed, so that the reader sees a file that grew or lied about its size.
    std::variant<std::string, FileError> bytes =
        std::get<RegularFile>(file).readAtMost(kMaxCityListBytes + 1);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        tellUnreadable(QString::fromStdString(error->what));
        return;
    }
    std::variant<CityTable, FileError> parsed = readCityList(std::get<std::string>(bytes));
    // The table keeps its own copy of the text: the file's bytes go before the lists are filled.
    std::string().swap(std::get<std::string>(bytes));
    if (const auto* error = std::get_if<FileError>(&parsed)) {
        switch (error->kind) {
        case FileError::Kind::NotCityList:
            m_services.dialogs->message(this, text::notCityList, text::fileErrorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::None);
            break;
        case FileError::Kind::CountBelowOne:
            m_services.dialogs->message(this, text::countBelowOne, text::errorTitle,
                                        Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
            break;
        default:
            tellUnreadable(QString::fromStdString(error->what));
            break;
        }
        return;
    }

    m_cityTable = std::move(std::get<CityTable>(parsed));
    QStringList names;
    names.reserve(m_cityTable->CityCount());
    for (int r = 1; r <= m_cityTable->CityCount(); ++r)
        names.append(qStringOf(m_cityTable->row(r).name));
    // One model serves both lists: filling each list item by item costs far more for a long list,
    // and the two can never disagree.
    auto* model = new QStringListModel(std::move(names), this);
    // The lists delete the models they made themselves; the one they shared before is the
    // window's to delete.
    QAbstractItemModel* const shared = m_combo[13]->model();
    QAbstractItemModel* const previous = shared->parent() == this ? shared : nullptr;
    for (QComboBox* list : {m_combo[13], m_combo[14]}) {
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
    m_combo[13]->setCurrentIndex(0);
    // A list of one city has no second one to pick: the end keeps its name and country.
    if (m_cityTable->CityCount() >= 2)
        m_combo[14]->setCurrentIndex(1);
    // The same test as for typed names: a one-city list next to an unnamed end leaves
    // "Done with Inputs" as it was.
    cityNameChanged();
}

void StartWindow::startCityPicked(int index)
{
    if (!m_cityTable || index < 0 || index >= m_cityTable->CityCount())
        return;
    StartCityIndex = index;
    copyCity(index, 1, {1, 2, 9, 3, 4, 10});
}

void StartWindow::endCityPicked(int index)
{
    if (!m_cityTable || index < 0 || index >= m_cityTable->CityCount())
        return;
    EndCityIndex = index;
    copyCity(index, 2, {5, 6, 11, 7, 8, 12});
}

void StartWindow::copyCity(int index, std::size_t countryBox,
                           const std::array<std::size_t, 6>& coordinateLists)
{
    const CityView city = m_cityTable->row(index + 1);
    m_text[countryBox]->setText(qStringOf(city.country));
    // Set as texts, not selected, so a value outside the offered items ("30.5") stays as it is;
    // each change runs the list's coordinate update, in the order latitude degrees, minutes,
    // letter, then longitude degrees, minutes, letter.
    const std::array<std::string_view, 6> texts = {city.latDegrees,  city.latMinutes,
                                                   city.latDir,      city.longDegrees,
                                                   city.longMinutes, city.longDir};
    for (std::size_t i = 0; i < texts.size(); ++i)
        m_combo[coordinateLists[i]]->setEditText(qStringOf(texts[i]));
    // The distance and courses of an earlier route no longer apply.
    for (const std::size_t n : {3u, 4u, 5u, 6u})
        m_text[n]->clear();
    cityNameChanged();
}

LocationData StartWindow::currentLocationData() const
{
    LocationData data;
    data.startName = m_combo[13]->currentText().toStdString();
    data.startCountry = m_text[1]->text().toStdString();
    data.endName = m_combo[14]->currentText().toStdString();
    data.endCountry = m_text[2]->text().toStdString();
    for (std::size_t i = 0; i < kDataFileComboOrder.size(); ++i)
        data.coordinates[i] =
            m_combo[static_cast<std::size_t>(kDataFileComboOrder[i])]->currentText().toStdString();
    return data;
}

void StartWindow::applyLocationData(const LocationData& data)
{
    m_combo[13]->setEditText(QString::fromStdString(data.startName));
    m_text[1]->setText(QString::fromStdString(data.startCountry));
    m_combo[14]->setEditText(QString::fromStdString(data.endName));
    m_text[2]->setText(QString::fromStdString(data.endCountry));
    for (std::size_t i = 0; i < kDataFileComboOrder.size(); ++i) {
        const int number = kDataFileComboOrder[i];
        QComboBox* const combo = m_combo[static_cast<std::size_t>(number)];
        const QString value = QString::fromStdString(data.coordinates[i]);
        if (number >= 9) {
            // Direction lists: the first letter ("N" or "E") only when written exactly so.
            combo->setCurrentIndex(value == combo->itemText(0) ? 0 : 1);
            continue;
        }
        // A whole number naming an item selects it; any other number ("30.5", "95", "-5",
        // "1e1", "07") comes back as the text that was saved, so the route reopens unchanged.
        bool whole = false;
        const int item = value.toInt(&whole);
        if (whole && item >= 0 && item < combo->count() && combo->itemText(item) == value)
            combo->setCurrentIndex(item);
        else
            combo->setEditText(value);
    }
}

void StartWindow::writeDataFile(const QString& path)
{
    const std::variant<std::string, FileError> encoded =
        gyrena::writeDataFile(currentLocationData());
    if (const auto* error = std::get_if<FileError>(&encoded)) {
        m_services.dialogs->message(this, refusedMessage(*error), text::fileErrorTitle,
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    const std::string& bytes = std::get<std::string>(encoded);
    // Written beside the target and renamed over it only when complete: a failed save leaves an
    // existing file exactly as it was.
    QSaveFile file(path);
    // commit() does not notice when its own last flush fails (a full disk, a file size limit)
    // and renames the short file over the target; the explicit flush reports it in time.
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
            static_cast<qint64>(bytes.size()) &&
        file.flush() && file.commit())
        return;
    const QString why = file.errorString();
    file.cancelWriting();
    m_services.dialogs->message(this, text::notSaved + why, text::fileErrorTitle,
                                Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

void StartWindow::setFileCaption(const QString& path)
{
    // A "[*]" in a title marks where Qt shows the modified mark; doubled, it shows as itself.
    QString shown = path;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(QStringLiteral("  [ ") + shown + QStringLiteral("]"));
}

} // namespace gyrena
