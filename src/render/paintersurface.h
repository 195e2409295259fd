#pragma once

#include <utility>
#include <vector>

#include <QFont>

#include "objects/drawingsurface.h"

class QPainter;

namespace vesk {

/// The label font at a pixel height: "MS ゴシック", falling back to an installed Japanese
/// Gothic face, normal weight, no italic, underline or strike-out.
QFont LabelFont(int pixelHeight);

/// A drawing surface on a QPainter (an image's, or a window's). The painter's state is left
/// as it was found after each call.
class PainterSurface : public DrawingSurface {
public:
    explicit PainterSurface(QPainter& painter) : m_painter(painter) {}

    void FillRect(int x, int y, int width, int height, RgbColor color) override;
    void FrameRect(int x, int y, int width, int height, RgbColor color) override;
    void DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                  bool centred) override;

private:
    const QFont& FontOfHeight(int fontHeight);

    QPainter& m_painter;
    std::vector<std::pair<int, QFont>> m_fonts;
};

} // namespace vesk
