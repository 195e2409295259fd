#include "shell/profilefile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "model/savefile.h"

namespace vesk {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

/// The key of a "key=value" line, or nothing for other lines.
bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& value)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line).starts_with(';'))
        return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return !key.empty();
}

} // namespace

bool ProfileFile::Load(const std::string& path)
{
    m_lines.clear();
    std::string text;
    if (!ReadWholeFile(path, text))
        return false;
    Parse(text);
    return true;
}

void ProfileFile::Parse(std::string_view text)
{
    m_lines.clear();
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view raw = text.substr(start, end - start);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);
        Line line{std::string(raw), section, false};
        const std::string_view trimmed = Trim(raw);
        if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
            section = std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
            line.section = section;
            line.header = true;
        }
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

std::string ProfileFile::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += '\n';
    }
    return text;
}

bool ProfileFile::Save(const std::string& path, std::string* errorText) const
{
    return WriteFileAtomically(path, Text(), errorText);
}

int ProfileFile::FindKey(std::string_view section, std::string_view key) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        std::string_view name, value;
        if (!line.header && SameName(line.section, section) && SplitEntry(line.text, name, value) &&
            SameName(name, key))
            return static_cast<int>(i);
    }
    return -1;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const int index = FindKey(section, key);
    if (index < 0)
        return std::string(fallback);
    std::string_view name, value;
    SplitEntry(m_lines[static_cast<size_t>(index)].text, name, value);
    return std::string(value);
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string text = GetString(section, key);
    const char* begin = text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin)
        return fallback;
    return static_cast<int>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

void ProfileFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string text = std::string(key) + "=" + std::string(value);
    if (const int index = FindKey(section, key); index >= 0) {
        m_lines[static_cast<size_t>(index)].text = std::move(text);
        return;
    }
    // After the section's last key line, or at the end of a new section.
    int insertAt = -1;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string_view name, entry;
        if (SameName(m_lines[i].section, section) && (m_lines[i].header || SplitEntry(m_lines[i].text, name, entry)))
            insertAt = static_cast<int>(i) + 1;
    }
    if (insertAt < 0) {
        m_lines.push_back({"[" + std::string(section) + "]", std::string(section), true});
        insertAt = static_cast<int>(m_lines.size());
    }
    const std::string sectionName = m_lines[static_cast<size_t>(insertAt) - 1].section;
    m_lines.insert(m_lines.begin() + insertAt, Line{std::move(text), sectionName, false});
}

void ProfileFile::SetInt(std::string_view section, std::string_view key, int value)
{
    SetString(section, key, std::to_string(value));
}

void ProfileFile::Remove(std::string_view section, std::string_view key)
{
    if (const int index = FindKey(section, key); index >= 0)
        m_lines.erase(m_lines.begin() + index);
}

} // namespace vesk
