#pragma once
// A picture element of the monitor window: shows a picture file stretched to
// its size, or a lamp of the picture list; a click is reported (the ring lamps
// act on it).
#include <QLabel>

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

    // Loads the file (a bare name is looked for in the program folder). False,
    // and the old picture stays, when it cannot be loaded.
    bool showFile(const QString& path);
    void clearPicture();
    // Lamp picture 1..5 of the picture list; another index leaves the element as it is.
    void showLamp(int index);
    int lamp() const { return lamp_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int lamp_ = 0;
};
