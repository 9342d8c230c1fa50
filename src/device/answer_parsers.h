#pragma once
// Cutting the device's list answers ("AT&ZI?", "AT&ZO?", "ATCH?") into their
// values. The device lays each value out at fixed offsets from a label or a
// colon; the cuts below follow that layout. A label or separator that is
// missing yields empty values, never a piece of some other line.
#include <QString>
#include <array>

// The nine MSNs of "AT&ZI?": Phone 1, Phone 2, DTE port, three each.
std::array<QString, 9> parseMsns(const QString& answer);
// The own numbers of "AT&ZO?": Phone 1, Phone 2, DTE port.
std::array<QString, 3> parseOwnNumbers(const QString& answer);
// The six counters of "ATCH?" in the device's order (DTE, Phone 1, Phone 2
// last call; DTE, Phone 1, Phone 2 total).
std::array<QString, 6> parseCharges(const QString& answer);
