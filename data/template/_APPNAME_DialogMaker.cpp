// _APPNAME_DialogMaker.cpp : ダイアログ生成クラス _APPNAME_DialogMaker の実装

#include "_APPNAME_DialogMaker.h"

namespace {

struct DialogEntry {
    const char* name;          // リソース名 (resources/<名前>.json)
    const char* templateType;  // TemplateType
};

// プロジェクトのダイアログ一覧 (最後の行は終わりの印)
const DialogEntry kDialogs[] = {
    {"_DIALOGNAME_", "_TEMPLATETYPE_"},%MULTILINE%DIALOG%
    {nullptr, nullptr},
};

}  // namespace

std::map<std::string, _APPNAME_DialogMaker::Factory>& _APPNAME_DialogMaker::Factories()
{
    static std::map<std::string, Factory> factories;
    return factories;
}

bool _APPNAME_DialogMaker::Register(const std::string& name, Factory factory)
{
    return Factories().emplace(name, std::move(factory)).second;
}

const char* _APPNAME_DialogMaker::FirstDialog()
{
    return kDialogs[0].name;
}

std::string _APPNAME_DialogMaker::TemplateTypeOf(const std::string& name)
{
    for (const DialogEntry* entry = kDialogs; entry->name != nullptr; ++entry)
        if (name == entry->name)
            return entry->templateType;
    return std::string();
}

std::shared_ptr<lumo::Dialog> _APPNAME_DialogMaker::Make(lumo::Application& application, const std::string& name)
{
    auto factory = Factories().find(name);
    if (factory == Factories().end())
        return std::make_shared<lumo::Dialog>(application, name);
    if (TemplateTypeOf(name) != "Shared")
        return factory->second(application);
    std::shared_ptr<lumo::Dialog>& shared = m_shared[name];
    if (!shared)
        shared = factory->second(application);
    return shared;
}
