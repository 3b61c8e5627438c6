// The worked-example window and the pictures compiled into the windows' library.

#include "geo/calcs.h"
#include "geo/location.h"
#include "geo/resultboxes.h"
#include "geo/workedexample.h"
#include "keepsrunning.h"
#include "modalwatch.h"
#include "ui/info/mathwindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace gyrena;

namespace {

constexpr int px(int twipValue)
{
    return (twipValue * 2 + 15) / 30;
}

struct PngHeader
{
    int width = 0, height = 0, bitDepth = 0, colourType = -1;
};

// The header fields of a PNG, straight from its IHDR chunk.
PngHeader pngHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(26);
    if (head.size() < 26 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        return {};
    auto be32 = [&](int at) {
        return (uchar(head[at]) << 24) | (uchar(head[at + 1]) << 16) | (uchar(head[at + 2]) << 8) |
               uchar(head[at + 3]);
    };
    return {be32(16), be32(20), uchar(head[24]), uchar(head[25])};
}

} // namespace

class tst_MathWindow : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;
private slots:
    void design();
    void pictureUnscaledAtTheInsideCorner();
    void nothingMovesOnResize_data();
    void nothingMovesOnResize();
    void pictures_data();
    void pictures();
    void workedExampleAgreesWithTheOutputFrame_data();
    void workedExampleAgreesWithTheOutputFrame();
    void closeUnloads();
    void keepsTheApplicationRunning();
};

void tst_MathWindow::design()
{
    MathWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("TheMath"));
    QCOMPARE(window.windowTitle(), QStringLiteral("The Math"));
    QCOMPARE(window.size(), QSize(px(9555), px(7440)));
    QVERIFY(window.isWindow());
    QCOMPARE(window.windowType(), Qt::Window);
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(!flags.testFlag(Qt::CustomizeWindowHint)); // the system's frame: min, max, close
    QVERIFY(window.minimumSize().width() < window.width());
    QVERIFY(window.maximumSize().width() > window.width());
    QVERIFY(!window.testAttribute(Qt::WA_Moved)); // the window system places it
    QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!window.windowIcon().isNull());

    auto* picture = window.findChild<QLabel*>("Picture1");
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), QRect(px(240), px(120), px(8700), px(6930)));
    QCOMPARE(picture->frameShape(), QFrame::Panel);
    QCOMPARE(picture->frameShadow(), QFrame::Sunken);
    QVERIFY(!picture->hasScaledContents());
    QCOMPARE(picture->pixmap().size(), QSize(576, 450));
    // The picture is exactly as wide as the box's inside; 8 pixels of box remain below it.
    QCOMPARE(picture->contentsRect(), QRect(2, 2, 576, 458));
    QVERIFY(window.findChildren<QScrollArea*>().isEmpty());
    QVERIFY(window.findChildren<QScrollBar*>().isEmpty());
}

void tst_MathWindow::pictureUnscaledAtTheInsideCorner()
{
    MathWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* picture = window.findChild<QLabel*>("Picture1");
    const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage source = QImage(":/gyrena/math-example.png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(580, 462));
    // Every pixel of the picture lands one to one inside the border.
    QCOMPARE(shown.copy(2, 2, 576, 450), source);
    // Below it, the box's own background.
    const QColor background = picture->palette().color(QPalette::Window);
    for (int x = 2; x < 578; x += 25)
        QCOMPARE(QColor(shown.pixel(x, 2 + 450 + 4)), background);
}

void tst_MathWindow::nothingMovesOnResize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(1000, 800);
    QTest::newRow("smaller than the box") << QSize(300, 200);
}

void tst_MathWindow::nothingMovesOnResize()
{
    QFETCH(QSize, size);
    MathWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* picture = window.findChild<QLabel*>("Picture1");
    const QRect before = picture->geometry();
    window.resize(size);
    QTRY_COMPARE(window.size(), size);
    QCOMPARE(picture->geometry(), before);
    QCOMPARE(picture->pixmap().size(), QSize(576, 450));
}

