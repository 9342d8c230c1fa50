#pragma once
// The application icon (also the about window's logo).
#include <QIcon>
#include <QPixmap>

QPixmap corvaneLogo();
QIcon corvaneIcon();
