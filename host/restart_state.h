// The state a restarting host leaves in its settings file for the new
// process: whether to run the script again, the log window's place and
// caption, and the script file's text. Fields are comma-separated; a comma,
// a percent sign or a line break inside a field is written as %2C, %25,
// %0D or %0A, so captions and file texts with commas come back whole.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::host {

inline constexpr char16_t kRestartSection[] = u"EXTR_SECTION";
inline constexpr char16_t kRestartFileKey[] = u"COM_REFILE";
inline constexpr char16_t kRestartScheduleKey[] = u"COM_RESCJULE";

struct RestartState {
  bool runAgain = false;
  int logLeft = 0, logTop = 0, logWidth = 0, logHeight = 0;
  std::u16string logCaption;
  std::u16string fileText;  // the raw text the current script was opened from
  bool operator==(const RestartState&) const = default;
};

std::u16string FormatRestartState(const RestartState& state);
// Nothing when the text has fewer than seven fields or a bad number. A text
// written before fields were escaped (more than seven fields) keeps the
// extra commas in the file text.
std::optional<RestartState> ParseRestartState(std::u16string_view text);

// The postponed schedule entries: "," followed by the entries, each escaped.
std::u16string FormatPostponedEntries(const std::vector<std::u16string>& entries);
std::vector<std::u16string> ParsePostponedEntries(std::u16string_view text);

// One field's escaping, exposed for the tests.
std::u16string EscapeRestartField(std::u16string_view field);
std::u16string UnescapeRestartField(std::u16string_view field);

}  // namespace maqo::host
