#pragma once
// One trace pane (Text1, Text2 or Text3). It keeps only its last few thousand
// lines, so weeks of tracing at a high level never grow memory without bound.
#include <QObject>
#include <QString>

class TracePane : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;
    static constexpr qsizetype kMaxChars = 1 << 20;

    explicit TracePane(QObject* parent = nullptr);

    const QString& text() const;
    void clear();
    void append(const QString& added);

signals:
    void appended(const QString& added);
    void cleared();
    // The oldest lines were dropped; a view showing text() re-reads it.
    void trimmed();

private:
    void trimIfNeeded();

    QString text_;
    int lineBreaks_ = 0;
};
