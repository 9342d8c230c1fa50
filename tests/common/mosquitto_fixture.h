#pragma once
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

    ~Broker() { stop(); }

    // (Re)starts on the same port; true once it listens.
    bool start()
    {
        if (port_ == 0) {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 0))
                return false;
            port_ = probe.serverPort();
        }
        QFile conf(dir_.filePath("mosquitto.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence true\n"
                                  "persistence_location %2/\nlog_dest stderr\n")
                       .arg(port_)
                       .arg(dir_.path())
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
    QProcess process_;
    QByteArray log_;
    quint16 port_ = 0;
};

// mosquitto_sub -v on some topics, QoS 1; with an id its session outlives it.
class Subscriber {
public:
    Subscriber(const Broker& broker, const QStringList& topics, const QString& id = {})
    {
        QStringList args = broker.clientArgs() + QStringList{"-v", "-q", "1", "-t", "probe"};
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
                return read().contains("probe x");
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
        read();
        QStringList out;
        for (const QString& l : QString::fromUtf8(text_).split(u'\n', Qt::SkipEmptyParts))
            if (l != QLatin1String("probe x"))
                out << l;
        return out;
    }
    bool waitFor(const QString& line, int count = 1, int ms = 30000)
    {
        return QTest::qWaitFor([&] { return lines().count(line) >= count; }, ms);
    }
    bool waitForMatching(const QString& part, int count, int ms = 30000)
    {
        return QTest::qWaitFor([&] { return lines().filter(part).size() >= count; }, ms);
    }

private:
    QByteArray read()
    {
        text_ += process_.readAllStandardOutput();
        return text_;
    }

    QProcess process_;
    QByteArray text_;
    bool ready_ = false;
};
