#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

/// A settings file in the Windows profile layout: "[SECTION]" headers and plain "key=value"
/// lines, UTF-8, values unescaped. Section and key names compare without regard to letter case.
/// Lines it does not know (other keys, other sections, comments) are kept as they were, so a
/// file written back loses nothing.
class ProfileFile {
public:
    /// Reads the file. A missing or unreadable file leaves the profile empty and answers false;
    /// that is not an error for the caller (every read then gives its default).
    bool Load(const std::string& path);
    /// Reads the profile from a text.
    void Parse(std::string_view text);
    /// Writes the profile atomically; false, with the old file intact and the reason in errorText
    /// (when given), on failure.
    bool Save(const std::string& path, std::string* errorText = nullptr) const;
    /// The file's text as Save writes it.
    std::string Text() const;

    /// The value of the key in the section, or fallback when there is none.
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    /// The key's value read as a decimal integer (leading blanks and a sign allowed, digits up to
    /// the first other character); fallback when the key is missing or has no digits.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    /// Sets the key in the section, replacing its line or adding one at the end of the section
    /// (adding the section at the end when it is missing).
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int value);
    /// Removes the key's line; nothing when it is absent.
    void Remove(std::string_view section, std::string_view key);

private:
    struct Line {
        std::string text;    ///< the line as read or written, without its line end
        std::string section; ///< the section it lies in (for a header: its own name)
        bool header = false;
    };

    /// The index of the key's line in the section, or -1.
    int FindKey(std::string_view section, std::string_view key) const;

    std::vector<Line> m_lines;
};

} // namespace vesk
