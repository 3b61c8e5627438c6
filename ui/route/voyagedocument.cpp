#include "ui/route/voyagedocument.h"

namespace gyrena {

VoyageDocument::VoyageDocument(QObject* parent) : QObject(parent) {}

void VoyageDocument::apply(const VoyageEdit& edit)
{
    Voyage next = applyEdit(m_voyage, edit);
    if (next == m_voyage)
        return;
    m_voyage = std::move(next);
    emit edited(changesPlacesOrLegs(edit));
    emit changed();
}

void VoyageDocument::setVoyage(const Voyage& voyage)
{
    m_voyage = withLegsFitted(voyage);
    emit changed();
}

} // namespace gyrena
