#include "ui/app_icon.h"

static void initResources()
{
    Q_INIT_RESOURCE(ui); // the logo lives in a static library's resources
}

QPixmap corvaneLogo()
{
    initResources();
    return QPixmap(QStringLiteral(":/corvane/corvane.png"));
}

QIcon corvaneIcon()
{
    return QIcon(corvaneLogo());
}
