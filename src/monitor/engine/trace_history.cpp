#include "monitor/engine/trace_history.h"

#include <algorithm>

struct TraceSnapshot::State {
    TraceHistory* history; // null once the text is in `flat`
    qsizetype start;       // stream position of the first character
    qsizetype unchanged;   // stream position where the saved end begins
    QString savedEnd;      // the characters from `unchanged` on, as they were
    qsizetype size;
    int lineBreaks;
    QString flat;
};

TraceSnapshot::TraceSnapshot(std::shared_ptr<State> state) : state_(std::move(state))
{
}

qsizetype TraceSnapshot::size() const
{
    return state_ ? state_->size : 0;
}

int TraceSnapshot::lineBreaks() const
{
    return state_ ? state_->lineBreaks : 0;
}

QString TraceSnapshot::text() const
{
    if (!state_)
        return {};
    return state_->history ? state_->history->text(*state_) : state_->flat;
}

TraceHistory::TraceHistory(std::function<QStringView()> liveBuffer) : liveBuffer_(std::move(liveBuffer))
{
}

// Snapshots may outlive the buffer: they keep their characters.
TraceHistory::~TraceHistory()
{
    for (const auto& held : held_) {
        if (const auto s = held.lock()) {
            s->flat = text(*s);
            s->history = nullptr;
        }
    }
}

TraceSnapshot TraceHistory::snapshot(int lineBreaks)
{
    forgetUnread();
    const qsizetype size = liveBuffer_().size();
    if (held_.empty()) {
        dropped_.clear();
        droppedFrom_ = front_;
    }
    auto s = std::make_shared<TraceSnapshot::State>(
        TraceSnapshot::State{this, front_, front_ + size, QString(), size, lineBreaks, QString()});
    held_.push_back(s);
    return TraceSnapshot(std::move(s));
}

// Newer snapshots never have an earlier saved end than older ones, so the walk
// stops at the first one that the change does not reach.
void TraceHistory::changing(qsizetype index)
{
    const qsizetype at = front_ + index;
    const QStringView buffer = liveBuffer_();
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        const auto s = it->lock();
        if (!s)
            continue;
        if (s->unchanged <= at)
            break;
        s->savedEnd.prepend(buffer.sliced(index, s->unchanged - at));
        s->unchanged = at;
    }
}

void TraceHistory::dropping(qsizetype n)
{
    forgetUnread();
    if (!held_.empty())
        dropped_ += liveBuffer_().first(n);
    front_ += n;
    if (held_.empty()) {
        dropped_.clear();
        droppedFrom_ = front_;
    }
}

// Snapshots nobody holds any more need nothing kept for them.
void TraceHistory::forgetUnread()
{
    while (!held_.empty() && held_.front().expired())
        held_.pop_front();
    while (!held_.empty() && held_.back().expired())
        held_.pop_back();
    if (held_.empty())
        return;
    const qsizetype oldest = held_.front().lock()->start;
    // Dropped characters before the oldest snapshot go, once they are half of what is kept.
    if (oldest - droppedFrom_ > dropped_.size() / 2) {
        dropped_.remove(0, oldest - droppedFrom_);
        droppedFrom_ = oldest;
    }
}

QString TraceHistory::text(const TraceSnapshot::State& s) const
{
    const QStringView buffer = liveBuffer_();
    QString out;
    out.reserve(s.size);
    const qsizetype fromDropped = std::min(s.unchanged, front_);
    if (s.start < fromDropped)
        out += QStringView(dropped_).sliced(s.start - droppedFrom_, fromDropped - s.start);
    const qsizetype fromBuffer = std::max(s.start, front_);
    if (fromBuffer < s.unchanged)
        out += buffer.sliced(fromBuffer - front_, s.unchanged - fromBuffer);
    out += s.savedEnd;
    return out;
}
