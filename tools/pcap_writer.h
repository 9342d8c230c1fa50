#pragma once
// D-channel frames as a classic pcap file (or a capture fifo), for protocol
// analysers. Link type 177 (LINUX_LAPD) puts a 16-octet pseudo-header before
// each frame that says who sent it; 203 (LAPD) is the bare frame from its
// address octet on, for tools that want that.
#include "monitor/engine/frame_direction.h"

#include <QByteArray>
#include <QFile>
#include <QString>

enum class PcapLinkType : quint32 { Lapd = 203, LinuxLapd = 177 };

class PcapWriter {
public:
    static constexpr qsizetype kHeaderSize = 24;
    static constexpr qsizetype kPseudoHeaderSize = 16; // before each LinuxLapd frame

    // Writes the file header. A fifo waits here until its reader opens it.
    bool open(const QString& path, PcapLinkType type);
    // One record, stamped in microseconds since the epoch. A LinuxLapd file has
    // no place for a frame whose sender is unknown: it is left out. False
    // when the record could not be written.
    bool write(qint64 usSinceEpoch, const QByteArray& frame, FrameDirection direction);
    // Hands what was written to the reader at once; false when it is gone.
    bool flush();
    bool close();
    // The open file's descriptor, -1 when closed.
    int handle() const { return file_.handle(); }

private:
    QFile file_;
    PcapLinkType type_ = PcapLinkType::LinuxLapd;
};
