#pragma once
// Where the front ends find a running corvane-monitor: the service writes the
// address of its API and a random token into a file in the runtime folder
// (the user's $XDG_RUNTIME_DIR/corvane, or the system daemon's
// /run/corvane-monitor), readable only by that user (or by the daemon's group).
// The file's permissions are the authorization: whoever can read the token may
// use the API, as the owner of the line.
#include <QByteArray>
#include <QString>
#include <optional>

namespace serviceaddress {

inline constexpr char kFileName[] = "monitor.json";
inline constexpr char kSystemFolder[] = "/run/corvane-monitor";

struct Address {
    QString url;      // "http://127.0.0.1:40123/"
    QByteArray token; // "Authorization: Bearer <token>"
    QString port;     // the adapter's port the service holds
    qint64 pid = 0;
};

// The file this service writes: in $RUNTIME_DIRECTORY when systemd gives one
// (group-readable then), else in the user's runtime folder.
QString ownFile(bool* groupReadable = nullptr);
// Where a front end looks, the user's own first, then the system daemon's.
QStringList lookedAt();

QByteArray newToken();
bool write(const QString& path, const Address& address, bool groupReadable);
// Removes the file if it is still this token's (a later service may have replaced it).
void remove(const QString& path, const QByteArray& token);
// The address in the first file of lookedAt() that names a running process.
std::optional<Address> find();
// The process is there (ours or another user's).
bool running(qint64 pid);
// The same path, or the same device once links are resolved.
bool samePort(const QString& a, const QString& b);
// That service, if it holds `port`.
std::optional<Address> holding(const QString& port);
std::optional<Address> read(const QString& path);

} // namespace serviceaddress
