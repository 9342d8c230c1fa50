#include "tools/pcap_writer.h"

#include "common/stream_writer.h"

#include <QtEndian>

#include <sys/stat.h>

namespace {

constexpr quint32 kMagicMicroseconds = 0xa1b2c3d4;
constexpr quint32 kSnapLength = 65535;
// The pseudo-header's packet types, as Linux names them: a frame the user side
// sent goes out, one from the network comes in.
constexpr quint16 kPacketIncoming = 0;
constexpr quint16 kPacketOutgoing = 4;
constexpr quint16 kProtocolLapd = 0x0030; // ETH_P_LAPD; analysers check it

template <typename T>
void putLittle(QByteArray& out, T v)
{
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    out.append(b, sizeof(T));
}

template <typename T>
void putBig(QByteArray& out, T v)
{
    char b[sizeof(T)];
    qToBigEndian(v, b);
    out.append(b, sizeof(T));
}

// Packet type, address type and length, an 8-octet address whose first octet
// says whether this side is the network (never: the adapter is a terminal),
// protocol.
void putPseudoHeader(QByteArray& out, FrameDirection direction)
{
    putBig<quint16>(out, direction == FrameDirection::UserToNetwork ? kPacketOutgoing : kPacketIncoming);
    putBig<quint16>(out, 0);
    putBig<quint16>(out, 0);
    out.append(8, '\0');
    putBig<quint16>(out, kProtocolLapd);
}

} // namespace

PcapWriter::PcapWriter() = default;
PcapWriter::~PcapWriter() = default;

QIODevice& PcapWriter::out()
{
    return stream_ ? static_cast<QIODevice&>(*stream_) : file_;
}

bool PcapWriter::writesFifo() const
{
    struct stat st {};
    return handle() >= 0 && ::fstat(handle(), &st) == 0 && S_ISFIFO(st.st_mode);
}

qint64 PcapWriter::dropped() const
{
    return stream_ ? stream_->dropped() : 0;
}

bool PcapWriter::open(const QString& path, PcapLinkType type, bool waitForReader)
{
    type_ = type;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!waitForReader && writesFifo()) // each record one piece, so a record dropped is dropped whole
        stream_ = std::make_unique<StreamWriter>(file_.handle());
    QByteArray header;
    putLittle<quint32>(header, kMagicMicroseconds);
    putLittle<quint16>(header, 2); // version 2.4
    putLittle<quint16>(header, 4);
    putLittle<quint32>(header, 0); // GMT offset
    putLittle<quint32>(header, 0); // accuracy
    putLittle<quint32>(header, kSnapLength);
    putLittle<quint32>(header, quint32(type));
    return out().write(header) == header.size();
}

bool PcapWriter::write(qint64 usSinceEpoch, const QByteArray& frame, FrameDirection direction)
{
    const bool pseudo = type_ == PcapLinkType::LinuxLapd;
    if (!file_.isOpen() || frame.isEmpty() || (pseudo && direction == FrameDirection::Unknown))
        return file_.isOpen();
    const quint32 length = quint32(frame.size() + (pseudo ? kPseudoHeaderSize : 0));
    QByteArray record;
    putLittle<quint32>(record, quint32(usSinceEpoch / 1000000));
    putLittle<quint32>(record, quint32(usSinceEpoch % 1000000));
    putLittle<quint32>(record, length);
    putLittle<quint32>(record, length);
    if (pseudo)
        putPseudoHeader(record, direction);
    record += frame;
    return out().write(record) == record.size();
}

bool PcapWriter::flush()
{
    return file_.flush();
}

bool PcapWriter::close()
{
    stream_.reset(); // gives what waits a last chance
    if (!file_.isOpen())
        return true;
    const bool ok = file_.flush() && file_.error() == QFileDevice::NoError;
    file_.close();
    return ok;
}
