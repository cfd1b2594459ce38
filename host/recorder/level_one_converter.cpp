#include "host/recorder/level_one_converter.h"

#include "host/recorder/script_line.h"
#include "host/recorder/window_title_filter.h"
#include "platform/text_codec.h"

namespace maqo::host::recorder {
namespace {


constexpr std::u16string_view kWindowLineStart = u"id = GETID(";

const char16_t* SystemCommandLine(int code) {
  switch (code) {
    case 61472: return u"CTRLWIN(id, MIN)";
    case 61488: return u"CTRLWIN(id, MAX)";
    case 61536: return u"CTRLWIN(id, CLOSE)";
    case 61728: return u"CTRLWIN(id, NORMAL)";
    default: return nullptr;
  }
}

std::u16string Unquote(std::u16string_view argument) {
  std::u16string text = Trim(argument);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') return text.substr(1, text.size() - 2);
  return text;
}

// Title and class of a window line written by LevelOneWindowLine.
struct WindowLineFacts {
  std::u16string title, className;
};

std::optional<WindowLineFacts> ReadWindowLine(std::u16string_view line) {
  if (!BeginsWith(line, kWindowLineStart)) return std::nullopt;
  const ScriptLine call = ParseScriptLine(line.substr(5));
  if (call.arguments.size() < 2) return std::nullopt;
  return WindowLineFacts{Unquote(call.arguments[0]), Unquote(call.arguments[1])};
}

}  // namespace

bool IsMenuWindow(std::u16string_view title, std::u16string_view rawClass) {
  const std::u16string className = asciiUpper(rawClass);
  if (className == u"DV2CONTROLHOST") return true;
  if (!Trim(title).empty()) return false;
  return className == u"#32768" || className == u"BASEBAR" || ContainsText(className, u"POPUP") ||
         ContainsText(className, u"UI TOOL WINDOW");
}

std::u16string LevelOneWindowLine(const WindowFacts& window, const std::optional<WindowFacts>& mdiChild) {
  const std::u16string className = UsableClassName(window.className).value_or(u"");
  std::u16string line = u"id = GETID(\"" + EscapeForScriptString(Trim(window.title)) + u"\", \"" +
                        EscapeForScriptString(className) + u"\", -1";
  if (mdiChild) line += u", \"" + EscapeForScriptString(Trim(mdiChild->title)) + u"\"";
  return line + u")";
}

LevelOneConverter::LevelOneConverter(LevelOneSurroundings& surroundings, LevelOneOptions options)
    : surroundings_(surroundings), options_(options) {}

bool LevelOneConverter::mayBecomeCurrent(WindowHandle window) {
  if (window == 0 || window == current_ || window == options_.stopForm) return false;
  const auto facts = surroundings_.facts(window);
  return facts && !IsMenuWindow(facts->title, facts->className);
}

void LevelOneConverter::makeCurrent(WindowHandle window, std::optional<WindowHandle> mdiChild, bool pauseAfter) {
  const auto facts = surroundings_.facts(window);
  if (!facts) return;  // vanished since the event: no window line
  current_ = window;
  const auto child = mdiChild ? surroundings_.facts(*mdiChild) : std::nullopt;
  windowLines_.push_back(LevelOneWindowLine(*facts, child));
  const bool firstTime = seen_.insert(window).second;
  if (pauseAfter && firstTime) windowLines_.push_back(u"SLEEP(1)");
}

void LevelOneConverter::convert(const EventRecord& record, std::vector<std::u16string>& lines) {
  if (first_) {
    first_ = false;
    current_ = commandTarget_ = 0;
    pendingCommand_.clear();
    pendingToolBarLine_.clear();
    surroundings_.resetTextWatch();
  }
  windowLines_.clear();
  eventLine_.reset();
  switch (record.kind) {
    case RecordKind::MenuCommand:
      pendingCommand_ = record.commandId;
      return;
    case RecordKind::SystemCommand:
      convertSystemCommand(record);
      break;
    case RecordKind::Key:
      convertKey();
      break;
    case RecordKind::Mouse:
      convertClick(record, lines);
      break;
  }
  flush(lines);
}

void LevelOneConverter::convertSystemCommand(const EventRecord& record) {
  const char16_t* line = SystemCommandLine(record.systemCode);
  if (!line) return;
  if (mayBecomeCurrent(record.window)) {
    const auto facts = surroundings_.facts(record.window);
    makeCurrent(record.window, std::nullopt, asciiUpper(facts->className) != u"VIEWCONTROLCLASS");
    commandTarget_ = record.window;
  }
  eventLine_ = line;
}

void LevelOneConverter::convertKey() {
  const WindowHandle foreground = surroundings_.foregroundWindow();
  if (!mayBecomeCurrent(foreground)) return;
  const auto facts = surroundings_.facts(foreground);
  makeCurrent(foreground, surroundings_.mdiChildAt(surroundings_.cursorPosition()),
              asciiUpper(facts->className) != u"VIEWCONTROLCLASS");
  commandTarget_ = foreground;
}

void LevelOneConverter::convertClick(const EventRecord& record, std::vector<std::u16string>& lines) {
  ClickKind click;
  switch (record.message) {
    case 513: click = ClickKind::Left; break;
    case 516: click = ClickKind::Right; break;
    case 515: click = ClickKind::Double; break;
    default: return;
  }
  if (const auto change = surroundings_.checkTextWatch())
    lines.push_back(SendStringLine(change->text, change->kind, change->index, options_.japanese));

  const ScreenPoint point{record.x, record.y};
  const WindowHandle under = surroundings_.windowAt(point);
  const WindowHandle top = surroundings_.topLevelOf(under);
  const auto topFacts = surroundings_.facts(top);
  if (top != current_ && top != 0 && topFacts && top != options_.stopForm) {
    const auto underFacts = surroundings_.facts(under);
    const std::u16string classUnder = underFacts ? asciiUpper(underFacts->className) : u"";
    const std::u16string classTop = asciiUpper(topFacts->className);
    const bool untitledTop = Trim(topFacts->title).empty();
    if (ContainsText(classUnder, u"SYSMONTHCAL") && untitledTop) {
      surroundings_.moveTextWatchTo(under);
      return;
    }
    if (!(untitledTop && ContainsText(classTop, u"COMBOLBOX"))) {
      const bool menu = IsMenuWindow(topFacts->title, topFacts->className);
      makeCurrent(top, surroundings_.mdiChildAt(point), !menu && !ContainsText(classTop, u"VIEWCONTROL"));
      if (!menu) commandTarget_ = top;
      surroundings_.startTextWatch(top);
    }
  }
  const ClickFacts facts = surroundings_.clickFactsAt(point, click, current_);
  if (facts.role == kRoleMenuItem && facts.accessible == AccessibleResult::Found &&
      !BeginsWith(asciiUpper(facts.classTop), u"MOZILLA")) {
    eventLine_ = menuItemLine(facts, topFacts && IsMenuWindow(topFacts->title, topFacts->className), lines);
    return;
  }
  eventLine_ = ChooseClickLine(facts);
}

// Menu items need the lines written so far: a click on an item the current
// window's menu holds replaces the clicks that opened the menu; a tool-bar
// button that opens a menu waits to see whether a menu item follows.
std::optional<std::u16string> LevelOneConverter::menuItemLine(const ClickFacts& facts, bool topIsMenu,
                                                              std::vector<std::u16string>& lines) {
  if (facts.click == ClickKind::Right) {
    windowLines_.clear();
    return std::nullopt;
  }
  const std::u16string head = u"CLKITEM(id, " + QuotedItemName(facts.name) + u", ";
  const std::u16string fallback = head + u"CLK_ACC or CLK_BACK or CLK_MUSMOVE)";
  if (topIsMenu) {
    std::optional<std::u16string> line;
    const auto current = surroundings_.facts(current_);
    if (current && BeginsWith(asciiUpper(current->className), u"HIDEMARU")) {
      if (!pendingToolBarLine_.empty()) lines.push_back(pendingToolBarLine_);
      line = fallback;
    } else if (facts.menuChecked) {
      // Walk back over the clicks and menu windows that opened this menu.
      size_t end = lines.size();
      while (end > 0) {
        const std::u16string& previous = lines[end - 1];
        const auto window = ReadWindowLine(previous);
        if (ContainsText(previous, u"CLK_ACC or CLK_BACK or CLK_MUSMOVE") ||
            (window && (IsMenuWindow(window->title, window->className)))) {
          --end;
          continue;
        }
        if (ContainsText(previous, u"CLK_TOOLBAR)")) lines.resize(end - 1);
        break;
      }
      line = head + (*facts.menuChecked ? u"CLK_MENU, True)" : u"CLK_MENU, False)");
      windowLines_.clear();
    } else {
      if (!pendingToolBarLine_.empty()) lines.push_back(pendingToolBarLine_);
      line = fallback;
    }
    pendingToolBarLine_.clear();
    return line;
  }
  if (facts.toolBarFound) {
    pendingToolBarLine_ = head + u"CLK_TOOLBAR)";
    return std::nullopt;
  }
  std::u16string line;
  if (!facts.titleUnder.empty()) {
    line = head + u"CLK_ACC)";
  } else {
    line = head + u"CLK_ACC or CLK_LEFTCLK)";
    if (windowLines_.size() > 1) windowLines_.resize(1);
  }
  if (!lines.empty() && lines.back() == line) return std::nullopt;
  return line;
}

void LevelOneConverter::flush(std::vector<std::u16string>& lines) {
  if (!windowLines_.empty()) {
    if (!pendingCommand_.empty()) {
      bool windowMet = false;
      while (!lines.empty()) {
        const std::u16string& last = lines.back();
        if (BeginsWith(last, u"SLEEP")) {
          lines.pop_back();
          continue;
        }
        const auto window = ReadWindowLine(last);
        if (!window) break;
        windowMet = true;
        if (asciiUpper(window->className) == u"DV2CONTROLHOST") break;
        if (window->title.empty() || IsMenuWindow(window->title, window->className)) {
          lines.pop_back();
          continue;
        }
        break;
      }
      if (windowMet) {
        const std::u16string post = u"PostMessageA(IDTOHND(id), WM_COMMAND, " + pendingCommand_ + u", 0)";
        lines.push_back(post);
        if (options_.level >= 2) lines.push_back(u"// " + post);
        pendingCommand_.clear();
      }
    }
    for (auto& line : windowLines_) lines.push_back(std::move(line));
    windowLines_.clear();
    surroundings_.setCommandTarget(commandTarget_);
  }
  if (eventLine_) {
    const bool repeatedRestore = *eventLine_ == u"CTRLWIN(id, NORMAL)" && !lines.empty() && lines.back() == *eventLine_;
    if (!repeatedRestore) lines.push_back(std::move(*eventLine_));
    eventLine_.reset();
  }
}

}  // namespace maqo::host::recorder
