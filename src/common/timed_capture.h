#pragma once
// The timed capture (.trace) the simulator records and the replay reads:
// "# corvane-trace 1", comment lines starting with "#", then "<ms>\t<payload>"
// lines with \r \n \t \\ \xHH escapes. A file without that first line is raw
// bytes arriving one every 87 microseconds (115200 bit/s, 8N1) from t = 0.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

struct CaptureChunk {
    qint64 ms = 0;
    QByteArray bytes;
};

namespace TimedCapture {

inline constexpr char kHeader[] = "# corvane-trace 1";

// Parses a capture's content. Malformed lines are skipped; times that go
// backwards are held at the previous time; chunks of one moment are joined.
QList<CaptureChunk> parse(const QByteArray& content);
// Reads and parses a file; false when it cannot be read.
bool load(const QString& path, QList<CaptureChunk>& chunks, QString* error = nullptr);

QByteArray unescape(QByteArrayView payload);
// unescape() into `out`, replacing its content.
void unescapeInto(QByteArrayView payload, QByteArray& out);
QByteArray escape(QByteArrayView bytes);

// Reads a capture piece by piece, so a long one never sits in memory whole.
// Its chunks are parse()'s, except that one moment may come in several chunks.
class Reader {
public:
    static constexpr qint64 kBlockBytes = 64 * 1024;

    bool open(const QString& path, QString* error = nullptr);
    // Reads `device` (open for reading) in blocks of `blockBytes`.
    void start(QIODevice& device, qint64 blockBytes = kBlockBytes);
    // The next chunk; false at the end of the capture.
    bool next(CaptureChunk& chunk);

private:
    bool nextTimed(CaptureChunk& chunk);
    bool nextRaw(CaptureChunk& chunk);
    bool nextLine(QByteArrayView& line);

    QFile file_;
    QIODevice* device_ = nullptr;
    qint64 blockBytes_ = kBlockBytes;
    bool timed_ = false;
    qint64 last_ = 0;      // timed: the latest time so far
    qint64 rawOffset_ = 0; // raw: bytes read so far
    QByteArray rawBlock_;  // raw: the block read last, handed out up to rawPos_
    qsizetype rawPos_ = 0;
    QByteArray lines_; // timed: read, handed out up to linesPos_
    qsizetype linesPos_ = 0;
};

// Writes a timed capture: the header (and a comment line) at once, then one
// line per moment. Times never go backwards: an earlier one is written as the
// latest so far.
class Writer {
public:
    explicit Writer(QIODevice& out, QByteArrayView comment = {});
    // False when the device refused the line.
    bool write(qint64 ms, QByteArrayView bytes);

private:
    QIODevice& out_;
    qint64 last_ = 0;
};

} // namespace TimedCapture
