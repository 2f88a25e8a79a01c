#include "window/qt/qt_style.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarnwick {

QFont windowFont(int pointSize) {
    QFont font("Courier");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

namespace {

// A blue tile with a chip on it and an orange arrow writing into the chip.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    // The chip and its pins.
    p.setBrush(QColor(0xe8, 0xec, 0xf2));
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(19 + i * 8, 24, 3, 6));
        p.drawRect(QRectF(19 + i * 8, 54, 3, 5));
    }
    p.setBrush(QColor(0x30, 0x33, 0x38));
    p.drawRoundedRect(QRectF(14, 29, 36, 26), 3, 3);
    p.setBrush(QColor(0xe8, 0xec, 0xf2));
    p.drawEllipse(QPointF(19, 50), 2, 2);
    // The arrow.
    QPainterPath arrow;
    arrow.moveTo(27, 6);
    arrow.lineTo(37, 6);
    arrow.lineTo(37, 24);
    arrow.lineTo(45, 24);
    arrow.lineTo(32, 40);
    arrow.lineTo(19, 24);
    arrow.lineTo(27, 24);
    arrow.closeSubpath();
    p.setBrush(QColor(0xff, 0x9a, 0x1f));
    p.drawPath(arrow);
    return pixmap;
}

}  // namespace

QIcon appIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64, 128}) i.addPixmap(drawIcon(size));
        return i;
    }();
    return icon;
}

}  // namespace tarnwick
