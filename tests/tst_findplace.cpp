// Options > "Find Place…" in the real main window: the gazetteer stays unread until the first
// search, answers come while typing, and a chosen place fills that end's inputs through the
// same updates as typing, so the workflow after it is the usual one.
#include "fakedialogs.h"
#include "fakeregistry.h"
#include "modalwatch.h"

#include "geo/calcs.h"
#include "io/earth/earth.h"
#include "io/formats/locationfields.h"
#include "io/places/gazetteerasset.h"
#include "ui/find/findplacewindow.h"
#include "ui/main/startwindow.h"
#include "ui/route/voyagedocument.h"
#include "ui/route/voyageeditor.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace gyrena;

class tst_FindPlace : public QObject
{
    Q_OBJECT

    ModalWatch m_modals;
    FakeDialogs m_dialogs;
    FakeRegistry m_registry;
    FakeLauncher m_launcher;
    std::unique_ptr<StartWindow> m_window;

    template <typename T> T* in(const QString& name) const
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (T* found = top->findChild<T*>(name))
                return found;
        return nullptr;
    }
    FindPlaceWindow* openFind()
    {
        m_window->activateWindow();
        QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
        return m_window->findChild<FindPlaceWindow*>();
    }
    LocationTexts shown(RouteEnd end) const
    {
        LocationTexts texts;
        texts.name = m_window->findChild<QComboBox*>(inputObjectName(end, LocationField::Name))
                         ->currentText()
                         .toStdString();
        texts.country =
            m_window->findChild<QLineEdit*>(inputObjectName(end, LocationField::Country))
                ->text()
                .toStdString();
        for (const LocationField field : kCoordinateOrder)
            texts[field] = m_window->findChild<QComboBox*>(inputObjectName(end, field))
                               ->currentText()
                               .toStdString();
        return texts;
    }

private slots:
    void init();
    void cleanup();
    void notReadAtStartUp();
    void setAs_data();
    void setAs();
    void whileTyping();
    void routeFromTwoFinds();
    void addedToVoyage();
};

void tst_FindPlace::init()
{
    m_dialogs.reset();
    m_window = std::make_unique<StartWindow>(Services{&m_dialogs, &m_registry, &m_launcher});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_FindPlace::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

void tst_FindPlace::notReadAtStartUp()
{
    // Must run first: nothing in this process has searched yet.
    QVERIFY(!builtInGazetteerRead());
    QVERIFY(!builtInEarthDataRead()); // nor the magnetic model or the time-zone map
    FindPlaceWindow* find = openFind();
    QVERIFY(find && find->isVisible());
    QVERIFY(!builtInGazetteerRead());
    QTest::keyClicks(in<QLineEdit>("FindField"), "f");
    QVERIFY(builtInGazetteerRead());
}

void tst_FindPlace::setAs_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("asStart");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("a town as the end")
        << "funch" << false << QStringList{"Funchal", "Portugal", "32", "40", "N", "16", "56", "W"};
    QTest::newRow("an airport by its code as the start")
        << "SYD" << true << QStringList{"Sydney Kingsford Smith International Airport",
                                        "Australia",
                                        "33",
                                        "57",
                                        "S",
                                        "151",
                                        "11",
                                        "E"};
    QTest::newRow("a port by its UN/LOCODE as the start")
        << "nlrtm" << true
        << QStringList{"Rotterdam", "Netherlands", "51", "55", "N", "4", "30", "E"};
    QTest::newRow("the name keeps its accents")
        << "reykjavik" << false
        << QStringList{"Reykjavík", "Iceland", "64", "8", "N", "21", "54", "W"};
}

