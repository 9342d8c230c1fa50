#include "ui/formloading.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

FormLoading::FormLoading(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormLoading"));
    setWindowTitle(QStringLiteral("Please Wait..."));
    auto* label = new QLabel(QStringLiteral("Loading Call Monitor..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->addWidget(label);
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
