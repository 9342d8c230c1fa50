#include "app/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
// A holder that does not take the connection within this is not answering.
constexpr int kAskMs = 2000;
const QByteArray kShow = QByteArrayLiteral("show");
} // namespace

SingleInstance::SingleInstance(const QString& lockPath)
    : socketPath_(lockPath + QStringLiteral(".socket")), lock_(std::make_unique<QLockFile>(lockPath))
{
    lock_->setStaleLockTime(0); // only a lock whose process is gone is stale, however old
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock()
{
    if (!held_) {
        held_ = lock_->tryLock(0);
        if (held_)
            listen();
    }
    return held_;
}

void SingleInstance::listen()
{
    QLocalServer::removeServer(socketPath_); // a socket left by a holder that died; the lock is ours
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption); // the lock's folder may be /tmp
    server_->setMaxPendingConnections(1);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            auto read = [this, peer] {
                if (peer->bytesAvailable() < kShow.size())
                    return;
                if (peer->readAll().startsWith(kShow) && onShowAsked)
                    onShowAsked();
                peer->disconnectFromServer();
            };
            QObject::connect(peer, &QLocalSocket::readyRead, peer, read);
            read(); // what came before the connection was taken
        }
    });
    (void)server_->listen(socketPath_); // without it a second start only says that this one runs
}

bool SingleInstance::askHolderToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kAskMs))
        return false;
    socket.write(kShow);
    return socket.waitForBytesWritten(kAskMs);
}

QString SingleInstance::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("corvane.lock"));
}
