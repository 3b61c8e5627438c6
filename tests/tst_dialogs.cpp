// The real message boxes and file dialogs, and the filter translation they use. Each box is
// inspected and answered from a timer, so no test waits for a person.

#include "platform/dialogs.h"
#include "platform/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace gyrena;

namespace {

// Runs `handle` on the first modal window that shows up; gives up after a minute. A file dialog
// can take seconds to appear on a busy machine, so the wait is generous; CTest's time-out still
// ends a test whose dialog never shows.
void whenModalShows(std::function<void(QWidget*)> handle)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, started, handle] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        } else if (started->elapsed() > 60000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
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
    whenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            return;
        }
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
    whenModalShows([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        seenTitle = dialog->windowTitle();
        seenFilters = dialog->nameFilters();
        if (accept) {
            dialog->setDirectory(dir.path());
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it, the base does not
        } else {
            dialog->reject();
        }
    });

    QtDialogs dialogs;
    const std::optional<QString> result = dialogs.openFileName(
        nullptr, QStringLiteral("Open File"), QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|"));
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
    whenModalShows([&](QWidget* modal) {
        seenTitle = modal->windowTitle();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    QtDialogs dialogs;
    const std::optional<QString> result = dialogs.saveFileName(
        nullptr, QStringLiteral("Save As"), QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|"));
    QCOMPARE(seenTitle, QStringLiteral("Save As"));
    QVERIFY(!result.has_value());
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
