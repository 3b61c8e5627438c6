#include "io/earth/coastlines.h"
#include "maproutes.h"
#include "ui/route/mapview.h"

#include <QImage>
#include <QtTest>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::MapRoute)

namespace {

// The map drawn into an image of the given size, as the window would show it; saved as PNG
// into $GYRENA_MAP_SHOTS when that is set, to look at.
QImage render(MapView& view, const QString& name, QSize size = {960, 540})
{
    view.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    if (const QByteArray dir = qgetenv("GYRENA_MAP_SHOTS"); !dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

// How many pixels of the image have (about) this colour.
int pixelsNear(const QImage& image, QRgb colour, int tolerance = 12)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += std::abs(qRed(line[x]) - qRed(colour)) +
                     std::abs(qGreen(line[x]) - qGreen(colour)) +
                     std::abs(qBlue(line[x]) - qBlue(colour)) <=
                 tolerance;
    }
    return n;
}

constexpr QRgb kSea = qRgb(0xdd, 0xea, 0xf3);
constexpr QRgb kLand = qRgb(0xf3, 0xf0, 0xe4);
constexpr QRgb kGreatCircle = qRgb(0xb0, 0x1c, 0x2e);

} // namespace

class tst_MapView : public QObject
{
    Q_OBJECT

private slots:
    void coastlinesReadOnFirstPaint();
    void worldPlaces_data();
    void worldPlaces();
    void viewCommands_data();
    void viewCommands();
    void pointerStaysOnItsPlace_data();
    void pointerStaysOnItsPlace();
    void coastalPassageFillsTheMap();
    void coastDetailFollowsTheZoom_data();
    void coastDetailFollowsTheZoom();
    void chartFollowsTheSelectedLeg();
    void routesDrawn_data();
    void routesDrawn();
};

void tst_MapView::coastlinesReadOnFirstPaint()
{
    MapView view;
    view.setRoute(testroutes::londonTokyo());
    QVERIFY(!MapView::coastlinesRead());
    render(view, QStringLiteral("first"), {200, 100});
    QVERIFY(MapView::coastlinesRead());
    QVERIFY(MapView::coastlines() != nullptr);
}

void tst_MapView::worldPlaces_data()
{
    QTest::addColumn<MapRoute>("route");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("central Australia, Pacific map")
        << testroutes::sanFranciscoSydney() << -25.0 << 134.0 << kLand;
    QTest::newRow("mid Pacific, Pacific map")
        << testroutes::sanFranciscoSydney() << 10.0 << -140.0 << kSea;
    QTest::newRow("Sahara, Europe-Asia map") << testroutes::londonTokyo() << 23.0 << 10.0 << kLand;
    QTest::newRow("Caspian Sea, a lake in Asia")
        << testroutes::londonTokyo() << 42.0 << 51.0 << kSea;
    QTest::newRow("Atlantic, Europe-Asia map")
        << testroutes::londonTokyo() << 10.0 << -35.0 << kSea;
    QTest::newRow("Chukotka beyond 180, Pacific map")
        << testroutes::tokyoSanFrancisco() << 66.0 << -175.0 << kLand;
    // Zoomed in to a coastal passage, on the 1:10m coast cut to the view.
    const MapRoute solent = testroutes::sampleRoute(QStringLiteral("Yarmouth"), {50.706, -1.500},
                                                    QStringLiteral("Cowes"), {50.766, -1.298});
    QTest::newRow("Isle of Wight, Solent map") << solent << 50.71 << -1.33 << kLand;
    QTest::newRow("the Solent, Solent map") << solent << 50.745 << -1.42 << kSea;
}

