#pragma once
// Decoded frames as a pcap file, link type 203 (LAPD, from the address octet,
// no pseudo-header), for a standard protocol analyser.
#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

class PcapWriter {
public:
    static constexpr quint32 kLinkTypeLapd = 203;

    bool open(const QString& path);
    void write(const QDateTime& when, const QByteArray& frame);
    bool close();

private:
    QFile file_;
};
