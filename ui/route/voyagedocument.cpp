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
    if (std::holds_alternative<SetSeaOptions>(edit))
        return field(0);
    return -1;
}

// Which part of the sea options an edit of them changes: 0 the clearance, 1 the limiting
// latitude, 2 the passages avoided (or more than one part).
int seaPart(const SeaRouteOptions& before, const SeaRouteOptions& after)
{
    if (before.avoid == after.avoid && before.limitLatitude == after.limitLatitude)
        return 0;
    if (before.avoid == after.avoid && before.clearanceNm == after.clearanceNm)
        return 1;
    return 2;
}

} // namespace

// One step: the voyage before it and either the edits that follow it or the whole voyage after.
class VoyageDocument::Step : public QUndoCommand
{
public:
    Step(VoyageDocument& document, Voyage before, std::variant<VoyageEdit, Voyage> change,
         const std::string& what, int key)
        : QUndoCommand(QString::fromStdString(what)), m_document(document),
          m_before(std::move(before)), m_key(key)
    {
        if (const auto* edit = std::get_if<VoyageEdit>(&change))
            m_change = std::vector<VoyageEdit>{*edit};
        else
            m_change = std::get<Voyage>(std::move(change));
    }
    void undo() override { m_document.show(m_before, std::nullopt); }
    void redo() override
    {
        if (const auto* edits = std::get_if<std::vector<VoyageEdit>>(&m_change)) {
            Voyage after = m_before;
            bool placesOrLegs = false;
            for (const VoyageEdit& edit : *edits) {
                after = applyEdit(std::move(after), edit);
                placesOrLegs = placesOrLegs || changesPlacesOrLegs(edit);
            }
            m_document.show(after, placesOrLegs);
        } else {
            m_document.show(withLegsFitted(std::get<Voyage>(m_change)), std::nullopt);
        }
    }
    int id() const override { return m_key; }
    // A later edit of the same kind says all the earlier one did (a position, a speed); another
    // kind of edit in the same gesture follows it (a turning point made a place, then moved).
    bool mergeWith(const QUndoCommand* command) override
    {
        const auto* other = static_cast<const Step*>(command);
        auto* edits = std::get_if<std::vector<VoyageEdit>>(&m_change);
        const auto* next = std::get_if<std::vector<VoyageEdit>>(&other->m_change);
        if (!edits || !next || next->size() != 1 || edits->empty())
            return false;
        const VoyageEdit& edit = next->front();
        // The clearance typed digit by digit is one step; a passage ticked after it is another.
        const auto* sea = std::get_if<SetSeaOptions>(&edit);
        const auto* last = std::get_if<SetSeaOptions>(&edits->back());
        if (sea && last &&
            (seaPart(other->m_before.sea, sea->sea) == 2 ||
             seaPart(other->m_before.sea, sea->sea) != seaPart(m_before.sea, last->sea)))
            return false;
        if (edits->back().index() == edit.index())
            edits->back() = edit;
        else
            edits->push_back(edit);
        return true;
    }

private:
    VoyageDocument& m_document;
    Voyage m_before;
    std::variant<std::vector<VoyageEdit>, Voyage> m_change;
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
