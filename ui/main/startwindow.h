#pragma once

#include "platform/services.h"

#include <QMainWindow>

namespace gyrena {

// The main window `Start`.
class StartWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit StartWindow(const Services& services, QWidget* parent = nullptr);

private:
    Services m_services;
};

} // namespace gyrena
