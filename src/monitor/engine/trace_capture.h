#pragma once
// The trace capture: characters into TraceBuffer, one line cut out and parsed
// into octets for every "L" received. Its traces go to Text1; each parsed frame
// goes to whoever decodes it.
#include "monitor/engine/frame_decoder.h"
#include "monitor/engine/frame_direction.h"
#include "monitor/engine/trace_history.h"
#include "monitor/engine/trace_output.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <string>

class TraceCapture {
public:
    // The buffer keeps at most this many characters without a line break.
    static constexpr qsizetype kTraceBufferLimit = 64 * 1024;
    // A frame's octets as the decoder reads them, octet 1 first at index 1.
    static constexpr int kMaxOctets = FrameDecoder::kMaxOctets;
    using Octets = FrameDecoder::Octets;
    // An "L" first drops this many characters off the buffer's end, then as
    // many as the position of the buffer's first "L": for a line at the
    // buffer's start, the adapter's trailer (" 00001234") after its line break.
    static constexpr qsizetype kEndTrim = 8;
    static constexpr qsizetype kTrailerLength = kEndTrim + 1;

    struct Hooks {
        std::function<void()> passStarted; // an "L" begins a decode pass
        std::function<void(const Octets& octets, int count)> frameParsed;
    };

    TraceCapture(TraceOutput& trace, Hooks hooks);

    // Received characters, as if one at a time; only the last may be an "L".
    void scan(QByteArrayView chars);
    void scan(char c) { scan(QByteArrayView(&c, 1)); }
    // What an "L" does before it is stored, without the "L": the line before
    // it is cut out and parsed now. For a reader that knows the line's trailer
    // is in and need not wait for the next line.
    void cutLine();
    // The buffer emptied: a half-received line is forgotten.
    void clear();
    QStringView buffer() const { return TraceBuffer; }

    static int hexPair(QStringView two);

    // The frame line handed to frameParsed last ("L1:", the sender's mark, the octets).
    const QString& lastLine() const { return line_; }
    // The sender a frame line's mark names.
    static FrameDirection directionOf(QStringView line);
    // Whether a frame line's octet text is exactly `count` pairs of hexadecimal
    // digits with one separator between them (the parse reads damaged pairs too).
    static bool octetsIntact(QStringView line, int count);

private:
    void scanPlain(QByteArrayView chars);
    void startLine();
    void decodePass();
    void boundTraceBuffer();
    bool junkMayForm() const;
    void removeBreakJunk(bool decoded, QChar appended);
    qsizetype replaceLineTexts();
    qsizetype firstL();
    void parseOctets(QStringView octetText, int count);
    // Every change of TraceBuffer goes through these, which keep its clean and
    // L-free prefixes, its line-break count and its history.
    int breaksIn(QStringView part) const;
    void appendToTraceBuffer(QByteArrayView chars);
    void chopTraceBuffer(qsizetype n);
    void dropTraceBufferFront(qsizetype n);
    void replaceTraceBufferFrom(qsizetype from, QStringView tail);
    // The buffer from `from` on, in scratch_ for rewriting.
    char16_t* copyToScratch(qsizetype from);

    TraceOutput& trace_;
    Hooks hooks_;
    QString TraceBuffer;
    int lineBreaks_ = 0;
    int LPosition = 0;
    // The buffer's first cleanPrefix_ characters hold no text a decode pass
    // replaces and no CR LF; its first lFree_ no "L".
    qsizetype cleanPrefix_ = 0;
    qsizetype lFree_ = 0;
    bool junkLeft_ = false;
    std::u16string scratch_;
    Octets octets_{};
    QString line_;
    TraceHistory history_{[this] { return buffer(); }};
};
