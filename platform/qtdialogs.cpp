#include "platform/qtdialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

namespace gyrena {

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
    const QString path = QFileDialog::getSaveFileName(parent, title, QString(), toQtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace gyrena
