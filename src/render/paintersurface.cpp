#include "render/paintersurface.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QStringList>

#include "render/modeltext.h"

namespace vesk {

namespace {

// Coordinates are kept far from the int limits so that QRect's right and bottom never wrap.
constexpr int64_t kCoordinateLimit = 1 << 24;

int64_t Limit(int64_t value)
{
    return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

/// The rectangle as a QRect limited to a safe range, or nothing when it is empty.
std::optional<QRect> SafeRect(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const int64_t left = Limit(x);
    const int64_t top = Limit(y);
    const int64_t right = Limit(int64_t{x} + width);
    const int64_t bottom = Limit(int64_t{y} + height);
    if (right <= left || bottom <= top)
        return std::nullopt;
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

QColor ToQColor(RgbColor color)
{
    return QColor(color.red, color.green, color.blue);
}

} // namespace

QFont LabelFont(int pixelHeight)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("TakaoGothic"),
                      QStringLiteral("VL Gothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixelHeight));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void PainterSurface::FillRect(int x, int y, int width, int height, RgbColor color)
{
    if (const auto rect = SafeRect(x, y, width, height))
        m_painter.fillRect(*rect, ToQColor(color));
}

void PainterSurface::FrameRect(int x, int y, int width, int height, RgbColor color)
{
    const auto rect = SafeRect(x, y, width, height);
    if (!rect)
        return;
    const QColor qcolor = ToQColor(color);
    const QRect& r = *rect;
    m_painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), qcolor);
    m_painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), qcolor);
    m_painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), qcolor);
    m_painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), qcolor);
}

const QFont& PainterSurface::FontOfHeight(int fontHeight)
{
    for (const auto& [height, font] : m_fonts)
        if (height == fontHeight)
            return font;
    m_fonts.emplace_back(fontHeight, LabelFont(fontHeight));
    return m_fonts.back().second;
}

void PainterSurface::DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                              bool centred)
{
    const auto rect = SafeRect(x, y, width, height);
    if (!rect || shiftJisText.empty())
        return;
    const QFont& font = FontOfHeight(fontHeight);
    const QString text = QFontMetrics(font).elidedText(ModelTextToQString(shiftJisText), Qt::ElideRight, rect->width());
    m_painter.save();
    m_painter.setFont(font);
    m_painter.setPen(QColor(0, 0, 0));
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setClipRect(*rect, Qt::IntersectClip);
    const int flags = Qt::TextSingleLine | (centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
    m_painter.drawText(*rect, flags, text);
    m_painter.restore();
}

} // namespace vesk
