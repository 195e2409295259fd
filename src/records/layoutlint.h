#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "objects/devicelayout.h"
#include "objects/layout.h"
#include "records/projectlint.h"

namespace vesk {

class CTekDialogData;

/// Asks another measurer once per text and font height and keeps the answers.
class CachedTextMeasurer : public TextMeasurer {
public:
    explicit CachedTextMeasurer(const TextMeasurer& measurer) : m_measurer(measurer) {}
    LayoutSize MeasureText(std::string_view text, int fontHeight) const override;

private:
    const TextMeasurer& m_measurer;
    mutable std::unordered_map<std::string, LayoutSize> m_sizes;
};

/// Appends the layout findings of one dialog: laid out as the device shows it at the project's
/// own size and at each further size of the options (repeats left out), each finding naming the
/// size. Adds nothing when the options give no text measurer
/// (which is asked as it is: callers wrap it in a CachedTextMeasurer for a run).
void LintDialogLayout(const CTekDialogData& dialog, DeviceSize projectDevice, const LintOptions& options,
                      std::vector<LintFinding>& findings);

} // namespace vesk
