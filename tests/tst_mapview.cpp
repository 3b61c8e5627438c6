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
    // The world map of 720 x 364 has 2 pixels a degree inside a 4-pixel border, centred on the
    // route's middle longitude.
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
        << testroutes::tokyoSanFrancisco() << 66.0 << -172.0 << kLand;
}

void tst_MapView::worldPlaces()
{
    QFETCH(MapRoute, route);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QRgb, colour);
    MapView view;
    view.setRoute(route);
    const QImage image = render(view, QString::fromLatin1(QTest::currentDataTag()), {728, 364});
    const double centre = middleLongitude(route.start, route.end);
    const double x = std::remainder(lon - centre, 360.0) + 180;
    const QRgb got = image.pixel(int(4 + 2 * x), int(2 + 2 * (90 - lat)));
    QVERIFY2(std::abs(qRed(got) - qRed(colour)) + std::abs(qGreen(got) - qGreen(colour)) +
                     std::abs(qBlue(got) - qBlue(colour)) <=
                 12,
             qPrintable(QColor(got).name()));
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
