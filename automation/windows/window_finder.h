// Window search: the enumeration filter that decides which windows scripts
// can see, the title/class matching tiers, and the walk up to a top-level
// window. Titles and classes in the lists are trimmed and upper-cased with
// the ASCII rule.
#pragma once
#include <string>
#include <vector>

#include "automation/automation_context.h"

namespace maqo::automation {

// The parallel lists an enumeration fills: entry k of each is one window.
struct TenumParm {
  std::vector<platform::WindowHandle> handles;
  std::vector<std::u16string> titles;
  std::vector<std::u16string> classes;
  size_t size() const { return handles.size(); }
};

// Characters at or below the space removed from both ends.
std::u16string TrimControl(std::u16string_view text);
// a-z to A-Z, nothing else.
std::u16string AsciiUpper(std::u16string_view text);

// The title scripts see: fixed names for the system's own named windows;
// from a script thread, empty for the balloons and nothing read from a window
// IsWindow rejects.
std::u16string ReadTitle(AutomationContext& context, platform::WindowHandle h);

// Top-level windows (parent 0) or all descendants of parent, filtered. Stops
// early, with what it has, when the run is stopping.
TenumParm EnumerateWindows(AutomationContext& context, platform::WindowHandle parent);

// Equal, or equal in their half-width forms.
bool TitleEqual(platform::Desktop& desktop, const std::u16string& window, const std::u16string& searched);
// searched occurs in window, directly or in the half-width forms; an empty
// searched title never matches.
bool TitlePartial(platform::Desktop& desktop, const std::u16string& window, const std::u16string& searched);

// The searched title that finds windows without a title (with a class).
inline constexpr std::u16string_view kNoTitle = u"_DF_NONE_TITLE_";

// title and className already upper-cased. With processId, the window of that
// process (title and class unused).
platform::WindowHandle FindTopLevel(AutomationContext& context, const std::u16string& title,
                                    const std::u16string& className, uint32_t processId = 0);
platform::WindowHandle FindChild(AutomationContext& context, platform::WindowHandle parent,
                                 const std::u16string& text);
platform::WindowHandle ClimbToTopLevel(AutomationContext& context, platform::WindowHandle h, bool stopAtMdiChild);

}  // namespace maqo::automation
