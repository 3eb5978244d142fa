#pragma once

#include <QRect>

namespace forms {

// Positions and sizes of windows and controls are twips: 15 twips per pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

constexpr int toPixels(int twips) {
    return (twips + (twips >= 0 ? TwipsPerPixel / 2 : -TwipsPerPixel / 2)) / TwipsPerPixel;
}
constexpr int toTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

// A rectangle given as left, top, width and height in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    QRect toPixels() const {
        return QRect(forms::toPixels(left), forms::toPixels(top), forms::toPixels(width),
                     forms::toPixels(height));
    }
};

} // namespace forms
