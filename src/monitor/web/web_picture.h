#pragma once
// The pictures the web page uploads for phone-book entries: PNG or JPEG only,
// recognised by their content and their header's size, and kept in the
// program folder's pictures/ under names the server chooses
// (web-<16 hex digits>.png|jpg), so no name from a client ever becomes a path.
#include <QByteArray>
#include <QString>

namespace webpicture {

// More pixels than Qt's image reader allocates by default (256 MiB at four
// bytes a pixel): such a picture would never show.
inline constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// ".png" or ".jpg" for a PNG or JPEG whose header gives a size Qt can read;
// "" for anything else.
QString suffix(const QByteArray& data);

// Writes `data` as a new file with that suffix in the program folder's
// pictures/; its path, or "" when it could not be written.
QString store(const QByteArray& data, const QString& suffix);

// Whether `path` names a file store() made, which the server may delete.
bool isStored(const QString& path);

} // namespace webpicture
