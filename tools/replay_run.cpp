#include "tools/replay_run.h"

#include "common/atomic_file.h"
#include "common/settings_store.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/virtual_clock.h"
#include "monitor/outputs/json_event_writer.h"
#include "common/timed_capture.h"
#include "phonebook/contact_folder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

namespace {
// The replay has no window: every call event becomes one line of events.txt
// and one of events.json, as corvane-monitor --json writes it.
struct EventRecorder : MonitorHost {
    QByteArray text; // UTF-8 as it goes: held as UTF-16 and converted at the end, it took three times the memory
    QByteArray json;
    void popupRequested(bool) override {}
    void playCallerIdSound(const QString&) override {}
    void keepOnTop(bool) override {}
    void callEvent(const CallEvent& e) override
    {
        text += callEventLine(e).toUtf8() + '\n';
        json += JsonEventWriter::toJson(e) + '\n';
    }
};
} // namespace

namespace Replay {

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
    MonitorEngine engine(clock);
    EventRecorder events;
    engine.setHost(&events);
    engine.reset();
    MonitorInputs inputs = readMonitorInputs(settings, o.debugLevel);
    inputs.bookPath = o.bookFile; // no --book: no phone book
    inputs.ignored = {};          // nor the user's ignore list: a replay's events depend on its options only
    if (!o.contactsDir.isEmpty()) // its pictures go with the replay's other files
        inputs.contacts = ContactFolder::lookupOf(
            ContactFolder::read(o.contactsDir, out.filePath(QStringLiteral("contact-pictures"))), inputs.numberPlan);
    if (o.unitCost)
        inputs.unitCost = *o.unitCost;
    engine.setInputs(inputs);

    CallList& list = engine.callList();
    if (!o.listFile.isEmpty()) {
        list.setListPath(o.listFile);
        list.ReadTheList();
        if (list.fileProblem() == CallList::FileProblem::Unreadable) {
            error = QStringLiteral("cannot read %1").arg(o.listFile);
            return false;
        }
    }
    list.setListPath(out.filePath(QStringLiteral("list.txt")));
    list.setWriteThrough(false); // written once at the end: a replay has no crash to survive
    qint64 added = 0;
    QObject::connect(&list, &CallList::recordsInserted, [&](int first, int last) { added += last - first + 1; });

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
        || !writeFile(out.filePath(QStringLiteral("events.txt")), events.text, error)
        || !writeFile(out.filePath(QStringLiteral("events.json")), events.json, error))
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
