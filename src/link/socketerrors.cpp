#include "link/socketerrors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "textconv/textconv.h"

namespace vesk {

namespace {

struct ErrnoCode {
    int error;
    int code;
};

// The first entry for a code is the one SystemErrorText describes it by.
constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},        {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},        {ENFILE, 10024},
    {EAGAIN, 10035},          {EINPROGRESS, 10035},     {EALREADY, 10037},      {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051},     {ENETRESET, 10052},       {ECONNABORTED, 10053},  {ECONNRESET, 10054},
    {ENOBUFS, 10055},         {ENOMEM, 10055},          {EISCONN, 10056},       {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {EPIPE, 10058},           {ETOOMANYREFS, 10059},  {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {ELOOP, 10062},           {ENAMETOOLONG, 10063},  {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},
};

constexpr int kUnmappedBase = 20000;

struct CodeText {
    int code;
    const char* text;
};

std::string Lookup(const CodeText* table, size_t count, int code, std::string fallback)
{
    for (size_t i = 0; i < count; ++i)
        if (table[i].code == code)
            return Sjis(table[i].text);
    return fallback;
}

template <size_t N> std::string Lookup(const CodeText (&table)[N], int code, std::string fallback = {})
{
    return Lookup(table, N, code, std::move(fallback));
}

constexpr CodeText kConnectTexts[] = {
    {10014, "引数 nSockAddrLen が不正です。"},
    {10022, "ホスト アドレスが無効です。"},
    {10024, "利用できるファイル記述子がありません。"},
    {10036, "実行中の Windows ソケット呼び出しがブロッキングされています。"},
    {10038, "記述子がソケットではありません。"},
    {10039, "宛先アドレスが必要です。"},
    {10047, "指定したファミリのアドレスはこのソケットでは使用できません。"},
    {10048, "指定したアドレスは使用中です。"},
    {10049, "指定したアドレスはローカル コンピュータからは利用できません。"},
    {10050, "Windows ソケットの実装が、ネットワーク サブシステムの異常を検出しました。"},
    {10051, "現時点では、このホストからネットワークに到達できません。"},
    {10055, "利用できるバッファ領域がありません。ソケットは接続できません。"},
    {10056, "ソケットは既に接続されています。"},
    {10060, "接続を試みましたが、タイムアウトで接続を確立できません。"},
    {10061, "接続を試みましたが、拒否されました。"},
    {10093, "この API を使う前に AfxSocketInit の呼び出しが正常終了していることが必要です。"},
};

constexpr CodeText kSendTexts[] = {
    {10013, "要求したアドレスはブロードキャスト アドレスですが、適切なフラグが設定されていませんでした。"},
    {10014, "引数 lpBuf がユーザー アドレス空間の有効な部分を指していません。"},
    {10022, "ソケットが Bind を使用してバインドされていません。"},
    {10036, "実行中の Windows ソケット呼び出しがブロッキングされています。"},
    {10038, "記述子がソケットではありません。"},
    {10040,
     "ソケットが SOCK_DGRAM 型で、Windows ソケットの実装でサポートされている最大長よりもデータグラムが長すぎます。"},
    {10045, "MSG_OOB が指定されましたが、SOCK_STREAM 型のソケットではありません。"},
    {10050, "Windows ソケットの実装が、ネットワーク サブシステムの異常を検出しました。"},
    {10052, "Windows ソケットの実装が接続をドロップしたので、接続をリセットする必要があります。"},
    {10053, "タイムアウトまたはその他の障害により、仮想回路はアボートされました。"},
    {10054, "リモート側から仮想回路がリセットされました。"},
    {10055, "Windows ソケットの実装が、バッファのデッドロックをレポートしています。"},
    {10057, "ソケットが接続されていません。"},
    {10058,
     "ソケットはシャット ダウンしています。nHow に 1 または 2 を指定して ShutDown を起動した後では、ソケットで Send "
     "を呼び出すことはできません。"},
    {10093, "この API を使う前に AfxSocketInit の呼び出しが正常終了していることが必要です。"},
};

constexpr CodeText kConnectNotifyTexts[] = {
    {10014, "引数 lpSockAddrLen が不正です。"},
    {10022, "ソケットは既にアドレスにバインドされています。"},
    {10024, "利用できるファイル ディスクリプタがありません。"},
    {10038, "ディスクリプタがソケットではありません。"},
    {10039, "宛先アドレスが必要です。"},
    {10047, "指定したファミリのアドレスは、このソケットでは使えません。"},
    {10048, "指定したアドレスは使用中です。"},
    {10049, "指定したアドレスはローカル マシンからは利用できません。"},
    {10051, "現時点では、このホストからネットワークに到達できません。"},
    {10055, "利用できるバッファ領域がありません。ソケットが接続できません。"},
    {10056, "ソケットは既に接続されています。"},
    {10057, "ソケットは接続されていません。"},
    {10060, "接続を試みましたが、タイムアウトしました。接続は確立していません。"},
    {10061, "接続を試みましたが、強制的にリジェクトされました。"},
};

constexpr CodeText kShutdownTexts[] = {
    {10036, "実行中の Windows ソケット呼び出しがブロッキングされています。"},
    {10038, "ディスクリプタがソケットではありません。"},
    {10050, "WinSockが、ネットワーク サブシステムの異常を検出しました。"},
    {10057, "ソケットが接続されていません。"},
};

constexpr CodeText kReceiveTexts[] = {
    {10014, "引数 lpSockAddrLen が無効です。ピア アドレスを格納するには、lpSockAddr バッファが小さすぎます。"},
    {10022, "ソケットが Bind を使用してバインドされていません。"},
    {10035, "ソケットは非ブロッキングになっていて、ReceiveFrom 操作がブロックされました。"},
    {10036, "実行中の Windows ソケット呼び出しがブロッキングされています。"},
    {10038, "記述子がソケットではありません。"},
    {10040, "データグラムが長すぎて、指定したバッファに入りきらないため、切り詰められました。"},
    {10045, "MSG_OOB が指定されましたが、SOCK_STREAM 型のソケットではありません。"},
    {10050, "Windows ソケットの実装が、ネットワーク サブシステムの異常を検出しました。"},
    {10053, "タイムアウトまたはその他の障害により、仮想回路はアボートされました。"},
    {10054, "リモート側から仮想回路がリセットされました。"},
    {10057, "ソケットが接続されていません (SOCK_STREAM 型だけ)。"},
    {10058, "ソケットはシャットダウンしています。nHow に 0 または 2 を指定して ShutDown を起動した後では、ソケットで "
            "ReceiveFrom を呼び出すことはできません。"},
    {10093, "初期化が正常に行われていません。"},
};

} // namespace

int WsaErrorFromErrno(int error)
{
    if (error == 0)
        return 0;
    for (const ErrnoCode& entry : kErrnoCodes)
        if (entry.error == error)
            return entry.code;
    return kUnmappedBase + error;
}

std::string Sjis(std::string_view utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

std::string ConnectErrorText(int code)
{
    return Lookup(kConnectTexts, code);
}

std::string SendErrorText(int code)
{
    return Lookup(kSendTexts, code);
}

std::string ConnectNotifyErrorText(int code)
{
    return Lookup(kConnectNotifyTexts, code, Sjis("接続できませんでした。"));
}

std::string ShutdownErrorText(int code)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d(0x%x)", code, static_cast<unsigned>(code));
    return Lookup(kShutdownTexts, code, Sjis("エラーコード ") + text);
}

std::string ReceiveErrorText(int code)
{
    return Lookup(kReceiveTexts, code);
}

std::string SystemErrorText(int code)
{
    int error = 0;
    if (code >= kUnmappedBase) {
        error = code - kUnmappedBase;
    } else {
        for (const ErrnoCode& entry : kErrnoCodes)
            if (entry.code == code) {
                error = entry.error;
                break;
            }
    }
    const char* text = error != 0 ? strerrordesc_np(error) : nullptr;
    if (text)
        return text;
    return "Windows Sockets error " + std::to_string(code);
}

} // namespace vesk
