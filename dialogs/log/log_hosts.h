// How a program that runs scripts connects the log: a UI sink that hands
// every printed line to the log as well as to the program's own sink, and a
// build host that applies OPTION LOGLINES, LOGPATH and LOGFILE to the log
// (and passes everything else on).
#pragma once
#include <string>

#include "dialogs/log/script_log.h"
#include "engine/builder/build_host.h"
#include "platform/platform.h"
#include "platform/system_info.h"

namespace maqo::dialogs {

class LogPrintingUi final : public platform::UiSink {
 public:
  // p: the platform the log reads and writes its file through (its own UI
  // sink, not this one); clock: the wall clock of the log file's time stamps.
  LogPrintingUi(platform::UiSink& inner, ScriptLog& log, platform::Platform& p, platform::SystemInfo& clock)
      : inner_(inner), log_(log), platform_(p), clock_(clock) {}

  void messageBox(const std::u16string& text, const std::u16string& caption) override {
    inner_.messageBox(text, caption);
  }
  void errorDialog(const std::u16string& message) override {
    inner_.errorDialog(message);
    log_.logLine(platform_, message, clock_.localTime());
  }
  void printLine(const std::u16string& text) override {
    inner_.printLine(text);
    log_.printLine(platform_, text, clock_.localTime());
  }
  void beep() override { inner_.beep(); }
  void pumpMessages() override { inner_.pumpMessages(); }

 private:
  platform::UiSink& inner_;
  ScriptLog& log_;
  platform::Platform& platform_;
  platform::SystemInfo& clock_;
};

class LoggingBuildHost final : public engine::BuildHost {
 public:
  // logFileName: the default file name a LOGPATH folder gets ("MAQO.LOG").
  LoggingBuildHost(engine::BuildHost& inner, ScriptLog& log, platform::Platform& p, std::u16string logFileName)
      : inner_(inner), log_(log), platform_(p), logFileName_(std::move(logFileName)) {}

  void resetForRun() override {
    inner_.resetForRun();
    log_.beginRun();
  }
  void reportBuildError(const engine::Message& message, const std::u16string& lineText) override {
    inner_.reportBuildError(message, lineText);
  }
  int logLines() override { return log_.lineLimit(); }
  void setLogLines(int lines) override {
    inner_.setLogLines(lines);
    log_.setLineLimit(lines);
  }
  engine::FontSetting dialogFont() override { return inner_.dialogFont(); }
  void setDialogFont(const engine::FontSetting& font) override { inner_.setDialogFont(font); }
  engine::FontSetting logFont() override { return inner_.logFont(); }
  void setLogFont(const engine::FontSetting& font) override { inner_.setLogFont(font); }
  void setLogFileMode(int mode) override {
    inner_.setLogFileMode(mode);
    log_.setFileMode(mode);
  }
  std::u16string resolveLogPath(const std::u16string& value) override;
  void setLogPath(const std::u16string& path) override {
    inner_.setLogPath(path);
    log_.setFilePath(path);
  }
  void clearLogList() override {
    inner_.clearLogList();
    log_.clearLogList();
  }
  void setStopFormPosition(int x, int y) override { inner_.setStopFormPosition(x, y); }
  void putStopFormOnTop() override { inner_.putStopFormOnTop(); }
  void unregisterStopHotkey() override { inner_.unregisterStopHotkey(); }

 private:
  engine::BuildHost& inner_;
  ScriptLog& log_;
  platform::Platform& platform_;
  std::u16string logFileName_;
};

}  // namespace maqo::dialogs