void tst_MathWindow::pictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<int>("colourType"); // 2: RGB, 3: palette

    QTest::newRow("worked example, 24-bit RGB")
        << ":/gyrena/math-example.png" << QSize(576, 450) << 8 << 2;
    QTest::newRow("icon, 256 colours") << ":/gyrena/icon-32.png" << QSize(32, 32) << 8 << 3;
}

void tst_MathWindow::pictures()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(int, bitDepth);
    QFETCH(int, colourType);

    const PngHeader header = pngHeader(path);
    QCOMPARE(QSize(header.width, header.height), size);
    QCOMPARE(header.bitDepth, bitDepth);
    QCOMPARE(header.colourType, colourType);
    const QImage image(path);
    QCOMPARE(image.size(), size);
    if (colourType == 2)
        QVERIFY(!image.hasAlphaChannel());
    else
        QVERIFY(image.colorCount() > 0 && image.colorCount() <= 256);
}

void tst_MathWindow::workedExampleAgreesWithTheOutputFrame_data()
{
    QTest::addColumn<QString>("printed"); // as the picture prints it
    QTest::addColumn<QString>("box");

    const WorkedExample example = workedExample();
    const auto row = [](const char* name, const std::string& printed, const char* box) {
        QTest::newRow(name) << QString::fromStdString(printed) << QString::fromLatin1(box);
    };
    row("N, difference of longitude", example.deltaLong, "Text11");
    row("e, colatitude of the start", example.startColat, "Text14");
    row("s, colatitude of the end", example.endColat, "Text16");
    row("n, the arc", example.arc, "Text12");
    row("orthodrome in nautical miles", example.distance, "Text3");
    row("S, angle at the start", example.startAngle, "Text19");
    row("initial course", example.initialCourse, "Text4");
    row("E, angle at the end", example.endAngle, "Text20");
    row("course on arrival", example.arrivalCourse, "Text5");
}

void tst_MathWindow::workedExampleAgreesWithTheOutputFrame()
{
    QFETCH(QString, printed);
    QFETCH(QString, box);

    // San Francisco to Sydney typed into the main window's twelve lists, then computed.
    LocationState route;
    updateStartLat(route, "37", "45");
    updateStartLatDir(route, "N");
    updateStartLong(route, "122", "27");
    updateStartLongDir(route, "W");
    updateEndLat(route, "34", "0");
    updateEndLatDir(route, "S");
    updateEndLong(route, "151", "0");
    updateEndLongDir(route, "E");
    const RouteRun run = computeRoute(route, ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    QString shown;
    for (const FieldWrite& write : run.writes) {
        if (QString::fromUtf8(resultBox(write.field).objectName.data()) == box)
            shown = QString::fromStdString(write.text);
    }

    // The picture may show more decimals than the box (240.265 beside 240.26), never another
    // value: some number must round to both texts.
    const auto halfUnit = [](const QString& number) {
        const qsizetype point = number.indexOf(QLatin1Char('.'));
        return 0.5 * std::pow(10.0, point < 0 ? 0.0 : -double(number.size() - point - 1));
    };
    bool printedOk = false, shownOk = false;
    const double difference = std::fabs(printed.toDouble(&printedOk) - shown.toDouble(&shownOk));
    QVERIFY2(printedOk && shownOk && difference <= halfUnit(printed) + halfUnit(shown) + 1e-9,
             qPrintable(QStringLiteral("picture %1, box %2 %3").arg(printed, box, shown)));
}

void tst_MathWindow::closeUnloads()
{
    QPointer<MathWindow> window = new MathWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->close();
    QTRY_VERIFY(window.isNull());
    // The vector icon for the desktop is there as well.
    QFile svg(":/gyrena/icon.svg");
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));
}

void tst_MathWindow::keepsTheApplicationRunning()
{
    verifyKeepsTheApplicationRunning(new MathWindow);
}

QTEST_MAIN(tst_MathWindow)
#include "tst_mathwindow.moc"
