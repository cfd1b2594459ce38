// Evaluates the expressions a build needs (CONST values, initial values of
// PUBLIC variables, HASHTBL flags) when no statement executor is connected, as
// in tools that only build a program: names are read from the global store;
// function calls and COM members are refused with an error that says why.
// The engine connects the store to its full evaluator instead.
#pragma once
#include "engine/builder/option_settings.h"
#include "engine/eval/evaluator.h"
#include "engine/values/global_store.h"
#include "platform/locale.h"

namespace maqo::engine {

class BuildTimeEvaluator {
 public:
  // Connects store.evaluate to this object, which must outlive its use.
  BuildTimeEvaluator(GlobalStore& store, const OptionSettings& options, platform::Locale& locale);
  BuildTimeEvaluator(const BuildTimeEvaluator&) = delete;
  BuildTimeEvaluator& operator=(const BuildTimeEvaluator&) = delete;

  ScriptValue evaluate(std::u16string_view expression, THensuFmt& frame);

 private:
  GlobalStore& store_;
  const OptionSettings& options_;
  platform::Locale& locale_;
  CompileCache cache_;
};

}  // namespace maqo::engine
