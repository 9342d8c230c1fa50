#pragma once
// The popup of an announced caller (TimerPopup) and the window on top while
// it runs: the window shows in normal state without taking the focus; after
// kPopupMs it is as visible as before and no longer on top.
#include <memory>

class Clock;
class ClockTimer;
class QWidget;

class PopupOnTop {
public:
    static constexpr int kPopupMs = 6000;

    PopupOnTop(QWidget& window, Clock& clock);
    ~PopupOnTop();

    // Neither minimised nor maximised (nor full screen).
    static bool normalState(const QWidget& window);
    void popUp(bool wasVisible);
    // SWOnTop1: on only while a popup runs.
    void keepOnTop(bool on);
    void stop();

private:
    void end();
    void showWithoutFocus(bool normal);

    QWidget& window_;
    std::unique_ptr<ClockTimer> timer_;
    bool wasVisible_ = false; // what the running popup restores
};
