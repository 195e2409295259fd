#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

/// Exit status of a command-line error in the user's words.
constexpr int kUsageError = 2;

/// Options and positional arguments of one subcommand. Options take one value each
/// ("--dialog NAME"); flags take none.
class ArgParser {
public:
    ArgParser(std::vector<std::string> args, std::vector<std::string> valueOptions, std::vector<std::string> flags);

    /// False when an unknown option or a missing value was met; Error() says which.
    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }

    const std::vector<std::string>& Positionals() const { return m_positionals; }
    /// The last value given for the option, if any.
    std::optional<std::string> Value(std::string_view option) const;
    /// Every value given for a repeatable option, in order.
    std::vector<std::string> Values(std::string_view option) const;
    bool Flag(std::string_view flag) const;

private:
    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::string> m_flags;
    std::vector<std::string> m_positionals;
    std::string m_error;
};

/// Parses "W x H" written as WxH with positive integers.
bool ParseSize(std::string_view text, int& width, int& height);
/// Parses a whole decimal number in [minimum, maximum].
bool ParseNumber(std::string_view text, long minimum, long maximum, long& value);

}  // namespace vesk::cli
