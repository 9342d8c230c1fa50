#pragma once
// Replaces a file as a whole: the new text goes to a temporary file that is
// renamed over the old one only when every byte reached the disk, so a crash
// or a full disk never leaves a cut-off list.txt or book.txt behind.
#include <QByteArray>
#include <QString>

bool writeFileAtomically(const QString& path, const QByteArray& bytes);
