#include "monitor/window/wave_device.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

SoundEffectWaveDevice::SoundEffectWaveDevice() = default;
SoundEffectWaveDevice::~SoundEffectWaveDevice() = default;

void SoundEffectWaveDevice::setFileName(const QString& path)
{
    fileName_ = path;
}

void SoundEffectWaveDevice::command(const QString& word)
{
    if (word == QLatin1String("Close")) {
        effect_.reset();
    } else if (word == QLatin1String("Open")) {
        effect_.reset();
        if (!QFileInfo(fileName_).isFile())
            return; // a missing file stays silent
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(QFileInfo(fileName_).absoluteFilePath()));
    } else if (word == QLatin1String("Prev") || word == QLatin1String("Previous")) {
        if (effect_)
            effect_->stop();
    } else if (word == QLatin1String("Play")) {
        if (effect_)
            effect_->play(); // plays once loaded; a broken file never plays
    }
}

namespace wave {

namespace {
WaveDevice*& override()
{
    static WaveDevice* d = nullptr;
    return d;
}
} // namespace

WaveDevice& device()
{
    // Never destroyed: a sound object must not outlive the application object.
    static auto* builtIn = new SoundEffectWaveDevice;
    return override() ? *override() : *builtIn;
}

void setDevice(WaveDevice* device)
{
    override() = device;
}

void playFromStart(WaveDevice& device, const QString& file, const QString& rewindWord)
{
    device.command(QStringLiteral("Close"));
    device.setFileName(file);
    device.command(QStringLiteral("Open"));
    device.command(rewindWord);
    device.command(QStringLiteral("Play"));
}

} // namespace wave
