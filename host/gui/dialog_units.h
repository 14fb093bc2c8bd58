// Dialog units to pixels, by the rule of the dialog's font: a horizontal unit is a quarter of
// the average width of the letters "A" to "Z" and "a" to "z", a vertical unit an eighth of
// the character height.
#pragma once

#include <QFont>
#include <QRect>
#include <cmath>

#include "host/layout/layout_model.h"

namespace gui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    double baseWidth() const { return baseWidth_; }
    double baseHeight() const { return baseHeight_; }

    int x(int units) const { return Scale(units, baseWidth_, 4); }
    int y(int units) const { return Scale(units, baseHeight_, 8); }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }

private:
    // units * base / divisor, rounded to the nearest pixel.
    static int Scale(int units, double base, int divisor) {
        return static_cast<int>(std::lround(units * base / divisor));
    }

    double baseWidth_;
    double baseHeight_;
};

// A dialog's font. Its face, "ＭＳ Ｐゴシック", is drawn on this system with IPAPGothic, or else
// Noto Sans CJK JP.
QFont DialogFont(const layout::Font& font);

}  // namespace gui
