#include "objects/orbunit.h"

namespace vesk {

namespace {

bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsSuffixChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '%';
}

} // namespace

bool ScanInteger(std::string_view text, int& value, size_t& end)
{
    size_t i = 0;
    while (i < text.size() && IsScanSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t digits = i;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (magnitude <= std::numeric_limits<int>::max())
            magnitude = magnitude * 10 + (text[i] - '0');
    if (i == digits)
        return false;
    value = ClampToInt(negative ? -magnitude : magnitude);
    end = i;
    return true;
}

int LeadingInteger(std::string_view text)
{
    int value = 0;
    size_t end = 0;
    return ScanInteger(text, value, end) ? value : 0;
}

void OrbUnit::ParseUnit(std::string_view text)
{
    if (text == "CONTENT" || text == "PARENT") {
        m_value = text == "CONTENT" ? kLengthContent : kLengthParent;
        m_unitCode = UNIT_PX;
        return;
    }
    size_t end = 0;
    if (!ScanInteger(text, m_value, end)) {
        m_value = kLengthContent;
        m_unitCode = UNIT_PX;
        return;
    }
    size_t suffixEnd = end;
    while (suffixEnd < text.size() && IsSuffixChar(text[suffixEnd]))
        ++suffixEnd;
    const std::string_view suffix = text.substr(end, suffixEnd - end);
    if (suffix == "px")
        m_unitCode = UNIT_PX;
    else if (suffix == "pt")
        m_unitCode = UNIT_PT;
    else if (suffix == "mm")
        m_unitCode = UNIT_MM;
    else if (suffix == "dp")
        m_unitCode = UNIT_DP;
    else
        m_unitCode = UNIT_PU;
}

int OrbUnit::ToPixels(int preview, int target) const
{
    if (m_value == kLengthParent || m_value == kLengthContent)
        return m_value;
    switch (m_unitCode) {
    case UNIT_PX:
        return m_value;
    case UNIT_PU:
        return target == 0 ? 0 : ClampToInt(int64_t{m_value} * preview / target);
    case UNIT_PT:
        return ClampToInt(int64_t{m_value} * m_dotsPerInch / 72);
    case UNIT_MM:
        return ClampToInt(static_cast<int64_t>(m_value * static_cast<double>(m_dotsPerInch) / 25.4));
    case UNIT_DP:
        return ClampToInt(int64_t{m_value} * m_densityPercent / 100);
    default:
        return 0;
    }
}

int OrbUnit::ToPixelsX() const
{
    return ToPixels(m_context.previewWidth, m_context.targetWidth);
}

int OrbUnit::ToPixelsY() const
{
    return ToPixels(m_context.previewHeight, m_context.targetHeight);
}

} // namespace vesk
