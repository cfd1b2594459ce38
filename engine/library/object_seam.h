// The engine's seams to what scripts reach outside the language itself:
// script objects (COM objects and any other object value a family hands out)
// and functions declared with DEF_DLL. A family registers a provider with the
// builtin library at start-up; the executor calls it and never knows what
// stands behind it. Without a provider the engine reports that COM objects
// (or DEF_DLL calls) are not available yet, naming what was used.
//
// Member texts arrive as written in the script (upper case outside strings);
// the provider parses them, since member names are known only at run time.
// The host is the caller's: it evaluates argument texts in the caller's frame.
#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

class BuiltinHost;

class ObjectProvider {
 public:
  virtual ~ObjectProvider() = default;
  // Reads a member chain whose head names a variable: "IE.DOCUMENT.TITLE",
  // "XL.CELLS(1, 2).VALUE".
  virtual ScriptValue get(std::u16string_view memberText, BuiltinHost& host) = 0;
  // Sets the member a chain ends in: "IE.VISIBLE" = value.
  virtual void set(std::u16string_view memberText, const ScriptValue& value, BuiltinHost& host) = 0;
  // Calls a method chain as written: "XL.WORKBOOKS.OPEN(F)".
  virtual ScriptValue invoke(const CallSite& call, BuiltinHost& host) = 0;
  // Applies the member chain after a function's result: for "F(1).NAME" the
  // result of F(1) and ".NAME". callText is the whole text, for messages.
  virtual ScriptValue member(const ScriptValue& object, std::u16string_view tail, std::u16string_view callText,
                             BuiltinHost& host) = 0;
  // The elements FOR-IN walks over an object (a collection's items, in order).
  virtual std::vector<ScriptValue> elements(const ScriptValue& object, std::u16string_view text, BuiltinHost& host) = 0;
};

// One call of a DEF_DLL-declared function.
struct DllCall {
  // The name as called.
  std::u16string_view name;
  // The declared function: its name in the case it was declared in (the
  // system finds exported names by exact case) and the declaration after the
  // name, e.g. "(HWND, WSTRING): INT: user32.dll".
  std::u16string declaredName;
  std::u16string declaration;
  // The argument texts and their compiled expressions. The provider
  // evaluates by-value arguments in the caller's frame through the host and
  // writes the results of by-reference arguments back through it, since only
  // the declaration says which arguments are which.
  const CallSite& site;
};

class DllProvider {
 public:
  virtual ~DllProvider() = default;
  // Calls the function and returns its result; throws ScriptError on failure.
  virtual ScriptValue call(const DllCall& call, BuiltinHost& host) = 0;
};

}  // namespace maqo::engine
