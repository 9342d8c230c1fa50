#pragma once
// The ring sound loop (Timer2): while a channel rings aloud and the ring sound
// is on, the sound is played again from its start every period, on the
// program's wave player.
#include <QString>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;

class RingLoop {
public:
    static constexpr int kPeriodMs = 5600;

    // `ringing` says whether a channel rings aloud now, asked at each period.
    RingLoop(Clock& clock, std::function<bool()> ringing);
    ~RingLoop();

    // Ring and WavFile of the monitor's inputs.
    void setSound(bool on, const QString& wavFile);
    void start();
    void stop();
    // The caller-ID sound, played at once; the next ring comes a full period later.
    void playBetween(const QString& wavFile);

private:
    void tick();

    std::function<bool()> ringing_;
    std::unique_ptr<ClockTimer> timer_;
    bool on_ = false;
    QString wavFile_;
};
