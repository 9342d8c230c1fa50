#pragma once
// One running program per user: a lock file in the user's runtime folder.
// The lock of a program that died is taken over (its process is gone).
#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    ~SingleInstance();

    // True when this process holds the lock (taking it on the first call).
    bool tryLock();

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};
