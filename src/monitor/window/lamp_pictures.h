#pragma once
// The monitor's picture list ImageList1 (five 14 x 14 lamps) and the artwork of
// its three picture buttons, drawn in code so they stay crisp at any scale.
#include <QIcon>
#include <QPixmap>

namespace lamps {

enum Picture { Grey = 1, Red = 2, Green = 3, Blue = 4, Blank = 5 };
constexpr int kSize = 14;

// Picture `index` (1..5) of the list at the given device pixel ratio; an index
// outside the list gives a null pixmap (the caller leaves its element as it is).
QPixmap picture(int index, qreal devicePixelRatio = 1.0);

} // namespace lamps

namespace buttonart {

QIcon phoneBook();
QIcon settings();
QIcon hideShowLog();

} // namespace buttonart
