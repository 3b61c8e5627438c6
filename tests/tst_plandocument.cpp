// The passage plan on paper: Export PDF… and Print… of the route window, read back by poppler's
// pdftotext and pdfinfo; the RTZ and KML exports of the window and their failed writes.

#include "externaltools.h"
#include "fakedialogs.h"
#include "fakepreferences.h"
#include "geo/utctime.h"
#include "modalwatch.h"
#include "platform/printpreview.h"
#include "ui/route/planexports.h"
#include "ui/route/routewindow.h"
#include "ui/route/waypointmodel.h"

#include <QApplication>
#include <QDir>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace gyrena;

namespace {

const LatLon sanFrancisco{37.75, -122.45}, sydney{-34.0, 151.0};

// Paints what the preview would show onto a PDF, as the real preview paints onto its printer.
class FakePrintPreview : public PrintPreview
{
public:
    bool preview(QWidget*, const QString& title, const QPageSize& pageSize,
                 const std::function<void(QPagedPaintDevice&)>& paint) override
    {
        titles << title;
        QPdfWriter writer(path);
        writer.setPageSize(pageSize);
        paint(writer);
        return true;
    }
    QString path;
    QStringList titles;
};

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("(%1 failed)").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every row of the window's table on a line of its own in `text`, cells in order; every page
// with the table's header and its number.
void verifyTable(const QString& text, const QAbstractItemModel& model, int pages)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            const QString cell = model.data(model.index(row, column)).toString();
            if (!cell.isEmpty())
                cells << QRegularExpression::escape(cell);
        }
        const QRegularExpression line(QStringLiteral("(^|\\n) *") +
                                      cells.join(QStringLiteral(" +")) + QStringLiteral(" *\\n"));
        QVERIFY2(line.match(text).hasMatch(), qPrintable(cells.join(' ')));
    }
    const QString header = model.headerData(1, Qt::Horizontal).toString();
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(header))), pages);
    for (int page = 1; page <= pages; ++page)
        QVERIFY(text.contains(QStringLiteral("page %1 of %2").arg(page).arg(pages)));
}

} // namespace

class tst_PlanDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pdfReadBack_data();
    void pdfReadBack();
    void printShowsPreview();
    void exportFiles_data();
    void exportFiles();

private:
    ModalWatch m_modals;
    FakeDialogs m_dialogs;
    FakePrintPreview m_preview;
    FakePreferences m_preferences = FakePreferences::landUnchecked();
    std::unique_ptr<RouteWindow> m_window;
    QTemporaryDir m_dir;
};

void tst_PlanDocument::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_dir.isValid());
}

void tst_PlanDocument::init()
{
    QLocale::setDefault(QLocale::c());
    m_dialogs.reset();
    m_window = std::make_unique<RouteWindow>(
        Services{&m_dialogs, nullptr, nullptr, &m_preview, &m_preferences});
    m_window->setRoute(sanFrancisco, sydney, QStringLiteral("San Francisco"),
                       QStringLiteral("Sydney"));
}

void tst_PlanDocument::cleanup()
{
    m_window.reset();
    QLocale::setDefault(QLocale::c());
    QVERIFY(m_dialogs.verifyDone());
}

void tst_PlanDocument::pdfReadBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("title");     // San Francisco - Sydney unless a voyage's
    QTest::addColumn<QString>("departure"); // a voyage's, UTC; none for the route
    QTest::addColumn<bool>("magnetic");     // the table's courses magnetic, its times local
    QTest::addColumn<bool>("overLand");     // the voyage is Sydney - Singapore, across Australia
    const QString route = QStringLiteral("San Francisco \u2013 Sydney");
    QTest::newRow("German, every 10 degrees") << QLocale(QLocale::German, QLocale::Germany) << 1
                                              << "A4" << 1 << route << QString() << false << false;
    // 66 waypoints: the table runs on over a second page.
    QTest::newRow("United States, every 100 nm")
        << QLocale(QLocale::English, QLocale::UnitedStates) << 4 << "letter" << 2 << route
        << QString() << false << false;
    QTest::newRow("Canada, every 100 nm") << QLocale(QLocale::English, QLocale::Canada) << 4
                                          << "letter" << 2 << route << QString() << false << false;
    QTest::newRow("voyage of three places with a departure")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << 0 << "A4" << 1
        << QStringLiteral("Lisbon \u2013 Funchal \u2013 New York") << "2026-06-01T08:00Z" << false
        << false;
    // The almanac's columns as the window shows them: magnetic courses, variation, light, local
    // times, sunrise and sunset, in German numbers.
    QTest::newRow("voyage in German, magnetic courses and local times")
        << QLocale(QLocale::German, QLocale::Germany) << 0 << "A4" << 1
        << QStringLiteral("Lisbon \u2013 Funchal \u2013 New York") << "2026-06-01T08:00Z" << true
        << false;
    QTest::newRow("German, a voyage across Australia")
        << QLocale(QLocale::German, QLocale::Germany) << 0 << "A4" << 1
        << QStringLiteral("Sydney \u2013 Singapore") << "2026-06-01T08:00Z" << false << true;
}

