// The checks of names: what an expression reads (the variable-reference
// check), what a statement assigns (the assignment-target check), the module
// privacy of globals, and the evaluator's host that routes every read, call
// and COM member of an expression to its check.
#include <array>

#include "engine/builder/builder_text.h"
#include "engine/check/check_messages.h"
#include "engine/check/checker.h"
#include "engine/eval/text_helpers.h"
#include "engine/exec/frame_hosts.h"
#include "engine/values/value_messages.h"

namespace maqo::engine::check {

namespace msg = check_messages;
namespace vmsg = value_messages;

namespace {

// Names every function may read although nobody declared them: keywords,
// names the engine or a builtin fills while the script runs, and the locals
// of event and hotkey handlers.
constexpr std::array<std::u16string_view, 36> kKnownNames = {
    u"TRUE",         u"FALSE",         u"COM_ERR_FLG", u"G_IMG_X",      u"G_IMG_Y",    u"NULL",
    u"NOTHING",      u"EMPTY",         u"TRY_ERRMSG",  u"TRY_ERRLINE",  u"G_TIME_YY",  u"G_TIME_MM",
    u"G_TIME_DD",    u"G_TIME_HH",     u"G_TIME_NN",   u"G_TIME_SS",    u"G_TIME_ZZ",  u"G_TIME_WW",
    u"G_TIME_YY4",   u"G_TIME_YY2",    u"G_TIME_MM2",  u"G_TIME_DD2",   u"G_TIME_HH2", u"G_TIME_NN2",
    u"G_TIME_SS2",   u"G_TIME_ZZ2",    u"EVENT_ID",    u"EVENT_PRM",    u"HOTKEY_VK",  u"HOTKEY_MOD",
    u"GETDIR_FILES", u"ALL_ITEM_LIST", u"ALL_WIN_ID",  u"ALL_OLE_ITEM", u"ALL_IMG_X",  u"ALL_IMG_Y",
};

bool isKnownName(std::u16string_view name) {
  for (const auto known : kKnownNames)
    if (known == name) return true;
  return false;
}

ScriptValue one() { return ScriptValue::int32(1); }

}  // namespace

// ---- the evaluator's host ----

ScriptValue CheckEvalHost::getValue(const NameRef& ref, std::span<const ScriptValue> indexes) {
  return checker_.checkReference(ref, indexes.size());
}

ScriptValue CheckEvalHost::callFunction(const CallSite& call, EvalContext&) {
  return checker_.checkExpressionCall(call);
}

ScriptValue CheckEvalHost::comMember(const NameRef& ref) { return checker_.checkMemberRead(ref); }

bool CheckEvalHost::isModuleMember(std::u16string_view dottedName) { return checker_.isModuleMember(dottedName); }

EvalOptions CheckEvalHost::options() { return checker_.scope().program.Options.evalOptions(); }

int CheckEvalHost::compareText(std::u16string_view a, std::u16string_view b) {
  return checker_.scope().locale.compareText(a, b);
}

bool Checker::isModuleMember(std::u16string_view dottedName) const {
  return store().IsModuleReference(dottedName, frame());
}

// ---- module privacy ----

// A global declared by DIM or HASHTBL at module level belongs to its module:
// only the module's own functions (whose module name begins its qualified
// name) may use it.
void Checker::requireReachable(int slot, bool hashTable, std::u16string_view writtenName) {
  const GlobalStore& s = store();
  const std::vector<bool>& privateFlags = hashTable ? s.GlobalHashPrivate : s.GlobalVariablePrivate;
  if (static_cast<size_t>(slot) >= privateFlags.size() || !privateFlags[static_cast<size_t>(slot)]) return;
  const std::u16string& stored = hashTable ? s.GlobalScope.hashTables.nameAt(slot) : s.GlobalScope.locals.nameAt(slot);
  const std::u16string& module = frame().moduleName;
  if (!module.empty() && stored.size() > module.size() && startsWith(stored, module) && stored[module.size()] == u'.')
    return;
  throw ScriptError(msg::notReferable(writtenName));
}

// ---- the variable-reference check ----

std::optional<ScriptValue> Checker::specialNameValue(const std::u16string& name) {
  BuiltinNameSource* names = store().builtinNames;
  if (isKnownName(name) || (names != nullptr && names->isConstant(name))) return one();
  if (names == nullptr || !names->isSpecialName(name)) return std::nullopt;
  // The builtin string constants stand for their text (GET_ACTIVE_WIN and the
  // like); reading them changes nothing. Numeric special names give 1.
  if (startsWith(name, u"GET_") || name == u"EMPTYPARAM") {
    try {
      if (auto value = names->value(name, frame())) return value;
    } catch (const ScriptError&) {
      // A name this system cannot answer (a Windows folder off Windows) is still a name.
    }
  }
  return one();
}

ScriptValue Checker::checkReference(const NameRef& ref, size_t indexCount) {
  const std::u16string& written = ref.name;
  const GlobalStore& s = store();
  // GLOBAL.X inside a module is the global X, past the module's own names.
  const bool global = IsGlobalQualified(written, frame());
  const std::u16string name = global ? written.substr(7) : written;
  const THensuFmt& resolver = global ? static_cast<const THensuFmt&>(s.GlobalScope) : frame();

  if (!global && frame().hasLocal(name)) return one();
  if (const int slot = s.ResolveGlobal(name, resolver, GlobalKind::Variable); slot >= 0) {
    requireReachable(slot, false, written);
    return one();
  }
  if (const int table = s.ResolveGlobal(name, resolver, GlobalKind::HashTable); table >= 0) {
    requireReachable(table, true, written);
    if (indexCount > 2) throw ScriptError(msg::syntaxError(79));
    return one();
  }
  if (s.ResolveGlobal(name, resolver, GlobalKind::Const) >= 0 ||
      s.ResolveGlobal(name, resolver, GlobalKind::TextBlock) >= 0)
    return one();
  if (auto value = specialNameValue(name)) return *value;
  if (written.find_first_of(u"[]") != std::u16string::npos) throw ScriptError(msg::bracketSyntax());
  if (written.find(u'(') != std::u16string::npos) throw ScriptError(msg::syntaxError(80));
  throw ScriptError(vmsg::notDefined(written));
}

// ---- the assignment-target check ----

void Checker::checkAssignTarget(const AssignTarget& target, std::u16string_view rightSide) {
  const std::u16string& written = target.name;
  if (!written.empty() && written[0] >= u'0' && written[0] <= u'9') throw ScriptError(msg::syntaxError(76));
  try {
    for (const auto& index : target.indexes) evaluate(*index);
  } catch (const ScriptError&) {
    throw;
  } catch (const std::exception& error) {
    throw ScriptError(msg::internalFailure(u"ChkKB_hjgnbukai", u16(error.what())));
  }
  if (written.empty()) throw ScriptError(msg::syntaxError(75));
  const size_t indexes = target.indexes.size();
  const bool removesAll = TrimView(rightSide) == u"HASH_REMOVEALL";
  const GlobalStore& s = store();
  const bool global = IsGlobalQualified(written, frame());
  const std::u16string name = global ? written.substr(7) : written;
  const THensuFmt& resolver = global ? static_cast<const THensuFmt&>(s.GlobalScope) : frame();

  if (!global) {
    if (frame().locals.find(name) >= 0) return;
    if (frame().hashTables.find(name) >= 0) {
      if (indexes == 0 && !removesAll) throw ScriptError(msg::syntaxError(77));
      return;
    }
  }
  if (const int slot = s.ResolveGlobal(name, resolver, GlobalKind::Variable); slot >= 0) {
    requireReachable(slot, false, written);
    return;
  }
  if (const int table = s.ResolveGlobal(name, resolver, GlobalKind::HashTable); table >= 0) {
    requireReachable(table, true, written);
    if (indexes > 1 || (indexes == 0 && !removesAll)) throw ScriptError(msg::syntaxError(78));
    return;
  }
  if (s.ResolveGlobal(name, resolver, GlobalKind::Const) >= 0 ||
      s.ResolveGlobal(name, resolver, GlobalKind::TextBlock) >= 0)
    throw ScriptError(msg::constantAssigned());
  if (auto reserved = s.ReservedWordError(name)) throw ScriptError(*reserved);
  // An assignment declares a variable, unless OPTION EXPLICIT asks for DIM
  // first; a dotted name would be a module member that does not exist.
  if (!global && !program().Options.explicitVariables && name.find(u'.') == std::u16string::npos) {
    frame().locals.declare(name);
    return;
  }
  throw ScriptError(vmsg::notDefined(written));
}

}  // namespace maqo::engine::check
