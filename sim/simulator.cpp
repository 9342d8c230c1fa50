#include "sim/simulator.h"

#include "sim/trace_line.h"

#include <QSocketNotifier>

#include <algorithm>

namespace sim {

Simulator::Simulator(SimOptions options, Scenario scenario, QObject* parent)
    : QObject(parent), options_(std::move(options))
{
    Identity identity;
    if (options_.identity)
        identity.ati4 = *options_.identity;
    interpreter_ = std::make_unique<AtInterpreter>(device_, identity);
    if (options_.play.empty())
        session_ = std::make_unique<TraceSession>(std::move(scenario), [this] { return device_.portNumbers(); });
    pumpTimer_.setSingleShot(true);
    pumpTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pumpTimer_, &QTimer::timeout, this, &Simulator::pump);
}

Simulator::~Simulator()
{
    stop();
}

std::string Simulator::start()
{
    sinceStart_.start();
    if (!options_.state.empty()) {
        std::ifstream in(options_.state, std::ios::binary);
        if (in)
            device_.load(in);
    }
    if (!options_.play.empty() && !TimedCapture::load(QString::fromStdString(options_.play), playback_))
        return "cannot read " + options_.play;
    if (!options_.log.empty()) {
        log_.open(options_.log, std::ios::binary | std::ios::trunc);
        if (!log_)
            return "cannot write " + options_.log;
    }
    if (!options_.record.empty()) {
        // Unbuffered: every line is in the file at once, also when the simulator is killed.
        recordFile_.setFileName(QString::fromStdString(options_.record));
        if (!recordFile_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return "cannot write " + options_.record;
        recorder_ = std::make_unique<TimedCapture::Writer>(recordFile_, "recorded by dodova-sim");
    }
    if (auto err = pty_.open(options_.link); !err.empty())
        return err;
    readNotifier_ = new QSocketNotifier(pty_.masterFd(), QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &Simulator::onReadable);
    return {};
}

void Simulator::stop()
{
    if (readNotifier_) {
        readNotifier_->setEnabled(false);
        delete readNotifier_;
        readNotifier_ = nullptr;
    }
    pumpTimer_.stop();
    if (!options_.state.empty() && pty_.masterFd() >= 0)
        device_.saveFile(options_.state);
    pty_.close();
}

void Simulator::onReadable()
{
    const std::string data = pty_.readAvailable();
    for (const auto& command : interpreter_->feed(data))
        answer(command);
}

void Simulator::answer(const AtCommand& command)
{
    if (log_) {
        log_ << sinceStart_.elapsed() << '\t' << command.text << '\n';
        log_.flush();
    }
    if (options_.silent)
        return;
    if (options_.replyDelayMs > 0)
        QTimer::singleShot(options_.replyDelayMs, this, [this, reply = command.reply] { deliver(reply); });
    else
        deliver(command.reply);
}

// The answer to ATCD9 goes out before the trace starts and the answer to
// ATCD8 after it stops, so neither belongs to the trace.
void Simulator::deliver(const AtReply& reply)
{
    if (reply.trace == TraceSwitch::Off)
        switchTrace(false);
    send(reply.bytes, lineMs());
    if (reply.trace == TraceSwitch::On)
        switchTrace(true);
}

void Simulator::switchTrace(bool on)
{
    if (on == traceOn_)
        return;
    if (on && !lineClock_.isValid())
        lineClock_.start();
    traceOn_ = on;
    if (on)
        traceOnAtMs_ = lineMs();
    pump();
}

void Simulator::send(const std::string& bytes, std::int64_t atMs)
{
    pty_.write(bytes);
    if (traceOn_ && recorder_)
        recorder_->write(atMs, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

// Plays everything due on the line; frames and payloads are sent only while
// the trace is on, but the line's calls go on either way.
void Simulator::pump()
{
    if (!lineClock_.isValid())
        return;
    const std::int64_t now = lineMs();
    if (session_) {
        for (const auto& f : session_->framesUntil(now))
            if (traceOn_)
                send(traceLine(f.from, f.octets, f.ms - traceOnAtMs_), f.ms);
        for (const auto& c : session_->chargesUntil(now))
            device_.addCharge(c.port, c.units);
    }
    for (; playIndex_ < playback_.size() && playback_[playIndex_].ms <= now; ++playIndex_)
        if (traceOn_)
            send(playback_[playIndex_].bytes.toStdString(), playback_[playIndex_].ms);
    schedulePump();
}

void Simulator::schedulePump()
{
    std::int64_t next = -1;
    if (session_)
        next = session_->nextFrameMs();
    if (playIndex_ < playback_.size())
        next = next < 0 ? playback_[playIndex_].ms : std::min<std::int64_t>(next, playback_[playIndex_].ms);
    if (next < 0)
        return;
    const auto wait = std::clamp<std::int64_t>(next - lineMs(), 0, 60000);
    pumpTimer_.start(static_cast<int>(wait));
}

} // namespace sim
