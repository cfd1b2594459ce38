// The BuildHost of a run without a host window (the console runner, tests):
// there is no log window, stop form or stop hotkey, so the settings OPTION
// lines change are only remembered, and build errors are collected for the
// caller to show.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/builder/build_host.h"

namespace maqo::engine {

class HeadlessBuildHost final : public BuildHost {
 public:
  struct ReportedError {
    Message message;
    std::u16string lineText;
  };

  void resetForRun() override {
    ++resets;
    errors.clear();
  }
  void reportBuildError(const Message& message, const std::u16string& lineText) override {
    errors.push_back({message, lineText});
  }

  int logLines() override { return logLineLimit; }
  void setLogLines(int lines) override { logLineLimit = lines; }
  FontSetting dialogFont() override { return dialog; }
  void setDialogFont(const FontSetting& font) override { dialog = font; }
  FontSetting logFont() override { return log; }
  void setLogFont(const FontSetting& font) override { log = font; }
  void setLogFileMode(int mode) override { logFileMode = mode; }
  // A LOGPATH value without its surrounding quotes; folders and GET_ names
  // are resolved by the log window of a host, which a console run lacks.
  std::u16string resolveLogPath(const std::u16string& value) override;
  void setLogPath(const std::u16string& path) override { logPath = path; }
  void clearLogList() override { ++logClears; }
  void setStopFormPosition(int x, int y) override { stopFormPosition = std::make_pair(x, y); }
  void putStopFormOnTop() override { stopFormOnTop = true; }
  void unregisterStopHotkey() override { stopHotkeyRegistered = false; }

  int resets = 0;
  std::vector<ReportedError> errors;
  int logLineLimit = 2000;
  FontSetting dialog;
  FontSetting log;
  int logFileMode = 0;
  std::u16string logPath;
  int logClears = 0;
  std::optional<std::pair<int, int>> stopFormPosition;
  bool stopFormOnTop = false;
  bool stopHotkeyRegistered = true;
};

}  // namespace maqo::engine
