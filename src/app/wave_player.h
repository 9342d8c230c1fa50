#pragma once
// The main window's wave player MMControl1: a small command-driven layer over
// Qt Multimedia. Commands as the windows give them: "Close", then the file
// name, "Open", "Prev" (or "Previous": rewind), "Play", "Stop". Without an
// audio device, or with a missing or broken file, every command quietly does
// nothing; the program never shows a message for sound.
#include <QObject>
#include <QString>
#include <memory>

class QSoundEffect;

class WavePlayer : public QObject {
    Q_OBJECT
public:
    explicit WavePlayer(QObject* parent = nullptr);
    ~WavePlayer() override;

    // The file the next "Open" loads (a path; relative names resolve against
    // the working directory, which is the program folder).
    void setFileName(const QString& file);
    QString fileName() const { return fileName_; }

    // One command: "Open", "Close", "Prev", "Previous", "Play", "Stop".
    // Unknown commands are ignored.
    void command(const QString& cmd);

    bool isOpen() const { return open_; }
    bool isPlaying() const;

private:
    void open();
    void close();
    void play();

    QString fileName_;
    bool open_ = false;
    std::unique_ptr<QSoundEffect> effect_;
};

// The one wave player of the main window, shared with the call monitor.
WavePlayer& MMControl1();
