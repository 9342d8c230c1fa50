#pragma once
// The wave player the monitor plays its sounds on, driven by the same command
// words as the main window's multimedia control: "Close", a file name, "Open",
// "Prev"/"Previous" (back to the start) and "Play". No audio device, a missing
// or broken file: nothing is heard and nobody is told.
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QSoundEffect;

class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    virtual void setFileName(const QString& path) = 0;
    virtual void command(const QString& word) = 0;
};

// Plays wave files through QSoundEffect.
class SoundEffectWaveDevice : public WaveDevice {
public:
    SoundEffectWaveDevice();
    ~SoundEffectWaveDevice() override;
    void setFileName(const QString& path) override;
    void command(const QString& word) override;
    // True while a file is still being loaded, also one already closed.
    bool loading() const;

private:
    void release();

    QString fileName_;
    std::unique_ptr<QSoundEffect> effect_;
    // Closed while still loading: Qt's loader must finish before the effect
    // may go, else its sample is never freed.
    std::vector<QPointer<QSoundEffect>> retired_;
};

namespace wave {

// The program's one player (the main window's control); tests put a double in.
WaveDevice& device();
void setDevice(WaveDevice* device); // nullptr: back to the built-in player

// Close, file name, Open, rewind, Play: the file is heard from its start.
void playFromStart(WaveDevice& device, const QString& file, const QString& rewindWord = QStringLiteral("Prev"));

} // namespace wave
