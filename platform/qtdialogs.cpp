#include "platform/qtdialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace gyrena {

namespace {

// "Gyrena Data File (*.gdf)" -> "gdf": the extension of the first pattern of one entry of a Qt
// filter, or nothing when that pattern names no single extension ("*.*", "*", "data?.*").
QString firstExtension(const QString& entry)
{
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    const QString patterns = open >= 0 && entry.endsWith(QLatin1Char(')'))
                                 ? entry.mid(open + 1, entry.size() - open - 2)
                                 : entry;
    const QString first = patterns.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    static const QRegularExpression single(QStringLiteral("^\\*\\.([^*?\\[\\].]+)$"));
    const QRegularExpressionMatch match = single.match(first);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

int QtDialogs::message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                       Icon icon)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("GyrenaMessageBox"));
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Gyrena") : title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText); // a file name in a message must never be read as markup
    box.setIcon(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the close box answer No.
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton answer =
        clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    if (buttons == Buttons::Ok)
        return AnswerOk;
    return answer == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

std::optional<QString> QtDialogs::openFileName(QWidget* parent, const QString& title,
                                               const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), toQtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFileName(QWidget* parent, const QString& title,
                                               const QString& filter)
{
    // Built as QFileDialog::getSaveFileName builds its own (same title, filter, starting folder,
    // native dialog where the desktop has one, confirmation before replacing a file), plus the
    // default suffix: a name typed without an extension gets the filter's, so that the file shows
    // in Open's list; a name with any extension keeps it. The suffix follows the filter the user
    // picks, so "map" saved under "SVG Image (*.svg)" becomes map.svg, not map.png.
    const QString qtFilter = toQtFilter(filter);
    QFileDialog dialog(parent, title, QString(), qtFilter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setSupportedSchemes({QStringLiteral("file")});
    dialog.setDefaultSuffix(firstExtension(qtFilter.section(QStringLiteral(";;"), 0, 0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& entry) { dialog.setDefaultSuffix(firstExtension(entry)); });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = dialog.selectedUrls().value(0).toLocalFile();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::text(QWidget* parent, const QString& title, const QString& label,
                                       const QString& initial)
{
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return typed;
}

} // namespace gyrena
