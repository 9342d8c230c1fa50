#include "tools/replay_pcap.h"

#include <QtEndian>

namespace {

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

bool PcapWriter::open(const QString& path)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray header;
    put32(header, 0xa1b2c3d4); // microsecond timestamps
    put16(header, 2);
    put16(header, 4);
    put32(header, 0); // GMT offset
    put32(header, 0); // accuracy
    put32(header, 65535);
    put32(header, kLinkTypeLapd);
    return file_.write(header) == header.size();
}

void PcapWriter::write(const QDateTime& when, const QByteArray& frame)
{
    if (!file_.isOpen() || frame.isEmpty())
        return;
    const qint64 ms = when.toMSecsSinceEpoch();
    QByteArray rec;
    put32(rec, quint32(ms / 1000));
    put32(rec, quint32((ms % 1000) * 1000));
    put32(rec, quint32(frame.size()));
    put32(rec, quint32(frame.size()));
    rec += frame;
    file_.write(rec);
}

bool PcapWriter::close()
{
    if (!file_.isOpen())
        return true;
    const bool ok = file_.error() == QFileDevice::NoError;
    file_.close();
    return ok;
}
