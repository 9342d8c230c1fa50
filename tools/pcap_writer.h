#pragma once
// D-channel frames as a classic pcap file (or a capture fifo), for protocol
// analysers. Link type 177 (LINUX_LAPD) puts a 16-octet pseudo-header before
// each frame that says who sent it; 203 (LAPD) is the bare frame from its
// address octet on, for tools that want that.
#include "monitor/engine/frame_direction.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

class StreamWriter;

enum class PcapLinkType : quint32 { Lapd = 203, LinuxLapd = 177 };

class PcapWriter {
public:
    static constexpr qsizetype kHeaderSize = 24;
    static constexpr qsizetype kPseudoHeaderSize = 16; // before each LinuxLapd frame

    PcapWriter();
    ~PcapWriter();

    // Writes the file header. A fifo waits here until its reader opens it.
    // Without waitForReader a fifo's records never wait for a reader that
    // takes nothing: they wait in a bounded buffer (StreamWriter) that goes out
    // as the reader drains it, past the bound the oldest are dropped and
    // counted, so the program keeps hearing its signals and its adapter.
    bool open(const QString& path, PcapLinkType type, bool waitForReader = true);
    // One record, stamped in microseconds since the epoch. A LinuxLapd file has
    // no place for a frame whose sender is unknown: it is left out. False
    // when the record could not be written.
    bool write(qint64 usSinceEpoch, const QByteArray& frame, FrameDirection direction);
    // Hands what was written to the reader at once; false when it is gone.
    bool flush();
    bool close();
    // The open file's descriptor, -1 when closed.
    int handle() const { return file_.handle(); }
    bool writesFifo() const;
    // Records dropped because the reader did not take them.
    qint64 dropped() const;

private:
    QIODevice& out();

    QFile file_;
    std::unique_ptr<StreamWriter> stream_; // set: a fifo written without waiting
    PcapLinkType type_ = PcapLinkType::LinuxLapd;
};
