#pragma once
// One ISDN channel's panel of the monitor window, used for A and B: the other
// party's number and name, the caller's picture, the "Active", "Connected"
// and "Ring" lamps, and the MSN, cost and duration rows. Its elements carry
// the window's names (Label1, Label19, ImageA, Image11 ... for A).
#include "monitor/engine/monitor_display.h"

#include <QGroupBox>
#include <array>
#include <optional>

class PictureLabel;
class QLabel;

class ChannelPanel : public QGroupBox {
    Q_OBJECT
public:
    enum Channel { A = 0, B = 1 };
    // Left edge and width in twips; top and height are the same for both panels.
    ChannelPanel(Channel channel, int leftTwips, int widthTwips, double dpi, QWidget* parent);

    // The texts and the picture of the channel's display.
    void draw(const ChannelDisplay& display);
    // One tick of Timer1: the active lamp lit steady, connected and ring lamps blinking.
    void drawLamps(const ChannelDisplay& display, bool blinkOn);
    // The lamps as if they never were lit (opening the window).
    void forgetLamps() { lampLit_.fill(false); }
    // The caller-ID line's rich text: the number, and for a caller without a
    // name where it is from, marked as a place as in the name field.
    static QString numberWithPlace(const QString& number, const PlaceOfNumber& place, const QPalette& palette);

signals:
    void ringLampClicked(); // ends the ring sound loop of this channel

private:
    void buildLamps(Channel channel, double dpi);
    void buildRows(Channel channel, int inner, double dpi);
    void drawName(const ChannelDisplay& display);

    QLabel* number_ = nullptr;             // Label1 / Label2
    QLabel* name_ = nullptr;               // Label19 / Label20
    PictureLabel* picture_ = nullptr;      // ImageA / ImageB
    QLabel* msn_ = nullptr;                // LabelMSNA / LabelMSNB
    QLabel* cost_ = nullptr;               // Label9 / Label10
    QLabel* duration_ = nullptr;           // LabelDur1 / LabelDur2
    std::array<PictureLabel*, 3> lamps_{}; // active, connected, ring: Image11..13 / Image14..16
    std::array<bool, 3> lampLit_{};
    std::optional<QString> shownPicture_; // the file last drawn
};
