#pragma once
// The three trace panes and the level that gates them, shared by the engine's
// stages: Text1 the capture, Text2 the frames and elements, Text3 the calls.
#include "monitor/engine/trace_pane.h"

#include <QString>

class TraceOutput {
public:
    static constexpr int kQuiet = 0;
    static constexpr int kDetailed = 4;
    static constexpr int kEverything = 5;

    int level = kQuiet;
    TracePane text1, text2, text3;

    bool on() const { return level != kQuiet; }
    // The element details of levels 1 and 5.
    bool info() const { return level == 1 || level == kEverything; }
    // The frame and element dumps and the identifier tree of levels 4 and 5.
    bool detailed() const { return level >= kDetailed; }

    // The parts are joined only when the panes are on: the stages trace on
    // every frame, and quiet is the usual level.
    template <typename... Parts>
    void xout(const Parts&... parts)
    {
        if (on())
            text2.append(joined(parts...));
    }
    template <typename... Parts>
    void xout1(const Parts&... parts)
    {
        if (on())
            text1.append(joined(parts...));
    }
    // Text1 gets before + the snapshot's characters + after.
    void xout1(QLatin1String before, const TraceSnapshot& middle, QLatin1String after)
    {
        if (on())
            text1.append(before, middle, after);
    }
    template <typename... Parts>
    void xout3(const Parts&... parts)
    {
        if (on())
            text3.append(joined(parts..., QLatin1String("\r\n")));
    }
    template <typename... Parts>
    static QString joined(const Parts&... parts)
    {
        QString text;
        (text += ... += parts);
        return text;
    }
    void clear()
    {
        text1.clear();
        text2.clear();
        text3.clear();
    }
};
