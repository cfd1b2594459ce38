// The check pass on a real engine: the script text is read as the host's
// recorded text, built, and checked with CheckAllFunctions directly, so a test
// sees the failure (message, header, line) without running anything.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/check/check_pass.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine::check_test {

using Lines = std::vector<std::u16string>;

class CheckTest : public exec_test::EngineTest {
 protected:
  explicit CheckTest(uint16_t language = 0x0409) : EngineTest(language) {}
  ~CheckTest() override { engine.EndRun(); }

  std::optional<CheckFailure> check(Lines script) {
    build(std::move(script));
    return checkBuilt();
  }
  void build(Lines script) {
    engine.reader.creUscrptFil(script, exec_test::missingScriptPath());
    engine.BuildProgram(script);
  }
  std::optional<CheckFailure> checkBuilt() {
    return CheckAllFunctions(CheckScope{engine.program, engine.store, engine.executor, engine.platform.locale, engine.library});
  }

  // The line of the failure as the user reads it: its number in its file and its text.
  int sourceNumber(const CheckFailure& failure) const { return engine.program.sourceRef(failure.line).number; }
  std::u16string sourceText(const CheckFailure& failure) const { return engine.program.sourceRef(failure.line).text; }
};

}  // namespace maqo::engine::check_test
