#pragma once

#include <QPageSize>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace gyrena {

// Printing with a preview first. The program uses QtPrintPreview (Qt's print preview, from
// which the user picks a printer and prints); tests pass a fake that paints onto a PDF, so no
// test ever opens a modal dialog.
class PrintPreview
{
public:
    virtual ~PrintPreview() = default;

    // Shows `title`'s pages on paper of `pageSize`; `paint` draws them on the device it is given,
    // for the preview and again for the printer. Returns whether the user printed.
    virtual bool preview(QWidget* parent, const QString& title, const QPageSize& pageSize,
                         const std::function<void(QPagedPaintDevice&)>& paint) = 0;
};

} // namespace gyrena
