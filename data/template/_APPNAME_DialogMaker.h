// _APPNAME_DialogMaker.h : ダイアログ生成クラス _APPNAME_DialogMaker の宣言
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <Lumo.h>

// 端末がダイアログを開くたびに、リソース名からダイアログのオブジェクトを作ります。
// TemplateType が Shared のダイアログは一度だけ作られて使い回され、Unique のダイアログは
// 開くたびに新しく作られます。クラスを持たないダイアログ (None) はライブラリの標準の
// ダイアログで表示されます。
class _APPNAME_DialogMaker : public lumo::DialogMaker {
public:
    using Factory = std::function<std::shared_ptr<lumo::Dialog>(lumo::Application&)>;

    // 各ダイアログクラスが起動時に自分を登録します。
    static bool Register(const std::string& name, Factory factory);
    // プロジェクトの最初のダイアログの名前 (ダイアログがなければ nullptr)
    static const char* FirstDialog();
    // ダイアログの TemplateType (プロジェクトにない名前なら空文字列)
    static std::string TemplateTypeOf(const std::string& name);

    std::shared_ptr<lumo::Dialog> Make(lumo::Application& application, const std::string& name) override;

private:
    static std::map<std::string, Factory>& Factories();

    std::map<std::string, std::shared_ptr<lumo::Dialog>> m_shared;
};
