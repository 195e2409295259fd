#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "objects/objectdata.h"

namespace vesk::cli {

namespace {

void CountNodes(const CObjectData& node, int& groups, int& objects)
{
    if (!node.IsGroup()) {
        ++objects;
        return;
    }
    ++groups;
    for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
        CountNodes(*child, groups, objects);
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {}, {});
    if (!parser.Ok() || parser.Positionals().empty()) {
        err << "veskres check: " << (parser.Ok() ? "no file given" : parser.Error()) << "\n"
            << "usage: veskres check FILE...\n";
        return kUsageError;
    }
    int status = 0;
    for (const std::string& path : parser.Positionals()) {
        CTekResourceData project;
        if (!LoadProjectFile(project, path, out)) {
            status = 1;
            continue;
        }
        int groups = 0;
        int objects = 0;
        const CTekDialogDataList& dialogs = project.Dialogs();
        for (int i = 0; i < dialogs.Count(); ++i)
            if (const CObjectData* root = dialogs.At(i).RootObject())
                CountNodes(*root, groups, objects);
        out << path << ": " << dialogs.Count() << " dialogs, " << groups << " groups, " << objects << " objects\n";
    }
    return status;
}

}  // namespace vesk::cli
