#include "engine/values/global_store.h"

#include <algorithm>
#include <utility>

#include "engine/values/hash_table.h"
#include "engine/values/number_text.h"
#include "engine/values/reference_text.h"
#include "engine/values/slot_access.h"
#include "engine/values/value_messages.h"

namespace maqo::engine {
namespace {

namespace msg = value_messages;
using slot_access::IntegerIndexes;

// A failed read inside GetValue: the message, and whether the failure value is
// Empty (hash-table range errors) rather than the integer 0.
struct ReadFailure {
  Message message;
  bool emptyResult = false;
};

constexpr std::u16string_view kParamStr = u"PARAM_STR";

std::u16string indexNotNumber(std::u16string_view name, std::u16string_view text) {
  return msg::cat(u"Index is not a number: ", name, msg::cat(u"[", text, u"]"));
}

std::u16string outOfBounds(std::u16string_view name) { return msg::cat(u"Array index out of bounds: ", name); }

// ---- slots ----

ScriptValue readSlot(const VariableSlot& slot, std::u16string_view name, std::span<const ScriptValue> indexes) {
  if (indexes.empty() && slot.isScalar()) return slot.values[0];  // the common case, without the index work
  IntegerIndexes idx;
  std::u16string bad;
  if (!slot_access::convert(indexes, idx, bad)) throw ReadFailure{msg::getValueFailure(indexNotNumber(name, bad))};
  const size_t n = idx.count;
  const size_t k = slot.dimensions();
  const bool paramStr = name == kParamStr;
  const auto position = slot_access::leadingPosition(slot, idx.data(), n);
  if (!position) {
    if (paramStr) return ScriptValue();
    throw ReadFailure{msg::exceededArray(name)};
  }
  if (n == k) return slot.values[*position];
  if (n < k) throw ReadFailure{msg::dimensionMismatch(name)};
  if (paramStr) return ScriptValue();
  // More indexes than dimensions: the rest address the array value held by
  // the element the leading ones select (for a scalar: the variable itself).
  bool beyond = false;
  const ScriptValue* target = slot_access::inner(slot.values[*position], idx.data() + k, n - k, beyond);
  if (target == nullptr)
    throw ReadFailure{beyond ? msg::getValueFailure(outOfBounds(name)) : msg::dimensionMismatch(name)};
  return *target;
}

// The element's old value goes to displaced, for the caller to destroy after
// releasing the store's lock (releasing an object may take long or call out).
void writeSlot(VariableSlot& slot, std::u16string_view name, std::span<const ScriptValue> indexes,
               const ScriptValue& value, const PutFlags& flags, ScriptValue& displaced) {
  if (flags.byPosition) {
    const auto position = indexes.empty() ? std::optional<int64_t>(0) : indexToInteger(indexes[0]);
    if (!position || *position < 0 || static_cast<uint64_t>(*position) >= slot.values.size())
      throw ScriptError(msg::initialiserExceeded());
    displaced = std::exchange(slot.values[static_cast<size_t>(*position)], value);
    return;
  }
  if (indexes.empty() && slot.isScalar()) {
    displaced = std::exchange(slot.values[0], value);
    return;
  }
  IntegerIndexes idx;
  std::u16string bad;
  if (!slot_access::convert(indexes, idx, bad)) throw ScriptError(msg::putValueFailure(indexNotNumber(name, bad)));
  const size_t n = idx.count;
  const size_t k = slot.dimensions();
  const auto position = slot_access::leadingPosition(slot, idx.data(), n);
  if (!position) throw ScriptError(msg::exceededArray(name));
  if (n == k) {
    displaced = std::exchange(slot.values[*position], value);
    return;
  }
  if (n < k) throw ScriptError(msg::dimensionMismatch(name));
  bool beyond = false;
  ScriptValue* target = slot_access::innerForWrite(slot.values[*position], idx.data() + k, n - k, beyond);
  if (target == nullptr)
    throw ScriptError(beyond ? msg::putValueFailure(outOfBounds(name)) : msg::dimensionMismatch(name));
  displaced = std::exchange(*target, value);
}

// Indexes applied to a value that is not a variable (a constant, a special
// name): they address its array.
ScriptValue indexValue(const ScriptValue& value, std::u16string_view name, std::span<const ScriptValue> indexes) {
  if (indexes.empty()) return value;
  IntegerIndexes idx;
  std::u16string bad;
  if (!slot_access::convert(indexes, idx, bad)) throw ReadFailure{msg::getValueFailure(indexNotNumber(name, bad))};
  bool beyond = false;
  const ScriptValue* target = slot_access::inner(value, idx.data(), idx.count, beyond);
  if (target == nullptr)
    throw ReadFailure{beyond ? msg::getValueFailure(outOfBounds(name)) : msg::dimensionMismatch(name)};
  return *target;
}

// ---- hash tables ----

ScriptValue readHash(TUZHash& table, std::u16string_view name, std::span<const ScriptValue> indexes,
                     const std::u16string& key, ScriptValue& displaced) {
  if (indexes.size() == 1) return table.get(key);
  const auto option = indexes.size() == 2 ? indexToInteger(indexes[1]) : std::nullopt;
  if (!option) throw ReadFailure{msg::specifiedWrong(name), true};
  switch (*option) {
    case kHashKey:
    case kHashVal: {
      const auto position = indexToInteger(indexes[0]);
      if (!position || *position < 0 || static_cast<uint64_t>(*position) >= table.count())
        throw ReadFailure{msg::outsideRange(name), true};
      const size_t p = static_cast<size_t>(*position);
      return *option == kHashKey ? ScriptValue::string(table.keyAt(p)) : table.valueAt(p);
    }
    case kHashExists:
      return ScriptValue::builtinBool(table.exists(key));
    case kHashRemove:
      return ScriptValue::builtinBool(table.remove(key, &displaced));
    default: {
      const ScriptValue* stored = table.find(key);
      if (stored != nullptr && stored->isArray() && stored->arrayRef().dimensions() == 1) {
        const int64_t element = *option;
        const auto flat = stored->arrayRef().flatIndex(std::span<const int64_t>(&element, 1));
        if (flat) return stored->arrayRef().at(*flat);
      }
      throw ReadFailure{msg::specifiedWrong(name), true};
    }
  }
}

void writeHash(TUZHash& table, std::u16string_view name, std::span<const ScriptValue> indexes,
               const std::u16string& key, const ScriptValue& value, ScriptValue& displaced) {
  if (indexes.size() != 1) throw ScriptError(msg::invalidHashWrite(name));
  table.put(key, value, &displaced);
}

// The key text of a hash-table access: the first index's general text form.
std::u16string hashKey(std::span<const ScriptValue> indexes) {
  return indexes.empty() ? std::u16string() : indexes[0].toText();
}

// ---- fixed special names ----

std::u16string digits(unsigned value, size_t width) {
  std::u16string text = formatInteger(value);
  if (text.size() < width) text.insert(0, width - text.size(), u'0');
  return text;
}

std::optional<ScriptValue> timeField(const TimeStamp& t, std::u16string_view field) {
  auto u16 = [](uint16_t v) { return ScriptValue::integer(VarType::UInt16, v); };
  if (field == u"YY") return u16(t.year);
  if (field == u"MM") return u16(t.month);
  if (field == u"DD") return u16(t.day);
  if (field == u"HH") return u16(t.hour);
  if (field == u"NN") return u16(t.minute);
  if (field == u"SS") return u16(t.second);
  if (field == u"ZZ") return u16(t.millisecond);
  if (field == u"WW") return ScriptValue::int32(t.dayOfWeek);
  if (field == u"YY4") return ScriptValue::string(digits(t.year, 4));
  if (field == u"YY2") return ScriptValue::string(digits(t.year % 100u, 2));
  if (field == u"MM2") return ScriptValue::string(digits(t.month, 2));
  if (field == u"DD2") return ScriptValue::string(digits(t.day, 2));
  if (field == u"HH2") return ScriptValue::string(digits(t.hour, 2));
  if (field == u"NN2") return ScriptValue::string(digits(t.minute, 2));
  if (field == u"SS2") return ScriptValue::string(digits(t.second, 2));
  if (field == u"ZZ2") return ScriptValue::string(digits(t.millisecond, 3));
  return std::nullopt;
}

}  // namespace

void GlobalStore::ResetProgram() {
  std::lock_guard guard(lock_);
  GlobalScope.locals.clear();
  GlobalScope.hashTables.clear();
  ConstNames.clear();
  ConstValues.clear();
  TextBlockNames.clear();
  TextBlockTexts.clear();
  ModuleNames.clear();
  DllNames.clear();
  GlobalVariablePrivate.clear();
  GlobalHashPrivate.clear();
}

// ---- names of the global scope ----

int GlobalStore::lookupGlobal(std::u16string_view key, GlobalKind kind) const {
  switch (kind) {
    case GlobalKind::Variable: return GlobalScope.locals.find(key);
    case GlobalKind::Const: return ConstNames.indexOf(key);
    case GlobalKind::DllFunction: return DllNames.indexOf(key);
    case GlobalKind::TextBlock: return TextBlockNames.indexOf(key);
    case GlobalKind::HashTable: return GlobalScope.hashTables.find(key);
  }
  return -1;
}

std::u16string_view GlobalStore::WithTargetModule(const THensuFmt& frame) const {
  if (!frame.withTarget.isNativeString()) return {};
  const int module = ModuleNames.indexOf(frame.withTarget.stringRef());
  return module < 0 ? std::u16string_view() : std::u16string_view(ModuleNames.nameAt(module));
}

int GlobalStore::resolveUnlocked(std::u16string_view name, const THensuFmt& frame, GlobalKind kind) const {
  const bool inModule = !frame.moduleName.empty();
  const bool dotted = name.find(u'.') != std::u16string_view::npos;
  if (!inModule && !dotted) return lookupGlobal(name, kind);

  std::u16string qualified;
  if (!dotted) {
    qualified.append(frame.moduleName).append(u".").append(name);
  } else if (name.front() == u'.') {
    const std::u16string_view target = WithTargetModule(frame);
    if (!target.empty()) qualified.append(target).append(name);
  } else if (inModule && name.starts_with(u"THIS.")) {
    qualified.append(frame.moduleName).append(name.substr(4));
  }
  if (!qualified.empty()) {
    const int slot = lookupGlobal(qualified, kind);
    if (slot >= 0) return slot;
  }
  return lookupGlobal(name, kind);
}

int GlobalStore::resolveVariableUnlocked(std::u16string_view name, const THensuFmt& frame,
                                         const SlotHints* hints) const {
  if (hints == nullptr || !frame.moduleName.empty() || name.find(u'.') != std::u16string_view::npos)
    return resolveUnlocked(name, frame, GlobalKind::Variable);
  return GlobalScope.locals.find(name, hints->global);
}

int GlobalStore::ResolveGlobal(std::u16string_view name, const THensuFmt& frame, GlobalKind kind) const {
  if (kind == GlobalKind::Variable || kind == GlobalKind::HashTable) {
    std::lock_guard guard(lock_);
    return resolveUnlocked(name, frame, kind);
  }
  return resolveUnlocked(name, frame, kind);
}

bool GlobalStore::IsModuleReference(std::u16string_view reference, const THensuFmt& frame) const {
  if (countTopLevelDots(reference) != 1) return false;
  const std::u16string_view head = reference.substr(0, reference.find(u'.'));
  if (head.empty()) return !WithTargetModule(frame).empty();
  if (!frame.moduleName.empty() && (head == u"THIS" || head == u"GLOBAL")) return true;
  return ModuleNames.contains(head);
}

// ---- GetValue ----

ScriptValue GlobalStore::GetValue(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes,
                                  bool quiet, const SlotHints* hints) {
  frame.readFailed = false;
  if (aborted()) return ScriptValue::int32(0);
  try {
    return readName(frame, name, indexes, hints);
  } catch (ReadFailure& failure) {
    frame.readFailed = true;
    if (quiet) return failure.emptyResult ? ScriptValue() : ScriptValue::int32(0);
    throw ScriptError(std::move(failure.message));
  } catch (const ScriptError&) {
    frame.readFailed = true;
    if (quiet) return ScriptValue::int32(0);
    throw;
  }
}

std::optional<ScriptValue> GlobalStore::TryGetValue(THensuFmt& frame, std::u16string_view name,
                                                    std::span<const ScriptValue> indexes) {
  ScriptValue value = GetValue(frame, name, indexes, true);
  if (frame.readFailed) return std::nullopt;
  return value;
}

ScriptValue GlobalStore::readName(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes,
                                  const SlotHints* hints) {
  const bool globalFrame = isGlobalFrame(frame);
  // The global frame's own variables are read below, under the lock.
  if (!globalFrame) {
    const int slot = hints != nullptr ? frame.locals.find(name, hints->local) : frame.locals.find(name);
    if (slot >= 0) return readSlot(frame.locals.slot(slot), name, indexes);
  }
  if (name == u"TRUE") return ScriptValue::keywordBool(true);
  if (name == u"FALSE") return ScriptValue::keywordBool(false);
  {
    std::lock_guard guard(lock_);
    const int slot = resolveVariableUnlocked(name, frame, hints);
    if (slot >= 0) return readSlot(GlobalScope.locals.slot(slot), name, indexes);
  }
  if (!indexes.empty()) {
    const std::u16string key = hashKey(indexes);
    ScriptValue removed;  // destroyed after the lock is released
    if (!globalFrame) {
      const int table = frame.hashTables.find(name);
      if (table >= 0) return readHash(frame.hashTables.table(table), name, indexes, key, removed);
    }
    std::lock_guard guard(lock_);
    const int table = resolveUnlocked(name, frame, GlobalKind::HashTable);
    if (table >= 0) return readHash(GlobalScope.hashTables.table(table), name, indexes, key, removed);
  }
  if (builtinNames != nullptr) {
    if (auto value = builtinNames->value(name, frame)) return indexValue(*value, name, indexes);
  }
  if (auto value = readFixedName(frame, name)) return indexValue(*value, name, indexes);
  throw ReadFailure{msg::notDefined(name)};
}

std::optional<ScriptValue> GlobalStore::readFixedName(THensuFmt& frame, std::u16string_view name) const {
  if (name == u"NULL") return ScriptValue::null();
  if (name == u"NOTHING") return ScriptValue::nothing();
  if (name == u"EMPTY") return ScriptValue();
  if (name == u"EMPTYPARAM") return ScriptValue::string(kEmptyParamText);
  if (name == u"TRY_ERRMSG") return ScriptValue::string(frame.tryErrorMessage);
  if (name == u"TRY_ERRLINE") return ScriptValue::string(frame.tryErrorLine);
  if (name == u"G_IMG_X") return ScriptValue::int32(frame.imageX);
  if (name == u"G_IMG_Y") return ScriptValue::int32(frame.imageY);
  if (name.starts_with(u"G_TIME_")) {
    if (auto value = timeField(frame.timeStamp, name.substr(7))) return value;
  }
  // Text blocks and constants change only while no script runs: no lock.
  const int block = resolveUnlocked(name, frame, GlobalKind::TextBlock);
  if (block >= 0) return ScriptValue::string(TextBlockTexts[static_cast<size_t>(block)]);
  const int constant = resolveUnlocked(name, frame, GlobalKind::Const);
  if (constant >= 0) return ConstValues[static_cast<size_t>(constant)];
  return std::nullopt;
}

// ---- in-place text edits ----

bool GlobalStore::EditText(THensuFmt& frame, std::u16string_view name, const SlotHints* hints,
                           const std::function<void(std::u16string&)>& edit) {
  if (aborted()) return false;
  auto editSlot = [&](VariableSlot& slot) {
    ScriptValue& value = slot.values[0];
    if (!slot.isScalar() || value.type() != VarType::String) return false;
    if (edit) edit(value.mutableString());
    return true;
  };
  const bool globalFrame = isGlobalFrame(frame);
  if (!globalFrame) {
    const int slot = hints != nullptr ? frame.locals.find(name, hints->local) : frame.locals.find(name);
    if (slot >= 0) return editSlot(frame.locals.slot(slot));
  }
  std::lock_guard guard(lock_);
  const int slot = resolveVariableUnlocked(name, frame, hints);
  return slot >= 0 && editSlot(GlobalScope.locals.slot(slot));
}

// ---- PutValue ----

void GlobalStore::PutValue(THensuFmt& frame, std::u16string_view name, std::span<const ScriptValue> indexes,
                           const ScriptValue& value, PutFlags flags) {
  if (aborted()) return;
  // A counted copy: storing a value into an array it belongs to then copies
  // that array first instead of making it contain itself.
  const ScriptValue stored = value;
  // What a write replaces is destroyed here, after the lock is released: it
  // is declared before every lock guard below.
  ScriptValue displaced;
  std::optional<TUZHash> clearedTable;
  const bool globalFrame = isGlobalFrame(frame);
  const SlotHints* hints = flags.hints;
  if (!globalFrame) {
    const int slot = hints != nullptr ? frame.locals.find(name, hints->local) : frame.locals.find(name);
    if (slot >= 0) return writeSlot(frame.locals.slot(slot), name, indexes, stored, flags, displaced);
  }
  {
    std::lock_guard guard(lock_);
    const int slot = resolveVariableUnlocked(name, frame, hints);
    if (slot >= 0) return writeSlot(GlobalScope.locals.slot(slot), name, indexes, stored, flags, displaced);
  }
  if (!indexes.empty()) {
    const std::u16string key = hashKey(indexes);
    if (!globalFrame) {
      const int table = frame.hashTables.find(name);
      if (table >= 0) return writeHash(frame.hashTables.table(table), name, indexes, key, stored, displaced);
    }
    std::lock_guard guard(lock_);
    const int table = resolveUnlocked(name, frame, GlobalKind::HashTable);
    if (table >= 0) return writeHash(GlobalScope.hashTables.table(table), name, indexes, key, stored, displaced);
  } else if (stored.isDouble() && stored.doublePayload() == kHashRemoveAll) {
    if (!globalFrame) {
      const int table = frame.hashTables.find(name);
      if (table >= 0) return frame.hashTables.table(table).clear();
    }
    std::lock_guard guard(lock_);
    const int table = resolveUnlocked(name, frame, GlobalKind::HashTable);
    if (table >= 0) {
      TUZHash& target = GlobalScope.hashTables.table(table);
      clearedTable.emplace(std::exchange(target, TUZHash::withFlags(target.flags())));
      return;
    }
  }
  // Undeclared. A plain name becomes a new local; a dotted name would be a
  // module member or COM member that does not exist, so it is no new local.
  if (!indexes.empty()) {
    const std::u16string reference =
        flags.referenceText.empty() ? referenceText(name, indexes) : std::u16string(flags.referenceText);
    throw ScriptError(msg::arrayWithoutDeclaration(reference));
  }
  if (flags.noDeclare || name.empty() || name.find(u'.') != std::u16string_view::npos)
    throw ScriptError(msg::notDefined(name));
  std::unique_lock guard(lock_, std::defer_lock);
  if (globalFrame) guard.lock();
  const int slot = frame.locals.declare(name);
  frame.locals.slot(slot).values[0] = stored;
}

// ---- array blocks ----

std::vector<ScriptValue> GlobalStore::CopyArrayBlock(THensuFmt& frame, const ArrayArgument& block) {
  std::vector<ScriptValue> elements;
  if (block.slot < 0) return elements;
  const bool global = block.global || isGlobalFrame(frame);
  std::unique_lock guard(lock_, std::defer_lock);
  if (global) guard.lock();
  VariableTable& table = global ? GlobalScope.locals : frame.locals;
  if (block.slot >= table.count()) return elements;
  const std::vector<ScriptValue>& values = table.slot(block.slot).values;
  if (block.first >= values.size()) return elements;
  const size_t count = std::min(block.count, values.size() - block.first);
  const auto begin = values.begin() + static_cast<std::ptrdiff_t>(block.first);
  elements.assign(begin, begin + static_cast<std::ptrdiff_t>(count));
  return elements;
}

}  // namespace maqo::engine
