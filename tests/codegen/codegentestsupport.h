// Temporary folders, files and small projects for the skeleton generator tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "objects/resourcedata.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk::test {

/// A folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vesk-codegen-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

/// A UTF-8 literal as the Shift_JIS text the model holds.
inline std::string Sjis(const std::string& utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

/// Fills a project with a name and dialogs given as (name, template type) in UTF-8; each dialog
/// gets an empty LINEAR root group.
inline void MakeProject(CTekResourceData& project, const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& dialogs)
{
    project.SetOrAddItem("Name", Sjis(name));
    for (const auto& [dialogName, templateType] : dialogs) {
        CTekDialogData& dialog = project.Dialogs().AddDialog(Sjis(dialogName));
        dialog.SetItem("TemplateType", Sjis(templateType));
        auto root = std::make_shared<CObjectDataList>(nullptr);
        BuildGroupItems(*root, LAYOUT_LINEAR);
        root->SetItem("Name", "root");
        dialog.SetRoot(root);
    }
}

} // namespace vesk::test
