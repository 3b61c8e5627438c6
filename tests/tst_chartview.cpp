#include "geo/chartview.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace gyrena;

Q_DECLARE_METATYPE(std::vector<gyrena::LatLon>)
Q_DECLARE_METATYPE(std::vector<gyrena::LabelWish>)

namespace {

// Tracks as a voyage draws them: straight in latitude and longitude between the places, one
// point every half degree (the fitting looks at the points, not at how they were made).
std::vector<LatLon> track(std::initializer_list<LatLon> places)
{
    std::vector<LatLon> out;
    const std::vector<LatLon> p(places);
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const double dlon = std::remainder(p[i + 1].longitude - p[i].longitude, 360.0);
        const int n = std::max(
            1, int(std::max(std::abs(dlon), std::abs(p[i + 1].latitude - p[i].latitude)) * 2));
        for (int k = 0; k < n; ++k)
            out.push_back({p[i].latitude + (p[i + 1].latitude - p[i].latitude) * k / n,
                           p[i].longitude + dlon * k / n});
    }
    out.push_back(p.back());
    return out;
}

const std::vector<LatLon> kSolent = track({{50.77, -1.30}, {50.80, -1.10}, {50.72, -1.05}});
const std::vector<LatLon> kPacific = track({{35.6, 139.8}, {21.3, -157.9}, {-17.5, -149.6}});
const std::vector<LatLon> kRoundTheWorld =
    track({{38.7, -9.1}, {9.0, -79.5}, {21.3, -157.9}, {-33.9, 151.2}, {1.3, 103.8}});
const std::vector<LatLon> kAtlantic = track({{40.7, -74.0}, {50.15, -5.07}});

constexpr double kW = 900, kH = 500, kMargin = 40;

} // namespace

class tst_ChartView : public QObject
{
    Q_OBJECT

private slots:
    void worldFitShowsTheVoyage_data();
    void worldFitShowsTheVoyage();
    void chartFitCentresTheLeg();
    void zoomKeepsThePointUnderThePointer();
    void zoomStopsAtItsLimits_data();
    void zoomStopsAtItsLimits();
    void panStopsAtTheEdge();
    void graticule_data();
    void graticule();
    void scaleBarIsRound_data();
    void scaleBarIsRound();
    void labelsNeverOverlap_data();
    void labelsNeverOverlap();
    void labelsAllShownWhenThereIsRoom();
};

void tst_ChartView::worldFitShowsTheVoyage_data()
{
    QTest::addColumn<std::vector<LatLon>>("points");
    QTest::addColumn<double>("widestShare"); // of the view the voyage at least fills
    QTest::newRow("coastal passage, Solent") << kSolent << 0.5;
    QTest::newRow("ocean crossing") << kAtlantic << 0.5;
    QTest::newRow("Pacific across 180") << kPacific << 0.5;
    QTest::newRow("round the world, five places") << kRoundTheWorld << 0.5;
}

void tst_ChartView::worldFitShowsTheVoyage()
{
    QFETCH(std::vector<LatLon>, points);
    QFETCH(double, widestShare);
    const WorldFit fit = fitWorld(points, kW, kH, kMargin);
    const Equirectangular map(fit.centreLon);
    double x0 = kW, x1 = 0, y0 = kH, y1 = 0;
    for (const LatLon& p : points) {
        const MapXY px = toPixel(fit.window, kW, kH, map.project(p));
        x0 = std::min(x0, px.x), x1 = std::max(x1, px.x);
        y0 = std::min(y0, px.y), y1 = std::max(y1, px.y);
    }
    // Every point inside the margin: nothing cut at the edge or at 180 degrees.
    QVERIFY2(x0 >= kMargin - 0.5 && x1 <= kW - kMargin + 0.5 && y0 >= kMargin - 0.5 &&
                 y1 <= kH - kMargin + 0.5,
             qPrintable(QStringLiteral("%1..%2 x %3..%4").arg(x0).arg(x1).arg(y0).arg(y1)));
    // And it fills the map rather than being a dot on the world.
    QVERIFY(std::max((x1 - x0) / kW, (y1 - y0) / kH) >= widestShare);
}

