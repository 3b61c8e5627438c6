#include "mathexample.h"

#include "geo/workedexample.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <vector>

namespace render {

namespace {

const QColor kInk(0, 0, 0);
const QColor kHighlight(0xc8, 0xf0, 0x64); // yellow-green behind the results that matter
const QColor kPanel(0xe4, 0xe4, 0xe4);
constexpr int kLeft = 10;

enum class Style { Text, Bold, BoldItalic, Math, MathItalic };

QFont fontFor(Style style)
{
    const bool math = style == Style::Math || style == Style::MathItalic;
    QFont font(math ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(math ? 13 : 12);
    font.setBold(style == Style::Bold || style == Style::BoldItalic);
    font.setItalic(style == Style::BoldItalic || style == Style::MathItalic);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

struct Run
{
    QString text;
    Style style = Style::Math;
    bool highlighted = false;
};

// Draws runs left to right from `x` on the baseline `y`; returns the x after the last run.
double drawRuns(QPainter& p, double x, double y, const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        const QFont font = fontFor(run.style);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(run.text);
        if (run.highlighted) {
            p.fillRect(QRectF(x - 3, y - metrics.ascent() - 2, width + 6,
                              metrics.ascent() + metrics.descent() + 4),
                       kHighlight);
        }
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QPointF(x, y), run.text);
        x += width;
    }
    return x;
}

double runsWidth(const std::vector<Run>& runs)
{
    double width = 0;
    for (const Run& run : runs)
        width += QFontMetricsF(fontFor(run.style)).horizontalAdvance(run.text);
    return width;
}

// A stacked fraction centred on the baseline's maths axis; returns the x after it.
double drawFraction(QPainter& p, double x, double y, const std::vector<Run>& numerator,
                    const std::vector<Run>& denominator)
{
    const double width = std::max(runsWidth(numerator), runsWidth(denominator)) + 4;
    const double axis = y - 4.5;
    drawRuns(p, x + (width - runsWidth(numerator)) / 2, axis - 4, numerator);
    drawRuns(p, x + (width - runsWidth(denominator)) / 2, axis + 13, denominator);
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(x, axis + 0.5), QPointF(x + width, axis + 0.5));
    return x + width;
}

Run m(const QString& text)
{
    return {text, Style::Math, false};
}
Run mi(const QString& text)
{
    return {text, Style::MathItalic, false};
}
Run t(const QString& text)
{
    return {text, Style::Text, false};
}
Run hi(const QString& text)
{
    return {text, Style::Math, true};
}

const QString kDeg = QStringLiteral("\u00b0");     // degree sign
const QString kDot = QStringLiteral("\u00b7");     // multiplication dot
const QString kMinus = QStringLiteral(" \u2212 "); // minus sign with room
const QString kDefine = QStringLiteral(" := ");

QString deg(const QString& number)
{
    return number + kDeg;
}

// An arrowhead at `tip` pointing along `direction`.
void arrowhead(QPainter& p, QPointF tip, QPointF direction, double size)
{
    const double length = std::hypot(direction.x(), direction.y());
    const QPointF u = direction / length;
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - u * size + n * size * 0.45);
    head.lineTo(tip - u * size - n * size * 0.45);
    head.closeSubpath();
    p.fillPath(head, kInk);
}

// A point on the globe's outline drawing: a meridian is half an ellipse from the north pole to
// the south pole; `colatitude` runs from 0 at the pole to 180, `bulge` is its half-width.
QPointF onMeridian(QPointF centre, double radius, double bulge, double colatitude)
{
    const double t = colatitude * std::numbers::pi / 180;
    return {centre.x() + bulge * std::sin(t), centre.y() - radius * std::cos(t)};
}

QPainterPath meridianArc(QPointF centre, double radius, double bulge, double from, double to)
{
    QPainterPath path;
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        const QPointF point = onMeridian(centre, radius, bulge, from + (to - from) * i / steps);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

// The small circle with an arrow that marks a course angle at a vertex.
void courseMark(QPainter& p, QPointF at, double startAngle)
{
    const double r = 7;
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, r, r);
    // The arrow rides the circle clockwise, as a compass course turns.
    const double a = startAngle * std::numbers::pi / 180;
    const QPointF tip(at.x() + r * std::cos(a), at.y() + r * std::sin(a));
    arrowhead(p, tip, QPointF(-std::sin(a), std::cos(a)), 6);
}

