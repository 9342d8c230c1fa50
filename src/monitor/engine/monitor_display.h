#pragma once
// The channel display the decoder and the timers write and the window draws.
// Fields carry the names of the window elements they feed.
#include <QString>

struct MonitorDisplay {
    // Hidden flags: in use A/B, connected A/B, ringing A/B.
    int Check1 = 0, Check2 = 0, Check3 = 0, Check4 = 0, Check5 = 0, Check6 = 0;
    QString Label1, Label2, Label19, Label20; // numbers, names
    QString LabelMSNA = QStringLiteral("-"), LabelMSNB = QStringLiteral("-");
    QString Label9 = QStringLiteral("-"), Label10 = QStringLiteral("-"); // costs
    QString LabelDur1 = QStringLiteral("-"), LabelDur2 = QStringLiteral("-");
    QString LabelCID, LabelTIM, LabelNOW;
    QString Image2, ImageA, ImageB; // picture file to show; "" = no picture
    int ImageLED = 1;               // 1 grey, 2 red (a frame was just decoded)
};
