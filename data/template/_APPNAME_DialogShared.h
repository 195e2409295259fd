// _APPNAME_Dialog_DIALOGNAME_.h : ダイアログ「_DIALOGNAME_」のクラス (TemplateType _TEMPLATETYPE_)
// このダイアログは一度だけ作られ、閉じても次に開くまで状態が残ります。
#pragma once

#include <string>

#include <Lumo.h>

class _APPNAME_Dialog_DIALOGNAME_ : public lumo::Dialog {
public:
    explicit _APPNAME_Dialog_DIALOGNAME_(lumo::Application& application);

    // 開くたびに呼ばれます。前回までの状態はそのまま残っています。
    void OnOpen() override;
    // 閉じるときに呼ばれます。
    void OnClose() override;
    // 端末から届いたイベント (OnClick など) を受け取ります。
    void OnEvent(const lumo::Event& event) override;

private:
    int m_openCount = 0;
};
