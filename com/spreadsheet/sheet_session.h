// What one spreadsheet builtin call works with: the calling engine, the COM
// automation in force, the desktop (for the application's window), pauses
// that pass window messages and end early on a stop request, and file names
// resolved against the current directory.
#pragma once
#include <string>
#include <string_view>

#include "engine/library/builtin_host.h"
#include "platform/com_automation.h"
#include "platform/desktop.h"

namespace maqo::com::spreadsheet {

class SheetSession {
 public:
  explicit SheetSession(engine::BuiltinHost& host);

  engine::BuiltinHost& host() { return host_; }
  platform::ComAutomation& com() { return com_; }
  platform::Desktop& desktop() { return desktop_; }

  // Sleeps sleepMs (passing messages), then passes messages `rounds` times.
  void pause(int sleepMs, int rounds);
  std::u16string resolvePath(std::u16string_view name);
  bool fileExists(const std::u16string& path);
  bool japanese();

 private:
  engine::BuiltinHost& host_;
  platform::ComAutomation& com_;
  platform::Desktop& desktop_;
};

}  // namespace maqo::com::spreadsheet
