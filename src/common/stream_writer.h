#pragma once
// A standard stream (stdout for --json, stderr for the log) written without
// ever waiting for its reader. The descriptor is made non-blocking; what the
// reader has not taken yet waits in a bounded buffer that goes out as the
// stream drains, and past the bound the oldest waiting pieces (each one write,
// a line) are dropped and counted. A reader that stops reading costs itself
// lines, never the monitor its calls.
#include <QByteArray>
#include <QIODevice>
#include <deque>

class QSocketNotifier;

class StreamWriter : public QIODevice {
    Q_OBJECT
public:
    static constexpr qint64 kCapacity = 1 << 20; // bytes waiting at most
    static constexpr int kLastDrainMs = 1000;    // the destructor's wait for a slow reader

    explicit StreamWriter(int fd, qint64 capacity = kCapacity, QObject* parent = nullptr);
    // Gives the waiting lines a last chance, then the descriptor's own flags back.
    ~StreamWriter() override;

    bool isSequential() const override { return true; }
    qint64 dropped() const { return dropped_; }

signals:
    void droppingStarted();             // the first drop since the stream last caught up
    void caughtUp(qint64 droppedLines); // everything written again, after drops

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    void drain();
    void dropOldest();

    int fd_;
    int oldFlags_;
    qint64 capacity_;
    std::deque<QByteArray> pending_;
    qint64 waiting_ = 0;    // bytes in pending_, less what of the first is written
    qsizetype written_ = 0; // of pending_.front()
    qint64 dropped_ = 0;    // since the start
    qint64 droppedNow_ = 0; // since the stream last caught up
    QSocketNotifier* notifier_;
};
