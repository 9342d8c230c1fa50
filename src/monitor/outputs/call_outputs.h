#pragma once
// The one place that composes the monitor's outputs, for the window and for
// corvane-monitor alike: apply() puts an OutputPlan into effect (starts,
// moves and stops each output), callEvent() hands every call event to every
// output that runs. Each output keeps its state for the user. A new output is
// a class implementing CallOutput and one row of kOutputs (call_outputs.cpp).
#include "monitor/outputs/call_output.h"
#include "monitor/outputs/output_plan.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class CallList;
class CallOutputs;
class Clock;
class MissedCount;
class QIODevice;

enum class OutputId { Ncid, CallMonitor, Mqtt, Program, Json, Desktop, Web, Count };
enum class OutputState { Off, Running, BadSettings, Failed };

// An output the program builds itself (the web server needs the program's
// state and adapter): the output, or why it cannot run.
struct StartedOutput {
    std::unique_ptr<CallOutput> output; // null when it cannot run
    QString text;                       // stateText(): "Listening on ..." or why not
    QString log;                        // said on logMessage
    bool badSettings = false;           // the plan is wrong, not the system
};

// What the outputs take from the program that runs them.
struct OutputContext {
    Clock& clock;
    const CallList* callList = nullptr;  // NCID's call log, and its calls that could not be saved
    const MissedCount* missed = nullptr; // the retained missed count of MQTT
    QIODevice* jsonOut = nullptr;        // where JSON events go
    // A caller notification no desktop service took: title and body, for the tray.
    std::function<void(const QString& title, const QString& body)> tray = {};
    // Starts the web page's server (corvane-monitor has one); none: it cannot run.
    std::function<StartedOutput(const WebPlan& plan, CallOutputs& owner)> web = {};
    // A click on a desktop notification: the monitor window to the front.
    std::function<void()> showMonitor = {};
};

class CallOutputs : public QObject {
    Q_OBJECT
public:
    explicit CallOutputs(OutputContext context, QObject* parent = nullptr);
    ~CallOutputs() override;

    // An output running as the plan asks stays as it is (its clients stay
    // connected); one asked otherwise starts again, one switched off stops.
    void apply(const OutputPlan& plan);
    // Everything off until the next apply() (the monitor closed).
    void stop();

    OutputState state(OutputId id) const;
    // For the user: "Off", "Listening on ADDR port N", "Publishing to ..." once
    // the broker took the connection, or why it cannot run.
    QString stateText(OutputId id) const;

public slots:
    void callEvent(const CallEvent& event);

signals:
    void logMessage(const QString& text);
    // An output's state changed after apply() (the MQTT broker answered).
    void stateChanged();

public:
    // One output as apply() keeps it.
    struct Running {
        std::unique_ptr<CallOutput> output;
        OutputState state = OutputState::Off;
        QString text;     // stateText()
        QString log;      // said on logMessage when it starts or fails; "" for nothing
        QString settings; // what it was started with
    };

private:
    void showMqttLink();

    OutputContext context_;
    std::array<Running, size_t(OutputId::Count)> outputs_;
};