void tst_ChartView::chartFitCentresTheLeg()
{
    // Honolulu to Sydney: the chart's centre is the leg's midpoint, so its ends lie symmetric.
    const std::vector<LatLon> leg = {{21.3, -157.9}, {-33.9, 151.2}};
    const ChartFit fit = fitChart(leg, kW, kH, kMargin, 80);
    const Gnomonic chart(fit.centre, 80);
    const MapXY a = *chart.project(leg.front()), b = *chart.project(leg.back());
    QVERIFY(std::abs(a.x + b.x) < 1e-9 && std::abs(a.y + b.y) < 1e-9);
    const PlaneRect shown = shownRect(fit.window, kW, kH);
    QVERIFY(std::abs(a.x) < shown.right && std::abs(a.y) < shown.top);
}

void tst_ChartView::zoomKeepsThePointUnderThePointer()
{
    const MapWindow start = fitWorld(kAtlantic, kW, kH, kMargin).window;
    const MapXY pointer{700, 120};
    const MapXY under = toPlane(start, kW, kH, pointer);
    const MapWindow in = zoomedAbout(start, 2, pointer, kW, kH, worldLimits());
    const MapXY after = toPixel(in, kW, kH, under);
    QVERIFY(std::abs(in.scale * 2 - start.scale) < 1e-12);
    QVERIFY(std::hypot(after.x - pointer.x, after.y - pointer.y) < 1e-6);
}

void tst_ChartView::zoomStopsAtItsLimits_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("shownHeight");
    QTest::newRow("zoomed out far: the whole world's height") << 1e-6 << 180.0;
    QTest::newRow("zoomed in far: 3 nm high") << 1e9 << 0.05;
}

void tst_ChartView::zoomStopsAtItsLimits()
{
    QFETCH(double, factor);
    QFETCH(double, shownHeight);
    const MapWindow fitted = fitWorld(kSolent, kW, kH, kMargin).window;
    const MapWindow w = zoomedAbout(fitted, factor, {kW / 2, kH / 2}, kW, kH, worldLimits());
    QVERIFY(std::abs(shownRect(w, kW, kH).height() - shownHeight) < 1e-9);
}

void tst_ChartView::panStopsAtTheEdge()
{
    const MapWindow fitted = fitWorld(kAtlantic, kW, kH, kMargin).window;
    const PlaneRect shown = shownRect(pannedBy(fitted, -1e7, 1e7, kW, kH, worldLimits()), kW, kH);
    QVERIFY(std::abs(shown.right - 180) < 1e-9 && std::abs(shown.top - 90) < 1e-9);
}

void tst_ChartView::graticule_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("latitude");
    QTest::addColumn<QString>("label");
    QTest::newRow("world: 30 degrees") << 180.0 << 60.0 << true << QStringLiteral("60°N");
    QTest::newRow("ocean: 5 degrees") << 40.0 << -35.0 << false << QStringLiteral("35°W");
    QTest::newRow("coast: 5 minutes") << 0.5 << 50.75 << true << QStringLiteral("50°45'N");
    QTest::newRow("harbour: 1 minute")
        << 0.05 << -1.0 - 1.0 / 60 << false << QStringLiteral("1°01'W");
    QTest::newRow("equator has no letter") << 180.0 << 0.0 << true << QStringLiteral("0°");
    QTest::newRow("180th meridian, no letter")
        << 180.0 << -180.0 << false << QStringLiteral("180°");
}

void tst_ChartView::graticule()
{
    QFETCH(double, span);
    QFETCH(double, value);
    QFETCH(bool, latitude);
    QFETCH(QString, label);
    const double step = graticuleStep(span, 10);
    QVERIFY(span / step <= 10);
    QVERIFY(step == 30 || span / graticuleStep(span / 2.01, 10) > 10 ||
            graticuleStep(span * 0.99, 10) == step);
    QCOMPARE(QString::fromStdString(graticuleLabel(value, latitude, step)), label);
}

