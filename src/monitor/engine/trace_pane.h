#pragma once
// One trace pane (Text1, Text2 or Text3). It keeps only its last few thousand
// lines, so weeks of tracing at a high level never grow memory without bound.
#include "monitor/engine/trace_history.h"

#include <QLatin1String>
#include <QObject>
#include <QString>
#include <deque>

class TracePane : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;
    static constexpr qsizetype kMaxChars = 1 << 20;

    explicit TracePane(QObject* parent = nullptr);

    const QString& text() const;
    void clear();
    void append(const QString& added);
    // Appends before + the snapshot's text + after. Unless someone listens to
    // `appended`, the snapshot's characters are copied only once they are read.
    void append(QLatin1String before, const TraceSnapshot& middle, QLatin1String after);

signals:
    void appended(const QString& added);
    void cleared();
    // The oldest lines were dropped; a view showing text() re-reads it.
    void trimmed();

private:
    // The text is a row of pieces; a piece with a snapshot holds no characters
    // yet, only their number and line breaks. text() joins them into one.
    struct Piece {
        QString text;
        TraceSnapshot lazy;
        bool isLazy = false;
        qsizetype size = 0;
        int lineBreaks = 0;
    };
    void addText(const QString& added);
    static QString& copied(Piece& piece);
    qsizetype positionAfterBreak(int n) const;
    qsizetype breakFrom(qsizetype from) const;
    int breaksBefore(qsizetype end) const;
    void dropFront(qsizetype n);
    void trimIfNeeded();

    mutable std::deque<Piece> pieces_;
    qsizetype size_ = 0;
    int lineBreaks_ = 0;
};
