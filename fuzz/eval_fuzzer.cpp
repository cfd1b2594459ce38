// Fuzzes the expression evaluator: the input is the text of one expression.
// It is compiled (which never throws) and evaluated against a small host
// with variables, arrays, module members and functions, under the default
// options, under every OPTION that changes evaluation, and in check mode. Any
// text must give a value or a ScriptError.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/errors/script_error.h"
#include "engine/eval/eval_host.h"
#include "engine/eval/evaluator.h"
#include "engine/values/reference_text.h"
#include "fuzz/fuzz_input.h"
#include "platform/text_codec.h"

namespace maqo::fuzz {
namespace {

using engine::CallSite;
using engine::EvalContext;
using engine::NameRef;
using engine::ScriptError;
using engine::ScriptValue;

ScriptValue listOf(std::vector<ScriptValue> values) {
  return ScriptValue::array(engine::ArrayValue::fromList(std::move(values)));
}

class FuzzEvalHost final : public engine::EvalHost {
 public:
  FuzzEvalHost() {
    variables_[u"A"] = ScriptValue::number(0);
    variables_[u"B"] = ScriptValue::number(1.5);
    variables_[u"N"] = ScriptValue::int32(-7);
    variables_[u"X"] = ScriptValue();
    variables_[u"S"] = ScriptValue::string(u"abc");
    variables_[u"W"] = ScriptValue::string(u"\u3042\u3044");
    variables_[u"NUL"] = ScriptValue::null();
    variables_[u"OBJ"] = ScriptValue::nothing();
    variables_[u"E"] = ScriptValue::error(5);
    variables_[u"T"] = ScriptValue::builtinBool(true);
    variables_[u"D"] = ScriptValue::date(45000.25);
    variables_[u"CUR"] = ScriptValue::currency(12345);
    variables_[u"BYTES"] = ScriptValue::byteString("12");
    variables_[u"ARR"] = listOf({ScriptValue::number(10), ScriptValue::string(u"x"), ScriptValue()});
    variables_[u"NEST"] = listOf({listOf({ScriptValue::number(1)}), ScriptValue::number(2)});
    variables_[u"M.V"] = ScriptValue::number(7);
    modules_.insert(u"M");
  }

  engine::EvalOptions flags;
  bool checking = false;

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override {
    if (checking) return ScriptValue::int32(1);
    const auto it = variables_.find(asciiUpper(ref.name));
    if (it == variables_.end()) throw ScriptError(u"It isn't defined: " + ref.name, u"");
    if (indexes.empty()) return it->second;
    if (!it->second.isArray()) throw ScriptError(u"not an array: " + ref.name, u"");
    std::vector<int64_t> at;
    for (const ScriptValue& index : indexes) {
      const std::optional<int64_t> i = engine::indexToInteger(index);
      if (!i) throw ScriptError(u"bad index: " + ref.text, u"");
      at.push_back(*i);
    }
    const std::optional<size_t> flat = it->second.arrayRef().flatIndex(at);
    if (!flat) throw ScriptError(u"It exceeded array: " + ref.text, u"");
    return it->second.arrayRef().at(*flat);
  }

  ScriptValue callFunction(const CallSite& call, EvalContext& context) override {
    if (checking) return ScriptValue::int32(1);
    const std::u16string name = asciiUpper(call.name);
    // Every argument is evaluated, as a builtin would.
    std::vector<ScriptValue> args;
    for (const auto& argument : call.arguments) args.push_back(engine::EvaluateExpression(*argument, *this, context));
    if (name == u"F") return args.empty() ? ScriptValue::int32(1) : args[0];
    if (name == u"LIST") return listOf(std::move(args));
    if (name == u"COPYB") {
      context.byteStringProduced = true;
      return ScriptValue::byteString(utf16ToUtf8(args.empty() ? std::u16string() : args[0].toText()));
    }
    if (name == u"FAIL") throw ScriptError(u"FAIL failed", u"FAILで失敗");
    throw ScriptError(u"no such function: " + name, u"", false);
  }

  ScriptValue comMember(const NameRef& ref) override { throw ScriptError(u"no COM here: " + ref.text, u""); }

  bool isModuleMember(std::u16string_view dottedName) override {
    return modules_.count(asciiUpper(dottedName.substr(0, dottedName.find(u'.')))) > 0;
  }

  engine::EvalOptions options() override { return flags; }
  bool checkMode() override { return checking; }
  int compareText(std::u16string_view a, std::u16string_view b) override {
    return platform::consolePlatform().locale.compareText(a, b);
  }

 private:
  std::map<std::u16string, ScriptValue> variables_;
  std::set<std::u16string> modules_;
};

// Evaluates and uses the result the way the executor does (its text forms).
void evaluate(const engine::Expression& expression, FuzzEvalHost& host, bool shortCircuit) {
  try {
    const ScriptValue value = engine::EvaluateExpression(expression, host, shortCircuit);
    if (!value.isArray()) {
      (void)value.toDisplayText();
      (void)value.toText();
    }
    (void)value.isTrue();
  } catch (const ScriptError&) {
  }
}

}  // namespace
}  // namespace maqo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maqo;
  using namespace maqo::fuzz;
  static FuzzEvalHost host;
  const std::u16string text = DecodeInput(data, size, platform::consolePlatform().locale);
  const engine::ExpressionPtr expression = engine::CompileExpression(text);
  if (!expression) Finding("CompileExpression gave no expression", text);

  host.flags = {};
  host.checking = false;
  evaluate(*expression, host, false);
  host.flags = {true, true, true, true};
  evaluate(*expression, host, true);
  host.flags = {};
  host.checking = true;
  evaluate(*expression, host, false);
  return 0;
}
