#include "host/recorder/window_title_filter.h"

#include "host/recorder/script_line.h"
#include "platform/text_codec.h"

namespace maqo::host::recorder {

std::optional<std::u16string> UsableWindowTitle(WindowHandle window, const std::optional<WindowFacts>& facts,
                                                const RecorderOwnWindows& own) {
  if (window == 0 || !facts || facts->minimized || !facts->visible) return std::nullopt;
  if (window == own.application || window == own.main || window == own.stopForm) return std::nullopt;
  const std::u16string title = asciiUpper(Trim(facts->title));
  const std::u16string className = asciiUpper(facts->className);
  if (title.empty() && (className == u"SHELL_TRAYWND" || className == u"SYSSHADOW" || className == u"MS_WINNOTE"))
    return std::nullopt;
  if (facts->rect.empty() || title == asciiUpper(own.recordingCaption)) return std::nullopt;
  if (className == u"THINTWINDOW" || className == u"TOOLTIPS_CLASS32" || className == u"TASKSWITCHERWND")
    return std::nullopt;
  if (title == u"PROGRAM MANAGER" && className == u"PROGMAN") return std::nullopt;
  return Trim(facts->title);
}

std::optional<std::u16string> UsableClassName(std::u16string_view className) {
  if (className.empty() || className.find(u':') != std::u16string_view::npos) return std::nullopt;
  const size_t first = className.find(u'.');
  if (first != std::u16string_view::npos) {
    const size_t second = className.find(u'.', first + 1);
    if (second != std::u16string_view::npos) return std::u16string(className.substr(0, second + 1));
  }
  return std::u16string(className);
}

std::u16string GetIdCall(std::u16string_view title, std::u16string_view className) {
  std::u16string call = u"GETID(\"" + EscapeForScriptString(title) + u"\"";
  if (const auto usable = UsableClassName(className)) call += u",\"" + EscapeForScriptString(*usable) + u"\"";
  return call + u")";
}

}  // namespace maqo::host::recorder
