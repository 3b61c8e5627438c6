// The worked-example window and the pictures compiled into the windows' library.

#include "modalwatch.h"
#include "keepsrunning.h"
#include "ui/info/mathwindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

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
