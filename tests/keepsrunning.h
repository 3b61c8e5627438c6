#pragma once

// An information window has no owner: left open, it keeps the application's event loop running
// after the main window is closed with its close box, and ends it when it is closed itself.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Runs a real event loop with a stand-in main window and `window` shown, closes the main window,
// then `window`; checks that `window` outlived the main window and that closing it ended the
// loop normally (not through the watchdog).
inline void verifyKeepsTheApplicationRunning(QWidget* window)
{
    QGuiApplication::setQuitOnLastWindowClosed(true);
    auto* mainWindow = new QWidget;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> info = window;
    bool aliveAfterMainClosed = false;

    QTimer::singleShot(0, [&] {
        mainWindow->show();
        info->show();
        QTimer::singleShot(50, [&] { mainWindow->close(); });
        QTimer::singleShot(300, [&] {
            aliveAfterMainClosed = !info.isNull() && info->isVisible();
            if (info)
                info->close();
        });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    const int code = QCoreApplication::exec();
    QCOMPARE(code, 0);
    QVERIFY(aliveAfterMainClosed);
    QTRY_VERIFY(info.isNull());
}
