#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace gyrena {

// Modal message boxes and the file dialogs. The program uses QtDialogs; tests pass a scripted
// fake, so no command ever needs a screen to be tested.
class Dialogs
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Critical };

    // Answer codes of a message box.
    static constexpr int AnswerOk = 1;
    static constexpr int AnswerYes = 6;
    static constexpr int AnswerNo = 7;

    virtual ~Dialogs() = default;

    // Shows a modal message box and returns its answer code. Yes/No boxes have Yes as their
    // default button. An empty title shows as "Gyrena".
    virtual int message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                        Icon icon) = 0;

    // File dialogs. `filter` is in the "Description (*.ext)|*.ext|" form. The result is the
    // chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& filter) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                                const QString& filter) = 0;

    // A line of text asked for under `label`, the field holding `initial` at first; nothing when
    // the user cancelled. Without an implementation of its own, a service answers "cancelled".
    virtual std::optional<QString> text(QWidget* parent, const QString& title, const QString& label,
                                        const QString& initial);
};

// "Gyrena Data File (*.gdf)|*.gdf|" -> "Gyrena Data File (*.gdf)": each description|pattern pair
// becomes one Qt filter entry, entries joined by ";;". A description without its pattern in
// brackets gets " (pattern)" appended.
QString toQtFilter(const QString& filter);

} // namespace gyrena
