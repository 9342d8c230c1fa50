#pragma once
// The program's own help window: help.htm in a rich-text browser whose links
// work, with a search field (Ctrl+F); Escape closes it.
#include <QWidget>

class QLineEdit;
class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& page, QWidget* parent = nullptr);

    // Selects the next place that holds `text`, from the top again after the
    // last one. False (and the field turns red) when the page has none.
    bool findNext(const QString& text);
    void showPage(const QString& page);

private:
    QTextBrowser* browser_ = nullptr;
    QLineEdit* search_ = nullptr;
};
