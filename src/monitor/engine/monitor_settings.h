#pragma once
// What the monitor window or service tells the engine: the user's choices that
// shape decoding and costs. Everything else the engine reads from the store.
#include <QString>

struct MonitorSettings {
    int debugLevel = 0;      // 0 quiet ... 5 every trace pane
    QString dialPrefix;      // prefix the call list adds to dialled numbers
    float unitCost = 0.026f; // price of one charge unit
};
