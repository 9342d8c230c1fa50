#pragma once
// The trace buffer's past states, kept cheaply for Text1. At every "L" level 5
// writes the whole buffer (up to 64 KiB) to Text1, which keeps only its last
// 1 MiB: copying each state would make a flood cost the buffer's size per "L".
//
// A snapshot records where the buffer stood in the stream of characters that
// ever passed through it (the front position counts characters dropped from
// the front). Its characters are then found, when someone reads them, in three
// places: those dropped from the front since (kept in order in `dropped_`),
// those still in the buffer, and its end as it was before the buffer's end
// was cut or rewritten (saved into the snapshot at that moment). Only the few
// characters that change between two "L"s are copied.
#include <QString>
#include <deque>
#include <functional>
#include <memory>

class TraceHistory;

class TraceSnapshot {
public:
    TraceSnapshot() = default;
    qsizetype size() const;
    int lineBreaks() const;
    // The buffer's characters at the moment of the snapshot.
    QString text() const;

private:
    friend class TraceHistory;
    struct State;
    explicit TraceSnapshot(std::shared_ptr<State> state);
    std::shared_ptr<State> state_;
};

class TraceHistory {
public:
    // `liveBuffer` gives the buffer as it is now.
    explicit TraceHistory(std::function<QStringView()> liveBuffer);
    ~TraceHistory();
    TraceHistory(const TraceHistory&) = delete;
    TraceHistory& operator=(const TraceHistory&) = delete;

    TraceSnapshot snapshot(int lineBreaks);
    // Called before the buffer's characters from `index` on are cut or rewritten.
    void changing(qsizetype index);
    // Called before the buffer's first `n` characters are dropped.
    void dropping(qsizetype n);

private:
    friend class TraceSnapshot;
    QString text(const TraceSnapshot::State& s) const;
    void forgetUnread();

    std::function<QStringView()> liveBuffer_;
    qsizetype front_ = 0; // stream position of the buffer's first character
    // The characters dropped from the front from stream position droppedFrom_ on.
    QString dropped_;
    qsizetype droppedFrom_ = 0;
    // Snapshots still held by someone, oldest first.
    std::deque<std::weak_ptr<TraceSnapshot::State>> held_;
};
