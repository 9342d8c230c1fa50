#pragma once
// One writer per program folder. Whoever writes a folder's list.txt (the
// window, corvane-monitor) holds "corvane.lock" in it while it runs: a second
// program on the same folder would rewrite the list from its own memory and
// lose the first one's calls. The lock is the kernel's (flock), so the lock of
// a program that died is free again; the file says who holds it.
#include <QString>

class FolderLock {
public:
    struct Holder {
        qint64 pid = 0;
        QString program; // the holder's executable name
    };

    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // True when this process holds the folder (taking it on the first call);
    // false with `holder` set to who has it.
    bool tryLock(Holder* holder = nullptr);
    QString path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    bool held_ = false;
};
