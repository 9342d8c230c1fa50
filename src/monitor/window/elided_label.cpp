#include "monitor/window/elided_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

QRect ElidedLabel::textRect() const
{
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the frame; the text is drawn here, shortened
    QPainter painter(this);
    style()->drawItemText(
        &painter, textRect(), int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && shownText() != text()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(event);
}
