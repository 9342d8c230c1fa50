#include "monitor/window/lamp_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace lamps {

namespace {

QColor baseColour(int index)
{
    switch (index) {
    case Grey: return QColor(0x9a, 0x9a, 0x9a);
    case Red: return QColor(0xe0, 0x20, 0x20);
    case Green: return QColor(0x20, 0xb8, 0x30);
    case Blue: return QColor(0x28, 0x60, 0xe8);
    default: return {};
    }
}

} // namespace

QPixmap picture(int index, qreal devicePixelRatio)
{
    if (index < Grey || index > Blank)
        return {};
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pm(qCeil(kSize * dpr), qCeil(kSize * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    if (index == Blank)
        return pm;

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = baseColour(index);
    const QRectF body(1.0, 1.0, kSize - 2.0, kSize - 2.0);
    // A lit glass bulb: light spot upper left, darker rim.
    QRadialGradient g(QPointF(5.0, 5.0), 8.0);
    g.setColorAt(0.0, c.lighter(170));
    g.setColorAt(0.55, c);
    g.setColorAt(1.0, c.darker(160));
    p.setBrush(g);
    p.setPen(QPen(c.darker(220), 0.9));
    p.drawEllipse(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(3.6, 3.2, 3.2, 2.4));
    return pm;
}

} // namespace lamps

namespace buttonart {

namespace {

using Painter = void (*)(QPainter&);

QIcon draw(Painter paint)
{
    QIcon icon;
    for (const qreal dpr : {1.0, 2.0}) {
        QPixmap pm(qCeil(24 * dpr), qCeil(24 * dpr));
        pm.setDevicePixelRatio(dpr);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

void paintBook(QPainter& p)
{
    p.setPen(QPen(QColor(0x5a, 0x2e, 0x10), 1.2));
    p.setBrush(QColor(0xb0, 0x5a, 0x28));
    p.drawRoundedRect(QRectF(4.5, 2.5, 15, 19), 1.5, 1.5);
    p.setBrush(QColor(0xf4, 0xee, 0xdc));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8, 4, 10, 15.5));
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.0));
    for (qreal y : {8.0, 11.0, 14.0})
        p.drawLine(QPointF(10, y), QPointF(16, y));
    p.setPen(QPen(QColor(0x5a, 0x2e, 0x10), 1.2));
    for (qreal y : {6.0, 12.0, 18.0})
        p.drawLine(QPointF(3, y), QPointF(6.5, y));
}

void paintGear(QPainter& p)
{
    const QPointF centre(12, 12);
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotate(i * 45.0);
        teeth.addPolygon(t.map(QPolygonF(QRectF(-2.2, -10.5, 4.4, 5.0))));
    }
    teeth.addEllipse(centre, 7.5, 7.5);
    QPainterPath hole;
    hole.addEllipse(centre, 3.0, 3.0);
    p.setPen(QPen(QColor(0x30, 0x38, 0x48), 1.0));
    p.setBrush(QColor(0x78, 0x88, 0xa0));
    p.drawPath(teeth.simplified().subtracted(hole));
}

void paintLog(QPainter& p)
{
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 3.5, 17, 17));
    p.setBrush(QColor(0x3a, 0x6e, 0xc0));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(4, 4, 16, 3.5));
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1.0));
    for (qreal y : {10.5, 13.5, 16.5}) {
        p.drawLine(QPointF(6, y), QPointF(18, y));
    }
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 0.8));
    p.drawLine(QPointF(11.5, 7.5), QPointF(11.5, 20));
}

} // namespace

QIcon phoneBook()
{
    return draw(paintBook);
}
QIcon settings()
{
    return draw(paintGear);
}
QIcon hideShowLog()
{
    return draw(paintLog);
}

} // namespace buttonart
