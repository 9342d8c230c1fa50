#include "tools/live_capture.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "device/dodova_probe.h"
#include "device/line_settings.h"
#include "device/port_link.h"
#include "monitor/session/trace_mode.h"

#include <QSocketNotifier>

#include <chrono>
#include <poll.h>

namespace {

constexpr int kFailure = 1;

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// The fifo's write end reports an error once nobody reads it any more.
bool readerGone(int fd)
{
    pollfd p{fd, 0, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

} // namespace

LiveCapture::LiveCapture(const CaptureOptions& options, SettingsStore& settings, QObject* parent)
    : QObject(parent), options_(options), settings_(settings), at_(settings_, clock_),
      frames_([this](const QByteArray& frame, FrameDirection direction) { writeFrame(frame, direction); }), err_(stderr)
{
    connect(&at_.port(), &PortLink::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (running_ && TraceMode::isLineLoss(e))
            endSoon(kFailure,
                QStringLiteral("The adapter on %1 was lost: %2.").arg(at_.portPath(), at_.port().errorString()));
    });
}

LiveCapture::~LiveCapture()
{
    if (running_)
        stop(true);
}

QString LiveCapture::storedPort(const SettingsStore& settings)
{
    return settings.portPath(readLineSettings(settings).port);
}

void LiveCapture::say(const QString& text)
{
    err_ << text << Qt::endl;
}

void LiveCapture::readSettings()
{
    at_.configure(readLineSettings(settings_, options_.device()));
}

int LiveCapture::start()
{
    // The header first: Wireshark then shows what goes wrong below as the capture's error.
    // Never waiting for the reader, so SIGTERM and the adapter are heard while the fifo is full.
    if (!pcap_.open(options_.fifo, PcapLinkType::LinuxLapd, false) || !pcap_.flush()) {
        say(QStringLiteral("Cannot write the capture to %1.").arg(options_.fifo));
        return kFailure;
    }
    watchReader();
    readSettings();
    const QString device = at_.portPath();
    if (!options_.listenOnly) {
        if (!at_.portOpens()) {
            say(QStringLiteral("Cannot open %1: %2. Is it the adapter's port, and is no other program "
                               "(the call monitor, corvane-monitor) using it?")
                    .arg(device, at_.port().errorString()));
            return kFailure;
        }
        if (!answersAsDodova(at_)) {
            say(QStringLiteral("No DodOva answers on %1.").arg(device));
            return kFailure;
        }
        if (stopRequested_)
            return 0;
        if (!TraceMode::switchOn([this](const QString& cmd) { return at_.SendAT(cmd); }))
            say(QStringLiteral("The adapter on %1 did not confirm its trace mode.").arg(device));
    }
    if (!at_.trace().take([this] { received(); })) {
        at_.trace().release();
        say(QStringLiteral("Cannot open %1: %2.").arg(device, at_.port().errorString()));
        return kFailure;
    }
    running_ = true;
    if (stopRequested_)
        stop(true);
    return 0;
}

void LiveCapture::watchReader()
{
    const int fd = pcap_.handle();
    if (!pcap_.writesFifo())
        return; // a plain file has no reader to lose
    // A read notifier on the write end wakes only when the reader closes it.
    readerGone_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(readerGone_, &QSocketNotifier::activated, this, [this, fd] {
        if (readerGone(fd))
            end(0, {});
    });
}

void LiveCapture::received()
{
    arrivalUs_ = nowUs();
    frames_.feed(at_.port().readAll());
}

void LiveCapture::writeFrame(const QByteArray& frame, FrameDirection direction)
{
    if (running_ && !(pcap_.write(arrivalUs_, frame, direction) && pcap_.flush()))
        endSoon(0, {}); // the reader went away
}

void LiveCapture::requestStop()
{
    stopRequested_ = true;
    if (running_)
        stop(true);
}

void LiveCapture::end(int status, const QString& why)
{
    if (!why.isEmpty())
        say(why);
    if (!running_) {
        stopRequested_ = true; // start() is still finding the adapter
        return;
    }
    stop(status == 0);
    emit ended(status);
}

// Not inside the port's or the writer's own call: the closing commands let events run.
void LiveCapture::endSoon(int status, const QString& why)
{
    QMetaObject::invokeMethod(
        this, [this, status, why] { end(status, why); }, Qt::QueuedConnection);
}

void LiveCapture::stop(bool adapterThere)
{
    running_ = false;
    if (readerGone_)
        readerGone_->setEnabled(false);
    if (options_.listenOnly || !adapterThere) {
        at_.trace().release();
        at_.port().close();
    } else {
        TraceMode::switchOff(
            at_,
            [this](const QByteArray& bytes) {
                if (at_.port().isOpen())
                    at_.port().write(bytes);
            },
            [this](const QString& cmd) { return at_.SendAT(cmd); });
    }
    pcap_.close();
}
