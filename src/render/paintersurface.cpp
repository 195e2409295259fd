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

PainterSurface::PainterSurface(QPainter& painter, LabelTextCache* cache)
    : m_painter(painter), m_cache(cache ? cache : &m_ownCache)
{
    m_painter.save();
    m_painter.setPen(QColor(0, 0, 0));
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

PainterSurface::~PainterSurface()
{
    m_painter.restore();
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

const LabelTextCache::Label& LabelTextCache::Get(std::string_view shiftJisText, const QFont& font, int fontHeight,
                                                 int width)
{
    // The text, then the font height and the width as raw bytes.
    const int sizes[2] = {fontHeight, width};
    m_key.assign(shiftJisText);
    m_key.append(reinterpret_cast<const char*>(sizes), sizeof sizes);
    if (auto found = m_labels.find(m_key); found != m_labels.end())
        return found->second;
    if (m_labels.size() >= kLimit)
        m_labels.clear();
    const QFontMetrics metrics(font);
    const QString elided = metrics.elidedText(ModelTextToQString(shiftJisText), Qt::ElideRight, width);
    Label label;
    label.text.setTextFormat(Qt::PlainText);
    label.text.setText(elided);
    label.text.prepare(QTransform(), font);
    label.width = metrics.horizontalAdvance(elided);
    label.lineHeight = metrics.height();
    return m_labels.emplace(m_key, std::move(label)).first->second;
}

void PainterSurface::DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                              bool centred)
{
    const auto rect = SafeRect(x, y, width, height);
    if (!rect || shiftJisText.empty())
        return;
    const QFont& font = FontOfHeight(fontHeight);
    const LabelTextCache::Label& label = m_cache->Get(shiftJisText, font, fontHeight, rect->width());
    if (label.text.text().isEmpty())
        return;
    QPointF topLeft(rect->left(), rect->top());
    if (centred)
        topLeft += QPointF((rect->width() - label.width) / 2, (rect->height() - label.lineHeight) / 2.0);
    if (m_painterFontHeight != fontHeight) {
        m_painter.setFont(font);
        m_painterFontHeight = fontHeight;
    }
    // The text is cut to the width already; only a box lower than a line needs clipping.
    if (label.lineHeight <= rect->height()) {
        m_painter.drawStaticText(topLeft, label.text);
        return;
    }
    m_painter.save();
    m_painter.setClipRect(*rect, Qt::IntersectClip);
    m_painter.drawStaticText(topLeft, label.text);
    m_painter.restore();
}

} // namespace vesk
