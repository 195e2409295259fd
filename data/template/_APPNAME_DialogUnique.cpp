// _APPNAME_Dialog_DIALOGNAME_.cpp : ダイアログ「_DIALOGNAME_」のクラス (TemplateType _TEMPLATETYPE_)

#include "_APPNAME_Dialog_DIALOGNAME_.h"

#include "_APPNAME_DialogMaker.h"

namespace {

// ダイアログ生成クラスへの登録
[[maybe_unused]] const bool registered = _APPNAME_DialogMaker::Register(
    "_DIALOGNAME_",
    [](lumo::Application& application) { return std::make_shared<_APPNAME_Dialog_DIALOGNAME_>(application); });

}  // namespace

_APPNAME_Dialog_DIALOGNAME_::_APPNAME_Dialog_DIALOGNAME_(lumo::Application& application)
    : lumo::Dialog(application, "_DIALOGNAME_")
{
}

_APPNAME_Dialog_DIALOGNAME_::~_APPNAME_Dialog_DIALOGNAME_() = default;

void _APPNAME_Dialog_DIALOGNAME_::OnOpen()
{
    lumo::Dialog::OnOpen();
}

void _APPNAME_Dialog_DIALOGNAME_::OnClose()
{
    lumo::Dialog::OnClose();
}

void _APPNAME_Dialog_DIALOGNAME_::OnEvent(const lumo::Event& event)
{
    // event.Name() はイベント名、event.Object() はイベントを起こしたオブジェクトの名前です。
    // 例: if (event.Name() == "OnClick" && event.Object() == "btnBack") Close();
    lumo::Dialog::OnEvent(event);
}
