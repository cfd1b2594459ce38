// A BuiltinHost for the builtin tests: the real evaluator and variable store,
// a fake clock and UI, and scriptable fakes of the system seams. Expressions
// run through run(), which calls builtins through the library as the engine does.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "builtins/engine_interface.h"
#include "builtins/builtin_state.h"
#include "builtins/dispatch.h"
#include "builtins/special_names.h"
#include "engine/errors/script_error.h"
#include "engine/eval/evaluator.h"
#include "engine/values/global_store.h"
#include "platform/fake/fakes.h"
#include "platform/system_services.h"
#include "platform/text_codec.h"
#include "tests/unit/test_library.h"

namespace maqo::builtins::testing {

class FakeSystemInfo final : public platform::SystemInfo {
 public:
  platform::LocalTime now{2024, 5, 17, 13, 45, 30, 250};
  std::optional<platform::ScreenPoint> cursor;
  std::optional<platform::ScreenSize> screen;
  std::optional<int> depth;
  std::optional<platform::OsVersion> version;
  bool isWow64 = false;
  std::vector<platform::ProcessorTimes> times;  // handed out in order, the last one repeated
  size_t timesRead = 0;

  platform::LocalTime localTime() override { return now; }
  std::optional<platform::ScreenPoint> cursorPosition() override { return cursor; }
  std::optional<platform::ScreenSize> virtualScreenSize() override { return screen; }
  std::optional<int> colorDepth() override { return depth; }
  std::optional<platform::OsVersion> osVersion() override { return version; }
  bool wow64() override { return isWow64; }
  std::optional<platform::ProcessorTimes> processorTimes() override {
    if (times.empty()) return std::nullopt;
    const size_t i = timesRead < times.size() ? timesRead : times.size() - 1;
    ++timesRead;
    return times[i];
  }
};

class FakeCommandRunner final : public platform::CommandRunner {
 public:
  std::vector<platform::CommandRequest> requests;
  platform::CommandResult result{true, {}, true, 0, {}};

  platform::CommandResult run(const platform::CommandRequest& request) override {
    requests.push_back(request);
    return result;
  }
  // Latin-1, so tests see exactly which bytes were decoded this way.
  std::u16string decodeConsoleOutput(std::string_view bytes) override {
    std::u16string text;
    for (unsigned char c : bytes) text += static_cast<char16_t>(c);
    return u"[console]" + text;
  }
};

class FakeSound final : public platform::SoundDevice {
 public:
  bool present = true;
  bool playOk = true;
  int playingPolls = 0;  // playing() answers true this many times
  std::vector<std::pair<std::u16string, int>> played;
  std::vector<std::u16string> log;
  std::vector<platform::EventSound> events;
  int eventScans = 0;

  bool available() override { return present; }
  bool play(const std::u16string& file, int device) override {
    played.emplace_back(file, device);
    return playOk;
  }
  bool playing() override {
    if (playingPolls <= 0) return false;
    --playingPolls;
    return true;
  }
  void close() override { log.push_back(u"close"); }
  void tone(int hz, int ms) override { log.push_back(u"tone " + utf8ToUtf16(std::to_string(hz) + " " + std::to_string(ms))); }
  void defaultBeep() override { log.push_back(u"beep"); }
  std::vector<platform::EventSound> eventSounds() override {
    ++eventScans;
    return events;
  }
};

class FakePower final : public platform::PowerControl {
 public:
  bool present = true;
  std::vector<std::string> log;

  bool available() override { return present; }
  bool enableShutdownPrivilege() override {
    log.push_back("privilege");
    return true;
  }
  bool setSuspendState(bool suspend, bool force) override {
    log.push_back(std::string(suspend ? "suspend" : "hibernate") + (force ? " force" : ""));
    return true;
  }
  void broadcastSysCommand(unsigned command, intptr_t parameter) override {
    log.push_back("syscommand " + std::to_string(command) + " " + std::to_string(parameter));
  }
  void requireDisplay() override { log.push_back("display"); }
  bool exitSession(unsigned flags) override {
    log.push_back("exit " + std::to_string(flags));
    return true;
  }
};

class FakeSensors final : public platform::SensorReader {
 public:
  std::map<int, platform::SensorReading> readings;
  bool present = true;
  platform::SensorReading read(int kind) override {
    platform::SensorReading none;
    if (!present) {
      none.kind = platform::SensorReading::Kind::Unsupported;
      return none;
    }
    auto it = readings.find(kind);
    return it == readings.end() ? none : it->second;
  }
};

class FakeBuiltinHost : public BuiltinHost, public engine::EvalHost {
 public:
  FakeBuiltinHost() {
    store.builtinNames = &names;
    store.evaluate = [this](std::u16string_view text, engine::THensuFmt&) { return evaluateText(text); };
  }

