#pragma once

// Answers the real modal windows a test expects, and fails the test on any other one.
//
//     ModalWatch modals;
//     modals.expect<QFileDialog>([&](QFileDialog* dialog) { ...; dialog->reject(); });
//     const auto result = dialogs.openFileName(...);   // the dialog's exec() runs the handler
//     QVERIFY(modals.verifyDone());
//
// Each modal window that shows is handed to the next expected handler from inside its own
// exec(), once it is exposed and active, so the handler always meets it in the same state (the
// file dialog's name box has the focus, for one). A handler must close its window before it
// returns; right after it returns the watch checks that the window is gone. A modal window that
// shows while no handler is waiting, while a handler runs (nested, such as Qt's own "File not
// found" box inside the file dialog), or of another class than expected, fails the test with its
// class, title and text, and is closed so its exec() returns. The failures are raised with
// QTest::qFail where they happen; verifyDone() reports them again and any handler never used.
//
// A watch with nothing expected, kept for a whole suite, turns any modal window the code under
// test raises by mistake into a failure instead of a hang.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

class ModalWatch : public QObject
{
public:
    // Bounds the wait for a window to become active, and the time any modal window may stay open
    // before the hang guard closes it. Either one running out is a failure, never a pass.
    static constexpr int kGuardMs = 10000;

    ModalWatch()
    {
        qApp->installEventFilter(this);
        m_guard.setSingleShot(true);
        m_guard.setInterval(kGuardMs);
        QObject::connect(&m_guard, &QTimer::timeout, this, [this] { onGuard(); });
    }
    ~ModalWatch() override { qApp->removeEventFilter(this); }

    // The next modal window must be a T (or derived from it); `handle` answers it and closes it.
    template <typename T, typename Handler>
    void expect(Handler handle)
    {
        m_expected.push_back(
            {&T::staticMetaObject, [handle](QWidget* window) { handle(static_cast<T*>(window)); }});
    }

    const QStringList& failures() const { return m_failures; }

    // True when every expected window was handled and nothing went wrong; otherwise reports it
    // through QTest. Use as QVERIFY(modals.verifyDone()).
    bool verifyDone()
    {
        if (!m_expected.empty()) {
            fail(QStringLiteral("%1 expected modal window(s) never showed").arg(m_expected.size()));
            m_expected.clear();
        }
        return m_failures.isEmpty();
    }

    // "QMessageBox "Open File": "route.gdf\nFile not found..."".
    static QString describe(const QWidget* window)
    {
        QString text = QStringLiteral("%1 \"%2\"").arg(QLatin1String(window->metaObject()->className()),
                                                    window->windowTitle());
        if (auto* box = qobject_cast<const QMessageBox*>(window))
            text += QStringLiteral(": \"%1\"").arg(box->text());
        return text;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && object->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(object);
            if (widget->isWindow() && widget->isModal()) {
                m_guard.start();
                // Answered from the window's own event loop: closed during its show, exec()
                // would not have started yet and would then wait for good.
                const bool nested = m_handling > 0;
                QMetaObject::invokeMethod(
                    this, [this, window = QPointer<QWidget>(widget), nested] { arrived(window, nested); },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    struct Expected
    {
        const QMetaObject* type;
        std::function<void(QWidget*)> handle;
    };

    void arrived(const QPointer<QWidget>& window, bool nested)
    {
        if (!window || !window->isVisible())
            return;
        if (nested)
            return refuse(window, QStringLiteral("nested modal window"));
        if (m_expected.empty())
            return refuse(window, QStringLiteral("unexpected modal window"));
        const Expected next = m_expected.front();
        m_expected.pop_front();
        if (!window->metaObject()->inherits(next.type))
            return refuse(window, QStringLiteral("expected a %1, got modal window")
                                      .arg(QLatin1String(next.type->className())));
        const QDeadlineTimer deadline(kGuardMs);
        while (window && !(window->isActiveWindow() && window->windowHandle() &&
                           window->windowHandle()->isExposed())) {
            if (deadline.hasExpired())
                return refuse(window, QStringLiteral("modal window never became active"));
            QTest::qWait(5);
        }
        if (!window)
            return fail(QStringLiteral("a modal window was deleted before its handler ran"));
        ++m_handling;
        next.handle(window);
        --m_handling;
        if (window && window->isVisible())
            refuse(window, QStringLiteral("modal window still open after its handler"));
    }

    void onGuard()
    {
        if (QWidget* modal = QApplication::activeModalWidget())
            refuse(modal, QStringLiteral("modal window still open after %1 ms").arg(kGuardMs));
    }

    void refuse(QWidget* window, const QString& why)
    {
        fail(QStringLiteral("%1: %2").arg(why, describe(window)));
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->done(QDialog::Rejected);
        else
            window->close();
        if (window->isVisible())
            window->hide();
    }

    void fail(const QString& why)
    {
        m_failures << why;
        QTest::qFail(qPrintable(QStringLiteral("ModalWatch: %1").arg(why)), __FILE__, __LINE__);
    }

    std::deque<Expected> m_expected;
    QStringList m_failures;
    QTimer m_guard;
    int m_handling = 0;
};
