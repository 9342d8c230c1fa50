#include "window_fixture.h"

#include <QLabel>

QColor centreColour(const QWidget* pictureLabel)
{
    const auto* label = qobject_cast<const QLabel*>(pictureLabel);
    if (!label || label->pixmap().isNull())
        return {};
    const QImage img = label->pixmap().toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
}

#include <QProcess>

QList<CaptureLine> renderScenario(const QString& scenario)
{
    QProcess sim;
    sim.start(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"),
        {QStringLiteral("--scenario"), scenario, QStringLiteral("--render-capture"), QStringLiteral("-")});
    if (!sim.waitForFinished(10000) || sim.exitCode() != 0)
        return {};
    return TimedCapture::parse(sim.readAllStandardOutput());
}

void feedCapture(
    MonitorEngine& engine, VirtualClock& clock, const QList<CaptureLine>& lines, qint64 fromMs, qint64 untilMs)
{
    for (const CaptureLine& l : lines) {
        if (l.ms < fromMs || l.ms > untilMs)
            continue;
        clock.advanceTo(l.ms);
        for (char c : l.bytes)
            engine.Scan(c);
    }
    clock.advanceTo(untilMs);
}
