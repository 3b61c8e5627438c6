// The real message boxes and file dialogs, and the filter translation they use. Each box is
// inspected and answered by a ModalWatch handler from inside its own exec(), so no test waits
// for a person and any other box fails the test instead of hanging it.

#include "modalwatch.h"
#include "platform/dialogs.h"
#include "platform/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gyrena;

namespace {

// Types `name` into the file dialog's name box, as a user would. QFileDialog::selectFile() is no
// stand-in: it leaves the box alone while the box has the focus, which it has once the dialog is
// active, and the dialog then ignores accept() and stays open.
bool typeFileName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return false;
    edit->setText(name);
    return edit->text() == name;
}

// The dialog's Open or Save button. QFileDialog::accept() is protected; called through the base
// it is still the file dialog's own, which checks the name as the button does.
void pressAccept(QFileDialog* dialog)
{
    static_cast<QDialog*>(dialog)->accept();
}

} // namespace

Q_DECLARE_METATYPE(Dialogs::Buttons)
Q_DECLARE_METATYPE(Dialogs::Icon)

class tst_Dialogs : public QObject
{
    Q_OBJECT

private slots:
    void toQtFilter_data();
    void toQtFilter();
    void message_data();
    void message();
    void openFileName_data();
    void openFileName();
    void saveFileNameCancelled();
    void saveFileNameSuffix_data();
    void saveFileNameSuffix();
};

void tst_Dialogs::toQtFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("data file") << "Gyrena Data File (*.gdf)|*.gdf|"
                               << "Gyrena Data File (*.gdf)";
    QTest::newRow("city list") << "Gyrena City List (*.gcl)|*.gcl"
                               << "Gyrena City List (*.gcl)";
    QTest::newRow("two entries") << "Text (*.txt)|*.txt|All Files (*.*)|*.*|"
                                 << "Text (*.txt);;All Files (*.*)";
    QTest::newRow("description without pattern") << "Gyrena Data File|*.gdf"
                                                 << "Gyrena Data File (*.gdf)";
    QTest::newRow("several patterns") << "Gyrena Files|*.gdf;*.gcl|"
                                      << "Gyrena Files (*.gdf *.gcl)";
    QTest::newRow("brackets that are no pattern") << "Data (old)|*.dat|"
                                                  << "Data (old) (*.dat)";
    QTest::newRow("pattern only") << "*.txt"
                                  << "*.txt";
    QTest::newRow("design filter") << "Text (*.txt)"
                                   << "Text (*.txt)";
    QTest::newRow("empty pattern") << "Anything|"
                                   << "Anything";
    QTest::newRow("empty description") << "|*.gdf|"
                                       << "*.gdf";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_Dialogs::toQtFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(gyrena::toQtFilter(filter), expected);
}

void tst_Dialogs::message_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Icon>("icon");
    QTest::addColumn<QString>("press"); // "Yes", "No", "OK", or "Escape"
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("answer");

    QTest::newRow("question, yes")
        << "Check Coordinates" << Dialogs::Buttons::YesNo << Dialogs::Icon::None << "Yes"
        << "Check Coordinates" << int(Dialogs::AnswerYes);
    QTest::newRow("question, no") << "Confirm Exit" << Dialogs::Buttons::YesNo
                                  << Dialogs::Icon::None << "No"
                                  << "Confirm Exit" << int(Dialogs::AnswerNo);
    QTest::newRow("question, escape is no")
        << "Save File?" << Dialogs::Buttons::YesNo << Dialogs::Icon::None << "Escape"
        << "Save File?" << int(Dialogs::AnswerNo);
    QTest::newRow("message") << "Error" << Dialogs::Buttons::Ok << Dialogs::Icon::None << "OK"
                             << "Error" << int(Dialogs::AnswerOk);
    QTest::newRow("critical without title")
        << "" << Dialogs::Buttons::Ok << Dialogs::Icon::Critical << "OK"
        << "Gyrena" << int(Dialogs::AnswerOk);
    QTest::newRow("message, escape")
        << "Error" << Dialogs::Buttons::Ok << Dialogs::Icon::Critical << "Escape"
        << "Error" << int(Dialogs::AnswerOk);
}

