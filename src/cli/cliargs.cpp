#include "cli/cliargs.h"

#include <algorithm>
#include <charconv>

namespace vesk::cli {

ArgParser::ArgParser(std::vector<std::string> args, std::vector<std::string> valueOptions,
                     std::vector<std::string> flags)
{
    auto contains = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    bool onlyPositionals = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositionals || arg.size() < 2 || arg[0] != '-') {
            m_positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositionals = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (contains(valueOptions, name)) {
            if (inlineValue) {
                m_values.emplace_back(name, *inlineValue);
            } else if (i + 1 < args.size()) {
                m_values.emplace_back(name, args[++i]);
            } else {
                m_error = "option " + name + " needs a value";
                return;
            }
        } else if (contains(flags, name) && !inlineValue) {
            m_flags.push_back(name);
        } else {
            m_error = "unknown option " + arg;
            return;
        }
    }
}

std::optional<std::string> ArgParser::Value(std::string_view option) const
{
    std::optional<std::string> found;
    for (const auto& [name, value] : m_values)
        if (name == option)
            found = value;
    return found;
}

std::vector<std::string> ArgParser::Values(std::string_view option) const
{
    std::vector<std::string> found;
    for (const auto& [name, value] : m_values)
        if (name == option)
            found.push_back(value);
    return found;
}

bool ArgParser::Flag(std::string_view flag) const
{
    return std::find(m_flags.begin(), m_flags.end(), flag) != m_flags.end();
}

bool ParseNumber(std::string_view text, long minimum, long maximum, long& value)
{
    long parsed = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return false;
    if (parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

bool ParseSize(std::string_view text, int& width, int& height)
{
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return false;
    long w, h;
    if (!ParseNumber(text.substr(0, x), 1, 100000, w) || !ParseNumber(text.substr(x + 1), 1, 100000, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace vesk::cli
