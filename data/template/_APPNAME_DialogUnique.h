// _APPNAME_Dialog_DIALOGNAME_.h : ダイアログ「_DIALOGNAME_」のクラス (TemplateType _TEMPLATETYPE_)
// このダイアログは開くたびに新しく作られ、閉じると破棄されます。
#pragma once

#include <string>

#include <Lumo.h>

class _APPNAME_Dialog_DIALOGNAME_ : public lumo::Dialog {
public:
    explicit _APPNAME_Dialog_DIALOGNAME_(lumo::Application& application);
    ~_APPNAME_Dialog_DIALOGNAME_() override;

    // 開いたときに一度だけ呼ばれます。オブジェクトの初期値はここで設定してください。
    void OnOpen() override;
    // 閉じるときに呼ばれます。この後オブジェクトは破棄されます。
    void OnClose() override;
    // 端末から届いたイベント (OnClick など) を受け取ります。
    void OnEvent(const lumo::Event& event) override;
};