void tst_MapView::worldPlaces()
{
    QFETCH(MapRoute, route);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QRgb, colour);
    // Zoomed out to the whole world (a coastal passage as fitted), centred on the route's own
    // span of longitude: the land lies under the positions the view gives for it.
    MapView view;
    view.setRoute(route);
    view.resize(728, 364);
    if (!QByteArray(QTest::currentDataTag()).endsWith("Solent map"))
        view.zoomBy(1e-6, QPointF(364, 182));
    const QImage image = render(view, QString::fromLatin1(QTest::currentDataTag()), {728, 364});
    const QPoint at = view.pixelOf({lat, lon})->toPoint();
    QVERIFY(image.rect().contains(at));
    const QRgb got = image.pixel(at);
    QVERIFY2(std::abs(qRed(got) - qRed(colour)) + std::abs(qGreen(got) - qGreen(colour)) +
                     std::abs(qBlue(got) - qBlue(colour)) <=
                 12,
             qPrintable(QColor(got).name()));
}

void tst_MapView::viewCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("scaleRatio"); // nm per pixel after / before
    QTest::addColumn<double>("eastward");   // sign of the centre's move east (0: none)
    QTest::addColumn<bool>("follows");
    QTest::newRow("+ zooms in") << int(Qt::Key_Plus) << 1 / 1.5 << 0.0 << false;
    QTest::newRow("- zooms out") << int(Qt::Key_Minus) << 1.5 << 0.0 << false;
    QTest::newRow("right arrow pans east") << int(Qt::Key_Right) << 1.0 << 1.0 << false;
    QTest::newRow("left arrow pans west") << int(Qt::Key_Left) << 1.0 << -1.0 << false;
    QTest::newRow("Home fits the voyage again") << int(Qt::Key_Home) << 1.0 << 0.0 << true;
}

void tst_MapView::viewCommands()
{
    QFETCH(int, key);
    QFETCH(double, scaleRatio);
    QFETCH(double, eastward);
    QFETCH(bool, follows);
    MapView view;
    view.setRoute(testroutes::londonTokyo());
    view.resize(800, 450);
    const QPointF centre(400, 225);
    const double before = view.window().scale;
    const double lonBefore = view.positionAt(centre)->longitude;
    QTest::keyClick(&view, Qt::Key(key));
    QVERIFY(std::abs(view.window().scale / before - scaleRatio) < 1e-9);
    const double moved = view.positionAt(centre)->longitude - lonBefore;
    QVERIFY(eastward == 0 ? std::abs(moved) < 1e-9 : moved * eastward > 1);
    QCOMPARE(view.followsVoyage(), follows);
}

void tst_MapView::pointerStaysOnItsPlace_data()
{
    QTest::addColumn<bool>("drag"); // else the wheel
    QTest::newRow("wheel zooms about the pointer") << false;
    QTest::newRow("dragging moves the map with the pointer") << true;
}

void tst_MapView::pointerStaysOnItsPlace()
{
    QFETCH(bool, drag);
    MapView view;
    view.setRoute(testroutes::sanFranciscoSydney());
    view.resize(800, 450);
    const QPointF from(600, 120), to(500, 200);
    const LatLon under = *view.positionAt(from);
    if (drag) {
        QTest::mousePress(&view, Qt::LeftButton, {}, from.toPoint());
        QMouseEvent move(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QCoreApplication::sendEvent(&view, &move);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, to.toPoint());
    } else {
        QWheelEvent wheel(from, view.mapToGlobal(from), {}, {0, 240}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &wheel);
    }
    const QPointF now = *view.pixelOf(under);
    const QPointF expected = drag ? to : from;
    QVERIFY2(std::hypot(now.x() - expected.x(), now.y() - expected.y()) < 0.5,
             qPrintable(QStringLiteral("%1,%2").arg(now.x()).arg(now.y())));
}

void tst_MapView::coastalPassageFillsTheMap()
{
    // Seventeen nautical miles of the Solent in a map 720 pixels wide: not one dot.
    MapRoute solent = testroutes::sampleRoute(QStringLiteral("Yarmouth"), {50.706, -1.500},
                                              QStringLiteral("Cowes"), {50.766, -1.298});
    MapView view;
    view.setRoute(solent);
    view.resize(720, 400);
    const QPointF a = *view.pixelOf(solent.start), b = *view.pixelOf(solent.end);
    QVERIFY(std::abs(a.x() - b.x()) > 360);
}

