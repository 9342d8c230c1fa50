#pragma once
// A text field that ends a text too long for it with "…" instead of cutting
// it off at both edges (a centred QLabel shows only the middle of a long
// name). text() keeps the whole text; the tool-tip shows it when cut.
#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // What the field shows: the text, shortened with "…" when it is too wide.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect textRect() const;
};
