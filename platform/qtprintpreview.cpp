#include "platform/qtprintpreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace gyrena {

bool QtPrintPreview::preview(QWidget* parent, const QString& title, const QPageSize& pageSize,
                             const std::function<void(QPagedPaintDevice&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageSize(pageSize);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    return dialog.exec() == QDialog::Accepted;
}

} // namespace gyrena
