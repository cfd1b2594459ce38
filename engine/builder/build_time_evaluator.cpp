#include "engine/builder/build_time_evaluator.h"

namespace maqo::engine {

namespace {

class StoreEvalHost final : public EvalHost {
 public:
  StoreEvalHost(GlobalStore& store, THensuFmt& frame, const OptionSettings& options, platform::Locale& locale)
      : store_(store), frame_(frame), options_(options), locale_(locale) {}

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override {
    return store_.GetValue(frame_, ref.name, indexes);
  }
  ScriptValue callFunction(const CallSite& call, EvalContext&) override {
    throw ScriptError(u"A function cannot be called while the program is only built: " + call.name,
                      u"プログラムの構築中は関数を呼び出せません: " + call.name, false);
  }
  ScriptValue comMember(const NameRef& ref) override {
    throw ScriptError(u"A COM member cannot be read while the program is only built: " + ref.text,
                      u"プログラムの構築中は COM のメンバーを読めません: " + ref.text, false);
  }
  bool isModuleMember(std::u16string_view dottedName) override {
    return store_.IsModuleReference(dottedName, frame_);
  }
  EvalOptions options() override {
    return {options_.shortCircuit, options_.sameStr, options_.roundValue, options_.specialChar};
  }
  bool checkMode() override { return false; }
  int compareText(std::u16string_view a, std::u16string_view b) override { return locale_.compareText(a, b); }

 private:
  GlobalStore& store_;
  THensuFmt& frame_;
  const OptionSettings& options_;
  platform::Locale& locale_;
};

}  // namespace

BuildTimeEvaluator::BuildTimeEvaluator(GlobalStore& store, const OptionSettings& options, platform::Locale& locale)
    : store_(store), options_(options), locale_(locale) {
  store_.evaluate = [this](std::u16string_view expression, THensuFmt& frame) { return evaluate(expression, frame); };
}

ScriptValue BuildTimeEvaluator::evaluate(std::u16string_view expression, THensuFmt& frame) {
  StoreEvalHost host(store_, frame, options_, locale_);
  return EvalExpression(expression, host, cache_);
}

}  // namespace maqo::engine