void tst_ChartView::scaleBarIsRound_data()
{
    QTest::addColumn<double>("nmPerPixel");
    QTest::addColumn<double>("nm");
    QTest::newRow("world") << 30.0 << 2000.0;
    QTest::newRow("ocean") << 3.7 << 500.0;
    QTest::newRow("coast") << 0.011 << 1.0;
    QTest::newRow("harbour") << 0.0011 << 0.1;
}

void tst_ChartView::scaleBarIsRound()
{
    QFETCH(double, nmPerPixel);
    QFETCH(double, nm);
    const ScaleBar bar = scaleBar(nmPerPixel, 150);
    QCOMPARE(bar.nauticalMiles, nm);
    QVERIFY(bar.pixels <= 150 && bar.pixels > 60);
}

void tst_ChartView::labelsNeverOverlap_data()
{
    QTest::addColumn<std::vector<LabelWish>>("wishes");
    const auto at = [](double x, double y, double w) { return LabelWish{{x, y}, 5.5, w, 16}; };
    // Lisbon and Funchal on the world map, 12 and 15 pixels apart.
    QTest::newRow("Lisbon and Funchal, world")
        << std::vector<LabelWish>{at(341, 173, 46), at(326, 185, 58)};
    // The Solent's places seen from the ocean: all within a few pixels.
    QTest::newRow("Solent places, ocean zoom") << std::vector<LabelWish>{
        at(400, 200, 60), at(403, 199, 70), at(401, 202, 80), at(399, 203, 64), at(404, 201, 90)};
    std::vector<LabelWish> crowd;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(200, 320), y(100, 180), w(30, 110);
    for (int i = 0; i < 40; ++i)
        crowd.push_back(at(x(random), y(random), w(random)));
    QTest::newRow("forty places in a crowd") << crowd;
    QTest::newRow("against the view's edge")
        << std::vector<LabelWish>{at(2, 2, 80), at(598, 398, 80), at(598, 2, 80)};
}

void tst_ChartView::labelsNeverOverlap()
{
    QFETCH(std::vector<LabelWish>, wishes);
    const ScreenRect bounds{0, 0, 600, 400};
    const std::vector<ScreenRect> legend = {{520, 370, 80, 30}};
    const std::vector<LabelSpot> spots = placeLabels(wishes, legend, bounds);
    QCOMPARE(spots.size(), wishes.size());
    QVERIFY(spots.front().shown || wishes.front().anchor.x < 10); // the most important first
    for (std::size_t i = 0; i < spots.size(); ++i) {
        if (!spots[i].shown)
            continue;
        const ScreenRect& box = spots[i].box;
        QVERIFY(bounds.contains(box) && !box.intersects(legend.front()));
        for (std::size_t j = 0; j < spots.size(); ++j) {
            const LabelWish& m = wishes[j];
            const ScreenRect marker{m.anchor.x - m.markerRadius, m.anchor.y - m.markerRadius,
                                    2 * m.markerRadius, 2 * m.markerRadius};
            QVERIFY2(!box.intersects(marker),
                     qPrintable(QStringLiteral("%1 on marker %2").arg(i).arg(j)));
            QVERIFY2(j == i || !spots[j].shown || !box.intersects(spots[j].box),
                     qPrintable(QStringLiteral("%1 on %2").arg(i).arg(j)));
        }
    }
}

void tst_ChartView::labelsAllShownWhenThereIsRoom()
{
    // The same five Solent places zoomed in to the coast: every name fits.
    std::vector<LabelWish> wishes;
    for (int i = 0; i < 5; ++i)
        wishes.push_back({{100.0 + 110 * i, 150.0 + 40 * (i % 2)}, 5.5, 80, 16});
    const std::vector<LabelSpot> spots = placeLabels(wishes, {}, {0, 0, 700, 400});
    QVERIFY(std::all_of(spots.begin(), spots.end(),
                        [](const LabelSpot& s) { return s.shown && !s.leader; }));
}

QTEST_GUILESS_MAIN(tst_ChartView)
#include "tst_chartview.moc"
