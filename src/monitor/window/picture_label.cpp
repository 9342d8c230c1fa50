#include "monitor/window/picture_label.h"

#include "common/program_folder.h"
#include "monitor/window/lamp_pictures.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

bool PictureLabel::showFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString file = QFileInfo(path).isRelative() ? ProgramFolder::filePath(path) : path;
    QPixmap pm;
    if (!QFileInfo(file).isFile() || !pm.load(file))
        return false;
    setScaledContents(true); // stretched to the element, as the picture frames do
    setPixmap(pm);
    lamp_ = 0;
    return true;
}

void PictureLabel::clearPicture()
{
    clear();
    lamp_ = 0;
}

void PictureLabel::showLamp(int index)
{
    if (index == lamp_)
        return;
    const QPixmap pm = lamps::picture(index, devicePixelRatioF());
    if (pm.isNull())
        return;
    setScaledContents(false);
    setPixmap(pm);
    lamp_ = index;
}

void PictureLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
