// gyrena-route --batch: one route per line of standard input, one result line per route.

#include "plan_output.h"

#include "geo/calcs.h"
#include "io/files/plainnumber.h"
#include "io/formats/batchreader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace gyrena::route {

namespace {

// The fields a batch line reports, in its column order.
constexpr std::array<ResultField, 6> kBatchFields = {
    ResultField::DistanceNm,    ResultField::DistanceStatute, ResultField::InitialCourse,
    ResultField::ArrivalCourse, ResultField::DirectionEW,     ResultField::DirectionNS,
};

void appendColumn(std::string& out, const std::string& text)
{
    out += '\t';
    out += text;
}

void appendPlanColumns(std::string& out, const RoutePlan& plan)
{
    const Vertex& vertex = plan.vertex;
    appendColumn(
        out, formatFixed(
                 vertex.kind == Vertex::Kind::Equator ? 0.0 : vertex.north.position.latitude, 6));
    if (vertex.kind == Vertex::Kind::Points && std::fabs(vertex.north.position.latitude) != 90.0)
        appendColumn(out, formatLongitude(vertex.north.position.longitude, 6));
    else
        out += "\t-"; // the equator has no single vertex, a pole no longitude
    appendColumn(out, formatCourse(plan.rhumb.line.course, 2));
    appendColumn(out, formatFixed(plan.rhumb.line.distance, 2));
    appendColumn(out, formatFixed(plan.rhumb.excessNm, 2));
    appendColumn(out, formatFixed(plan.rhumb.excessPercent, 2));
}

class Output
{
public:
    ~Output() { flush(); }
    std::string& text() { return m_text; }
    void lineDone()
    {
        m_text += '\n';
        if (m_text.size() >= (1u << 16))
            flush();
    }
    bool flush()
    {
        if (!m_text.empty() && !m_failed &&
            std::fwrite(m_text.data(), 1, m_text.size(), stdout) != m_text.size())
            m_failed = true;
        m_text.clear();
        if (!m_failed && std::fflush(stdout) != 0)
            m_failed = true;
        return !m_failed;
    }
    bool failed() const { return m_failed; }

private:
    std::string m_text;
    bool m_failed = false;
};

} // namespace

int runBatch(const PlanRequest& request)
{
    BatchLineReader reader([](char* buffer, std::size_t size) -> std::ptrdiff_t {
        for (;;) {
            const ssize_t got = read(STDIN_FILENO, buffer, size);
            if (got >= 0 || errno != EINTR)
                return got;
        }
    });
    Output output;
    bool anyFailed = false;
    const auto fail = [&](std::size_t number, std::string_view why) {
        anyFailed = true;
        // An empty line keeps the output lines beside the input lines they answer.
        output.lineDone();
        std::fprintf(stderr, "gyrena-route: line %zu: %.*s\n", number, static_cast<int>(why.size()),
                     why.data());
    };

    const bool withPlan = request.plan;
    BatchLine line;
    std::array<std::string_view, 12> fields;
    while (reader.next(line)) {
        if (line.tooLong) {
            fail(line.number, "longer than " + std::to_string(kBatchLineLimit) + " bytes");
            continue;
        }
        const std::size_t count = splitBatchFields(line.text, fields);
        if (count != fields.size()) {
            fail(line.number, "expected 12 coordinate texts, got " + std::to_string(count));
            continue;
        }
        const LocationState location = locationFromArgumentTexts(fields);
        const RouteRun run = computeRoute(location, ResultState{}, ".");
        if (run.outcome != RouteOutcome::Completed) {
            fail(line.number, run.message);
            continue;
        }
        std::string& out = output.text();
        const std::size_t lineStart = out.size();
        for (std::size_t column = 0; column < kBatchFields.size(); ++column) {
            if (column > 0)
                out += '\t';
            // The last write of a field is what the window shows for it.
            for (auto write = run.writes.rbegin(); write != run.writes.rend(); ++write) {
                if (write->field == kBatchFields[column]) {
                    out += write->text;
                    break;
                }
            }
        }
        if (withPlan) {
            const RoutePlan plan =
                planRoute(startPosition(location), endPosition(location), request.options);
            if (!plan.hasRoute) {
                out.resize(lineStart);
                fail(line.number, "no route to plan: " + plan.problem);
                continue;
            }
            appendPlanColumns(out, plan);
        }
        output.lineDone();
    }
    if (reader.readFailed()) {
        std::fprintf(stderr, "gyrena-route: cannot read standard input: %s\n",
                     std::strerror(errno));
        anyFailed = true;
    }
    // A failed output stays marked on stdout, and the tool tells it as it ends.
    if (!output.flush())
        return 1;
    return anyFailed ? 1 : 0;
}

} // namespace gyrena::route
