#include "shell/icons.h"

#include <QFont>
#include <QPainter>
#include <QRadialGradient>

namespace vesk {

QPixmap LinkStatePixmap(int state)
{
    static const QColor kColours[] = {QColor(220, 30, 30), QColor(30, 170, 40), QColor(240, 200, 0)};
    const QColor colour = kColours[state >= 0 && state <= 2 ? state : 0];
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(QPointF(6, 5), 9);
    gradient.setColorAt(0, colour.lighter(170));
    gradient.setColorAt(0.5, colour);
    gradient.setColorAt(1, colour.darker(150));
    painter.setBrush(gradient);
    painter.setPen(QPen(colour.darker(200), 1));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return pixmap;
}

QPixmap ApplicationPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(QPen(QColor(40, 60, 90), 2));
    painter.setBrush(QColor(250, 250, 252));
    painter.drawRoundedRect(QRectF(6, 6, 52, 52), 6, 6);
    painter.setBrush(QColor(40, 90, 160));
    painter.drawRoundedRect(QRectF(6, 6, 52, 12), 6, 6);
    painter.setPen(QPen(QColor(200, 40, 40), 2));
    painter.setBrush(QColor(255, 220, 220));
    painter.drawRect(QRectF(13, 24, 38, 10));
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(13, 39, 17, 12));
    painter.drawRect(QRectF(34, 39, 17, 12));
    return pixmap;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(ApplicationPixmap(size));
    return icon;
}

QIcon GlyphIcon(const QString& glyph, const QColor& tint)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(tint.darker(160), 1));
        painter.setBrush(tint.lighter(180));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QFont font;
        font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), font.family()});
        font.setPixelSize(size * 3 / 4);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(tint.darker(220));
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace vesk
