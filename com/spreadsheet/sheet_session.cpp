#include "com/spreadsheet/sheet_session.h"

#include "builtins/time_builtins.h"
#include "com/objects/com_session.h"
#include "com/spreadsheet/open_options.h"

namespace maqo::com::spreadsheet {

SheetSession::SheetSession(engine::BuiltinHost& host)
    : host_(host), com_(objects::CurrentComAutomation()), desktop_(platform::systemDesktop()) {}

void SheetSession::pause(int sleepMs, int rounds) {
  platform::Platform& p = host_.platform();
  if (platform::sleepPumping(p, sleepMs, [this] { return host_.stopRequested(); })) return;
  builtins::MessagePause(p, rounds);
}

std::u16string SheetSession::resolvePath(std::u16string_view name) {
  return ResolveSheetPath(name, host_.platform().files.currentDirectory());
}

bool SheetSession::fileExists(const std::u16string& path) { return host_.platform().files.fileExists(path); }

bool SheetSession::japanese() { return host_.platform().locale.japanese(); }

}  // namespace maqo::com::spreadsheet
