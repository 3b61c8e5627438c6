#pragma once

#include <QImage>

namespace render {

constexpr int kMathExampleWidth = 576;
constexpr int kMathExampleHeight = 450;

// The worked example of the math window: problem 23, San Francisco to Sydney, with the globe
// diagram of its triangle. 24-bit RGB, no alpha.
QImage renderMathExample();

} // namespace render
