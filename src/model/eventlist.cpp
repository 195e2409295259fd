#include "model/eventlist.h"

namespace vesk {

const char* const kEventNames[7] = {"OnClick", "OnSlide", "OnTouch", "OnRelease", "OnTimer", "OnOpen", "OnClose"};

std::string WriteEventList(const TekList& commands, int depth)
{
    std::string out;
    bool firstMember = true;
    for (const char* event : kEventNames) {
        int count = 0;
        for (const TekPtr& command : commands)
            if (command->GetItem("Event") == event)
                ++count;
        if (count == 0)
            continue;
        if (!firstMember)
            out += ',';
        out += '\n';
        out.append(static_cast<size_t>(depth), '\t');
        out += '\'';
        out += event;
        out += "':";
        if (count > 1)
            out += "{'Commands':[";
        bool firstCommand = true;
        for (const TekPtr& command : commands) {
            if (command->GetItem("Event") != event)
                continue;
            if (!firstCommand)
                out += ',';
            firstCommand = false;
            out += '{';
            bool firstItem = true;
            for (const auto& item : command->Items()) {
                std::string text = ItemText(*item);
                if (text.empty())
                    continue;
                if (!firstItem)
                    out += ',';
                firstItem = false;
                out += text;
            }
            out += '}';
        }
        if (count > 1)
            out += "]}";
        firstMember = false;
    }
    return out;
}

} // namespace vesk
