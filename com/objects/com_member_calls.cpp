#include "com/objects/com_member_calls.h"

#include <algorithm>

#include "builtins/array_argument.h"
#include "com/objects/com_errors.h"
#include "com/objects/com_messages.h"
#include "com/objects/com_object.h"
#include "com/objects/com_values.h"
#include "engine/library/builtin_host.h"

namespace maqo::com::objects {

using engine::BuiltinHost;
using engine::ScriptValue;
namespace flags = platform::invoke_flags;

namespace {

// A COM operation failed with this text; caught at the provider's boundary.
struct ComCallFailed {
  std::u16string text;
};

// The run was stopped while arguments were evaluated: the call is abandoned.
struct CallAbandoned {};

// Reports a failure the way the calling thread wants it: flag raised, and
// thrown as "COM_Error:" + text unless COM_ERR_IGN is in force.
void reportFailure(BuiltinHost& host, const std::u16string& text) {
  host.raiseComErrorFlag();
  if (!host.comErrorsIgnored()) throw messages::comError(text);
}

ComScriptObject& objectOf(const ScriptValue& value, std::u16string_view text) {
  ComScriptObject* object = ComObjectOf(value);
  if (object == nullptr) throw ComCallFailed{messages::notAnObject(text)};
  return *object;
}

// The arguments of one call, evaluated in the caller's frame, in Invoke's
// order (last first; the named ones first of all) with their DISPID names.
struct PreparedArguments {
  std::vector<platform::ComArgument> values;
  std::vector<const MemberArgument*> sources;  // parallel to values
  std::vector<std::u16string> names;           // member, then the named arguments in values' order
  size_t namedCount = 0;
};

PreparedArguments prepare(std::u16string_view member, const std::vector<MemberArgument>& arguments,
                          BuiltinHost& host) {
  PreparedArguments prepared;
  prepared.names.emplace_back(member);
  auto add = [&](const MemberArgument& argument) {
    prepared.values.push_back({ToComArgument(host.evaluateText(argument.text)), argument.byReference});
    prepared.sources.push_back(&argument);
  };
  for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
    if (!it->name.empty()) {
      add(*it);
      prepared.names.push_back(it->name);
      ++prepared.namedCount;
    }
  for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
    if (it->name.empty()) add(*it);
  if (host.stopRequested()) throw CallAbandoned{};
  return prepared;
}

// Invokes a member with the prepared arguments; by-reference arguments are
// written back to their variables. methodFirst: a call written with empty
// parentheses tries a method alone first, then a method or property read.
// The member's DISPID (cached on the object) and, for named arguments, theirs
// in the order prepared.values holds them.
int32_t memberIds(ComScriptObject& object, const PreparedArguments& prepared, std::vector<int32_t>& namedIds) {
  platform::ComFailure failure;
  int32_t memberId = 0;
  if (prepared.namedCount == 0) {
    if (!object.memberId(prepared.names[0], memberId, failure)) throw ComCallFailed{ComErrorText(failure)};
    return memberId;
  }
  std::vector<int32_t> ids;
  if (!object.com().dispatchIds(prepared.names, ids, failure) || ids.size() != prepared.names.size())
    throw ComCallFailed{ComErrorText(failure)};
  namedIds.assign(ids.begin() + 1, ids.end());
  return ids[0];
}

ScriptValue invokePrepared(ComScriptObject& object, PreparedArguments& prepared, bool methodFirst, BuiltinHost& host) {
  std::vector<int32_t> namedIds;
  const int32_t memberId = memberIds(object, prepared, namedIds);
  platform::ComFailure failure;
  platform::ComValue result;
  bool ok = false;
  if (methodFirst) {
    ok = object.com().invoke(memberId, flags::kMethod, prepared.values, namedIds, result, failure);
    if (!ok) failure = {};
  }
  if (!ok) ok = object.com().invoke(memberId, flags::kMethod | flags::kGet, prepared.values, namedIds, result, failure);
  if (!ok) throw ComCallFailed{ComErrorText(failure)};
  for (size_t i = 0; i < prepared.values.size(); ++i)
    if (prepared.values[i].byReference)
      builtins::WriteVariable(host, prepared.sources[i]->text, FromComValue(prepared.values[i].value));
  return FromComValue(result);
}

ScriptValue callStep(const ScriptValue& target, const MemberStep& step, bool methodFirst, std::u16string_view text,
                     BuiltinHost& host) {
  ComScriptObject& object = objectOf(target, text);
  PreparedArguments prepared = prepare(step.name, step.arguments, host);
  return invokePrepared(object, prepared, methodFirst && step.parenthesised && step.arguments.empty(), host);
}

ScriptValue headValue(const MemberPath& path, BuiltinHost& host, std::u16string_view text) {
  if (path.head.empty()) {
    const ScriptValue& with = host.frame().withTarget;
    if (!with.isObject()) throw ComCallFailed{messages::noWithObject(text)};
    return with;
  }
  return host.evaluateText(path.head);
}

// Applies steps [0, count) to value, each as a method call or property read.
ScriptValue applySteps(ScriptValue value, const MemberPath& path, size_t count, std::u16string_view text,
                       BuiltinHost& host) {
  for (size_t i = 0; i < count; ++i) value = callStep(value, path.steps[i], false, text, host);
  return value;
}

// Puts value into the last member of a chain: an object, array or reference
// by reference first (PROPERTYPUTREF), then by value.
void putMember(ComScriptObject& object, const MemberStep& step, const ScriptValue& value, BuiltinHost& host) {
  PreparedArguments prepared = prepare(step.name, step.arguments, host);
  // The value is the first named argument (DISPID_PROPERTYPUT), before the
  // indexes written as named arguments.
  std::vector<int32_t> named{platform::kDispIdPropertyPut};
  std::vector<int32_t> indexIds;
  const int32_t memberId = memberIds(object, prepared, indexIds);
  named.insert(named.end(), indexIds.begin(), indexIds.end());
  platform::ComArgument assigned{ToComArgument(value), false};
  prepared.values.insert(prepared.values.begin(), std::move(assigned));
  platform::ComFailure failure;
  platform::ComValue ignored;
  const bool reference = value.isObject() || value.isArray();
  if (reference && object.com().invoke(memberId, flags::kPutRef, prepared.values, named, ignored, failure)) return;
  if (!object.com().invoke(memberId, flags::kPut, prepared.values, named, ignored, failure))
    throw ComCallFailed{ComErrorText(failure)};
}

}  // namespace

std::shared_ptr<const MemberPath> ComMemberCalls::cached(const std::u16string& key,
                                                         const std::function<MemberPath()>& parse) {
  {
    std::lock_guard guard(cacheLock_);
    if (auto found = paths_.find(key); found != paths_.end()) return found->second;
  }
  auto parsed = std::make_shared<const MemberPath>(parse());  // outside the lock: other threads go on
  std::lock_guard guard(cacheLock_);
  if (paths_.size() > 4096) paths_.clear();  // dynamic texts (EVAL) must not grow it without end
  paths_.emplace(key, parsed);
  return parsed;
}

std::shared_ptr<const MemberPath> ComMemberCalls::path(std::u16string_view text) {
  return cached(std::u16string(text), [text] { return ParseMemberPath(text); });
}

std::shared_ptr<const MemberPath> ComMemberCalls::pathOfCall(const engine::CallSite& call) {
  // Kept under the call's own text, which differs from any chain text by its parentheses.
  return cached(call.name + u"(" + call.argumentText + u")", [&call] {
    MemberPath parsed = ParseMemberPath(call.name);
    MemberStep& last = parsed.steps.back();
    if (last.parenthesised || last.indexed) throw messages::badMemberText(call.text);
    last.arguments = ParseMemberArguments(call.argumentText);
    last.parenthesised = true;
    return parsed;
  });
}

ScriptValue ComMemberCalls::get(std::u16string_view memberText, BuiltinHost& host) {
  const std::shared_ptr<const MemberPath> chain = path(memberText);
  try {
    return applySteps(headValue(*chain, host, memberText), *chain, chain->steps.size(), memberText, host);
  } catch (const ComCallFailed& failed) {
    reportFailure(host, failed.text);
  } catch (const CallAbandoned&) {
  }
  return ScriptValue::int32(kComErrorResult);
}

void ComMemberCalls::set(std::u16string_view memberText, const ScriptValue& value, BuiltinHost& host) {
  const std::shared_ptr<const MemberPath> chain = path(memberText);
  try {
    const ScriptValue target =
        applySteps(headValue(*chain, host, memberText), *chain, chain->steps.size() - 1, memberText, host);
    putMember(objectOf(target, memberText), chain->steps.back(), value, host);
  } catch (const ComCallFailed& failed) {
    reportFailure(host, failed.text);
  } catch (const CallAbandoned&) {
  }
}

ScriptValue ComMemberCalls::invoke(const engine::CallSite& call, BuiltinHost& host) {
  const std::shared_ptr<const MemberPath> chain = pathOfCall(call);
  ScriptValue result;
  try {
    const ScriptValue target =
        applySteps(headValue(*chain, host, call.text), *chain, chain->steps.size() - 1, call.text, host);
    result = callStep(target, chain->steps.back(), true, call.text, host);
  } catch (const ComCallFailed& failed) {
    reportFailure(host, failed.text);
    return ScriptValue::int32(kComErrorResult);
  } catch (const CallAbandoned&) {
    return ScriptValue::int32(kComErrorResult);
  }
  if (call.tail.empty()) return result;
  return member(result, call.tail, call.text, host);
}

ScriptValue ComMemberCalls::member(const ScriptValue& object, std::u16string_view tail, std::u16string_view callText,
                                   BuiltinHost& host) {
  const std::shared_ptr<const MemberPath> chain = path(tail);
  try {
    return applySteps(object, *chain, chain->steps.size(), callText, host);
  } catch (const ComCallFailed& failed) {
    reportFailure(host, failed.text);
  } catch (const CallAbandoned&) {
  }
  return ScriptValue::int32(kComErrorResult);
}

std::vector<ScriptValue> ComMemberCalls::elements(const ScriptValue& object, std::u16string_view text,
                                                  BuiltinHost& host) {
  return CollectionItems(object, text, host);
}

std::vector<ScriptValue> CollectionItems(const ScriptValue& collection, std::u16string_view text, BuiltinHost& host) {
  std::vector<ScriptValue> items;
  try {
    ComScriptObject& object = objectOf(collection, text);
    std::vector<platform::ComValue> values;
    platform::ComFailure failure;
    const bool ok = object.com().enumerate(values, [&host] { return host.stopRequested(); }, failure);
    for (const platform::ComValue& value : values) items.push_back(FromComValue(value));
    if (!ok) throw ComCallFailed{ComErrorText(failure)};
  } catch (const ComCallFailed& failed) {
    reportFailure(host, failed.text);
  }
  return items;
}

}  // namespace maqo::com::objects
