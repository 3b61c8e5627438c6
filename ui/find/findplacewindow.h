#pragma once

#include "geo/latlon.h"
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

// What the Find Place window can do with the chosen place: a button, and what it runs.
struct FindPlaceAction
{
    QString caption;    // the button's text and accessible name: "Set as End"
    QString objectName; // the button's objectName
    QString done;       // said once it ran, %1 the place's name: "%1 is the end now."
    // The place as texts of the inputs (whole minutes, as the main window's lists hold them)
    // and its position as the gazetteer gives it.
    std::function<void(const LocationTexts&, LatLon)> apply;
};

// The Find Place window: a search field and the best answers of the gazetteer, found again at
// every change of the text. Its action buttons ("Set as Start", "Set as End" for the main
// window) hand the selected place, as the texts of a location's inputs, to whoever opened it.
class FindPlaceWindow : public QDialog
{
    Q_OBJECT
public:
    // The answers shown at most: more than a user reads, few enough to fill at every keystroke.
    static constexpr std::size_t kAnswerLimit = 50;

    FindPlaceWindow(std::vector<FindPlaceAction> actions, QWidget* parent);

    // Shows the window or raises it, its field's text selected for typing anew.
    void present();
    // Runs the search for `text` and shows its answers, the best one selected.
    void search(const QString& text);
    // Runs action `index` on the selected answer; nothing when none is selected.
    void apply(std::size_t index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Gazetteer* gazetteer(); // read on the first search, never before
    void selectionChanged();

    std::vector<FindPlaceAction> m_actions;
    std::vector<QPushButton*> m_buttons; // one per action
    QLineEdit* m_field = nullptr;
    QTableWidget* m_answers = nullptr;
    QLabel* m_status = nullptr;
    std::vector<std::size_t> m_places; // the gazetteer's place of each row
    bool m_unreadable = false;
};

} // namespace gyrena
