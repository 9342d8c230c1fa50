#include "tools/replay_run.h"
#include "common/settings_keys.h"

#include "common/atomic_file.h"
#include "common/settings_store.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/virtual_clock.h"
#include "tools/replay_capture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

namespace {
// The replay has no window: nothing is visible, and every call event becomes
// one line of events.txt.
struct EventRecorder : MonitorHost {
    QString text;
    bool windowVisible() const override { return false; }
    bool windowStateNormal() const override { return false; }
    void popupRequested() override {}
    void playCallerIdSound(const QString&) override {}
    void keepOnTop(bool) override {}
    void callEvent(const CallEvent& e) override { text += callEventLine(e) + u'\n'; }
};
} // namespace

namespace Replay {

QString usage()
{
    return QStringLiteral("usage: corvane-replay CAPTURE --out DIR [--debug N] [--start YYYY-MM-DDTHH:MM:SS]\n"
                          "                      [--unit-cost X] [--book FILE] [--settings FILE] [--list FILE]\n"
                          "                      [--locale NAME] [--pcap FILE [--pcap-linktype lapd|linux-lapd]]\n"
                          "       corvane-replay --help | --version\n");
}

namespace {

// A file the replay would read: a wrong name must not pass for an empty book,
// default settings or an empty list.
bool existingFile(const QString& option, const QString& path, QString& error)
{
    if (QFileInfo(path).isFile())
        return true;
    error = QStringLiteral("%1: no such file %2").arg(option, path);
    return false;
}

// An unknown name would quietly fall back to the C locale.
bool knownLocale(const QString& name, QString& error)
{
    if (name == QLatin1String("C") || QLocale(name).language() != QLocale::C)
        return true;
    error = QStringLiteral("--locale: unknown locale %1").arg(name);
    return false;
}

} // namespace

bool parseArguments(const QStringList& args, ReplayOptions& o, QString& error)
{
    const QStringList valued{"--out", "--debug", "--start", "--unit-cost", "--book", "--settings", "--list", "--locale",
        "--pcap", "--pcap-linktype"};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o.capture.isEmpty()) {
                error = QStringLiteral("more than one capture given: %1").arg(a);
                return false;
            }
            o.capture = a;
            continue;
        }
        if (!valued.contains(a)) {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs a value").arg(a);
            return false;
        }
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("--out")) {
            o.outDir = v;
        } else if (a == QLatin1String("--debug")) {
            o.debugLevel = v.toInt(&ok);
            ok = ok && o.debugLevel >= 0 && o.debugLevel <= 5;
        } else if (a == QLatin1String("--start")) {
            o.start = QDateTime::fromString(v, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
            ok = o.start.isValid();
        } else if (a == QLatin1String("--unit-cost")) {
            o.unitCost = QLocale::c().toFloat(v, &ok);
            ok = ok && o.unitCost >= 0;
        } else if (a == QLatin1String("--book")) {
            o.bookFile = v;
            ok = existingFile(a, v, error);
        } else if (a == QLatin1String("--settings")) {
            o.settingsFile = v;
            ok = existingFile(a, v, error);
        } else if (a == QLatin1String("--list")) {
            o.listFile = v;
            ok = existingFile(a, v, error);
        } else if (a == QLatin1String("--locale")) {
            o.locale = v;
            ok = knownLocale(v, error);
        } else if (a == QLatin1String("--pcap")) {
            o.pcapFile = v;
        } else if (a == QLatin1String("--pcap-linktype")) {
            ok = v == QLatin1String("lapd") || v == QLatin1String("linux-lapd");
            o.pcapLinkType = v == QLatin1String("lapd") ? PcapLinkType::Lapd : PcapLinkType::LinuxLapd;
        }
        if (!ok) {
            if (error.isEmpty())
                error = QStringLiteral("bad value for %1: %2").arg(a, v);
            return false;
        }
    }
    if (o.capture.isEmpty() || o.outDir.isEmpty()) {
        error = QStringLiteral("a capture and --out DIR are required");
        return false;
    }
    return true;
}

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, QString& error)
{
    if (writeFileAtomically(path, bytes))
        return true;
    error = QStringLiteral("cannot write %1").arg(path);
    return false;
}

} // namespace

