#include "ui/formloading.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

FormLoading::FormLoading(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormLoading"));
    setWindowTitle(tr("Please Wait..."));
    auto* label = new QLabel(tr("Loading Call Monitor..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    // Room around the words in proportion to the font, at any DPI.
    const int h = label->fontMetrics().height();
    layout->setContentsMargins(h * 5 / 2, h * 3 / 2, h * 5 / 2, h * 3 / 2);
    layout->addWidget(label);
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
