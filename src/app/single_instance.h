#pragma once
// One running program per user: a lock file in the user's runtime folder.
// The lock of a program that died is taken over (its process is gone). The
// holder listens on a local socket beside the lock, so that a second start can
// ask it to show its window instead of only saying that it runs.
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    ~SingleInstance();

    // True when this process holds the lock (taking it on the first call).
    bool tryLock();
    // Asks the holder of the lock to show itself; false when it could not be
    // reached (it is older, hung, or its socket is gone).
    bool askHolderToShow() const;

    // Called in the holder when a later start asked it to show itself.
    std::function<void()> onShowAsked;

    static QString defaultLockPath();

private:
    void listen();

    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    bool held_ = false;
};
