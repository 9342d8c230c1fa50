#pragma once
// Files whose path the user gives (book.txt, list.txt, ignore.txt, the contact
// folder's cards and photos, the settings, password and CA files) are read as
// regular files only. A FIFO would block the open until someone writes to it,
// a terminal would block in the kernel, /dev/zero never ends: each is refused,
// as is a file larger than its reader's bound. Symlinks are followed, to
// regular files only. The file is opened without blocking and checked on the
// open descriptor, so what is checked is what is read. A refusal is said once
// per path and reason on the log (qWarning) and returned to the reader.
#include <QByteArray>
#include <QString>

namespace regularfile {

struct Contents {
    QByteArray bytes;
    bool exists = false; // false: no such file (not a problem in itself)
    QString problem;     // why the file was skipped; "" when read
    bool ok() const { return problem.isEmpty(); }
};

// At most `maxBytes` of the regular file at `path`; a larger file, a FIFO, a
// device, a socket or a folder is skipped with its reason. A missing file reads
// as empty without a problem.
Contents read(const QString& path, qint64 maxBytes);

// For files that a library opens by name: "" when `path` is a regular file of
// at most `maxBytes`, else the reason (said on the log as read() does).
QString check(const QString& path, qint64 maxBytes);

} // namespace regularfile
