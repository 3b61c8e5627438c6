#pragma once

#include "geo/location.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace gyrena {

class Gazetteer;

// The Find Place window: a search field and the best answers of the gazetteer, found again at
// every change of the text. "Set as Start" and "Set as End" hand the chosen place, as the texts
// of the main window's inputs, to whoever opened the window.
class FindPlaceWindow : public QDialog
{
    Q_OBJECT
public:
    using PlaceChosen = std::function<void(RouteEnd, const LocationTexts&)>;

    // The answers shown at most: more than a user reads, few enough to fill at every keystroke.
    static constexpr std::size_t kAnswerLimit = 50;

    FindPlaceWindow(PlaceChosen chosen, QWidget* parent);

    // Runs the search for `text` and shows its answers, the best one selected.
    void search(const QString& text);
    // The selected answer handed over as that end's place; nothing when none is selected.
    void setAs(RouteEnd end);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Gazetteer* gazetteer(); // read on the first search, never before
    void selectionChanged();

    PlaceChosen m_chosen;
    QLineEdit* m_field = nullptr;
    QTableWidget* m_answers = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_setStart = nullptr;
    QPushButton* m_setEnd = nullptr;
    std::vector<std::size_t> m_places; // the gazetteer's place of each row
    bool m_unreadable = false;
};

} // namespace gyrena
