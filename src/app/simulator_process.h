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

private:
    QTemporaryDir dir_;
    QProcess process_;
};