void drawGlobe(QPainter& p, const QRectF& panel, const gyrena::ResultState& triangle)
{
    p.fillRect(panel, kPanel);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF c(panel.left() + 92, panel.top() + 110);
    const double r = 70;
    const double eqRadius = r * 0.28;

    // Globe outline.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);

    // Equator: the near half solid, the far half dashed.
    QPen solid(kInk, 1);
    QPen dashed(kInk, 1, Qt::DashLine);
    const QRectF equator(c.x() - r, c.y() - eqRadius, 2 * r, 2 * eqRadius);
    p.setPen(solid);
    p.drawArc(equator, 180 * 16, 180 * 16);
    p.setPen(dashed);
    p.drawArc(equator, 0, 180 * 16);

    // Two meridians: through the start on the right, through the end on the left.
    const double startBulge = r * 0.62, endBulge = -r * 0.66;
    const double startColat = triangle.startColat, endColat = triangle.endColat;
    p.setPen(solid);
    p.drawPath(meridianArc(c, r, startBulge, 0, 180));
    p.drawPath(meridianArc(c, r, endBulge, 0, 180));

    const QPointF north(c.x(), c.y() - r);
    const QPointF start = onMeridian(c, r, startBulge, startColat);
    const QPointF end = onMeridian(c, r, endBulge, endColat);

    // Radii from the centre to the three vertices.
    p.setPen(dashed);
    for (const QPointF& vertex : {north, start, end})
        p.drawLine(c, vertex);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 1.8, 1.8);

    // The sides e (N to S) and s (N to E) along the meridians, drawn heavier.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 2.2));
    p.drawPath(meridianArc(c, r, startBulge, 0, startColat));
    p.drawPath(meridianArc(c, r, endBulge, 0, endColat));

    // The side n: the route from S to E, bowed toward the viewer so that it stands clear of
    // the radii, with an arrowhead pointing toward E.
    const QPointF along = end - start;
    const double length = std::hypot(along.x(), along.y());
    const QPointF bow = (start + end) / 2 + QPointF(along.y(), -along.x()) / length * 30;
    const QPointF inbound = end - bow;
    const QPointF arrivalUnit = inbound / std::hypot(inbound.x(), inbound.y());
    QPainterPath route;
    route.moveTo(start);
    route.quadTo(bow, end - arrivalUnit * 14);
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(route);
    arrowhead(p, end - arrivalUnit * 7.5, inbound, 10);
    const QPointF routeMiddle = (start + 2 * bow + end) / 4; // the curve at its half-way point

    for (const QPointF& vertex : {north, start, end}) {
        p.setBrush(kInk);
        p.setPen(Qt::NoPen);
        p.drawEllipse(vertex, 2.5, 2.5);
    }

    courseMark(p, start, -60);
    courseMark(p, end, 120);

    // Labels.
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(13);
    label.setBold(true);
    QFont side(QStringLiteral("DejaVu Serif"));
    side.setPixelSize(15);
    side.setItalic(true);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    p.setPen(kInk);
    p.setFont(label);
    p.drawText(QPointF(north.x() - 5, north.y() - 6), QStringLiteral("N"));
    p.drawText(QPointF(start.x() + 10, start.y() + 12), QStringLiteral("S"));
    p.drawText(QPointF(end.x() - 20, end.y() + 5), QStringLiteral("E"));

    p.setFont(side);
    const QPointF eAt = onMeridian(c, r, startBulge, startColat / 2);
    p.drawText(QPointF(eAt.x() + 6, eAt.y() - 3), QStringLiteral("e"));
    const QPointF sAt = onMeridian(c, r, endBulge, endColat / 2);
    p.drawText(QPointF(sAt.x() - 13, sAt.y() + 2), QStringLiteral("s"));
    p.drawText(QPointF(routeMiddle.x() + 7, routeMiddle.y() - 5), QStringLiteral("n"));

    // The course labels sit in the panel's corners, each tied to its mark by a thin line.
    p.setFont(small);
    const QFontMetricsF metrics(small);
    const QString initial = QStringLiteral("initial course");
    const QPointF initialAt(panel.right() - 6 - metrics.horizontalAdvance(initial),
                            panel.top() + 16);
    p.drawText(initialAt, initial);
    const QString arrival = QStringLiteral("course of arrival");
    const QPointF arrivalAt(panel.left() + 6, panel.bottom() - 7);
    p.drawText(arrivalAt, arrival);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 0.8));
    const QPointF initialTail(initialAt.x() + metrics.horizontalAdvance(initial) * 0.6,
                              initialAt.y() + 4);
    p.drawLine(initialTail,
               start + (initialTail - start) * (8.5 / std::hypot((initialTail - start).x(),
                                                                 (initialTail - start).y())));
    const QPointF arrivalTail(arrivalAt.x() + 24, arrivalAt.y() - metrics.ascent() - 2);
    p.drawLine(arrivalTail,
               end + (arrivalTail - end) *
                         (8.5 / std::hypot((arrivalTail - end).x(), (arrivalTail - end).y())));
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

