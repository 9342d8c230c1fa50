#pragma once
// A dodova-sim on a real pseudo-terminal for one test, plus a private
// settings file and program folder, so no test touches the user's own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "common/program_folder.h"
#include "common/settings_store.h"

#include <csignal>

class SimulatorLink {
public:
    explicit SimulatorLink(const QStringList& extraArgs = {}) { start(extraArgs); }
    ~SimulatorLink() { stop(); }

    // (Re)starts the simulator; its state file in the private folder carries
    // registers, numbers and profiles over a restart. True once the link exists.
    bool start(const QStringList& extraArgs = {})
    {
        stop();
        QFile::remove(link());
        process_.setProgram(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"));
        process_.setArguments(
            QStringList{"--link", link(), "--log", logPath(), "--state", dir_.filePath(QStringLiteral("state"))}
            + extraArgs);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start();
        up_ = false;
        if (!process_.waitForStarted(5000))
            return false;
        for (int i = 0; i < 500 && !QFileInfo::exists(link()); ++i) // readiness, not a timing assertion
            if (process_.waitForFinished(10))
                return false;
        return up_ = QFileInfo::exists(link());
    }

    bool up() const { return up_; }
    QString link() const { return dir_.filePath(QStringLiteral("dodova")); }
    QString statePath() const { return dir_.filePath(QStringLiteral("state")); }
    QString logPath() const { return dir_.filePath(QStringLiteral("commands.log")); }

    // The commands the simulator received, in order (the log's text after the TAB).
    QStringList commands() const
    {
        QFile f(logPath());
        QStringList out;
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (const qsizetype tab = line.indexOf('\t'); tab >= 0)
                out << QString::fromLatin1(line.mid(tab + 1));
        return out;
    }
    QStringList commandsSince(qsizetype from) const { return commands().mid(from); }

    void kill()
    {
        if (process_.state() != QProcess::NotRunning)
            ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
        // An unplugged adapter takes its device node along; a dangling link
        // would point at whichever pseudo-terminal takes the freed number next.
        QFile::remove(link());
    }

    // SIGTERM: the simulator saves its state and ends.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            kill();
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    bool up_ = false;
};

// A private settings file and program folder for the duration of a test.
class PrivateStore {
public:
    PrivateStore()
    {
        SettingsStore::useFileForUser(dir_.filePath(QStringLiteral("settings.ini")));
        SettingsStore::user().overridePortPath(0, QString());
        ProgramFolder::setPath(home());
    }
    ~PrivateStore() { SettingsStore::user().overridePortPath(0, QString()); }

    QString settingsFile() const { return dir_.filePath(QStringLiteral("settings.ini")); }
    QString home() const
    {
        const QString h = dir_.filePath(QStringLiteral("home"));
        QDir().mkpath(h);
        return h;
    }
    QString file(const QString& name) const { return QDir(home()).filePath(name); }

private:
    QTemporaryDir dir_;
};
