#pragma once

#include "platform/printpreview.h"

namespace gyrena {

// QPrintPreviewDialog on a high-resolution QPrinter.
class QtPrintPreview : public PrintPreview
{
public:
    bool preview(QWidget* parent, const QString& title, const QPageSize& pageSize,
                 const std::function<void(QPagedPaintDevice&)>& paint) override;
};

} // namespace gyrena
