#include "editor/clipboardtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "model/itemdata.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// The value of a quoted string's body as the writer escaped it; false for an escape the writer
/// never makes (the body is then kept as it is).
bool Unescape(std::string_view body, std::string& value)
{
    value.clear();
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            value += body[i];
            continue;
        }
        if (i + 1 < body.size() && body[i + 1] == '\\') {
            value += '\\';
            ++i;
            continue;
        }
        if (i + 5 < body.size() && body[i + 1] == 'u' && body[i + 2] == '0' && body[i + 3] == '0') {
            const int high = HexValue(body[i + 4]);
            const int low = HexValue(body[i + 5]);
            if (high < 0 || low < 0)
                return false;
            value += static_cast<char>(high * 16 + low);
            i += 5;
            continue;
        }
        return false;
    }
    return true;
}

} // namespace

std::string RecordTextToUtf8(std::string_view record)
{
    std::string out;
    out.reserve(record.size() + record.size() / 4);
    size_t i = 0;
    while (i < record.size()) {
        if (record[i] != '\'') {
            out += record[i++];
            continue;
        }
        // A quoted string: up to the next quote that is not part of an escape pair. A quote is
        // never the second byte of a Shift_JIS character.
        size_t end = i + 1;
        while (end < record.size() && record[end] != '\'')
            end += record[end] == '\\' ? 2 : 1;
        if (end >= record.size()) {
            out.append(record.substr(i));
            break;
        }
        const std::string_view body = record.substr(i + 1, end - i - 1);
        std::string value;
        const TextEncoding encoding = Unescape(body, value) ? DetectEncoding(value) : TextEncoding::Utf8;
        out += '\'';
        if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Ascii)
            out.append(body);
        else
            AppendEscaped(out, ShiftJisToUtf8Exact(value));
        out += '\'';
        i = end + 1;
    }
    return out;
}

void PutRecordOnClipboard(const std::string& record)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kRecordMimeType),
                  QByteArray(record.data(), static_cast<qsizetype>(record.size())));
    const std::string readable = RecordTextToUtf8(record);
    data->setText(QString::fromUtf8(readable.data(), static_cast<qsizetype>(readable.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::string RecordFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    const QString ownType = QString::fromLatin1(kRecordMimeType);
    if (data->hasFormat(ownType)) {
        const QByteArray bytes = data->data(ownType);
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    if (!data->hasText())
        return {};
    const QByteArray utf8 = data->text().toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

} // namespace vesk
