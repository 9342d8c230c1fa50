#include "monitor/engine/trace_pane.h"

TracePane::TracePane(QObject* parent) : QObject(parent) {}

const QString& TracePane::text() const
{
    return text_;
}

void TracePane::clear()
{
    text_.clear();
    lineBreaks_ = 0;
    emit cleared();
}

void TracePane::append(const QString& added)
{
    if (added.isEmpty())
        return;
    text_ += added;
    lineBreaks_ += int(added.count(u'\n'));
    emit appended(added);
    trimIfNeeded();
}

// Drops whole lines from the front once the pane holds a fifth more than its
// limit, so the cost of trimming is spread over many appends.
void TracePane::trimIfNeeded()
{
    const bool tooManyLines = lineBreaks_ > kMaxLines + kMaxLines / 5;
    const bool tooLong = text_.size() > kMaxChars + kMaxChars / 5;
    if (!tooManyLines && !tooLong)
        return;
    qsizetype cut = 0;
    int drop = lineBreaks_ - kMaxLines;
    while (drop > 0) {
        const qsizetype nl = text_.indexOf(u'\n', cut);
        if (nl < 0)
            break;
        cut = nl + 1;
        --drop;
    }
    if (text_.size() - cut > kMaxChars) {
        // A flood without line breaks: keep the tail, starting at a line when possible.
        const qsizetype tailStart = text_.size() - kMaxChars;
        const qsizetype nl = text_.indexOf(u'\n', tailStart);
        cut = nl >= 0 && nl + 1 < text_.size() ? nl + 1 : tailStart;
    }
    lineBreaks_ -= int(QStringView(text_).left(cut).count(u'\n'));
    text_.remove(0, cut);
    emit trimmed();
}
