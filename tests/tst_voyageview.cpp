// A voyage's view: the summary, the map's description, the map and the passage plan all come
// from one plan, so they say the same thing, also when there is no route.

#include "io/plan/voyageview.h"

#include <QtTest>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::Voyage)

class tst_VoyageView : public QObject
{
    Q_OBJECT

private slots:
    void sameStory_data();
    void sameStory();
};

namespace {

const VoyagePlace lisbon{"Lisbon", {38.7, -9.15}}, funchal{"Funchal", {32.65, -16.9}},
    bridgetown{"Bridgetown", {13.1, -59.6}};

Voyage voyageOf(std::vector<VoyagePlace> places)
{
    Voyage voyage;
    voyage.places = std::move(places);
    return voyage;
}

} // namespace

void tst_VoyageView::sameStory_data()
{
    QTest::addColumn<Voyage>("voyage");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("description"); // empty: the summary's words

    QTest::newRow("places that coincide")
        << voyageOf({lisbon, funchal, {"Funchal again", funchal.position}, bridgetown})
        << "No route: Funchal and Funchal again coincide (leg 2)"
        << "";
    QTest::newRow("two places that coincide")
        << voyageOf({lisbon, {"  ", lisbon.position}})
        << "No route: Lisbon and place 2 coincide (leg 1)"
        << "";
    QTest::newRow("one place") << voyageOf({lisbon})
                               << "No route: a voyage needs at least two places"
                               << "";
    QTest::newRow("three places")
        << voyageOf({lisbon, funchal, bridgetown})
        << "Voyage of 3 places, 3136.2 nm steered, 3135.6 nm by great circles; under way 21 d 18 h "
           "42 min"
        << "Voyage from Lisbon to Bridgetown by way of 1 places, 3136 nautical miles";
}

void tst_VoyageView::sameStory()
{
    QFETCH(Voyage, voyage);
    QFETCH(QString, summary);
    QFETCH(QString, description);
    const VoyageView view = viewVoyage(voyage);
    QCOMPARE(QString::fromStdString(view.summary), summary);
    QCOMPARE(QString::fromStdString(view.description),
             description.isEmpty() ? summary : description);
    // The map and the passage plan have the plan's rows, or none.
    QCOMPARE(view.map.waypoints.size(), view.plan.rows.size());
    QCOMPARE(view.passage.rows.size(), view.plan.rows.size());
}

QTEST_GUILESS_MAIN(tst_VoyageView)
#include "tst_voyageview.moc"
