// Runs scripts on a real engine for the executor tests: the script text is
// given as the host's recorded text (the script path names no file), output
// and messages are collected by a thread-safe UI sink, clock, files and
// locale are the build's own.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/builder/headless_build_host.h"
#include "engine/run/tuscript.h"
#include "tests/unit/test_library.h"
#include "platform/fake/fakes.h"
#include "platform/platform.h"
#include "platform/text_codec.h"

namespace maqo::engine::exec_test {

// Records what the engine shows; safe to read from the test thread while the
// script's thread writes.
class SharedUi final : public platform::UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string&) override { add(messages_, text); }
  void errorDialog(const std::u16string& message) override { add(errors_, message); }
  void printLine(const std::u16string& text) override {
    add(printed_, text);
    printCount.fetch_add(1);
  }
  void beep() override {}
  void pumpMessages() override { pumps.fetch_add(1, std::memory_order_relaxed); }

  std::vector<std::string> printed() { return copy(printed_); }
  std::vector<std::string> errors() { return copy(errors_); }
  std::vector<std::string> messages() { return copy(messages_); }

  std::atomic<int> printCount{0};
  std::atomic<long> pumps{0};

 private:
  void add(std::vector<std::u16string>& to, const std::u16string& text) {
    std::lock_guard guard(lock_);
    to.push_back(text);
  }
  std::vector<std::string> copy(const std::vector<std::u16string>& from) {
    std::lock_guard guard(lock_);
    std::vector<std::string> out;
    for (const auto& t : from) out.push_back(utf16ToUtf8(t));
    return out;
  }
  std::mutex lock_;
  std::vector<std::u16string> printed_, errors_, messages_;
};

// A script path that names no file, so the engine plays the recorded text.
inline std::u16string missingScriptPath() {
#ifdef _WIN32
  return u"Z:\\maqo-exec-test-no-such-folder\\TEST.MQS";
#else
  return u"/maqo-exec-test-no-such-folder/TEST.MQS";
#endif
}

class EngineTest : public ::testing::Test {
 protected:
  explicit EngineTest(uint16_t language = 0x0409, const BuiltinLibrary& library = tests::TestLibrary())
      : base(platform::consolePlatform()),
        locale(base.locale, language, language == 0x0411 ? 932 : 1252),
        p{base.clock, base.files, locale, ui},
        engine(p, settings, library) {}

  PlayOutcome play(std::vector<std::u16string> lines, int repeat = 1, std::vector<std::u16string> parameters = {}) {
    PlayRequest request;
    request.scriptPath = missingScriptPath();
    request.recordedText = std::move(lines);
    request.repeatCount = repeat;
    request.parameters = std::move(parameters);
    return engine.pplay(request);
  }

  platform::Platform& base;
  platform::FakeLocale locale;
  SharedUi ui;
  platform::Platform p;
  HeadlessBuildHost settings;
  TUScript engine;
};

}  // namespace maqo::engine::exec_test
