#pragma once
// The about window: program name and version, and a button that starts the
// desktop's system-information program.
#include <QDialog>
#include <functional>

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Starts the system-information program, or says it is unavailable.
    void StartSysInfo();

    // The message box of the window (text, title); tests replace it.
    std::function<void(const QString& text, const QString& title)> messageBox;

private:
    void buildWindow();
};
