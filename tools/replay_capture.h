#pragma once
// A timed capture (.trace): "# corvane-trace 1", then "<ms>\t<payload>" lines
// with \r \n \t \\ \xHH escapes. A file without that first line is raw bytes
// arriving one every 87 microseconds (115200 bit/s, 8N1) from t = 0.
#include <QByteArray>
#include <QList>
#include <QString>

struct CaptureChunk {
    qint64 ms = 0;
    QByteArray bytes;
};

namespace TimedCapture {

inline constexpr char kHeader[] = "# corvane-trace 1";

// Parses a capture's content. Malformed lines are skipped; times that go
// backwards are held at the previous time.
QList<CaptureChunk> parse(const QByteArray& content);
// Reads and parses a file; false when it cannot be read.
bool load(const QString& path, QList<CaptureChunk>& chunks, QString* error = nullptr);

QByteArray unescape(QByteArrayView payload);
QByteArray escape(QByteArrayView bytes);

} // namespace TimedCapture
