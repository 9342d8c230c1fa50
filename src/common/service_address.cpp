#include "common/service_address.h"

#include "common/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringList>
#include <csignal>
#include <cerrno>

namespace serviceaddress {

namespace {

constexpr int kTokenBytes = 24;
constexpr qint64 kLargestFile = 4096;

QString userFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/corvane");
}

} // namespace

bool running(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

QString ownFile(bool* groupReadable)
{
    const QString systemd = qEnvironmentVariable("RUNTIME_DIRECTORY").section(u':', 0, 0);
    if (groupReadable)
        *groupReadable = !systemd.isEmpty();
    const QString folder = systemd.isEmpty() ? userFolder() : systemd;
    return folder.isEmpty() ? QString() : folder + u'/' + QLatin1String(kFileName);
}

QStringList lookedAt()
{
    QStringList files;
    if (const QString user = userFolder(); !user.isEmpty())
        files << user + u'/' + QLatin1String(kFileName);
    files << QLatin1String(kSystemFolder) + u'/' + QLatin1String(kFileName);
    return files;
}

QByteArray newToken()
{
    QByteArray bytes(kTokenBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), kTokenBytes / 4);
    return bytes.toHex();
}

bool write(const QString& path, const Address& a, bool groupReadable)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.path()))
        return false;
    if (!groupReadable) // the user's runtime folder is the user's alone anyway; this one too
        QFile::setPermissions(info.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QJsonObject o{{"url", a.url}, {"token", QString::fromLatin1(a.token)}, {"port", a.port}, {"pid", a.pid}};
    // Written under a name nobody reads, narrowed, then renamed: the token is never readable by others.
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    QFile::remove(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    file.setPermissions(
        QFile::ReadOwner | QFile::WriteOwner | (groupReadable ? QFile::ReadGroup : QFile::Permissions()));
    const QByteArray bytes = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!ok || !(QFile::remove(path) || !QFile::exists(path)) || !QFile::rename(part, path)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

void remove(const QString& path, const QByteArray& token)
{
    if (const std::optional<Address> a = read(path); a && a->token == token)
        QFile::remove(path);
}

std::optional<Address> read(const QString& path)
{
    const regularfile::Contents file = regularfile::read(path, kLargestFile); // never a FIFO that blocks
    if (!file.exists || !file.ok())
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.bytes).object();
    Address a{o.value(u"url").toString(), o.value(u"token").toString().toLatin1(), o.value(u"port").toString(),
        qint64(o.value(u"pid").toDouble())};
    if (!a.url.startsWith(QLatin1String("http")) || a.token.isEmpty())
        return std::nullopt;
    return a;
}

std::optional<Address> find()
{
    for (const QString& path : lookedAt())
        if (std::optional<Address> a = read(path); a && running(a->pid))
            return a;
    return std::nullopt;
}

bool samePort(const QString& a, const QString& b)
{
    const QString x = QFileInfo(a).canonicalFilePath(), y = QFileInfo(b).canonicalFilePath();
    return a == b || (!x.isEmpty() && x == y);
}

std::optional<Address> holding(const QString& port)
{
    std::optional<Address> service = find();
    return service && samePort(service->port, port) ? service : std::nullopt;
}

} // namespace serviceaddress
