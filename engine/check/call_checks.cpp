// ChkKB_Call (the check of a call), the argument checks of builtins and user
// functions, ChkKB_Main (the check of a user-function call against its
// header) and the COM member checks.
#include "engine/builder/builder_text.h"
#include "engine/check/check_messages.h"
#include "engine/check/checker.h"
#include "engine/eval/text_helpers.h"
#include "engine/exec/frame_hosts.h"
#include "engine/library/builtin_library.h"
#include "engine/values/reference_text.h"

namespace maqo::engine::check {

namespace msg = check_messages;

namespace {

// The arrays the engine or a builtin fills, which an array parameter may take.
constexpr std::u16string_view kFilledArrays[] = {u"EVENT_PRM",    u"GETDIR_FILES", u"ALL_ITEM_LIST", u"ALL_WIN_ID",
                                                 u"ALL_OLE_ITEM", u"ALL_IMG_X",    u"ALL_IMG_Y"};

bool isFilledArray(std::u16string_view name) {
  for (const auto known : kFilledArrays)
    if (known == name) return true;
  return false;
}

bool hasParenthesis(std::u16string_view text) { return FindOutside(u"(", text, false) > 0; }

// The ")" that closes the "(" at open, outside quotes; npos when none does.
size_t closingParenthesis(std::u16string_view text, size_t open) {
  bool quoted = false;
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(') ++depth;
    if (c == u')' && --depth == 0) return i;
  }
  return std::u16string_view::npos;
}

// Runs a check; a failure that is no script error (the pass's own fault)
// becomes one, named after the check.
template <typename Check>
void guarded(std::u16string_view checkName, Check&& check) {
  try {
    check();
  } catch (const ScriptError&) {
    throw;
  } catch (const std::exception& error) {
    throw ScriptError(msg::internalFailure(checkName, u16(error.what())));
  }
}

}  // namespace

ScriptValue Checker::checkExpressionCall(const CallSite& call) {
  ChkKB_Call(call, CallMode::Expression);
  return ScriptValue::int32(1);
}

ScriptValue Checker::checkMemberRead(const NameRef& ref) {
  checkMemberChain(ref.text, false);
  return ScriptValue::int32(1);
}

// ---- ChkKB_Call ----

void Checker::ChkKB_Call(const CallSite& call, CallMode mode) {
  guarded(u"ChkKB_Call", [&] {
    // A member chain after the call (F(1).NAME) is not part of its argument list.
    const std::u16string_view head = std::u16string_view(call.text).substr(0, call.text.size() - call.tail.size());
    if (hasParenthesis(head) && head.back() != u')') throw ScriptError(msg::functionNotClosed());
    const std::u16string& name = call.name;
    const auto tailSegments = [&] {
      if (call.tail.empty()) return;
      checkMemberSegments(SplitAll(call.tail, u"."), 1, true);
    };

    if (const auto function = scope_.executor.FindFunction(name, frame(), mode == CallMode::CallFile)) {
      if (mode == CallMode::CallFile) {
        // CALL passes its arguments as PARAM_STR; "<#...>" texts go as written.
        for (size_t i = 0; i < call.arguments.size(); ++i)
          if (FindOutside(u"<#", call.argumentTexts[i], false) == 0) evaluate(*call.arguments[i]);
      } else {
        checkUserArguments(call, headerOf(function->header));
        ChkKB_Main(*function, call.argumentTexts.size());
      }
      return tailSegments();
    }
    if (mode == CallMode::Expression && scope_.library.find(name) != nullptr) {
      checkBuiltinArguments(call, name);
      return tailSegments();
    }
    if (countTopLevelDots(name) > 0 && !isModuleMember(name)) return checkMemberChain(call.text, true);
    if (store().ResolveGlobal(name, frame(), GlobalKind::DllFunction) >= 0) return;
    if (!hasParenthesis(call.text))
      throw ScriptError(mode == CallMode::CallFile ? msg::cannotCallFile() : msg::syntaxError(113));
    throw ScriptError(msg::functionMissing(name));
  });
}

void Checker::checkBuiltinArguments(const CallSite& call, std::u16string_view name) {
  const BuiltinEntry& entry = *scope_.library.find(name);
  const size_t count = call.argumentTexts.size();
  for (size_t i = 0; i < count && i < static_cast<size_t>(kMaxBuiltinArguments); ++i) {
    const int position = static_cast<int>(i) + 1;
    // The math path takes three arguments and never evaluates the others.
    if (entry.mathPath && position > 3) break;
    const std::u16string& text = call.argumentTexts[i];
    if (IsRawPosition(entry, position)) {
      if (entry.name == u"TOKEN" && position == 2) {
        // TOKEN writes the rest of the text back into this variable.
        if (text != u"RESULT")
          if (auto reserved = store().ReservedWordError(text)) throw ScriptError(*reserved);
        if (store().ResolveGlobal(text, frame(), GlobalKind::Const) >= 0 ||
            store().ResolveGlobal(text, frame(), GlobalKind::TextBlock) >= 0)
          throw ScriptError(msg::constantCannotBeUsed(text));
      }
      if (text.find(u'"') == std::u16string::npos) evaluate(*call.arguments[i]);
      continue;
    }
    if (ReadsOneCharacterAsVirtualKey(entry, position) && text.size() == 1) {
      evaluateText(u"VK_" + text);
      continue;
    }
    evaluate(*call.arguments[i]);
  }
  if (count < entry.minArguments) throw ScriptError(msg::argumentLacking(entry.name));
}

void Checker::checkUserArguments(const CallSite& call, const HeaderParameters& header) {
  for (size_t i = 0; i < call.argumentTexts.size(); ++i) {
    const std::u16string& text = call.argumentTexts[i];
    if (TrimView(text).empty()) throw ScriptError(msg::syntaxError(110));
    if (i < header.parameters.size() && header.parameters[i].dimensions > 0) {
      checkArrayArgument(text, *call.arguments[i], header.parameters[i]);
    } else {
      evaluate(*call.arguments[i]);
    }
  }
}

// An array parameter takes an array by name: a variable (or an element that
// holds an array), an array the engine fills, a global hash table for a
// one-dimensional parameter, or the result of a call.
void Checker::checkArrayArgument(std::u16string_view text, const Expression& expression,
                                 const HeaderParameter& parameter) {
  if (text.find(u"[]") != std::u16string_view::npos) throw ScriptError(msg::syntaxError(111));
  const size_t bracket = text.find(u'[');
  const bool indexed = bracket != std::u16string_view::npos;
  const std::u16string base = Trim(text.substr(0, bracket));
  const CheckFrame& f = frame();
  if (f.hasLocal(base) || isFilledArray(base)) {
    if (indexed) evaluate(expression);
    return;
  }
  if (const int slot = store().ResolveGlobal(base, f, GlobalKind::Variable); slot >= 0) {
    requireReachable(slot, false, base);
    if (indexed) evaluate(expression);
    return;
  }
  if (parameter.dimensions == 1 && !indexed) {
    if (const int table = store().ResolveGlobal(base, f, GlobalKind::HashTable); table >= 0) {
      requireReachable(table, true, base);
      return;
    }
  }
  if (hasParenthesis(text)) {
    evaluate(expression);
    return;
  }
  throw ScriptError(msg::syntaxError(112));
}

// ---- ChkKB_Main ----

const HeaderParameters& Checker::headerOf(int headerLine) {
  auto [state, inserted] = callees_.try_emplace(headerLine);
  if (inserted) state->second.header = ParseHeaderParameters(program().ScriptLines[static_cast<size_t>(headerLine)]);
  return state->second.header;
}

void Checker::ChkKB_Main(const FoundFunction& function, size_t argumentCount) {
  guarded(u"ChkKB_Main", [&] {
    const HeaderParameters& header = headerOf(function.header);
    checkCalleeHeader(function, header);
    const auto& parameters = header.parameters;
    size_t firstDefault = parameters.size();
    for (size_t k = 0; k < parameters.size(); ++k) {
      if (parameters[k].hasDefault) {
        firstDefault = k;
        break;
      }
    }
    const bool withDefaults = firstDefault < parameters.size();
    const bool fits = withDefaults ? argumentCount >= firstDefault && argumentCount <= parameters.size()
                                   : argumentCount == parameters.size();
    if (fits) return;
    if (function.header == 0) throw ScriptError(msg::mainPartCalled(function.name));
    throw ScriptError(msg::argumentCountWrong(function.name));
  });
}

// The header of a called function, checked once: VAR parameters take no
// default, defaults come last, and every default is an expression that can
// be evaluated in the callee (where the parameters before it exist). Its
// errors are shown at the header.
void Checker::checkCalleeHeader(const FoundFunction& function, const HeaderParameters& header) {
  CalleeState& state = callees_[function.header];
  if (state.checked || state.checking) return;
  state.checking = true;
  auto atHeader = [&](Message message) {
    return LocatedFailure{CheckFailure{std::move(message), function.header, function.header}};
  };
  if (header.error) throw atHeader(*header.error);
  CheckFrame scratch;
  scratch.reset(function.header, function.module);
  const FrameSwitch inCallee(*this, scratch);
  bool defaultSeen = false;
  for (const HeaderParameter& parameter : header.parameters) {
    if (parameter.byReference && parameter.hasDefault) throw atHeader(msg::syntaxError(120));
    if (!parameter.hasDefault && defaultSeen) throw atHeader(msg::syntaxError(121));
    if (parameter.hasDefault) {
      defaultSeen = true;
      try {
        evaluateText(parameter.defaultText);
      } catch (const ScriptError& error) {
        throw atHeader(error.message());
      }
    }
    if (!parameter.name.empty()) scratch.locals.declare(parameter.name);
  }
  state.checking = false;
  state.checked = true;
}

// ---- COM members ----

// OBJ.A[1].B(2, NAME := 3).C: the object before the first "." is checked as
// a variable (a module member when the chain starts with a module), every
// index and argument as an expression (of a named argument its value).
void Checker::checkMemberChain(std::u16string_view text, bool call) {
  if (FindOutside(u"..", text, true, 1, true) > 0) throw ScriptError(msg::syntaxError(call ? 108 : 107));
  std::vector<std::u16string> segments;
  for (const auto& piece : SplitAll(text, u".")) segments.push_back(Trim(piece));
  if (segments.empty()) return;
  auto checkObject = [&](const std::u16string& reference) {
    if (hasParenthesis(reference)) return ChkKB_Call(*MakeCallSite(reference), CallMode::Expression);
    const ReferenceParts parts = splitReference(reference);
    NameRef ref;
    ref.text = reference;
    ref.name = Trim(parts.name);
    // The builder writes the parentheses of F(X).MEMBER as brackets: when F
    // names no variable but a function, the object is what the call returns.
    if (parts.indexed && !isVariableName(ref.name) && isCallable(ref.name)) {
      const size_t open = reference.find(u'[');
      return ChkKB_Call(*MakeCallSite(ref.name + u"(" + reference.substr(open + 1, reference.size() - open - 2) + u")"),
                        CallMode::Expression);
    }
    for (const auto& index : parts.indexTexts)
      if (!index.empty()) evaluateText(index);
    checkReference(ref, parts.indexTexts.size());
  };
  size_t first = 1;
  if (segments[0].empty()) {
    // ".MEMBER" is a member of the WITH target.
    if (frame().withTarget.isEmpty()) throw ScriptError(msg::syntaxError(105));
    const std::u16string_view module = store().WithTargetModule(frame());
    if (!module.empty() && segments.size() > 2) {
      checkObject(std::u16string(module) + u"." + segments[1]);
      first = 2;
    }
  } else if (segments.size() > 2 && isModuleMember(segments[0] + u"." + segments[1])) {
    checkObject(segments[0] + u"." + segments[1]);
    first = 2;
  } else {
    checkObject(segments[0]);
  }
  checkMemberSegments(segments, first, call);
}

bool Checker::isVariableName(std::u16string_view name) const {
  const CheckFrame& f = frame();
  return f.hasLocal(name) || store().ResolveGlobal(name, f, GlobalKind::Variable) >= 0 ||
         store().ResolveGlobal(name, f, GlobalKind::HashTable) >= 0;
}

bool Checker::isCallable(std::u16string_view name) const {
  return scope_.executor.FindFunction(name, frame(), false).has_value() || scope_.library.find(name) != nullptr;
}

void Checker::checkMemberSegments(const std::vector<std::u16string>& segments, size_t first, bool call) {
  for (size_t i = first; i < segments.size(); ++i) {
    const std::u16string_view segment = segments[i];
    if (segment.empty()) throw ScriptError(msg::syntaxError(call ? 108 : 107));
    std::u16string_view indexed = segment;
    if (const size_t open = FindOutside(u"(", segment, false); open > 0) {
      const size_t close = closingParenthesis(segment, open - 1);
      if (close == std::u16string_view::npos) throw ScriptError(msg::memberCallNotClosed());
      for (const auto& piece : SplitAll(segment.substr(open, close - open), u",")) {
        std::u16string_view argument = TrimView(piece);
        if (const size_t named = FindOutside(u":=", argument, true, 1, true); named > 0)
          argument = TrimView(argument.substr(named + 1));
        // "VAR N" passes the variable N by reference: N is what is checked.
        if (const auto named = AfterVarKeyword(argument)) argument = *named;
        if (!argument.empty()) evaluateText(argument);
      }
      indexed = segment.substr(close + 1);
    }
    if (indexed.find(u'[') == std::u16string_view::npos) continue;
    for (const auto& index : splitReference(indexed).indexTexts)
      if (!index.empty()) evaluateText(index);
  }
}

}  // namespace maqo::engine::check
