#include "com/dll/dll_call.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "builtins/array_argument.h"
#include "com/dll/dll_session.h"
#include "engine/values/reference_text.h"

namespace maqo::com::dll {

namespace {

using engine::ScriptValue;

// The arguments of a call site, read and written through the builtin host.
class CallSiteArguments final : public DllArguments {
 public:
  CallSiteArguments(const engine::CallSite& call, builtins::BuiltinHost& host)
      : call_(call),
        host_(host),
        values_(call.argumentTexts.size()),
        accesses_(call.argumentTexts.size()),
        tails_(call.argumentTexts.size()) {}

  std::u16string_view text(size_t argument) override {
    return argument < call_.argumentTexts.size() ? std::u16string_view(call_.argumentTexts[argument]) : std::u16string_view();
  }

  ScriptValue value(size_t argument) override {
    if (argument >= call_.arguments.size() || call_.arguments[argument] == nullptr || text(argument).empty())
      return ScriptValue::int32(0);
    // Evaluated once: a text member of a structure is asked for twice.
    std::optional<ScriptValue>& value = values_[argument];
    if (!value) value = host_.evaluate(*call_.arguments[argument]);
    return *value;
  }

  std::vector<ScriptValue> elements(size_t argument) override {
    if (text(argument).empty()) return {};
    if (std::optional<engine::ArrayArgument> tail = arrayTail(argument)) {
      tails_[argument] = tail;
      return host_.globals().CopyArrayBlock(host_.frame(), *tail);
    }
    std::optional<builtins::ArrayArgumentAccess>& access = accesses_[argument];
    if (!access) access = builtins::ArrayArgumentAccess::Resolve(host_, text(argument), builtins::MissingName::Evaluate);
    if (access->isArray()) return access->read();
    return {access->value()};
  }

  void storeElements(size_t argument, std::vector<ScriptValue> values) override {
    if (argument < tails_.size() && tails_[argument]) {
      const engine::ArrayArgument& tail = *tails_[argument];
      builtins::WithSlot(host_, tail.slot, tail.global, [&](engine::VariableSlot& slot) {
        // The array may have been resized meanwhile: stay inside it.
        const size_t end = std::min(slot.values.size(), tail.first + std::min(values.size(), tail.count));
        for (size_t i = tail.first; i < end; ++i) slot.values[i] = std::move(values[i - tail.first]);
      });
      return;
    }
    if (argument >= accesses_.size() || !accesses_[argument] || values.empty()) return;
    builtins::ArrayArgumentAccess& access = *accesses_[argument];
    if (access.isArray()) {
      access.write(std::move(values));
    } else if (builtins::IsPlainReference(text(argument))) {
      builtins::WriteVariable(host_, text(argument), values[0]);
    }
  }

  void storeValue(size_t argument, const ScriptValue& value) override {
    if (builtins::IsPlainReference(text(argument))) builtins::WriteVariable(host_, text(argument), value);
  }

 private:
  // "NAME[i]" of a declared one-dimensional array: the elements from i to
  // its end (the function gets the address of element i).
  std::optional<engine::ArrayArgument> arrayTail(size_t argument) {
    const std::u16string_view reference = text(argument);
    if (reference.back() != u']' || !builtins::IsPlainReference(reference)) return std::nullopt;
    const builtins::EvaluatedReference parts = builtins::EvaluateReference(host_, reference);
    if (parts.indexes.size() != 1) return std::nullopt;
    engine::ArrayArgument whole = host_.globals().ResolveArrayArgument(host_.frame(), parts.name, {}, true);
    const std::optional<int64_t> index = engine::indexToInteger(parts.indexes[0]);
    if (whole.slot < 0 || !index || *index < 0 || static_cast<size_t>(*index) >= whole.count) return std::nullopt;
    whole.first += static_cast<size_t>(*index);
    whole.count -= static_cast<size_t>(*index);
    return whole;
  }

  const engine::CallSite& call_;
  builtins::BuiltinHost& host_;
  std::vector<std::optional<ScriptValue>> values_;
  std::vector<std::optional<builtins::ArrayArgumentAccess>> accesses_;
  std::vector<std::optional<engine::ArrayArgument>> tails_;
};

}  // namespace

ScriptValue CallDeclaredFunction(const DllDeclaration& declaration, const engine::CallSite& call,
                                 builtins::BuiltinHost& host) {
  CallSiteArguments arguments(call, host);
  return RunDllSession().call(declaration.name, declaration.text, arguments, call.argumentTexts.size(),
                              host.platform().locale);
}

}  // namespace maqo::com::dll