QImage renderMathExample()
{
    // Every figure on the page is the program's own: typed into the main window, this route
    // fills the output frame with the same numbers to the decimals shown here.
    const gyrena::WorkedExample example = gyrena::workedExample();
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    const auto& start = example.start;
    const auto& end = example.end;

    QImage image(kMathExampleWidth, kMathExampleHeight, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF panel(370, 6, 200, 222);
    drawGlobe(p, panel, example.results);

    // Heading: the problem in prose, wrapped beside the diagram.
    const auto place = [&](const gyrena::LocationTexts& at) {
        return deg(text(at.latitudeDegrees)) + " " + text(at.latitudeMinutes) + "' " +
               text(at.latitudeLetter) + ", " + deg(text(at.longitudeDegrees)) + " " +
               text(at.longitudeMinutes) + "' " + text(at.longitudeLetter);
    };
    const Style b = Style::Bold;
    const std::vector<std::vector<Run>> heading = {
        {{QStringLiteral("Problem 23: Calculate the "), b},
         {QStringLiteral("orthodrome"), Style::BoldItalic}},
        {{"between S.F. at " + place(start) + ",", b}},
        {{"and Sydney at " + place(end) + ".", b}},
    };
    double y = 22;
    for (const auto& line : heading) {
        drawRuns(p, kLeft, y, line);
        y += 17;
    }

    // The values sit in one column right of their formulas.
    const double values = kLeft + 238;
    y += 14;
    drawRuns(
        p, kLeft, y,
        {mi("N"), m(kDefine + "[" + deg("180") + kMinus + "(" + deg(text(start.longitudeDegrees)) +
                    " + " + text(start.longitudeMinutes) + "/60" + kDeg + ")] + [" + deg("180") +
                    kMinus + deg(text(end.longitudeDegrees)) + "]")});
    y += 21;
    drawRuns(p, values, y, {mi("N"), m(" = " + deg(text(example.deltaLong)))});
    y += 27;
    drawRuns(p, kLeft, y,
             {mi("e"), m(kDefine + deg("90") + kMinus + "(" + deg(text(start.latitudeDegrees)) +
                         " + " + text(start.latitudeMinutes) + "/60" + kDeg + ")")});
    drawRuns(p, values, y, {mi("e"), m(" = " + deg(text(example.startColat)))});
    y += 24;
    drawRuns(p, kLeft, y,
             {mi("s"), m(kDefine + deg("90") + " + " + deg(text(end.latitudeDegrees)))});
    drawRuns(p, values, y, {mi("s"), m(" = " + deg(text(example.endColat)))});

    y += 32;
    drawRuns(p, kLeft, y,
             {t(QStringLiteral("Calculate orthodrome using laws of cosines for sides:"))});
    y += 23;
    drawRuns(p, kLeft, y,
             {mi("n"), m(kDefine + "acos(cos("), mi("e"), m(")" + kDot + "cos("), mi("s"),
              m(") + sin("), mi("s"), m(")" + kDot + "sin("), mi("e"), m(")" + kDot + "cos("),
              mi("N"), m("))")});
    y += 27;
    drawRuns(p, kLeft, y, {m("1 NM = 1.852 km")});
    drawRuns(p, values, y, {mi("n"), m(" = " + deg(text(example.arc)))});
    y += 25;
    double x = drawRuns(
        p, kLeft, y,
        {t(QStringLiteral("orthodrome")), m(" = "), mi("n"), m(kDot + "60" + kDot + "NM/deg = ")});
    drawRuns(p, x + 3, y, {hi(text(example.distance) + " NM")});

    y += 34;
    drawRuns(p, kLeft, y,
             {t(QStringLiteral("Calculate angles E and S using laws of cosines for sides:"))});

    // An angle of the triangle from its three sides, the side opposite it first: the arc
    // cosine gives the obtuse angle where the triangle has one, as at S here.
    const auto angleLine = [&](double lineY, const QString& angle, const QString& opposite,
                               const QString& adjacent, const QString& value) {
        double at = drawRuns(p, kLeft, lineY, {mi(angle), m(kDefine + "acos(")});
        at = drawFraction(p, at, lineY,
                          {m("cos("), mi(opposite), m(")" + kMinus + "cos("), mi("n"),
                           m(")" + kDot + "cos("), mi(adjacent), m(")")},
                          {m("sin("), mi("n"), m(")" + kDot + "sin("), mi(adjacent), m(")")});
        drawRuns(p, at, lineY, {m(")")});
        drawRuns(p, values, lineY, {mi(angle), m(" = " + deg(value))});
    };

    // Start angle S.
    y += 32;
    angleLine(y, QStringLiteral("S"), QStringLiteral("s"), QStringLiteral("e"),
              text(example.startAngle));
    y += 30;
    x = drawRuns(
        p, kLeft + 24, y,
        {t(QStringLiteral("initial course:  ")), m(deg("360") + kMinus), mi("S"), m(" = ")});
    drawRuns(p, x + 3, y, {hi(deg(text(example.initialCourse)))});

    // End angle E.
    y += 38;
    angleLine(y, QStringLiteral("E"), QStringLiteral("e"), QStringLiteral("s"),
              text(example.endAngle));
    y += 30;
    x = drawRuns(
        p, kLeft + 24, y,
        {t(QStringLiteral("course on arrival:  ")), m(deg("180") + " + "), mi("E"), m(" = ")});
    drawRuns(p, x + 3, y, {hi(deg(text(example.arrivalCourse)))});

    p.end();
    return image;
}

} // namespace render
