#include "monitor/engine/trace_pane.h"

#include <QMetaMethod>

namespace {

// Smaller snapshots are copied at once: cheaper than keeping them apart.
constexpr qsizetype kLazyFrom = 1024;

// The position just after the n-th (1-based) line break of `text`, or -1.
qsizetype afterNthBreak(QStringView text, int n)
{
    qsizetype at = -1;
    while (n-- > 0) {
        at = text.indexOf(u'\n', at + 1);
        if (at < 0)
            return -1;
    }
    return at + 1;
}

} // namespace

TracePane::TracePane(QObject* parent) : QObject(parent)
{
}

const QString& TracePane::text() const
{
    static const QString empty;
    if (pieces_.empty())
        return empty;
    if (pieces_.size() > 1 || pieces_.front().isLazy) {
        Piece whole;
        whole.text.reserve(size_);
        for (Piece& p : pieces_)
            whole.text += copied(p);
        whole.size = size_;
        whole.lineBreaks = lineBreaks_;
        pieces_.clear();
        pieces_.push_back(std::move(whole));
    }
    return pieces_.front().text;
}

void TracePane::clear()
{
    pieces_.clear();
    size_ = 0;
    lineBreaks_ = 0;
    emit cleared();
}

void TracePane::append(const QString& added)
{
    if (added.isEmpty())
        return;
    addText(added);
    emit appended(added);
    trimIfNeeded();
}

void TracePane::append(QLatin1String before, const TraceSnapshot& middle, QLatin1String after)
{
    static const QMetaMethod appendedSignal = QMetaMethod::fromSignal(&TracePane::appended);
    if (middle.size() < kLazyFrom || isSignalConnected(appendedSignal)) {
        append(before + middle.text() + after);
        return;
    }
    addText(QString(before));
    pieces_.push_back({QString(), middle, true, middle.size(), middle.lineBreaks()});
    size_ += middle.size();
    lineBreaks_ += middle.lineBreaks();
    addText(QString(after));
    trimIfNeeded();
}

void TracePane::addText(const QString& added)
{
    if (pieces_.empty() || pieces_.back().isLazy)
        pieces_.emplace_back();
    Piece& last = pieces_.back();
    const int breaks = int(added.count(u'\n'));
    last.text += added;
    last.size += added.size();
    last.lineBreaks += breaks;
    size_ += added.size();
    lineBreaks_ += breaks;
}

QString& TracePane::copied(Piece& piece)
{
    if (piece.isLazy) {
        piece.text = piece.lazy.text();
        piece.lazy = TraceSnapshot();
        piece.isLazy = false;
    }
    return piece.text;
}

// Pieces without line breaks are passed over without copying their characters.
qsizetype TracePane::positionAfterBreak(int n) const
{
    qsizetype start = 0;
    for (Piece& p : pieces_) {
        if (p.lineBreaks >= n)
            return start + afterNthBreak(copied(p), n);
        n -= p.lineBreaks;
        start += p.size;
    }
    return -1;
}

// The position of the first line break at or after `from`, or -1.
qsizetype TracePane::breakFrom(qsizetype from) const
{
    qsizetype start = 0;
    for (Piece& p : pieces_) {
        const qsizetype end = start + p.size;
        if (end > from && p.lineBreaks > 0) {
            const qsizetype at = copied(p).indexOf(u'\n', std::max<qsizetype>(0, from - start));
            if (at >= 0)
                return start + at;
        }
        start = end;
    }
    return -1;
}

int TracePane::breaksBefore(qsizetype end) const
{
    int breaks = 0;
    qsizetype start = 0;
    for (Piece& p : pieces_) {
        if (start >= end)
            break;
        breaks += start + p.size <= end ? p.lineBreaks : int(QStringView(copied(p)).first(end - start).count(u'\n'));
        start += p.size;
    }
    return breaks;
}

void TracePane::dropFront(qsizetype n)
{
    while (n > 0 && n >= pieces_.front().size) {
        n -= pieces_.front().size;
        pieces_.pop_front();
    }
    if (n == 0)
        return;
    Piece& first = pieces_.front();
    QString& text = copied(first);
    first.lineBreaks -= int(QStringView(text).first(n).count(u'\n'));
    text.remove(0, n);
    first.size -= n;
}

// Drops whole lines from the front once the pane holds a fifth more than its
// limit, so the cost of trimming is spread over many appends.
void TracePane::trimIfNeeded()
{
    const bool tooManyLines = lineBreaks_ > kMaxLines + kMaxLines / 5;
    const bool tooLong = size_ > kMaxChars + kMaxChars / 5;
    if (!tooManyLines && !tooLong)
        return;
    const int drop = lineBreaks_ - kMaxLines;
    qsizetype cut = drop > 0 ? positionAfterBreak(drop) : 0;
    if (size_ - cut > kMaxChars) {
        // A flood without line breaks: keep the tail, starting at a line when possible.
        const qsizetype tailStart = size_ - kMaxChars;
        const qsizetype nl = breakFrom(tailStart);
        cut = nl >= 0 && nl + 1 < size_ ? nl + 1 : tailStart;
    }
    lineBreaks_ -= breaksBefore(cut);
    dropFront(cut);
    size_ -= cut;
    emit trimmed();
}
