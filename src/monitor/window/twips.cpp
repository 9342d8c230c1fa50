#include "monitor/window/twips.h"

#include <QWidget>
#include <cmath>

namespace twips {

double dpiOf(const QWidget* widget)
{
    const double dpi = widget ? widget->logicalDpiY() : 0.0;
    return dpi > 0 ? dpi : 96.0;
}

int toPx(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int fromPx(int px, double dpi)
{
    return static_cast<int>(std::lround(px * 1440.0 / dpi));
}

QRect rect(int left, int top, int width, int height, double dpi)
{
    return {toPx(left, dpi), toPx(top, dpi), toPx(width, dpi), toPx(height, dpi)};
}

} // namespace twips
