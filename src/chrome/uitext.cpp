#include "chrome/uitext.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStringList>

#include "render/modeltext.h"
#include "textconv/textconv.h"

namespace vesk {

QString ToQ(std::string_view shiftJis)
{
    return ModelTextToQString(shiftJis);
}

std::string FromQ(const QString& text)
{
    return QStringToModelText(text);
}

QString PathToQ(const std::string& path)
{
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string PathFromQ(const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QString UnrepresentableCharacters(const QString& text)
{
    QString found;
    const QList<uint> codePoints = text.toUcs4();
    for (uint codePoint : codePoints) {
        if (codePoint == '?')
            continue;
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
        if (found.contains(character))
            continue;
        // Characters with a code page 932 equivalent (〜 for ～) count as held.
        if (FromQ(character).find('?') != std::string::npos)
            found += character;
    }
    return found;
}

QString UnrepresentableTextMessage(const QString& characters)
{
    QStringList shown;
    for (const uint codePoint : characters.toUcs4())
        shown << QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1) + QStringLiteral(" (U+") +
                     QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0')) + QStringLiteral(")");
    return QCoreApplication::translate("vesk::UiText",
                                       "エラー: Shift_JISで表せない文字が含まれているため、値を変更できません。\n%1")
        .arg(shown.join(QStringLiteral(", ")));
}

namespace {
bool g_english = false;
}

bool EditorSpeaksEnglish()
{
    return g_english;
}

void SetEditorSpeaksEnglish(bool english)
{
    g_english = english;
}

// The core's texts that reach a window as they are: lupdate collects them from this table.
const char* const kCoreTexts[] = {
    QT_TRANSLATE_NOOP("vesk::CoreText", "エラー：Tcpサーバが開始出来ませんでした。"),
    QT_TRANSLATE_NOOP("vesk::CoreText",
                      "アプリケーション名が登録されていません。\nリソースツリーのRootのNameを設定して下さい。"),
    // What the link shows in a message box when receiving fails, by Windows Sockets code.
    QT_TRANSLATE_NOOP("vesk::CoreText",
                      "引数 lpSockAddrLen が無効です。ピア アドレスを格納するには、lpSockAddr バッファが小さすぎます。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "ソケットが Bind を使用してバインドされていません。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "ソケットは非ブロッキングになっていて、ReceiveFrom 操作がブロックされました。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "実行中の Windows ソケット呼び出しがブロッキングされています。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "記述子がソケットではありません。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "データグラムが長すぎて、指定したバッファに入りきらないため、切り詰められました。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "MSG_OOB が指定されましたが、SOCK_STREAM 型のソケットではありません。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "Windows ソケットの実装が、ネットワーク サブシステムの異常を検出しました。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "タイムアウトまたはその他の障害により、仮想回路はアボートされました。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "リモート側から仮想回路がリセットされました。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "ソケットが接続されていません (SOCK_STREAM 型だけ)。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "ソケットはシャットダウンしています。nHow に 0 または 2 を指定して ShutDown "
                                        "を起動した後では、ソケットで ReceiveFrom を呼び出すことはできません。"),
    QT_TRANSLATE_NOOP("vesk::CoreText", "初期化が正常に行われていません。"),
};

QString CoreText(std::string_view shiftJis)
{
    const QByteArray utf8 = ToQ(shiftJis).toUtf8();
    return QCoreApplication::translate("vesk::CoreText", utf8.constData());
}

QString CoreTextUtf8(const char* utf8)
{
    return QCoreApplication::translate("vesk::CoreText", utf8);
}

std::vector<const char*> CoreTextSources()
{
    return {std::begin(kCoreTexts), std::end(kCoreTexts)};
}

void NameValueLabel(QLabel& value, const QString& caption)
{
    // Without a name of its own, a label is named by its text.
    value.setAccessibleName(QString());
    value.setAccessibleDescription(caption);
}

void TieCaptionToValue(QLabel& caption, QLabel& value)
{
    caption.setBuddy(&value);
    // "Version :" describes the value as "Version".
    QString description = caption.text().remove(QLatin1Char('&')).trimmed();
    while (description.endsWith(QLatin1Char(':')) || description.endsWith(QChar(0xFF1A)))
        description = description.chopped(1).trimmed();
    NameValueLabel(value, description);
}

} // namespace vesk
