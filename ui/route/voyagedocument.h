#pragma once

#include "geo/voyageedit.h"

#include <QObject>

namespace gyrena {

// The route window's voyage: the one value its places, legs, speeds, departure and waypoint
// spacing live in. The controls change it only through edits (geo/voyageedit.h) and show what it
// holds after changed(); nothing else keeps a copy to patch.
class VoyageDocument : public QObject
{
    Q_OBJECT
public:
    explicit VoyageDocument(QObject* parent = nullptr);

    const Voyage& voyage() const { return m_voyage; }

    // The user's edit: the voyage becomes applyEdit(voyage(), edit); edited() and changed()
    // follow when that is another voyage.
    void apply(const VoyageEdit& edit);
    // A whole voyage in place of this one (opened, the main window's route, an undo step), with
    // one leg for every two consecutive places; changed() follows.
    void setVoyage(const Voyage& voyage);

signals:
    // After apply() changed the voyage; `placesOrLegs` as changesPlacesOrLegs(edit) says.
    void edited(bool placesOrLegs);
    // After every change, edits and whole voyages alike.
    void changed();

private:
    Voyage m_voyage;
};

} // namespace gyrena
