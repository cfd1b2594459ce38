// The preview of an expression entry: the moments within the next 93 days at
// which it evaluates to 1, at most twelve of them, as the timer dialog shows
// them before the entry is stored.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "host/schedule/schedule_labels.h"
#include "host/schedule/schedule_minute.h"
#include "platform/system_info.h"

namespace maqo::host::schedule {

inline constexpr int kPreviewDays = 93;
inline constexpr int kPreviewLines = 12;

struct ExpressionPreview {
  std::vector<ScheduleMinute> hits;  // at most kPreviewLines
  bool more = false;                 // a further hit exists (the search stopped there)
  std::u16string message;            // the text of the message box
};

// Searches minute by minute from the start of today; only minutes after now count.
ExpressionPreview PreviewExpression(std::u16string_view expression, const platform::LocalTime& now,
                                    ScheduleLanguage language);

}  // namespace maqo::host::schedule
