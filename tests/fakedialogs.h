#pragma once

// A scripted stand-in for the message boxes and file dialogs, shared by the window suites.
//
// Every box and file dialog the code under test raises is recorded, and answered from a script
// queue filled by the test beforehand. A box or dialog the script did not expect (the queue is
// empty, or the next scripted answer is of the other kind) fails the running test with
// QTest::qFail and is answered "No" / cancelled, so it can neither block nor pass silently.
//
//     FakeDialogs dialogs;
//     dialogs.answer(Dialogs::AnswerYes);          // the next message box answers Yes
//     dialogs.choose(QStringLiteral("/tmp/a.gdf")); // the next file dialog returns this path
//     dialogs.cancel();                            // the next file dialog is cancelled
//     window.doneWithInputs();
//     QVERIFY(dialogs.verifyDone());               // every scripted answer was used
//     QCOMPARE(dialogs.boxes().at(0).text, QStringLiteral("All coordinates correct?"));
//
// A failure inside the fake marks the test failed; check `failed()` or `verifyDone()` after the
// call so the test stops at the first unexpected box (QTest::qFail cannot return from the test
// function itself when it is raised deep inside the code under test).

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <QTest>

#include <deque>
#include <functional>
#include <optional>
#include <variant>

namespace gyrena {

class FakeDialogs : public Dialogs
{
public:
    struct Box
    {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        // The default button as the real box shows it: Yes for a question, OK otherwise.
        int defaultAnswer = AnswerOk;
        int answer = 0;
    };

    enum class FileKind { Open, Save };

    struct FileDialog
    {
        FileKind kind = FileKind::Open;
        QString title;
        QString filter;
        std::optional<QString> result;
    };

    // Script: the next message box answers `code` (AnswerOk, AnswerYes or AnswerNo).
    void answer(int code) { m_script.push_back(MessageAnswer{code}); }
    // Script: the next file dialog (open or save) returns `path`.
    void choose(const QString& path) { m_script.push_back(FileAnswer{path}); }
    // Script: the next file dialog is cancelled.
    void cancel() { m_script.push_back(FileAnswer{std::nullopt}); }
    // Script: the next text asked for is `text` (nothing: cancelled).
    void type(std::optional<QString> text) { m_script.push_back(TextAnswer{std::move(text)}); }

    // Instead of a script, for tests that answer at random: while set, every message box (with
    // its buttons) and every file dialog (save or not, and its filter) is answered by these.
    std::function<int(Buttons buttons)> answerEveryBox;
    std::function<std::optional<QString>(FileKind kind, const QString& filter)> answerEveryFile;

    int message(QWidget*, const QString& text, const QString& title, Buttons buttons,
                Icon icon) override
    {
        Box box{text, title, buttons, icon, buttons == Buttons::YesNo ? AnswerYes : AnswerOk, 0};
        const QString what = QStringLiteral("message box \"%1\" (title \"%2\")").arg(text, title);
        if (answerEveryBox) {
            box.answer = answerEveryBox(buttons);
        } else if (m_script.empty() || !std::holds_alternative<MessageAnswer>(m_script.front())) {
            fail(QStringLiteral("unexpected %1").arg(what));
            box.answer = buttons == Buttons::YesNo ? AnswerNo : AnswerOk;
        } else {
            box.answer = std::get<MessageAnswer>(m_script.front()).code;
            m_script.pop_front();
            const bool fits = buttons == Buttons::YesNo
                                  ? (box.answer == AnswerYes || box.answer == AnswerNo)
                                  : box.answer == AnswerOk;
            if (!fits) {
                fail(QStringLiteral("scripted answer %1 does not fit the buttons of %2")
                         .arg(box.answer)
                         .arg(what));
                box.answer = buttons == Buttons::YesNo ? AnswerNo : AnswerOk;
            }
        }
        m_boxes.append(box);
        return box.answer;
    }

    std::optional<QString> openFileName(QWidget*, const QString& title,
                                        const QString& filter) override
    {
        return fileDialog(FileKind::Open, title, filter);
    }

    std::optional<QString> saveFileName(QWidget*, const QString& title,
                                        const QString& filter) override
    {
        return fileDialog(FileKind::Save, title, filter);
    }

    std::optional<QString> text(QWidget*, const QString& title, const QString& label,
                                const QString&) override
    {
        if (m_script.empty() || !std::holds_alternative<TextAnswer>(m_script.front())) {
            fail(QStringLiteral("unexpected text asked for: \"%1\" (\"%2\")").arg(title, label));
            return std::nullopt;
        }
        const TextAnswer answer = std::get<TextAnswer>(m_script.front());
        m_script.pop_front();
        if (!answer.text)
            return std::nullopt;
        return QString(*answer.text);
    }

    const QList<Box>& boxes() const { return m_boxes; }
    const QList<FileDialog>& fileDialogs() const { return m_fileDialogs; }
    // The texts of the boxes shown so far, in order; handy for QCOMPARE against a list.
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const Box& box : m_boxes)
            texts << box.text;
        return texts;
    }

    bool failed() const { return !m_failures.isEmpty(); }
    const QStringList& failures() const { return m_failures; }
    qsizetype pending() const { return qsizetype(m_script.size()); }

    // True when nothing unexpected was asked and every scripted answer was used; otherwise
    // reports what went wrong through QTest and returns false. Use as QVERIFY(d.verifyDone()).
    bool verifyDone()
    {
        if (!m_script.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("%1 scripted answer(s) were never asked for")
                                        .arg(m_script.size())),
                         __FILE__, __LINE__);
            return false;
        }
        return !failed();
    }

    // Forget the records and the script, e.g. between the steps of one test.
    void reset()
    {
        m_script.clear();
        m_boxes.clear();
        m_fileDialogs.clear();
        m_failures.clear();
    }

private:
    struct MessageAnswer
    {
        int code;
    };
    struct FileAnswer
    {
        std::optional<QString> path;
    };
    struct TextAnswer
    {
        std::optional<QString> text;
    };

    std::optional<QString> fileDialog(FileKind kind, const QString& title, const QString& filter)
    {
        FileDialog dialog{kind, title, filter, std::nullopt};
        if (answerEveryFile) {
            dialog.result = answerEveryFile(kind, filter);
        } else if (m_script.empty() || !std::holds_alternative<FileAnswer>(m_script.front())) {
            fail(QStringLiteral("unexpected %1 file dialog \"%2\" (filter \"%3\")")
                     .arg(kind == FileKind::Open ? QStringLiteral("open") : QStringLiteral("save"),
                          title, filter));
        } else {
            dialog.result = std::get<FileAnswer>(m_script.front()).path;
            m_script.pop_front();
        }
        m_fileDialogs.append(dialog);
        return dialog.result;
    }

    void fail(const QString& why)
    {
        m_failures << why;
        QTest::qFail(qPrintable(QStringLiteral("FakeDialogs: %1").arg(why)), __FILE__, __LINE__);
    }

    std::deque<std::variant<MessageAnswer, FileAnswer, TextAnswer>> m_script;
    QList<Box> m_boxes;
    QList<FileDialog> m_fileDialogs;
    QStringList m_failures;
};

} // namespace gyrena
