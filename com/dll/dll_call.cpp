#include "com/dll/dll_call.h"

#include <optional>
#include <vector>

#include "builtins/array_argument.h"
#include "com/dll/dll_session.h"

namespace maqo::com::dll {

namespace {

using engine::ScriptValue;

// The arguments of a call site, read and written through the builtin host.
class CallSiteArguments final : public DllArguments {
 public:
  CallSiteArguments(const engine::CallSite& call, builtins::BuiltinHost& host)
      : call_(call), host_(host), values_(call.argumentTexts.size()), accesses_(call.argumentTexts.size()) {}

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
    std::optional<builtins::ArrayArgumentAccess>& access = accesses_[argument];
    if (!access) access = builtins::ArrayArgumentAccess::Resolve(host_, text(argument), builtins::MissingName::Evaluate);
    if (access->isArray()) return access->read();
    return {access->value()};
  }

  void storeElements(size_t argument, std::vector<ScriptValue> values) override {
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
  const engine::CallSite& call_;
  builtins::BuiltinHost& host_;
  std::vector<std::optional<ScriptValue>> values_;
  std::vector<std::optional<builtins::ArrayArgumentAccess>> accesses_;
};

}  // namespace

ScriptValue CallDeclaredFunction(const DllDeclaration& declaration, const engine::CallSite& call,
                                 builtins::BuiltinHost& host) {
  CallSiteArguments arguments(call, host);
  return RunDllSession().call(declaration.name, declaration.text, arguments, call.argumentTexts.size(),
                              host.platform().locale);
}

}  // namespace maqo::com::dll
