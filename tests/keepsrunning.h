#pragma once

// An information window has no owner: left open, it keeps the application's event loop running
// after the main window is closed with its close box, and ends it when it is closed itself.

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace keepsrunning {

// Counts the requests to end the application. Qt asks by posting QEvent::Quit to the
// application when its last window closes; the event is only watched, never held back.
class QuitRequests : public QObject
{
public:
    QuitRequests() { qApp->installEventFilter(this); }
    ~QuitRequests() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == qApp && event->type() == QEvent::Quit)
            ++count;
        return false;
    }
};

} // namespace keepsrunning

// Runs a real event loop with a stand-in main window and `window` shown, closes the main window,
// then `window`; checks that closing the main window did not end the loop and that closing
// `window` did. Each step waits for what the last one caused (the windows exposed, the events
// their closing posted delivered), never for a fixed time.
inline void verifyKeepsTheApplicationRunning(QWidget* window)
{
    QGuiApplication::setQuitOnLastWindowClosed(true);
    auto* mainWindow = new QWidget;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> info = window;
    keepsrunning::QuitRequests quits;
    QString failure;
    int quitsAfterMainClosed = -1;

    QTimer::singleShot(0, [&] {
        mainWindow->show();
        info->show();
        if (!QTest::qWaitForWindowExposed(mainWindow) || !QTest::qWaitForWindowExposed(info)) {
            failure = QStringLiteral("the windows were never shown");
            QCoreApplication::exit(98);
            return;
        }
        mainWindow->close();
        // Delivers the Quit that closing the last window posts, if Qt took this for the last.
        QCoreApplication::sendPostedEvents();
        quitsAfterMainClosed = quits.count;
        if (quitsAfterMainClosed != 0) {
            failure = QStringLiteral("closing the main window ended the application");
            QCoreApplication::exit(97);
            return;
        }
        if (!info || !info->isVisible()) {
            failure = QStringLiteral("the window closed with the main window");
            QCoreApplication::exit(97);
            return;
        }
        info->close();
        QCoreApplication::sendPostedEvents();
        // Closing it must have asked the loop to end; otherwise exec() would never return.
        if (quits.count == quitsAfterMainClosed) {
            failure = QStringLiteral("closing the window did not end the application");
            QCoreApplication::exit(96);
        }
    });
    // Only a guard against a hang in a step above; running out is a failure.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        failure = QStringLiteral("the event loop was still running after 20 s");
        QCoreApplication::exit(99);
    });
    watchdog.start(20000);
    const int code = QCoreApplication::exec();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(code, 0);
    QCOMPARE(quitsAfterMainClosed, 0);
    // Closed, the window is deleted once the loop that closed it has returned.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(info.isNull());
}
