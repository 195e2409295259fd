// _APPNAME_Application.h : アプリケーションクラス _APPNAME_Application の宣言
#pragma once

#include <Lumo.h>

#include "_APPNAME_DialogMaker.h"

class _APPNAME_Application : public lumo::Application {
public:
    _APPNAME_Application(int argc, char** argv);

    // 起動時に一度呼ばれます。false を返すとアプリケーションは終了します。
    bool OnInit() override;
    // 終了の直前に呼ばれます。
    void OnExit() override;

private:
    _APPNAME_DialogMaker m_dialogMaker;
};
