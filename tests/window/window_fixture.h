#pragma once
// Shared set-up of the monitor window tests: a private program folder and
// settings file, a recording wave device, a virtual clock, and a monitor whose
// command channel and port writes are recorded instead of sent.
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "common/test_files.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/engine/virtual_clock.h"
#include "monitor/window/formmonitor.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/wave_device.h"
#include "common/timed_capture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Records every command and file name given to the wave player.
class RecordingWave : public WaveDevice {
public:
    void setFileName(const QString& path) override { log << QStringLiteral("file:") + path; }
    void command(const QString& word) override { log << word; }
    int plays() const { return int(log.count(QStringLiteral("Play"))); }
    QStringList log;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(home());
        ProgramFolder::setPath(home());
        SettingsStore::useFileForUser(dir.filePath(QStringLiteral("user.ini")));
        // No test may reach a real serial port.
        SettingsStore::user().overridePortPath(1, dir.filePath(QStringLiteral("no-such-tty")));
        wave::setDevice(&waveLog);
        monitormessage::setHandler([this](QWidget*, const QString& text) { messages << text; });
    }
    void TearDown() override
    {
        monitor.reset();
        form.reset();
        wave::setDevice(nullptr);
        monitormessage::setHandler({});
        SettingsStore::user().overridePortPath(1, QString());
    }

    QString home() const { return dir.filePath(QStringLiteral("home")); }
    QString file(const QString& name) const { return QDir(home()).filePath(name); }
    SettingsStore& settings() { return SettingsStore::user(); }

    // A monitor whose device commands are recorded; "ATCD9" answers as the device does.
    FormMonitor& makeMonitor(int debugLevel = 0, bool scanMode = false)
    {
        form = std::make_unique<Form1>(at);
        monitor = std::make_unique<FormMonitor>(*form, at, clock, settings(), debugLevel, scanMode);
        monitor->session().sendAT = [this](const QString& cmd) {
            sent << cmd;
            return cmd == QLatin1String("ATCD9") ? QStringLiteral("MONITOR") : QString();
        };
        monitor->session().writeToPort = [this](const QByteArray& bytes) {
            sent << QStringLiteral("port:") + QString::fromLatin1(bytes);
        };
        monitor->endProgram = [this] { ++programEnds; };
        monitor->notifyDesktop = [this](const QString& title, const QString& body) { notices << title + u'|' + body; };
        return *monitor;
    }

    // Writes a solid-colour picture into the program folder.
    void writePicture(const QString& name, QColor colour)
    {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(file(name), "PNG"));
    }

    void writeText(const QString& name, const QByteArray& text) { writeBytes(file(name), text); }

    QTemporaryDir dir;
    RecordingWave waveLog;
    VirtualClock clock;
    AtChannel at;
    std::unique_ptr<Form1> form;
    std::unique_ptr<FormMonitor> monitor;
    QStringList sent;
    QStringList messages;
    QStringList notices;
    int programEnds = 0;
};

// The colour in the middle of a picture element.
QColor centreColour(const QWidget* pictureLabel);

// One line of a timed capture: the characters received at `ms`.
using CaptureLine = CaptureChunk;

// A scenario of dodova-sim rendered as a timed capture (empty when the
// simulator is not built).
QList<CaptureLine> renderScenario(const QString& scenario);

// Plays capture lines up to (and including) untilMs into the monitor's engine
// on the virtual clock, as the serial port would deliver them.
void feedCapture(
    MonitorEngine& engine, VirtualClock& clock, const QList<CaptureLine>& lines, qint64 fromMs, qint64 untilMs);
