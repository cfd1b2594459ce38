// The keys and buttons a script has pressed and not released, as the texts
// "LEFTDOWN", "RIGHTDOWN", "MIDDLEDOWN" and "KBD" + key code, each followed by
// "," and the window handle when it was pressed in direct mode. The run-end
// release lets go of every one, in direct mode at the window recorded here.
#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::automation {

enum class HeldButton { Left, Right, Middle };

struct HeldEntry {
  std::optional<HeldButton> button;  // else a key
  int keyCode = 0;
  platform::WindowHandle directWindow = 0;  // 0: pressed as system input
};

class HeldInputList {
 public:
  static std::u16string buttonText(HeldButton button, platform::WindowHandle directWindow);
  static std::u16string keyText(int code, platform::WindowHandle directWindow);
  static std::optional<HeldEntry> parse(const std::u16string& text);

  // Added once; removing an absent entry does nothing.
  void add(const std::u16string& entry);
  void remove(const std::u16string& entry);
  std::vector<std::u16string> entries() const;
  // Takes every entry out of the list.
  std::vector<std::u16string> takeAll();

 private:
  mutable std::mutex lock_;
  std::vector<std::u16string> entries_;
};

}  // namespace maqo::automation
