#pragma once

#include <string>
#include <string_view>

namespace vesk {

/// Windows Sockets codes that the link reports and its texts look up.
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOTCONN = 10057;

/// The Windows Sockets code for a POSIX errno value: 10035 for would block and in progress,
/// 10061 refused, 10054 reset and so on; 0 for 0. A value without a counterpart maps to
/// 20000 + errno, which no table lists.
int WsaErrorFromErrno(int error);

/// A UTF-8 literal as the Shift_JIS text that the link log holds.
std::string Sjis(std::string_view utf8);

/// The connect table's text (after a failed ConnectTo); empty for a code it lacks.
std::string ConnectErrorText(int code);
/// The send table's text; empty for a code it lacks.
std::string SendErrorText(int code);
/// The connect-notification table's text; "接続できませんでした。" for a code it lacks.
std::string ConnectNotifyErrorText(int code);
/// The shutdown table's text; "エラーコード %d(0x%x)" for a code it lacks.
std::string ShutdownErrorText(int code);
/// The receive table's text (shown in a message box); empty for a code it lacks.
std::string ReceiveErrorText(int code);
/// The system's own description of a Windows Sockets code, in English.
std::string SystemErrorText(int code);

} // namespace vesk
