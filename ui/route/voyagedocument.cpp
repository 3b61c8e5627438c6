#include "ui/route/voyagedocument.h"

#include <QUndoStack>

namespace gyrena {

namespace {

// Which steps in a row are one: the moves of one gesture, and the changes of one field (of one
// leg). -1: a step of its own.
int mergeKey(const VoyageEdit& edit, int gesture)
{
    constexpr int kGestures = 1 << 20;
    if (gesture > 0)
        return 1 + gesture % kGestures;
    // Above the gestures' keys: the field's alternative, then its leg.
    const auto field = [&](std::size_t leg) {
        return kGestures + 1 + int(edit.index()) + int(std::variant_size_v<VoyageEdit>) * int(leg);
    };
    if (std::holds_alternative<SetSpeed>(edit) || std::holds_alternative<SetDeparture>(edit))
        return field(0);
    if (const auto* speed = std::get_if<SetLegSpeed>(&edit))
        return field(speed->leg % 10000);
    if (const auto* limit = std::get_if<SetLegLimit>(&edit))
        return field(limit->leg % 10000);
    return -1;
}

} // namespace

// One step: the voyage before it and either the edit that follows it or the whole voyage after.
class VoyageDocument::Step : public QUndoCommand
{
public:
    Step(VoyageDocument& document, Voyage before, std::variant<VoyageEdit, Voyage> change,
         const std::string& what, int key)
        : QUndoCommand(QString::fromStdString(what)), m_document(document),
          m_before(std::move(before)), m_change(std::move(change)), m_key(key)
    {
    }
    void undo() override { m_document.show(m_before, std::nullopt); }
    void redo() override
    {
        if (const auto* edit = std::get_if<VoyageEdit>(&m_change))
            m_document.show(applyEdit(m_before, *edit), changesPlacesOrLegs(*edit));
        else
            m_document.show(withLegsFitted(std::get<Voyage>(m_change)), std::nullopt);
    }
    int id() const override { return m_key; }
    // The later edit of the same key says all the earlier one did (a position, a speed).
    bool mergeWith(const QUndoCommand* other) override
    {
        m_change = static_cast<const Step*>(other)->m_change;
        return true;
    }

private:
    VoyageDocument& m_document;
    Voyage m_before;
    std::variant<VoyageEdit, Voyage> m_change;
    int m_key;
};

VoyageDocument::VoyageDocument(QObject* parent) : QObject(parent), m_undo(new QUndoStack(this)) {}

VoyageDocument::~VoyageDocument() = default;

void VoyageDocument::apply(const VoyageEdit& edit, int gesture)
{
    if (applyEdit(m_voyage, edit) == m_voyage)
        return;
    m_undo->push(new Step(*this, m_voyage, edit, editName(edit), mergeKey(edit, gesture)));
}

void VoyageDocument::setVoyage(const Voyage& voyage, const std::string& what)
{
    if (m_voyage.places.empty()) {
        show(withLegsFitted(voyage), std::nullopt);
        return;
    }
    if (withLegsFitted(voyage) == m_voyage) {
        emit changed(); // the same voyage, shown afresh
        return;
    }
    m_undo->push(new Step(*this, m_voyage, voyage, what, -1));
}

void VoyageDocument::show(const Voyage& voyage, std::optional<bool> edited)
{
    m_voyage = voyage;
    if (edited)
        emit this->edited(*edited);
    emit changed();
}

} // namespace gyrena