void tst_FindPlace::setAs()
{
    QFETCH(QString, query);
    QFETCH(bool, asStart);
    QFETCH(QStringList, texts);
    const RouteEnd end = asStart ? RouteEnd::Start : RouteEnd::End;
    const RouteEnd other = asStart ? RouteEnd::End : RouteEnd::Start;
    const LocationTexts otherBefore = shown(other);

    openFind();
    QTest::keyClicks(in<QLineEdit>("FindField"), query);
    QTest::mouseClick(in<QPushButton>(asStart ? "FindSetStart" : "FindSetEnd"), Qt::LeftButton);

    const LocationTexts expected{texts[0].toStdString(), texts[1].toStdString(),
                                 texts[2].toStdString(), texts[3].toStdString(),
                                 texts[4].toStdString(), texts[5].toStdString(),
                                 texts[6].toStdString(), texts[7].toStdString()};
    QCOMPARE(shown(end), expected);
    QCOMPARE(shown(other), otherBefore);
    // The location state is what typing these texts gives.
    LocationState typed;
    updateLocation(typed, end, expected);
    updateLocation(typed, other, otherBefore);
    QCOMPARE(m_window->location(), typed);
}

void tst_FindPlace::whileTyping()
{
    openFind();
    auto* field = in<QLineEdit>("FindField");
    auto* answers = in<QTableWidget>("FindAnswers");
    auto* status = in<QLabel>("FindStatus");
    QTest::keyClicks(field, "portland");
    QVERIFY(answers->rowCount() > 3);
    QCOMPARE(answers->currentRow(), 0);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(answers->currentRow(), 1);
    QTest::keyClick(field, Qt::Key_Up);
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(answers->currentRow(), 0);

    QTest::keyClicks(field, ", me");
    QCOMPARE(answers->item(0, 1)->text(), QStringLiteral("ME"));

    field->clear();
    QTest::keyClicks(field, "SGSIN");
    QCOMPARE(answers->item(0, 5)->text(), QStringLiteral("port SGSIN"));

    field->clear();
    QTest::keyClicks(field, "portland, mexyzzy");
    QCOMPARE(answers->rowCount(), 0);
    QCOMPARE(status->text(), QStringLiteral("No place matches \"portland, mexyzzy\"."));
    QVERIFY(!in<QPushButton>("FindSetStart")->isEnabled());
    QVERIFY(!in<QPushButton>("FindSetEnd")->isEnabled());
}

void tst_FindPlace::routeFromTwoFinds()
{
    openFind();
    auto* field = in<QLineEdit>("FindField");
    QTest::keyClicks(field, "lisbon");
    QTest::mouseClick(in<QPushButton>("FindSetStart"), Qt::LeftButton);
    field->clear();
    QTest::keyClicks(field, "funch");
    QTest::mouseClick(in<QPushButton>("FindSetEnd"), Qt::LeftButton);

    // "Done with Inputs" asks and checks as always; the route is the one of the texts shown.
    m_dialogs.answer(Dialogs::AnswerYes);
    m_window->doneWithInputs();
    m_window->computeOutputs();
    const RouteRun expected = computeRoute(m_window->location(), ResultState{}, ".");
    QCOMPARE(expected.outcome, RouteOutcome::Completed);
    QCOMPARE(m_window->findChild<QLineEdit*>("Text3")->text().isEmpty(), false);
    QCOMPARE(m_window->results(), expected.results);
}

void tst_FindPlace::addedToVoyage()
{
    // The voyage's Find Place… adds the place found after the selected one, as Add Place does.
    VoyageDocument document;
    VoyageEditor editor(Services{&m_dialogs, nullptr, nullptr}, &document);
    Voyage voyage;
    voyage.places = {{"Lisbon", {38.7, -9.1}}, {"Funchal", {32.7, -16.9}}};
    document.setVoyage(voyage);
    editor.selectPlace(0);
    QTest::mouseClick(editor.findChild<QPushButton*>("FindPlace"), Qt::LeftButton);
    QTest::keyClicks(in<QLineEdit>("FindField"), "SYD");
    QTest::mouseClick(in<QPushButton>("FindAddToVoyage"), Qt::LeftButton);
    QCOMPARE(document.voyage().places.size(), std::size_t(3));
    const VoyagePlace& added = document.voyage().places[1];
    QCOMPARE(added.name, std::string("Sydney Kingsford Smith International Airport"));
    // The gazetteer's own position, not the whole minutes of the main window's lists.
    QVERIFY(std::abs(added.position.latitude - -33.9461) < 1e-9 &&
            std::abs(added.position.longitude - 151.177) < 1e-9);
}

QTEST_MAIN(tst_FindPlace)
#include "tst_findplace.moc"
