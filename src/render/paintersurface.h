#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QFont>
#include <QStaticText>

#include "objects/drawingsurface.h"

class QPainter;

namespace vesk {

/// The label font at a pixel height: "MS ゴシック", falling back to an installed Japanese
/// Gothic face, normal weight, no italic, underline or strike-out.
QFont LabelFont(int pixelHeight);

/// Label texts prepared for drawing (converted, cut to their width with an ellipsis, laid out),
/// kept from one paint to the next so that a repaint only places glyphs.
class LabelTextCache {
public:
    struct Label {
        QStaticText text;
        qreal width = 0;
        int lineHeight = 0;
    };
    /// The prepared label of a Shift_JIS text in the font, cut to width.
    const Label& Get(std::string_view shiftJisText, const QFont& font, int fontHeight, int width);
    void Clear() { m_labels.clear(); }

private:
    /// Labels beyond this many are dropped all at once (a cache for one window's texts).
    static constexpr size_t kLimit = 50000;
    std::unordered_map<std::string, Label> m_labels;
    std::string m_key;
};

/// A drawing surface on a QPainter (an image's, or a window's). The painter's state is left
/// as it was found when the surface is destroyed.
class PainterSurface : public DrawingSurface {
public:
    /// A surface drawing labels through cache (one of its own when none is given).
    explicit PainterSurface(QPainter& painter, LabelTextCache* cache = nullptr);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    void FillRect(int x, int y, int width, int height, RgbColor color) override;
    void FrameRect(int x, int y, int width, int height, RgbColor color) override;
    void DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                  bool centred) override;

private:
    const QFont& FontOfHeight(int fontHeight);

    QPainter& m_painter;
    LabelTextCache m_ownCache;
    LabelTextCache* m_cache;
    std::vector<std::pair<int, QFont>> m_fonts;
    int m_painterFontHeight = -1; ///< the label font the painter holds now, -1 for none
};

} // namespace vesk
