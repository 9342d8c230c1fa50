#pragma once
// The channel display as the window draws it and state.txt keeps it, derived
// from the call state at the boundary. Each field names in a comment the
// window element it feeds, for channel A / B; state.txt uses those names.
#include "phonebook/number_place.h"

#include <QString>
#include <array>

struct CallState;

// One channel panel.
struct ChannelDisplay {
    int active = 0;      // Check1 / Check2: the "Active" lamp
    int connected = 0;   // Check3 / Check4: the "Connected" lamp
    int ringing = 0;     // Check5 / Check6: the "Ring" lamp and the ring sound loop
    bool quiet = false;  // QuietA / QuietB: the caller ringing there is ignored, no ring sound
    QString number;      // Label1 / Label2
    QString name;        // Label19 / Label20
    PlaceOfNumber place; // shown in the name field, marked as a place, when there is no name
    QString msn;         // LabelMSNA / LabelMSNB
    QString cost;        // Label9 / Label10
    QString duration;    // LabelDur1 / LabelDur2
    QString picture;     // ImageA / ImageB: picture file to show; "" = no picture

    // Rings with its sound on: the ring loop plays for it.
    bool ringsAloud() const { return ringing == 1 && !quiet; }
};

struct MonitorDisplay {
    std::array<ChannelDisplay, 2> channels; // A, B
    QString LabelCID, LabelTIM, LabelNOW;
    PlaceOfNumber cidPlace; // shown with LabelCID, marked as a place, when no name is known for it
    QString Image2;         // the last caller's picture file; "" = no picture
    int ImageLED = 1;       // 1 grey, 2 red (a frame was just decoded)
};

// Each channel's record under its panel's names.
MonitorDisplay displayOf(const CallState& state);
// The state as name=value lines (LF), in the order state.txt keeps.
QString stateText(const CallState& state);
