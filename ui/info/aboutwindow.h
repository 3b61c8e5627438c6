#pragma once

#include "platform/services.h"

#include <QDialog>

namespace gyrena {

// The About window `frmAbout`.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(const Services& services, QWidget* parent = nullptr);

private:
    Services m_services;
};

} // namespace gyrena