void tst_PlanDocument::pdfReadBack()
{
    QFETCH(QLocale, locale);
    QFETCH(int, spacing);
    QFETCH(QString, paper);
    QFETCH(int, pages);
    QFETCH(QString, title);
    QFETCH(QString, departure);
    QFETCH(bool, magnetic);
    QFETCH(bool, overLand);
    GYRENA_REQUIRE_PROGRAM(pdftotext, "pdftotext", "test");
    GYRENA_REQUIRE_PROGRAM(pdfinfo, "pdfinfo", "test");
    QLocale::setDefault(locale);
    m_window->setRoute(sanFrancisco, sydney, QStringLiteral("San Francisco"),
                       QStringLiteral("Sydney"));
    if (!departure.isEmpty()) {
        Voyage voyage;
        voyage.places = {
            {"Lisbon", {38.7, -9.13}}, {"Funchal", {32.65, -16.92}}, {"New York", {40.7, -74.0}}};
        voyage.legs = {{}, {Sailing::Composite, 41.0, std::nullopt}};
        if (overLand) {
            voyage.places = {{"Sydney", {-33.87, 151.2}}, {"Singapore", {1.29, 103.85}}};
            voyage.legs.clear();
            m_window->setLandCheck(true);
        }
        voyage.departure = parseUtcMinute(departure.toStdString());
        m_window->setVoyage(voyage);
    }
    m_window->setSpacing(spacing);
    m_window->setMagneticCourses(magnetic);
    m_window->setTimeKeeping(magnetic ? TimeKeeping::Local : TimeKeeping::Utc);
    const QString path = m_dir.filePath(QStringLiteral("plan.pdf"));
    m_dialogs.choose(path);
    m_window->exports()->exportPdf();
    QVERIFY(m_dialogs.verifyDone());

    const QString info = run(pdfinfo, {path});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: .*\\(%1\\)").arg(paper))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +%1\\n").arg(pages))),
             qPrintable(info));
    QVERIFY(info.contains(QStringLiteral("Title:           ") + title));
    const QString text = run(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QVERIFY2(text.trimmed().startsWith(title), qPrintable(text.left(200)));
    if (!departure.isEmpty() && !magnetic) {
        // Departure and arrival as the table writes the times.
        const WaypointModel& table = *m_window->model();
        const QString arrival =
            table.data(table.index(table.rowCount() - 1, WaypointModel::Eta)).toString();
        const QString words =
            QString(text).replace(QRegularExpression(QStringLiteral("\\s+")), " ");
        QVERIFY2(words.contains("departure " + departure + " \u00B7 arrival " + arrival),
                 qPrintable(text.left(400)));
    }
    // The total as the window's locale writes it.
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QVERIFY2(text.contains(locale.toString(m_window->plan().distance, 'f', 1) + " nm"),
             qPrintable(text.left(400)));
    verifyTable(text, *m_window->model(), pages);
    if (magnetic) {
        QVERIFY(text.contains(QStringLiteral("Course (M)")) && text.contains("ETA (local time)"));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\d,\\d\u00B0W"))),
                 qPrintable(text));
    }
    // The land the window warns of, in its words and marks; the export waits for the land.
    QCOMPARE(m_window->view().landWarnings.empty(), !overLand);
    const QString words = QString(text).replace(QRegularExpression(QStringLiteral("\\s+")), " ");
    for (const std::string& warning : m_window->view().landWarnings)
        QVERIFY2(words.contains(QString::fromStdString(warning)), qPrintable(words.left(600)));
    QCOMPARE(text.contains(QStringLiteral("over land")), overLand);
}

void tst_PlanDocument::printShowsPreview()
{
    GYRENA_REQUIRE_PROGRAM(pdftotext, "pdftotext", "test");
    m_preview.path = m_dir.filePath(QStringLiteral("preview.pdf"));
    m_window->exports()->print();
    QCOMPARE(m_preview.titles, QStringList{QStringLiteral("San Francisco \u2013 Sydney")});
    verifyTable(run(pdftotext, {QStringLiteral("-layout"), m_preview.path, QStringLiteral("-")}),
                *m_window->model(), 1);
}

void tst_PlanDocument::exportFiles_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("target");    // under the test's folder
    QTest::addColumn<QByteArray>("begins"); // empty: the write fails
    for (const char* format : {"pdf", "rtz", "kml"}) {
        const QByteArray begins = QByteArray(format) == "pdf" ? "%PDF-" : "<?xml";
        QTest::addRow("%s", format) << format << QStringLiteral("plan.%1").arg(format) << begins;
        QTest::addRow("%s into a missing folder", format)
            << format << QStringLiteral("missing/plan.%1").arg(format) << QByteArray();
    }
}

void tst_PlanDocument::exportFiles()
{
    QFETCH(QString, format);
    QFETCH(QString, target);
    QFETCH(QByteArray, begins);
    const QString path = m_dir.filePath(target);
    m_dialogs.choose(path);
    if (begins.isEmpty())
        m_dialogs.answer(Dialogs::AnswerOk);
    PlanExports& exports = *m_window->exports();
    if (format == "pdf")
        exports.exportPdf();
    else if (format == "rtz")
        exports.exportRtz();
    else
        exports.exportKml();
    QVERIFY(m_dialogs.verifyDone());
    const QString wanted = QStringLiteral("Export %1").arg(format.toUpper());
    QCOMPARE(m_dialogs.fileDialogs().at(0).title, wanted);
    QFile file(path);
    if (begins.isEmpty()) {
        const FakeDialogs::Box& box = m_dialogs.boxes().at(0);
        QVERIFY2(box.text.startsWith(QStringLiteral("The file could not be written: ")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, Dialogs::Icon::Critical);
        QVERIFY(!file.exists());
        return;
    }
    QVERIFY(m_dialogs.boxes().isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(begins));
}

QTEST_MAIN(tst_PlanDocument)
#include "tst_plandocument.moc"
