#include "ui/frmabout.h"

#include "common/version.h"
#include "ui/app_icon.h"
#include "ui/sys_info.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>

namespace {

QLabel* label(const QString& text, const QString& name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    messageBox = [this](const QString& text, const QString& title) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
        box.exec();
    };
    buildWindow();
    setWindowTitle(tr("About %1").arg(QLatin1String(Version::kAppTitle)));
    findChild<QLabel*>(QStringLiteral("lblVersion"))->setText(tr("Version %1").arg(QLatin1String(Version::kText)));
}

void frmAbout::buildWindow()
{
    // 64 pixels at 96 DPI, larger on denser screens; drawn from the full-size
    // logo at the screen's pixel ratio so it stays sharp.
    auto* picture = label(QString(), QStringLiteral("Picture1"), this);
    const double scale = logicalDpiY() / 96.0;
    const qreal ratio = devicePixelRatioF();
    const int side = qRound(64 * scale * ratio);
    QPixmap logo = corvaneLogo().scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    logo.setDevicePixelRatio(ratio);
    picture->setPixmap(logo);
    picture->setAlignment(Qt::AlignTop);

    auto* description = label(QStringLiteral("ISDN Corvane Plus"), QStringLiteral("lblDescription"), this);
    QFont big = description->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    description->setFont(big);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 5, 1);
    grid->addWidget(description, 0, 1);
    grid->addWidget(label(QString(), QStringLiteral("lblVersion"), this), 1, 1);
    grid->addWidget(label(tr("Tested with DodOva Version:"), QStringLiteral("lblDisclaimer"), this), 2, 1);
    grid->addWidget(label(tr("Software Version 3.81 - Hardware Version 50"), QStringLiteral("Label4"), this), 3, 1);
    grid->addWidget(label(QString(), QStringLiteral("Label3"), this), 4, 1);
    grid->setColumnMinimumWidth(1, qRound(300 * scale));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    grid->addLayout(buttons, 5, 0, 1, 2);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::StartSysInfo()
{
    const SysInfoProgram found = findSysInfoProgram();
    if (found.program.isEmpty() || !QProcess::startDetached(found.program, found.arguments))
        messageBox(tr("System Information Is Unavailable At This Time"), QLatin1String(Version::kAppTitle));
}
