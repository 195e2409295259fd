#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace vesk {

/// A Shift_JIS text held by the model as a QString, converted exactly (no widening).
QString ModelTextToQString(std::string_view shiftJis);

/// A QString as Shift_JIS for the model, converted exactly; characters Shift_JIS lacks become '?'.
std::string QStringToModelText(const QString& text);

} // namespace vesk
