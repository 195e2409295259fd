#include "render/modeltext.h"

#include "textconv/textconv.h"

namespace vesk {

QString ModelTextToQString(std::string_view shiftJis)
{
    const std::string utf8 = ShiftJisToUtf8Exact(shiftJis);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToModelText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToShiftJisExact(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

} // namespace vesk
