// _APPNAME_.cpp : アプリケーションの入口です。
// スケルトン生成で作られました。自由に書き換えてください。

#include "_APPNAME_Application.h"

int main(int argc, char** argv)
{
    _APPNAME_Application application(argc, argv);
    return application.Run();
}
