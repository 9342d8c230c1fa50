#pragma once
#include "free_port.h"
// A real ser2net in front of a simulator's pseudo-terminal, configured as
// docs/ser2net.md has it, on a free local port.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

class Ser2net {
public:
    static constexpr const char* kProgram = "/usr/sbin/ser2net";
    static bool installed() { return QFileInfo::exists(QLatin1String(kProgram)); }

    // Serves `device` with a configuration of tests/common/, and returns once
    // tcp://127.0.0.1:port() listens. Without `kickOldUser` (where the
    // configuration leaves it open) a connection that arrives while another
    // is up is turned away.
    bool start(const QString& device, const char* yamlName = "ser2net.yaml", bool kickOldUser = true)
    {
        if ((port_ = freePort()) == 0)
            return false;
        QFile yaml(QStringLiteral(CORVANE_SOURCE_DIR "/tests/common/") + QLatin1String(yamlName));
        QFile config(dir_.filePath("ser2net.yaml"));
        if (!yaml.open(QIODevice::ReadOnly) || !config.open(QIODevice::WriteOnly))
            return false;
        QString text = QString::fromUtf8(yaml.readAll()).arg(port_).arg(device);
        if (text.contains(QLatin1String("%3")))
            text = text.arg(QLatin1String(kickOldUser ? "true" : "false"));
        config.write(text.toUtf8());
        config.close();
        process_.setStandardErrorFile(QProcess::nullDevice()); // its mDNS warnings
        process_.start(QLatin1String(kProgram), {"-n", "-u", "-c", config.fileName(), "-P", dir_.filePath("pid")});
        if (!process_.waitForStarted(5000))
            return false;
        // Listening once its port is taken: seen without a connection, which
        // ser2net would count as a client. A bound on the wait, not a timing.
        for (int i = 0; i < 1000 && process_.state() == QProcess::Running; ++i) {
            if (QTcpServer taken; !taken.listen(QHostAddress::LocalHost, port_))
                return true;
            QThread::msleep(10);
        }
        return false;
    }
    quint16 port() const { return port_; }
    QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(port_); }
    void kill()
    {
        process_.kill();
        process_.waitForFinished();
    }
    ~Ser2net() { kill(); }

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};
