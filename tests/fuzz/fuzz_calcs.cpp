// Twelve arbitrary coordinate texts through the leading-number rule, the eight updates and
// computeRoute, as "Compute Outputs" runs them. Whatever the texts, no crash, no undefined
// behaviour, and every box the computation writes holds a text a person can read: a two-decimal
// number, a plain number, a direction word, or nothing. Aborts on the first box that does not.
//
// The two-decimal pattern is also checked against a plain reference (a fixed-precision
// conversion to 15 significant digits, then halves away from zero on the next digit) for every
// value of the result state and for the input's bytes read as doubles, since it has a fast path
// of its own for the usual magnitudes.
//
// Input: the twelve texts in list order (Combo1..Combo12) separated by '|' bytes; missing texts
// are empty, a thirteenth and later pieces are ignored. The byte after a leading '#' (when the
// input starts with one) picks the decimal separator, so "," is exercised as well as ".".

#include "geo/calcs.h"
#include "geo/leadingnumber.h"
#include "geo/location.h"
#include "geo/numberformat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "-?[0-9]*<sep>[0-9]{2}": the patterns "###.00" and "#######.00".
bool isTwoDecimalNumber(std::string_view text, std::string_view separator)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (text.substr(i, separator.size()) != separator)
        return false;
    i += separator.size();
    return text.size() == i + 2 && isDigit(text[i]) && isDigit(text[i + 1]);
}

// "-?[0-9]+(.[0-9]+)?": a plain number, as the North/South courses are written.
bool isPlainNumber(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == digitsStart)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != '.')
        return false;
    const std::size_t fractionStart = ++i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i == text.size() && i > fractionStart;
}

bool isDirectionWord(std::string_view text)
{
    return text == "East" || text == "West" || text == "North/South" || text == "North" ||
           text == "South";
}

bool isResultField(gyrena::ResultField field)
{
    return static_cast<std::size_t>(field) < gyrena::kResultFieldCount;
}

[[noreturn]] void violation(const char* what, const gyrena::FieldWrite& write)
{
    std::fprintf(stderr, "fuzz_calcs: %s: field %zu = \"%s\"\n", what,
                 static_cast<std::size_t>(write.field), write.text.c_str());
    std::abort();
}

void checkRun(const gyrena::RouteRun& run, std::string_view separator)
{
    for (const gyrena::FieldWrite& write : run.writes) {
        if (!isResultField(write.field))
            violation("write to a field that is not a result", write);
        if (write.text.find("nan") != std::string::npos ||
            write.text.find("inf") != std::string::npos ||
            write.text.find("NAN") != std::string::npos ||
            write.text.find("INF") != std::string::npos)
            violation("non-finite value in a box", write);
        if (!write.text.empty() && !isTwoDecimalNumber(write.text, separator) &&
            !isPlainNumber(write.text) && !isDirectionWord(write.text))
            violation("box text is neither a number nor a direction word", write);
    }
    if (run.outcome == gyrena::RouteOutcome::SameLocation && !run.writes.empty()) {
        std::fprintf(stderr, "fuzz_calcs: the same location wrote %zu boxes\n", run.writes.size());
        std::abort();
    }
    if (run.outcome == gyrena::RouteOutcome::Failed && run.message.empty()) {
        std::fprintf(stderr, "fuzz_calcs: a failed route gave no message\n");
        std::abort();
    }
}

// The two-decimal pattern the long way, for comparison.
std::string referenceTwoDecimals(double value, std::string_view separator)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, 14);
    if (ec != std::errc())
        std::abort();
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t mark = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, mark))
        if (c != '.')
            digits.push_back(c);
    const int exponent = std::stoi(std::string(scientific.substr(mark + 1)));
    // The number of hundredths is digits[0 .. exponent + 2]; the digit after them rounds.
    std::string hundredths;
    for (int i = 0; i <= exponent + 2; ++i)
        hundredths.push_back(
            i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : '0');
    const int next = exponent + 3;
    if (next >= 0 && next < static_cast<int>(digits.size()) &&
        digits[static_cast<std::size_t>(next)] >= '5') {
        std::size_t i = hundredths.size();
        while (i > 0 && hundredths[i - 1] == '9')
            hundredths[--i] = '0';
        if (i > 0)
            ++hundredths[i - 1];
        else
            hundredths.insert(hundredths.begin(), '1');
    }
    hundredths.erase(0, hundredths.find_first_not_of('0'));
    const bool zero = hundredths.empty();
    while (hundredths.size() < 2)
        hundredths.insert(hundredths.begin(), '0');
    std::string text = value < 0 && !zero ? "-" : "";
    text += hundredths.substr(0, hundredths.size() - 2);
    text += separator;
    text += hundredths.substr(hundredths.size() - 2);
    return text;
}

void checkFormat(double value, std::string_view separator)
{
    if (!std::isfinite(value))
        return;
    const std::string fast = gyrena::formatTwoDecimals(value, separator);
    const std::string reference = referenceTwoDecimals(value, separator);
    if (fast != reference) {
        std::fprintf(stderr, "fuzz_calcs: %.17g formats as \"%s\", the reference gives \"%s\"\n",
                     value, fast.c_str(), reference.c_str());
        std::abort();
    }
}

void checkFormats(const gyrena::ResultState& r, std::string_view separator)
{
    for (double value : {r.deltaLong, r.startColat, r.endColat, r.dist, r.dist * 60.0,
                         r.dist * 60.0 * 1.15, r.startAngle, r.endAngle, r.initialCourse,
                         r.arrivalCourse, r.distCos, r.startAngleCos, r.endAngleSin})
        checkFormat(value, separator);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
        double raw;
        std::memcpy(&raw, data + at, sizeof raw);
        checkFormat(raw, ".");
    }
    std::string_view separator = ".";
    if (input.size() >= 2 && input[0] == '#') {
        separator = input[1] == ',' ? std::string_view(",") : std::string_view(".");
        input.remove_prefix(2);
    }

    std::array<std::string_view, 12> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t bar = input.find('|');
        texts[i] = input.substr(0, bar);
        if (bar == std::string_view::npos) {
            input = {};
            break;
        }
        input.remove_prefix(bar + 1);
    }

    // The rule itself must agree with its own reports.
    for (std::string_view text : texts) {
        const gyrena::LeadingNumber n = gyrena::readLeadingNumber(text);
        if (n.consumed > text.size() || (!n.found && n.value != 0.0)) {
            std::fprintf(stderr, "fuzz_calcs: leading number of \"%.*s\" is inconsistent\n",
                         static_cast<int>(text.size()), text.data());
            std::abort();
        }
        (void)gyrena::isWholeTextANumber(text);
    }

    gyrena::LocationState location;
    gyrena::updateStartLat(location, texts[0], texts[1]);
    gyrena::updateStartLong(location, texts[2], texts[3]);
    gyrena::updateEndLat(location, texts[4], texts[5]);
    gyrena::updateEndLong(location, texts[6], texts[7]);
    gyrena::updateStartLatDir(location, texts[8]);
    gyrena::updateStartLongDir(location, texts[9]);
    gyrena::updateEndLatDir(location, texts[10]);
    gyrena::updateEndLongDir(location, texts[11]);

    // Twice, the second run carrying the first one's results, as pressing "Compute Outputs"
    // again does: the courses and the North/South word persist from run to run.
    const gyrena::RouteRun first = gyrena::computeRoute(location, gyrena::ResultState{}, separator);
    checkRun(first, separator);
    const gyrena::RouteRun second = gyrena::computeRoute(location, first.results, separator);
    checkRun(second, separator);
    checkFormats(second.results, separator);
    return 0;
}
