#pragma once

#include <QColor>

namespace forms {

// Colour values of the platform: red in the low byte, then green, then blue (255 is red,
// 32768 green).
inline QColor toQColor(int color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
constexpr int rgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

} // namespace forms