void tst_Dialogs::message()
{
    QFETCH(QString, title);
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Icon, icon);
    QFETCH(QString, press);
    QFETCH(QString, shownTitle);
    QFETCH(int, answer);

    const QString text = QStringLiteral("<b>not markup</b> All coordinates correct?");
    bool inspected = false;
    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::Question;
    QMessageBox::StandardButtons seenButtons;
    QMessageBox::StandardButton seenDefault = QMessageBox::NoButton;
    Qt::TextFormat seenFormat = Qt::AutoText;
    ModalWatch modals;
    modals.expect<QMessageBox>([&](QMessageBox* box) {
        inspected = true;
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        seenFormat = box->textFormat();
        seenDefault = box->defaultButton() ? box->standardButton(box->defaultButton())
                                           : QMessageBox::NoButton;
        if (press == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            const auto which = press == QLatin1String("Yes")  ? QMessageBox::Yes
                               : press == QLatin1String("No") ? QMessageBox::No
                                                              : QMessageBox::Ok;
            if (QAbstractButton* b = box->button(which))
                b->click();
            else
                box->close();
        }
    });

    QtDialogs dialogs;
    const int result = dialogs.message(nullptr, text, title, buttons, icon);
    QVERIFY(modals.verifyDone());
    QVERIFY(inspected);
    QCOMPARE(result, answer);
    QCOMPARE(seenTitle, shownTitle);
    QCOMPARE(seenText, text);
    QCOMPARE(seenFormat, Qt::PlainText);
    QCOMPARE(seenIcon,
             icon == Dialogs::Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (buttons == Dialogs::Buttons::YesNo) {
        QCOMPARE(seenButtons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(seenDefault, QMessageBox::Yes);
    } else {
        QCOMPARE(seenButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seenDefault, QMessageBox::Ok);
    }
}

void tst_Dialogs::openFileName_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("chosen") << true;
    QTest::newRow("cancelled") << false;
}

void tst_Dialogs::openFileName()
{
    QFETCH(bool, accept);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("route.gdf"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QString seenTitle;
    QStringList seenFilters;
    ModalWatch modals;
    modals.expect<QFileDialog>([&](QFileDialog* dialog) {
        seenTitle = dialog->windowTitle();
        seenFilters = dialog->nameFilters();
        if (accept) {
            QVERIFY(typeFileName(dialog, path));
            pressAccept(dialog);
        } else {
            dialog->reject();
        }
    });

    QtDialogs dialogs;
    const std::optional<QString> result = dialogs.openFileName(
        nullptr, QStringLiteral("Open File"), QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|"));
    QVERIFY(modals.verifyDone());
    QCOMPARE(seenTitle, QStringLiteral("Open File"));
    QCOMPARE(seenFilters, QStringList({"Gyrena Data File (*.gdf)"}));
    if (accept) {
        QVERIFY(result.has_value());
        QCOMPARE(QFileInfo(*result).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
    } else {
        QVERIFY(!result.has_value());
    }
}

void tst_Dialogs::saveFileNameCancelled()
{
    QString seenTitle;
    ModalWatch modals;
    modals.expect<QFileDialog>([&](QFileDialog* dialog) {
        seenTitle = dialog->windowTitle();
        dialog->reject();
    });
    QtDialogs dialogs;
    const std::optional<QString> result = dialogs.saveFileName(
        nullptr, QStringLiteral("Save As"), QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|"));
    QVERIFY(modals.verifyDone());
    QCOMPARE(seenTitle, QStringLiteral("Save As"));
    QVERIFY(!result.has_value());
}

void tst_Dialogs::saveFileNameSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("pickedFilter");
    // Open lists only *.gdf files: a name without an extension must not vanish from it.
    QTest::newRow("no extension gets the filter's") << "trip"
                                                    << "trip.gdf" << 0;
    QTest::newRow("own extension kept") << "trip.txt"
                                        << "trip.txt" << 0;
    QTest::newRow("the picked filter's extension") << "trip"
                                                   << "trip.gcl" << 1;
}

void tst_Dialogs::saveFileNameSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(int, pickedFilter);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    bool asksBeforeReplacing = false;
    QStringList seenFilters;
    ModalWatch modals;
    modals.expect<QFileDialog>([&](QFileDialog* dialog) {
        asksBeforeReplacing = dialog->acceptMode() == QFileDialog::AcceptSave &&
                              !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seenFilters = dialog->nameFilters();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        for (int step = 0; step < pickedFilter; ++step)
            QTest::keyClick(types, Qt::Key_Down); // as the user picks from the list
        QCOMPARE(types->currentIndex(), pickedFilter);
        QVERIFY(typeFileName(dialog, dir.filePath(typed)));
        pressAccept(dialog);
    });
    QtDialogs dialogs;
    const std::optional<QString> result = dialogs.saveFileName(
        nullptr, QStringLiteral("Save As"),
        QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|Gyrena City List (*.gcl)|*.gcl|"));
    QVERIFY(modals.verifyDone());
    QVERIFY(asksBeforeReplacing);
    QCOMPARE(seenFilters, QStringList({"Gyrena Data File (*.gdf)", "Gyrena City List (*.gcl)"}));
    QVERIFY(result.has_value());
    QCOMPARE(*result, dir.filePath(saved));
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
