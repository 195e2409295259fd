#include "objects/drawingsurface.h"

namespace vesk {

void RecordingSurface::FillRect(int x, int y, int width, int height, RgbColor color)
{
    m_calls.push_back({DrawCall::Kind::Fill, x, y, width, height, color, {}, 0, false});
}

void RecordingSurface::FrameRect(int x, int y, int width, int height, RgbColor color)
{
    m_calls.push_back({DrawCall::Kind::Frame, x, y, width, height, color, {}, 0, false});
}

void RecordingSurface::DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                                bool centred)
{
    m_calls.push_back({DrawCall::Kind::Text, x, y, width, height, {}, std::string(shiftJisText), fontHeight, centred});
}

} // namespace vesk
