#pragma once
// Window sizes are kept in twips, as the stored settings are: 1440 twips per
// logical inch, so pixels = twips x logical DPI / 1440.
#include <QRect>

class QWidget;

namespace twips {

// The logical DPI the window is laid out with (its screen's, else 96).
double dpiOf(const QWidget* widget);

int toPx(int twips, double dpi);
int fromPx(int px, double dpi);
QRect rect(int left, int top, int width, int height, double dpi);

} // namespace twips
