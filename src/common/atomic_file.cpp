#include "common/atomic_file.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // A full disk shows as a short write or a failed flush, and QSaveFile would
    // still commit the cut-off copy: keep the old file instead.
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
