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

namespace {

QByteArray unescape(const QByteArray& payload)
{
    QByteArray out;
    for (qsizetype i = 0; i < payload.size(); ++i) {
        const char c = payload[i];
        if (c != '\\' || i + 1 >= payload.size()) {
            out += c;
            continue;
        }
        const char e = payload[++i];
        if (e == 'r')
            out += '\r';
        else if (e == 'n')
            out += '\n';
        else if (e == 't')
            out += '\t';
        else if (e == 'x' && i + 2 < payload.size()) {
            out += char(payload.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else
            out += e;
    }
    return out;
}

} // namespace

QList<CaptureLine> renderScenario(const QString& scenario)
{
    QProcess sim;
    sim.start(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"),
              {QStringLiteral("--scenario"), scenario, QStringLiteral("--render-capture"), QStringLiteral("-")});
    if (!sim.waitForFinished(10000) || sim.exitCode() != 0)
        return {};
    QList<CaptureLine> lines;
    for (const QByteArray& line : sim.readAllStandardOutput().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            continue;
        lines.append({line.left(tab).toLongLong(), unescape(line.mid(tab + 1))});
    }
    return lines;
}

void feedCapture(MonitorEngine& engine, VirtualClock& clock, const QList<CaptureLine>& lines, qint64 fromMs,
                 qint64 untilMs)
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
