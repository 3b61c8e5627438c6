// Edits of a voyage as values: each turns one voyage into the next, keeps one leg for every two
// consecutive places, and leaves the voyage as it was when it names what is not there.

#include "geo/voyageedit.h"

#include <QtTest>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::Voyage)
Q_DECLARE_METATYPE(gyrena::VoyageEdit)

class tst_VoyageEdit : public QObject
{
    Q_OBJECT

private slots:
    void edits_data();
    void edits();
};

namespace {

const VoyagePlace lisbon{"Lisbon", {38.7, -9.15}}, funchal{"Funchal", {32.65, -16.9}},
    bridgetown{"Bridgetown", {13.1, -59.6}}, horta{"Horta", {38.53, -28.63}};
const VoyageLeg great{}, rhumb{Sailing::RhumbLine, 60, std::nullopt},
    composite{Sailing::Composite, 45, 7.5};

Voyage voyageOf(std::vector<VoyagePlace> places, std::vector<VoyageLeg> legs)
{
    Voyage voyage;
    voyage.places = std::move(places);
    voyage.legs = std::move(legs);
    return voyage;
}

// Lisbon, Funchal, Bridgetown: a rhumb line, then a composite leg at its own speed.
const Voyage threePlaces = voyageOf({lisbon, funchal, bridgetown}, {rhumb, composite});

} // namespace

void tst_VoyageEdit::edits_data()
{
    QTest::addColumn<Voyage>("before");
    QTest::addColumn<VoyageEdit>("edit");
    QTest::addColumn<Voyage>("after");
    const Voyage& v = threePlaces;

    QTest::newRow("insert splits a leg, both halves sailed alike")
        << v << VoyageEdit(InsertPlace{2, horta})
        << voyageOf({lisbon, funchal, horta, bridgetown}, {rhumb, composite, composite});
    QTest::newRow("insert first: a great circle to the old start")
        << v << VoyageEdit(InsertPlace{0, horta})
        << voyageOf({horta, lisbon, funchal, bridgetown}, {great, rhumb, composite});
    QTest::newRow("insert beyond the end: appended by a great circle")
        << v << VoyageEdit(InsertPlace{9, horta})
        << voyageOf({lisbon, funchal, bridgetown, horta}, {rhumb, composite, great});
    QTest::newRow("remove the first: its leg goes")
        << v << VoyageEdit(RemovePlace{0}) << voyageOf({funchal, bridgetown}, {composite});
    QTest::newRow("remove between: the leg that reached it goes on")
        << v << VoyageEdit(RemovePlace{1}) << voyageOf({lisbon, bridgetown}, {rhumb});
    QTest::newRow("remove the last: the leg to it goes")
        << v << VoyageEdit(RemovePlace{2}) << voyageOf({lisbon, funchal}, {rhumb});
    const Voyage two = voyageOf({lisbon, funchal}, {rhumb});
    QTest::newRow("never fewer than two places") << two << VoyageEdit(RemovePlace{0}) << two;
    QTest::newRow("move down, legs stay")
        << v << VoyageEdit(MovePlace{0, 1})
        << voyageOf({funchal, lisbon, bridgetown}, {rhumb, composite});
    QTest::newRow("move the last to the front")
        << v << VoyageEdit(MovePlace{2, 0})
        << voyageOf({bridgetown, lisbon, funchal}, {rhumb, composite});
    QTest::newRow("move beyond the end") << v << VoyageEdit(MovePlace{1, 3}) << v;
    QTest::newRow("sailing, limit kept")
        << v << VoyageEdit(SetLegSailing{1, Sailing::GreatCircle})
        << voyageOf({lisbon, funchal, bridgetown}, {rhumb, {Sailing::GreatCircle, 45, 7.5}});
    QTest::newRow("leg speed back to the voyage's")
        << v << VoyageEdit(SetLegSpeed{1, std::nullopt})
        << voyageOf({lisbon, funchal, bridgetown}, {rhumb, {Sailing::Composite, 45, {}}});
    QTest::newRow("no such leg") << v << VoyageEdit(SetLegSailing{2, Sailing::Composite}) << v;
    QTest::newRow("missing legs become great circles")
        << voyageOf({lisbon, funchal, bridgetown}, {rhumb}) << VoyageEdit(SetSpeed{6})
        << voyageOf({lisbon, funchal, bridgetown}, {rhumb, great});
}

void tst_VoyageEdit::edits()
{
    QFETCH(Voyage, before);
    QFETCH(VoyageEdit, edit);
    QFETCH(Voyage, after);
    QVERIFY(applyEdit(before, edit) == after);
}

QTEST_GUILESS_MAIN(tst_VoyageEdit)
#include "tst_voyageedit.moc"