bool run(const ReplayOptions& o, ReplaySummary& summary, QString& error)
{
    TimedCapture::Reader capture;
    if (!capture.open(o.capture, &error))
        return false;
    if (!QDir().mkpath(o.outDir)) {
        error = QStringLiteral("cannot create %1").arg(o.outDir);
        return false;
    }
    const QDir out(o.outDir);
    QLocale::setDefault(QLocale(o.locale));

    QTemporaryDir scratch; // a settings file that does not exist: every key at its default
    SettingsStore settings(o.settingsFile.isEmpty() ? scratch.filePath(QStringLiteral("none.ini")) : o.settingsFile);
    VirtualClock clock(o.start);
    clock.setSkipRepeatedTicks(true); // no window: Timer1's ticks in a quiet stretch only redraw
    MonitorEngine engine(clock, settings);
    EventRecorder events;
    engine.setHost(&events);
    engine.setBookPath(o.bookFile);
    engine.reset();
    engine.setSettings({o.debugLevel, settings.read(key::DialPrefixNumber), o.unitCost});

    CallListModel& list = engine.callList();
    if (!o.listFile.isEmpty()) {
        list.setListPath(o.listFile);
        list.ReadTheList();
        if (list.fileProblem() == CallListModel::FileProblem::Unreadable) {
            error = QStringLiteral("cannot read %1").arg(o.listFile);
            return false;
        }
    }
    list.setListPath(out.filePath(QStringLiteral("list.txt")));
    list.setWriteThrough(false); // written once at the end: a replay has no crash to survive
    qint64 added = 0;
    QObject::connect(&list, &CallListModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { added += last - first + 1; });

    PcapWriter pcap;
    if (!o.pcapFile.isEmpty() && !pcap.open(o.pcapFile, o.pcapLinkType)) {
        error = QStringLiteral("cannot write %1").arg(o.pcapFile);
        return false;
    }
    QObject::connect(&engine, &MonitorEngine::frameDecoded, [&] {
        if (!o.pcapFile.isEmpty())
            pcap.write(clock.now().toMSecsSinceEpoch() * 1000, engine.lastFrame(), engine.lastFrameDirection());
    });

    qint64 lastMs = 0;
    CaptureChunk chunk;
    while (capture.next(chunk)) {
        clock.advanceTo(chunk.ms); // timers due at or before this moment fire first
        engine.Scan(chunk.bytes);
        lastMs = chunk.ms;
    }
    clock.advanceTo(lastMs + kRunOnMs);

    if (!list.SaveTheList()) {
        error = QStringLiteral("cannot write %1").arg(list.listPath());
        return false;
    }
    const auto paneBytes = [](const TracePane& p) { return p.text().toUtf8(); };
    if (!writeFile(out.filePath(QStringLiteral("Text1.txt")), paneBytes(engine.Text1()), error)
        || !writeFile(out.filePath(QStringLiteral("Text2.txt")), paneBytes(engine.Text2()), error)
        || !writeFile(out.filePath(QStringLiteral("Text3.txt")), paneBytes(engine.Text3()), error)
        || !writeFile(out.filePath(QStringLiteral("state.txt")), engine.stateSnapshot().toUtf8(), error)
        || !writeFile(out.filePath(QStringLiteral("events.txt")), events.text.toUtf8(), error))
        return false;
    if (!pcap.close()) {
        error = QStringLiteral("cannot write %1").arg(o.pcapFile);
        return false;
    }
    summary.framesDecoded = engine.framesDecoded();
    summary.callsLogged = added;
    return true;
}

} // namespace Replay
