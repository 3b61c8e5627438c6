#pragma once

#include "platform/services.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace gyrena {

// The About window `frmAbout`: the application's title, version and contact, and the button
// that starts the system information program. Closing it in any way deletes it; the next
// Help > "About" builds a new one.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(const Services& services, QWidget* parent = nullptr);

    // Finds the system information program through the registry and starts it, or says that
    // it is unavailable.
    void startSysInfo();

    // The application title as every window and message box shows it.
    static QString applicationTitle();

    // The fixed texts.
    static const QString kDescriptionText;
    // The credit the licence of the places' data asks for, below the disclaimer; the Find Place
    // window credits its airports' source too.
    static const QString kCreditsText;
    static const QString kCreditsDetails; // every data source with its licence
    static const QString kDisclaimerText;
    static const QString kUnavailableText;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void loadTexts(); // the load handler

    Services m_services;
    QLabel* m_picIcon = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblDisclaimer = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
};

} // namespace gyrena
