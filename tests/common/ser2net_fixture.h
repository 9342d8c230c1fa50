#pragma once
// A real ser2net in front of a simulator's pseudo-terminal, configured as
// docs/ser2net.md has it, on a free local port.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>

class Ser2net {
public:
    static constexpr const char* kProgram = "/usr/sbin/ser2net";
    static bool installed() { return QFileInfo::exists(QLatin1String(kProgram)); }

    // Serves `device` with a configuration of tests/common/; the caller waits
    // until tcp://127.0.0.1:port() answers.
    bool start(const QString& device, const char* yamlName = "ser2net.yaml")
    {
        QTcpServer probe; // finds a free port
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return false;
        port_ = probe.serverPort();
        probe.close();
        QFile yaml(QStringLiteral(CORVANE_SOURCE_DIR "/tests/common/") + QLatin1String(yamlName));
        QFile config(dir_.filePath("ser2net.yaml"));
        if (!yaml.open(QIODevice::ReadOnly) || !config.open(QIODevice::WriteOnly))
            return false;
        config.write(QString::fromUtf8(yaml.readAll()).arg(port_).arg(device).toUtf8());
        config.close();
        process_.setStandardErrorFile(QProcess::nullDevice()); // its mDNS warnings
        process_.start(QLatin1String(kProgram), {"-n", "-u", "-c", config.fileName(), "-P", dir_.filePath("pid")});
        return process_.waitForStarted(5000);
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
