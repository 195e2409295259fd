// _APPNAME_Application.cpp : アプリケーションクラス _APPNAME_Application の実装

#include "_APPNAME_Application.h"

_APPNAME_Application::_APPNAME_Application(int argc, char** argv)
    : lumo::Application("_APPNAME_", argc, argv)
{
}

bool _APPNAME_Application::OnInit()
{
    SetDialogMaker(&m_dialogMaker);
    // 最初のダイアログを開きます。別のダイアログから始めるときは名前を書き換えてください。
    const char* first = _APPNAME_DialogMaker::FirstDialog();
    return first != nullptr && OpenDialog(first);
}

void _APPNAME_Application::OnExit()
{
}
