// The data-file and city-list commands of the main window.

#include "ui/main/startwindow.h"

#include "io/datafile.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QPushButton>

namespace gyrena {

void StartWindow::cityNameChanged()
{
    // Two names entered mean inputs are present. Only "Clear All" takes this back, so putting a
    // placeholder back into one list leaves the button enabled.
    if (m_combo[13]->currentText() != QStringLiteral("Start Location") &&
        m_combo[14]->currentText() != QStringLiteral("End Location"))
        m_command[5]->setEnabled(true);
}

// The file commands come with the data-file work.
void StartWindow::OpenFile() {}

void StartWindow::SaveFile()
{
    // Saving needs inputs; the rest of the command comes with the data-file work.
    if (!m_command[5]->isEnabled()) {
        m_services.dialogs->message(this, QStringLiteral("Input city data before saving"),
                                    QStringLiteral("Error"), Dialogs::Buttons::Ok,
                                    Dialogs::Icon::None);
        return;
    }
}

// The file commands come with the data-file work.
void StartWindow::saveAs() {}

// The file commands come with the data-file work.
void StartWindow::LoadCityList() {}

// The file commands come with the data-file work.
void StartWindow::startCityPicked(int) {}

// The file commands come with the data-file work.
void StartWindow::endCityPicked(int) {}

// The file commands come with the data-file work.
LocationData StartWindow::currentLocationData() const
{
    return {};
}

// The file commands come with the data-file work.
void StartWindow::applyLocationData(const LocationData&) {}

// The file commands come with the data-file work.
void StartWindow::writeDataFile(const QString&) {}

// The file commands come with the data-file work.
void StartWindow::setFileCaption(const QString&) {}

} // namespace gyrena
