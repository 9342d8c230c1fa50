#pragma once
#include "free_port.h"
// A mosquitto broker of a test's own on a free port of 127.0.0.1, its
// sessions kept over a restart, and mosquitto_sub reading what it carries.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

class Broker {
public:
    static QString program()
    {
        return QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {"/usr/sbin", "/usr/bin"});
    }
    static bool installed() { return !program().isEmpty(); }

    // `access`: the listener's settings (TLS files, passwords; "{dir}" for the
    // broker's folder); anyone by default.
    explicit Broker(const QString& access = QStringLiteral("allow_anonymous true")) : access_(access) {}
    ~Broker() { stop(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // (Re)starts on the same port; true once it listens.
    bool start()
    {
        if (port_ == 0 && (port_ = freePort()) == 0)
            return false;
        QFile conf(dir_.filePath("mosquitto.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        // Started by root it stays root, to read the test's private folder; no
        // limit on what waits for a subscriber that is away.
        conf.write(QStringLiteral("listener %1 127.0.0.1\n%2\npersistence true\npersistence_location %3/\n"
                                  "log_dest stderr\nuser root\nmax_queued_messages 0\n")
                       .arg(port_)
                       .arg(QString(access_).replace("{dir}", dir_.path()), dir_.path())
                       .toUtf8());
        conf.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program(), {"-c", conf.fileName()});
        log_.clear();
        return QTest::qWaitFor(
                   [this] {
                       log_ += process_.readAll();
                       return log_.contains(" running") || process_.state() == QProcess::NotRunning;
                   },
                   10000)
               && process_.state() == QProcess::Running;
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate(); // saves the sessions
        process_.waitForFinished(10000);
    }

    quint16 port() const { return port_; }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }
    QStringList clientArgs() const { return {"-h", "127.0.0.1", "-p", QString::number(port_)}; }

private:
    QTemporaryDir dir_;
    QString access_;
    QProcess process_;
    QByteArray log_;
    quint16 port_ = 0;
};

// mosquitto_sub -v on some topics, QoS 1; with an id its session outlives it.
class Subscriber {
public:
    Subscriber(const Broker& broker, const QStringList& topics, const QString& id = {}, const QStringList& options = {})
    {
        QStringList args = broker.clientArgs() + options + QStringList{"-v", "-q", "1", "-t", "probe"};
        for (const QString& t : topics)
            args << "-t" << t;
        if (!id.isEmpty())
            args << "-c"
                 << "-i" << id;
        process_.start(QStringLiteral("stdbuf"), QStringList{"-oL", "mosquitto_sub"} + args); // each line when it comes
        // Subscribed once a probe comes back: readiness, not a pause.
        ready_ = QTest::qWaitFor(
            [&] {
                QProcess::execute(
                    QStringLiteral("mosquitto_pub"), broker.clientArgs() + QStringList{"-t", "probe", "-m", "x"});
                return (text_ += process_.readAllStandardOutput()).contains("probe x");
            },
            10000);
    }
    ~Subscriber()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    bool ready() const { return ready_; }
    // Everything read so far, probes left out.
    QStringList lines()
    {
        QStringList all = QString::fromUtf8(text_ += process_.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        all.removeAll(QStringLiteral("probe x"));
        return all;
    }
    // Until `count` lines hold `part`.
    bool waitFor(const QString& part, int count = 1, int ms = 30000)
    {
        return QTest::qWaitFor([&] { return lines().filter(part).size() >= count; }, ms);
    }

private:
    QProcess process_;
    QByteArray text_;
    bool ready_ = false;
};
