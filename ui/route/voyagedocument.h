#pragma once

#include "geo/voyageedit.h"

#include <QObject>

class QUndoStack;

namespace gyrena {

// The route window's voyage: the one value its places, legs, speeds, departure and waypoint
// spacing live in. The controls change it only through edits (geo/voyageedit.h) and show what it
// holds after changed(); nothing else keeps a copy to patch. Every change is a step of its undo
// stack (the voyage before it and the edit, or the whole voyage put in its place), so the list's
// edits and the map's are taken back alike.
class VoyageDocument : public QObject
{
    Q_OBJECT
public:
    explicit VoyageDocument(QObject* parent = nullptr);
    ~VoyageDocument() override;

    const Voyage& voyage() const { return m_voyage; }

    // The user's edit, as one step of undo: the voyage becomes applyEdit(voyage(), edit);
    // edited() and changed() follow when that is another voyage. Edits of one `gesture` (> 0,
    // e.g. the moves of one drag of a marker) are one step, as are a field's changes in a row
    // (the speed typed digit by digit).
    void apply(const VoyageEdit& edit, int gesture = 0);
    // A whole voyage in place of this one (opened, the main window's route), with one leg for
    // every two consecutive places; changed() follows. It is a step of undo named `what`,
    // unless the document held no places (a window's first voyage is where it starts).
    void setVoyage(const Voyage& voyage, const std::string& what = "Change Voyage");

    QUndoStack* undoStack() const { return m_undo; }

signals:
    // After an edit changed the voyage (also when Redo makes it again); `placesOrLegs` as
    // changesPlacesOrLegs(edit) says.
    void edited(bool placesOrLegs);
    // After every change: edits, whole voyages, Undo and Redo alike.
    void changed();

private:
    class Step;
    void show(const Voyage& voyage, std::optional<bool> edited);

    Voyage m_voyage;
    QUndoStack* m_undo;
};

} // namespace gyrena
