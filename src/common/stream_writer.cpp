#include "common/stream_writer.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

StreamWriter::StreamWriter(int fd, qint64 capacity, QObject* parent)
    : QIODevice(parent), fd_(fd), oldFlags_(::fcntl(fd, F_GETFL)), capacity_(capacity),
      notifier_(new QSocketNotifier(fd, QSocketNotifier::Write, this))
{
    if (oldFlags_ >= 0)
        ::fcntl(fd_, F_SETFL, oldFlags_ | O_NONBLOCK);
    notifier_->setEnabled(false);
    connect(notifier_, &QSocketNotifier::activated, this, &StreamWriter::drain);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

StreamWriter::~StreamWriter()
{
    QElapsedTimer waited;
    waited.start();
    for (qint64 left = kLastDrainMs; !pending_.empty() && left > 0; left = kLastDrainMs - waited.elapsed()) {
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, int(left)) != 1)
            break;
        drain();
    }
    if (oldFlags_ >= 0)
        ::fcntl(fd_, F_SETFL, oldFlags_); // a terminal shared with the shell stays as it was
}

qint64 StreamWriter::writeData(const char* data, qint64 size)
{
    pending_.emplace_back(data, qsizetype(size));
    waiting_ += size;
    drain();
    while (waiting_ > capacity_ && pending_.size() > (written_ > 0 ? 1u : 0u))
        dropOldest();
    return size; // never fails: what cannot wait is counted instead
}

void StreamWriter::dropOldest()
{
    const bool started = written_ > 0;
    auto oldest = pending_.begin() + (started ? 1 : 0); // a line begun goes out whole
    waiting_ -= oldest->size();
    pending_.erase(oldest);
    ++dropped_;
    if (droppedNow_++ == 0)
        emit droppingStarted();
}

void StreamWriter::drain()
{
    while (!pending_.empty()) {
        const QByteArray& front = pending_.front();
        const ssize_t n = ::write(fd_, front.constData() + written_, size_t(front.size() - written_));
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            notifier_->setEnabled(true);
            return;
        }
        if (n < 0) { // the reader is gone for good: nothing would ever go out
            dropped_ += qint64(pending_.size());
            pending_.clear();
            waiting_ = written_ = 0;
            break;
        }
        written_ += qsizetype(n);
        waiting_ -= n;
        if (written_ == front.size()) {
            pending_.pop_front();
            written_ = 0;
        }
    }
    notifier_->setEnabled(false);
    if (droppedNow_ > 0)
        emit caughtUp(std::exchange(droppedNow_, 0));
}
