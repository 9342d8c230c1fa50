#pragma once
// The channel display as the window draws it and state.txt keeps it, derived
// from the call state at the boundary. Fields carry the names of the window
// elements they feed.
#include <QString>

struct CallState;

struct MonitorDisplay {
    // Hidden flags: in use A/B, connected A/B, ringing A/B.
    int Check1 = 0, Check2 = 0, Check3 = 0, Check4 = 0, Check5 = 0, Check6 = 0;
    QString Label1, Label2, Label19, Label20; // numbers, names
    QString LabelMSNA, LabelMSNB;
    QString Label9, Label10; // costs
    QString LabelDur1, LabelDur2;
    QString LabelCID, LabelTIM, LabelNOW;
    QString Image2, ImageA, ImageB; // picture file to show; "" = no picture
    int ImageLED = 1;               // 1 grey, 2 red (a frame was just decoded)
};

// Each channel's record under its panel's names.
MonitorDisplay displayOf(const CallState& state);
// The state as name=value lines (LF), in the order state.txt keeps.
QString stateText(const CallState& state);
