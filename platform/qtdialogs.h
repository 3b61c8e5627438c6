#pragma once

#include "platform/dialogs.h"

namespace gyrena {

// The real boxes: QMessageBox, QInputDialog and the desktop's own file dialogs.
class QtDialogs : public Dialogs
{
public:
    int message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                Icon icon) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& filter) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                        const QString& filter) override;
    std::optional<QString> text(QWidget* parent, const QString& title, const QString& label,
                                const QString& initial) override;
};

} // namespace gyrena
