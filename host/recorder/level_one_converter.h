// Turns level-1 event records into window and control lines as they arrive:
// a window line when the window the user works in changes (with a pause the
// first time a window shows up), a click line chosen from the facts at the
// point, SENDSTR when a watched text entry changed, CTRLWIN for system
// commands and PostMessageA for menu commands. One converter lives for one
// recording.
#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/recorder/level_one_lines.h"
#include "host/recorder/record_line.h"
#include "host/recorder/window_information.h"

namespace maqo::host::recorder {

struct TextEntryChange {
  std::u16string text;
  int kind = 1;   // 1 edit control, 2 accessible editable element
  int index = 1;
};

// The windows and controls at a point, the engine's text-entry watch and the
// recording library's command target, as the level-1 converter needs them.
class LevelOneSurroundings : public WindowInformation {
 public:
  virtual WindowHandle windowAt(ScreenPoint point) = 0;
  virtual WindowHandle topLevelOf(WindowHandle window) = 0;
  // The MDI child under the point inside the top-level window, if any.
  virtual std::optional<WindowHandle> mdiChildAt(ScreenPoint point) = 0;
  // Class names, the accessible element and the item lookups at the point,
  // with `current` as the window the lookups search.
  virtual ClickFacts clickFactsAt(ScreenPoint point, ClickKind click, WindowHandle current) = 0;
  virtual void startTextWatch(WindowHandle window) = 0;  // on the window's focused control
  virtual void moveTextWatchTo(WindowHandle calendar) = 0;
  // Ends the watch; the new text when it changed since the watch started.
  virtual std::optional<TextEntryChange> checkTextWatch() = 0;
  virtual void resetTextWatch() = 0;
  virtual void setCommandTarget(WindowHandle window) = 0;
};

struct LevelOneOptions {
  int level = 1;                 // 2 and above keep commented command lines
  WindowHandle stopForm = 0;
  bool japanese = false;
};

class LevelOneConverter {
 public:
  LevelOneConverter(LevelOneSurroundings& surroundings, LevelOneOptions options);

  void convert(const EventRecord& record, std::vector<std::u16string>& lines);

 private:
  bool mayBecomeCurrent(WindowHandle window);
  void makeCurrent(WindowHandle window, std::optional<WindowHandle> mdiChild, bool pauseAfter);
  void convertSystemCommand(const EventRecord& record);
  void convertKey();
  void convertClick(const EventRecord& record, std::vector<std::u16string>& lines);
  std::optional<std::u16string> menuItemLine(const ClickFacts& facts, bool topIsMenu, std::vector<std::u16string>& lines);
  void flush(std::vector<std::u16string>& lines);

  LevelOneSurroundings& surroundings_;
  LevelOneOptions options_;
  bool first_ = true;
  WindowHandle current_ = 0;
  WindowHandle commandTarget_ = 0;
  std::set<WindowHandle> seen_;
  std::u16string pendingCommand_;
  std::u16string pendingToolBarLine_;
  // Prepared by one record, written by flush().
  std::vector<std::u16string> windowLines_;
  std::optional<std::u16string> eventLine_;
};

// The window-line form: id = GETID("TITLE", "CLASS", -1), and for an MDI
// child id = GETID("FRAMETITLE", "FRAMECLASS", -1, "CHILDTITLE").
std::u16string LevelOneWindowLine(const WindowFacts& window, const std::optional<WindowFacts>& mdiChild);

// An untitled window of class #32768 or BASEBAR, or whose class contains
// POPUP or UI TOOL WINDOW, and any DV2CONTROLHOST window.
bool IsMenuWindow(std::u16string_view title, std::u16string_view className);

}  // namespace maqo::host::recorder
