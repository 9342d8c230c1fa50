#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 760;
constexpr int kHeight = 640;
const QString kNotFoundStyle = QStringLiteral("QLineEdit { color: #c00000; }");
} // namespace

HelpWindow::HelpWindow(const QString& page, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("ISDN Corvane - Documentation"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true); // web links go to the desktop, anchors stay here
    showPage(page);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("HelpSearch"));
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::returnPressed, this, [this] { findNext(search_->text()); });
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
        browser_->moveCursor(QTextCursor::Start); // typing searches from the top
        findNext(text);
    });

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("Find:"), this));
    bar->addWidget(search_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_);

    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    QSize size(kWidth, kHeight);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

void HelpWindow::showPage(const QString& page)
{
    browser_->setSource(QUrl::fromLocalFile(page));
}

bool HelpWindow::findNext(const QString& text)
{
    bool found = text.isEmpty() || browser_->find(text);
    if (!found) {
        browser_->moveCursor(QTextCursor::Start);
        found = browser_->find(text);
    }
    search_->setStyleSheet(found ? QString() : kNotFoundStyle);
    return found;
}
