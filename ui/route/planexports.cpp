#include "ui/route/planexports.h"

#include "io/files/atomicfile.h"
#include "io/formats/kmlwriter.h"
#include "io/formats/rtzwriter.h"
#include "platform/dialogs.h"
#include "platform/printpreview.h"

#include <QFile>
#include <QPushButton>

namespace gyrena {

namespace {

namespace text {
const QString print = QStringLiteral("Print\u2026");
const QString printName = QStringLiteral("Print");
const QString pdf = QStringLiteral("Export PDF\u2026");
const QString pdfName = QStringLiteral("Export PDF");
const QString pdfFilter = QStringLiteral("PDF Document (*.pdf)|*.pdf|");
const QString rtz = QStringLiteral("Export RTZ\u2026");
const QString rtzName = QStringLiteral("Export RTZ");
const QString rtzFilter = QStringLiteral("RTZ Route (*.rtz)|*.rtz|");
const QString kml = QStringLiteral("Export KML\u2026");
const QString kmlName = QStringLiteral("Export KML");
const QString kmlFilter = QStringLiteral("KML Document (*.kml)|*.kml|");
const QString notWritten = QStringLiteral("The file could not be written: %1");
const QString noRoute = QStringLiteral("There is no route to export.");
} // namespace text

QByteArray bytesOf(const std::string& text)
{
    return QByteArray::fromStdString(text);
}

} // namespace

PlanExports::PlanExports(const Services& services, QWidget* window, Snapshot snapshot)
    : QObject(window), m_services(services), m_window(window), m_snapshot(std::move(snapshot))
{
}

QList<QPushButton*> PlanExports::buttons()
{
    if (!m_buttons.isEmpty())
        return m_buttons;
    struct Command
    {
        const QString& caption;
        const QString& name;
        const char* object;
        void (PlanExports::*run)();
    };
    for (const Command& command :
         {Command{text::print, text::printName, "Print", &PlanExports::print},
          Command{text::pdf, text::pdfName, "ExportPdf", &PlanExports::exportPdf},
          Command{text::rtz, text::rtzName, "ExportRtz", &PlanExports::exportRtz},
          Command{text::kml, text::kmlName, "ExportKml", &PlanExports::exportKml}}) {
        auto* button = new QPushButton(command.caption, m_window);
        button->setObjectName(QLatin1String(command.object));
        button->setAccessibleName(command.name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, command.run);
        m_buttons << button;
    }
    return m_buttons;
}

void PlanExports::setEnabled(bool enabled)
{
    for (QPushButton* button : buttons())
        button->setEnabled(enabled);
}

std::optional<PlanDocumentContent> PlanExports::content(const QString& title) const
{
    PlanDocumentContent content = m_snapshot();
    if (content.plan.rows.size() >= 2)
        return content;
    m_services.dialogs->message(m_window, text::noRoute, title, Dialogs::Buttons::Ok,
                                Dialogs::Icon::None);
    return std::nullopt;
}

void PlanExports::print()
{
    const std::optional<PlanDocumentContent> plan = content(text::printName);
    if (!plan || !m_services.printPreview)
        return;
    m_services.printPreview->preview(
        m_window, planDocumentTitle(plan->plan), QPageSize(paperFor(QLocale())),
        [&plan](QPagedPaintDevice& device) { paintPlanDocument(device, *plan); });
}

void PlanExports::exportPdf()
{
    exportFile(text::pdfName, text::pdfFilter,
               [](const PlanDocumentContent& plan) { return planDocumentPdf(plan); });
}

void PlanExports::exportRtz()
{
    exportFile(text::rtzName, text::rtzFilter,
               [](const PlanDocumentContent& plan) { return bytesOf(writeRtzRoute(plan.plan)); });
}

void PlanExports::exportKml()
{
    exportFile(text::kmlName, text::kmlFilter,
               [](const PlanDocumentContent& plan) { return bytesOf(writeKmlRoute(plan.plan)); });
}

void PlanExports::exportFile(const QString& title, const QString& filter,
                             const std::function<QByteArray(const PlanDocumentContent&)>& bytes)
{
    const std::optional<PlanDocumentContent> plan = content(title);
    if (!plan)
        return;
    const std::optional<QString> path = m_services.dialogs->saveFileName(m_window, title, filter);
    if (!path)
        return;
    const QByteArray data = bytes(*plan);
    const std::string failed =
        writeFileAtomically(QFile::encodeName(*path).toStdString(),
                            std::string_view(data.constData(), std::size_t(data.size())));
    if (!failed.empty())
        m_services.dialogs->message(m_window, text::notWritten.arg(QString::fromStdString(failed)),
                                    title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

QString PlanExports::writePdf(const QString& path) const
{
    const PlanDocumentContent plan = m_snapshot();
    if (plan.plan.rows.size() < 2)
        return text::noRoute;
    const QByteArray data = planDocumentPdf(plan);
    return QString::fromStdString(
        writeFileAtomically(QFile::encodeName(path).toStdString(),
                            std::string_view(data.constData(), std::size_t(data.size()))));
}

} // namespace gyrena
