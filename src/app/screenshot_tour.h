#pragma once
// CORVANE_SCREENSHOTS=DIR, a developer switch for `make screenshots`: the
// program walks through its windows on its own (a table, one line per shot),
// grabs each into DIR as PNG once it shows what the shot is for, and ends.
// DIR/placement.txt says for each shot whether the window lies on the screen
// and what in it scrolls sideways (tests/app compare it).
// Pictures are stable: Fusion style, a fixed font; the caller runs the program
// against the simulator, on a fixed-size screen.
#include <QDeadlineTimer>
#include <QDir>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QWidget;

class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    // The tour the environment asks for (null without CORVANE_SCREENSHOTS);
    // it fixes style and font at once, before any window exists. `quit` ends
    // the program with the given status.
    static std::unique_ptr<ScreenshotTour> fromEnvironment(std::function<void(int status)> quit);

    ScreenshotTour(const QString& folder, std::function<void(int status)> quit);
    void start();

private:
    enum class Phase { Open, Wait, Settle };
    void tick();
    void open();
    void wait();
    void take();
    void fail(const QString& why);

    QDir folder_;
    std::function<void(int)> quit_;
    QTimer poll_;
    qsizetype shot_ = 0;
    Phase phase_ = Phase::Open;
    QDeadlineTimer deadline_;
};
