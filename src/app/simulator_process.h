#pragma once
// --simulate: dodova-sim from beside the program, on a pseudo-terminal whose
// link lives in a private temporary folder; stopped when the program ends.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SimulatorProcess {
public:
    SimulatorProcess() = default;
    ~SimulatorProcess();

    // Starts the simulator and waits (a few seconds at most) for its link.
    // Returns the link path, or "" when the simulator did not come up.
    QString start(const QString& scenario, const QString& program = defaultProgram());
    void stop();

    static QString defaultProgram();
    // The simulator's built-in scenarios (dodova-sim --list-scenarios); empty
    // when it cannot be run.
    static QStringList scenarioNames(const QString& program = defaultProgram());

private:
    QTemporaryDir dir_;
    QProcess process_;
};

// Why --simulate SCENARIO cannot run: "" when the name is one of `known` or a
// file; else a message that lists the scenarios.
QString scenarioProblem(const QString& scenario, const QStringList& known);
