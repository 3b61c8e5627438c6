#include "geo/voyageedit.h"

#include <algorithm>
#include <iterator>

namespace gyrena {

namespace {

template <class... F> struct Overloaded : F...
{
    using F::operator()...;
};
// Clang 14 (the fuzz build's compiler) does not deduce an aggregate's arguments by itself.
template <class... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace

Voyage withLegsFitted(Voyage voyage)
{
    voyage.legs.resize(voyage.places.size() > 1 ? voyage.places.size() - 1 : 0);
    return voyage;
}

Voyage applyEdit(Voyage voyage, const VoyageEdit& edit)
{
    voyage = withLegsFitted(std::move(voyage));
    auto& places = voyage.places;
    auto& legs = voyage.legs;
    const auto place = [&](std::size_t i) { return places.begin() + std::ptrdiff_t(i); };
    const auto leg = [&](std::size_t i) -> VoyageLeg* {
        return i < legs.size() ? &legs[i] : nullptr;
    };
    std::visit(Overloaded{
                   [&](const InsertPlace& e) {
                       const std::size_t at = std::min(e.at, places.size());
                       const VoyageLeg split =
                           at > 0 && at - 1 < legs.size() ? legs[at - 1] : VoyageLeg{};
                       places.insert(place(at), e.place);
                       legs.insert(legs.begin() + std::ptrdiff_t(std::min(at, legs.size())), split);
                   },
                   [&](const RemovePlace& e) {
                       if (e.at >= places.size() || places.size() <= 2)
                           return;
                       places.erase(place(e.at));
                       legs.erase(legs.begin() + std::ptrdiff_t(std::min(e.at, legs.size() - 1)));
                   },
                   [&](const MovePlace& e) {
                       if (e.from >= places.size() || e.to >= places.size())
                           return;
                       if (e.from < e.to)
                           std::rotate(place(e.from), place(e.from + 1), place(e.to + 1));
                       else
                           std::rotate(place(e.to), place(e.from), place(e.from + 1));
                   },
                   [&](const RenamePlace& e) {
                       if (e.at < places.size())
                           places[e.at].name = e.name;
                   },
                   [&](const SetPosition& e) {
                       if (e.at < places.size())
                           places[e.at].position = e.position;
                   },
                   [&](const SetLegSailing& e) {
                       if (VoyageLeg* l = leg(e.leg))
                           l->sailing = e.sailing;
                   },
                   [&](const SetLegLimit& e) {
                       if (VoyageLeg* l = leg(e.leg))
                           l->limitLatitude = e.limitLatitude;
                   },
                   [&](const SetLegSpeed& e) {
                       if (VoyageLeg* l = leg(e.leg))
                           l->speed = e.speed;
                   },
                   [&](const SetSpeed& e) { voyage.speed = e.speed; },
                   [&](const SetDeparture& e) { voyage.departure = e.departure; },
                   [&](const SetSpacing& e) { voyage.spacing = e.spacing; },
                   [&](const SetSeaOptions& e) { voyage.sea = e.sea; },
               },
               edit);
    return withLegsFitted(std::move(voyage));
}

bool changesPlacesOrLegs(const VoyageEdit& edit)
{
    return !std::holds_alternative<SetSpeed>(edit) && !std::holds_alternative<SetDeparture>(edit) &&
           !std::holds_alternative<SetSpacing>(edit) &&
           !std::holds_alternative<SetSeaOptions>(edit);
}

std::string editName(const VoyageEdit& edit)
{
    // In the order of the variant's alternatives.
    static const char* const names[] = {
        "Add Place",
        "Remove Place",
        "Move Place",
        "Rename Place",
        "Move Place",
        "Change Sailing",
        "Change Limiting Latitude",
        "Change Leg Speed",
        "Change Speed",
        "Change Departure",
        "Change Waypoint Spacing",
        "Change Sea Route Options",
    };
    static_assert(std::size(names) == std::variant_size_v<VoyageEdit>);
    return names[edit.index()];
}

} // namespace gyrena
