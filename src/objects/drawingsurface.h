#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

/// A colour as red, green and blue.
struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RgbColor&) const = default;
};

/// Where the layout draws its boxes and labels. Rectangles are (x, y, width, height) in
/// preview pixels; one with a width or height not above 0 draws nothing.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    /// Fills the rectangle with the colour.
    virtual void FillRect(int x, int y, int width, int height, RgbColor color) = 0;
    /// Draws the one-pixel outline just inside the rectangle.
    virtual void FrameRect(int x, int y, int width, int height, RgbColor color) = 0;
    /// Draws one line of Shift_JIS text in black, clipped to the rectangle, a word that does
    /// not fit cut and ended with an ellipsis; centred both ways, or at the top left.
    virtual void DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                          bool centred) = 0;
};

/// A surface that draws nothing (for layouts wanted only for their rectangles).
class NullSurface : public DrawingSurface {
public:
    void FillRect(int, int, int, int, RgbColor) override {}
    void FrameRect(int, int, int, int, RgbColor) override {}
    void DrawText(std::string_view, int, int, int, int, int, bool) override {}
};

/// One call made on a RecordingSurface.
struct DrawCall {
    enum class Kind { Fill, Frame, Text };
    Kind kind = Kind::Fill;
    int x = 0, y = 0, width = 0, height = 0;
    RgbColor color;     ///< Fill and Frame
    std::string text;   ///< Text, Shift_JIS
    int fontHeight = 0; ///< Text
    bool centred = false;
    bool operator==(const DrawCall&) const = default;
};

/// A surface that keeps every call, in order, for inspection.
class RecordingSurface : public DrawingSurface {
public:
    void FillRect(int x, int y, int width, int height, RgbColor color) override;
    void FrameRect(int x, int y, int width, int height, RgbColor color) override;
    void DrawText(std::string_view shiftJisText, int x, int y, int width, int height, int fontHeight,
                  bool centred) override;

    const std::vector<DrawCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

private:
    std::vector<DrawCall> m_calls;
};

} // namespace vesk