  // ---- what the tests set and read ----
  platform::FakeClock clock;
  platform::RecordingUi ui;
  platform::Platform platformBundle{clock, platform::consolePlatform().files, platform::consolePlatform().locale, ui};
  FakeSystemInfo info;
  FakeCommandRunner commands;
  FakeSound sound;
  FakePower power;
  FakeSensors sensors;
  platform::SystemServices services{info, commands, sound, power, sensors};
  engine::FamilyStateStore familyStates;
  BuiltinState& state = familyStates.get<BuiltinState>();
  BuiltinNames names{platformBundle, info};
  engine::GlobalStore store;
  engine::THensuFmt callFrame;
  engine::CompileCache cache;

  bool checking = false;
  bool mainThread = true;
  bool paused = false;
  bool comEvents = false;
  DialogOptions dialogSettings;  // what the run set for its dialogs
  int inputReleases = 0;         // dialogs that released the input lock
  // Asked at every stop check; the default never stops.
  std::function<bool()> stopWhen;
  int stopChecks = 0;
  std::vector<std::u16string> statements;   // EVAL statements handed to the executor
  std::vector<std::u16string> scriptFiles;  // EVAL CALL targets
  int exitRuns = 0;
  std::optional<bool> restartRequested;

  // Evaluates an expression text the way a statement would.
  engine::ScriptValue run(std::u16string_view text) { return engine::EvalExpression(text, *this, cache); }
  void set(std::u16string_view name, const engine::ScriptValue& value) { store.PutValue(callFrame, name, {}, value); }

  // ---- BuiltinHost ----
  platform::Platform& platform() override { return platformBundle; }
  engine::THensuFmt& frame() override { return callFrame; }
  engine::GlobalStore& globals() override { return store; }
  engine::ScriptValue evaluate(const engine::Expression& expression) override {
    return engine::EvaluateExpression(expression, *this);
  }
  engine::ScriptValue evaluateText(std::u16string_view text) override { return run(text); }
  bool stopRequested() override {
    ++stopChecks;
    return stopWhen && stopWhen();
  }
  bool checkMode() override { return checking; }
  bool onMainThread() override { return mainThread; }
  engine::FamilyStateStore& familyState() override { return familyStates; }
  platform::SystemServices& system() override { return services; }
  bool runPaused() override { return paused; }
  bool comEventsActive() override { return comEvents; }
  DialogOptions dialogOptions() override { return dialogSettings; }
  void releaseInputForDialog() override { ++inputReleases; }
  void executeStatementText(std::u16string_view statement) override { statements.emplace_back(statement); }
  void callScriptFile(std::u16string_view path) override { scriptFiles.emplace_back(path); }
  void exitRun() override { ++exitRuns; }
  void requestRestart(bool runAgain) override { restartRequested = runAgain; }

  // ---- EvalHost ----
  engine::ScriptValue getValue(const engine::NameRef& ref, std::span<const engine::ScriptValue> indexes) override {
    return store.GetValue(callFrame, ref.name, indexes);
  }
  engine::ScriptValue callFunction(const engine::CallSite& call, engine::EvalContext&) override {
    const BuiltinEntry* entry = tests::TestLibrary().find(call.name);
    if (entry == nullptr) throw engine::ScriptError(u"SyntaxError-25", u"");
    return tests::TestLibrary().call(*entry, call, *this);
  }
  engine::ScriptValue comMember(const engine::NameRef& ref) override {
    throw engine::ScriptError(u"COM_Error:" + ref.text, u"");
  }
  bool isModuleMember(std::u16string_view) override { return false; }
  engine::EvalOptions options() override { return {}; }
  int compareText(std::u16string_view a, std::u16string_view b) override {
    return platform::consolePlatform().locale.compareText(a, b);
  }
};

// The English text of the ScriptError f throws, and whether it is catchable.
struct ThrownError {
  std::u16string english;
  std::u16string japanese;
  bool catchable = true;
  bool thrown = false;
};

template <typename F>
ThrownError errorOf(F&& f) {
  ThrownError e;
  try {
    f();
  } catch (const engine::ScriptError& error) {
    e.english = error.message().english;
    e.japanese = error.message().japanese;
    e.catchable = error.catchable();
    e.thrown = true;
  }
  return e;
}

inline std::string u8(std::u16string_view s) { return utf16ToUtf8(s); }

}  // namespace maqo::builtins::testing
