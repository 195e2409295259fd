#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

namespace vesk {

/// The numbers every node of one layout shares: the dialog's design grid in pu, the device
/// size of the open resource (carried, never converted) and the preview area in pixels.
struct LayoutContext {
    int targetWidth = 100;
    int targetHeight = 100;
    int deviceWidth = 1024;
    int deviceHeight = 800;
    int previewWidth = 0;
    int previewHeight = 0;
};

/// A width and height in preview pixels.
struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};

/// Length values standing for "as large as the parent" and "as large as the content".
constexpr int kLengthParent = -1;
constexpr int kLengthContent = -2;

/// A 64-bit intermediate result limited to the 32-bit range (lengths never wrap around).
inline int ClampToInt(int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

/// Reads a decimal integer as "%d" does: leading white space, an optional sign, digits.
/// Answers false when the text does not start so; end receives the index after the digits.
/// Values beyond the 32-bit range are limited to it.
bool ScanInteger(std::string_view text, int& value, size_t& end);

/// The leading decimal integer of a text, 0 when it does not start with one (as atoi reads).
int LeadingInteger(std::string_view text);

/// A length text ("PARENT", "CONTENT", 120, 48px, 9pt...) as a value with a unit, converted
/// to preview pixels.
class OrbUnit {
public:
    enum UnitCode { UNIT_PX = 0, UNIT_PU = 1, UNIT_PT = 2, UNIT_MM = 3, UNIT_DP = 4 };

    OrbUnit() = default;
    virtual ~OrbUnit() = default;

    /// Records the space the parent offers (kept for the caller, not used by the conversions).
    void SetAvailable(int width, int height)
    {
        m_availableWidth = width;
        m_availableHeight = height;
    }
    void SetContext(const LayoutContext& context) { m_context = context; }

    /// Sets value and unit from a length text; an unreadable text is CONTENT, an unknown
    /// suffix is pu.
    void ParseUnit(std::string_view text);
    /// The value as a horizontal length in preview pixels, or -1 (PARENT) or -2 (CONTENT).
    int ToPixelsX() const;
    /// The value as a vertical length in preview pixels, or -1 (PARENT) or -2 (CONTENT).
    int ToPixelsY() const;

    int Value() const { return m_value; }
    int Unit() const { return m_unitCode; }
    int AvailableWidth() const { return m_availableWidth; }
    int AvailableHeight() const { return m_availableHeight; }

private:
    int ToPixels(int preview, int target) const;

    int32_t m_densityPercent = 100;
    int32_t m_dotsPerInch = 160;
    int32_t m_value = kLengthContent;
    int32_t m_unitCode = UNIT_PU;
    int32_t m_availableWidth = 0;
    int32_t m_availableHeight = 0;
    LayoutContext m_context;
};

} // namespace vesk
