// What a typed hour or minute turns into when its edit box is left.
#pragma once
#include <optional>
#include <string>

namespace nightcap {

enum class TimeField { Hour, Minute };

// The new label text for the typed text, or nothing when the box was left empty (the label stays).
// Out-of-range values are cut to "23" or "59"; others get two digits.
std::optional<std::string> CommittedLabel(TimeField field, const std::string& typed);

// The slider percentage for a label's text (labels loaded from the settings file may be out of range).
int PercentForLabel(TimeField field, const std::string& label);

}  // namespace nightcap
