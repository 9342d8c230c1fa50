#include "ui/documentation.h"

#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

Documentation::Documentation(QWidget* window) : QObject(window), window_(window)
{
}

Documentation::~Documentation()
{
    // A browser started in the foreground keeps xdg-open waiting: let it run on
    // rather than kill it with the program.
    for (QProcess* p : findChildren<QProcess*>())
        if (p->state() != QProcess::NotRunning)
            p->setParent(nullptr);
}

void Documentation::open(const QString& page)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        showOwnWindow(page);
        return;
    }
    auto* process = new QProcess(this);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process, page](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            showOwnWindow(page);
            process->deleteLater();
        }
    });
    // xdg-open ends with a non-zero status when no program can show the page.
    connect(process, &QProcess::finished, this, [this, process, page](int code, QProcess::ExitStatus status) {
        if (code != 0 || status != QProcess::NormalExit)
            showOwnWindow(page);
        process->deleteLater();
    });
    process->start(opener, {page});
}

void Documentation::showOwnWindow(const QString& page)
{
    if (!help_)
        help_ = new HelpWindow(page, window_);
    help_->show();
    help_->raise();
    help_->activateWindow();
}
