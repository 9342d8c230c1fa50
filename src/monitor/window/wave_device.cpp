#include "monitor/window/wave_device.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <QSoundEffect>
#include <QUrl>

SoundEffectWaveDevice::SoundEffectWaveDevice() = default;
SoundEffectWaveDevice::~SoundEffectWaveDevice() = default;

void SoundEffectWaveDevice::setFileName(const QString& path)
{
    fileName_ = path;
}

void SoundEffectWaveDevice::release()
{
    if (!effect_)
        return;
    if (effect_->status() != QSoundEffect::Loading) {
        effect_.reset();
        return;
    }
    QSoundEffect* loading = effect_.release();
    loading->stop();
    QObject::connect(loading, &QSoundEffect::statusChanged, loading, &QObject::deleteLater);
    std::erase_if(retired_, [](const QPointer<QSoundEffect>& e) { return e.isNull(); });
    retired_.emplace_back(loading);
}

bool SoundEffectWaveDevice::loading() const
{
    const auto isLoading = [](const QSoundEffect* e) { return e && e->status() == QSoundEffect::Loading; };
    if (isLoading(effect_.get()))
        return true;
    return std::any_of(
        retired_.begin(), retired_.end(), [&](const QPointer<QSoundEffect>& e) { return isLoading(e.data()); });
}

void SoundEffectWaveDevice::command(const QString& word)
{
    if (word == QLatin1String("Close")) {
        release();
    } else if (word == QLatin1String("Open")) {
        release();
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
