// A small host for evaluator tests: variables in a map, functions as lambdas,
// a set of module names, and a log of the calls made.
#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/errors/script_error.h"
#include "engine/eval/eval_host.h"
#include "engine/eval/evaluator.h"
#include "platform/platform.h"
#include "platform/text_codec.h"

namespace maqo::engine::testing {

class FakeEvalHost : public EvalHost {
 public:
  using Function = std::function<ScriptValue(const CallSite&, EvalContext&)>;

  std::map<std::u16string, ScriptValue> variables;  // upper-case names
  std::map<std::u16string, Function> functions;     // upper-case names
  std::set<std::u16string> modules;
  EvalOptions flags;
  bool checking = false;
  std::vector<std::u16string> calls;  // names of the functions called, in order
  std::vector<std::u16string> reads;  // names read

  // A function that evaluates its arguments and returns f of them.
  void define(const std::u16string& name, std::function<ScriptValue(std::vector<ScriptValue>&)> f) {
    functions[name] = [this, f](const CallSite& call, EvalContext&) {
      std::vector<ScriptValue> args;
      for (const auto& a : call.arguments) args.push_back(EvaluateExpression(*a, *this));
      return f(args);
    };
  }

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override {
    const std::u16string name = asciiUpper(ref.name);
    reads.push_back(name);
    if (checking) return ScriptValue::int32(1);
    auto it = variables.find(name);
    if (it == variables.end()) throw ScriptError(u"It isn't defined: " + name, u"変数: " + name + u" が定義されていません");
    if (indexes.empty()) return it->second;
    std::vector<int64_t> at;
    for (const auto& i : indexes) at.push_back(static_cast<int64_t>(i.toDouble()));
    const auto flat = it->second.arrayRef().flatIndex(at);
    if (!flat) throw ScriptError(u"It exceeded array: " + name, u"変数: " + name + u" 配列をオーバーしてます");
    return it->second.arrayRef().at(*flat);
  }

  ScriptValue callFunction(const CallSite& call, EvalContext& context) override {
    const std::u16string name = asciiUpper(call.name);
    calls.push_back(name);
    if (checking) return ScriptValue::int32(1);
    auto it = functions.find(name);
    if (it == functions.end()) throw ScriptError(u"no such function: " + name, {}, false);
    return it->second(call, context);
  }

  ScriptValue comMember(const NameRef& ref) override { return ScriptValue::string(u"COM:" + ref.text); }

  bool isModuleMember(std::u16string_view dottedName) override {
    const auto dot = dottedName.find(u'.');
    return modules.count(asciiUpper(dottedName.substr(0, dot))) > 0;
  }

  EvalOptions options() override { return flags; }
  bool checkMode() override { return checking; }
  int compareText(std::u16string_view a, std::u16string_view b) override {
    return platform::consolePlatform().locale.compareText(a, b);
  }

  int callCount(const std::u16string& name) const {
    int n = 0;
    for (const auto& c : calls) n += c == name;
    return n;
  }

  ScriptValue eval(std::u16string_view text, bool shortCircuit = false) {
    return EvaluateExpression(*CompileExpression(text), *this, shortCircuit);
  }
};

}  // namespace maqo::engine::testing