void tst_MapView::coastDetailFollowsTheZoom_data()
{
    QTest::addColumn<MapRoute>("route");
    QTest::addColumn<bool>("detailed");
    QTest::newRow("ocean crossing: 1:50m") << testroutes::sanFranciscoSydney() << false;
    QTest::newRow("the Solent: 1:10m")
        << testroutes::sampleRoute(QStringLiteral("Yarmouth"), {50.706, -1.500},
                                   QStringLiteral("Cowes"), {50.766, -1.298})
        << true;
}

void tst_MapView::coastDetailFollowsTheZoom()
{
    QFETCH(MapRoute, route);
    QFETCH(bool, detailed);
    MapView view;
    view.setRoute(route);
    view.resize(720, 400);
    QCOMPARE(view.detailedCoast(), detailed);
    // The close view's land comes from the detailed asset, read whole.
    QVERIFY(MapView::detailedCoastlines()->pointCount() > 5 * MapView::coastlines()->pointCount());
}

void tst_MapView::chartFollowsTheSelectedLeg()
{
    // Lisbon - Panama - Honolulu: the chart of leg 2 has Panama - Honolulu through its middle.
    const LatLon lisbon{38.7, -9.1}, panama{9.0, -79.5}, honolulu{21.3, -157.9};
    MapRoute voyage = testroutes::sampleRoute(QStringLiteral("Lisbon"), lisbon,
                                              QStringLiteral("Honolulu"), honolulu);
    voyage.stops = {{panama, "Panama"}};
    voyage.legs = {testroutes::sampleRoute({}, lisbon, {}, panama).greatCircle,
                   testroutes::sampleRoute({}, panama, {}, honolulu).greatCircle};
    MapView view;
    view.setRoute(voyage);
    view.setProjection(MapView::Projection::Chart);
    view.resize(800, 450);
    view.setSelectedLeg(1);
    const LatLon middle = greatCircleMidpoint(panama, honolulu);
    const QPointF centre = *view.pixelOf(middle);
    QVERIFY(std::hypot(centre.x() - 400, centre.y() - 225) < 1);
    QVERIFY(view.rect().contains(view.pixelOf(panama)->toPoint()) &&
            view.rect().contains(view.pixelOf(honolulu)->toPoint()));
}

void tst_MapView::routesDrawn_data()
{
    QTest::addColumn<MapRoute>("route");
    QTest::addColumn<MapView::Projection>("projection");
    QTest::newRow("London-Tokyo world") << testroutes::londonTokyo() << MapView::Projection::World;
    QTest::newRow("London-Tokyo chart") << testroutes::londonTokyo() << MapView::Projection::Chart;
    QTest::newRow("San Francisco-Sydney world")
        << testroutes::sanFranciscoSydney() << MapView::Projection::World;
    QTest::newRow("San Francisco-Sydney chart")
        << testroutes::sanFranciscoSydney() << MapView::Projection::Chart;
    QTest::newRow("Tokyo-San Francisco world")
        << testroutes::tokyoSanFrancisco() << MapView::Projection::World;
    QTest::newRow("Tokyo-San Francisco chart")
        << testroutes::tokyoSanFrancisco() << MapView::Projection::Chart;
}

void tst_MapView::routesDrawn()
{
    QFETCH(MapRoute, route);
    QFETCH(MapView::Projection, projection);
    MapView view;
    view.setRoute(route);
    view.setProjection(projection);
    const QImage image = render(view, QString::fromLatin1(QTest::currentDataTag()));
    // Sea, land and the solid great circle are all there, and the line is a line: on a world map
    // split at the edge it would run across the whole width.
    QVERIFY(pixelsNear(image, kSea) > image.width() * image.height() / 10);
    QVERIFY(pixelsNear(image, kLand) > image.width() * image.height() / 50);
    const int line = pixelsNear(image, kGreatCircle, 40);
    QVERIFY2(line > 300 && line < image.width() * 8, qPrintable(QString::number(line)));
}

QTEST_MAIN(tst_MapView)
#include "tst_mapview.moc"
