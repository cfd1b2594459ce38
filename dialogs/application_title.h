// The caption our own windows carry when the run names none (dialogs, the stop form).
#pragma once

namespace maqo::dialogs {

inline constexpr char16_t kApplicationTitle[] = u"MAQO";

}  // namespace maqo::dialogs
