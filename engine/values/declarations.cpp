// GlobalStore: declarations, reserved words, result arrays and array arguments.
#include <unordered_set>

#include "engine/eval/text_helpers.h"
#include "engine/values/global_store.h"
#include "engine/values/reference_text.h"
#include "engine/values/slot_access.h"
#include "engine/values/value_messages.h"

namespace maqo::engine {
namespace {

namespace msg = value_messages;

// The member name of a possibly module-qualified name (M.X gives X).
std::u16string_view leafName(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? name : name.substr(dot + 1);
}

bool hasInvalidNameCharacter(std::u16string_view name) {
  return name.find_first_of(u" ,+-*/=<>()!?") != std::u16string_view::npos;
}

const std::unordered_set<std::u16string>& reservedNames() {
  static const std::unordered_set<std::u16string> names = {
      u"COM_ERR_FLG", u"G_IMG_X",     u"G_IMG_Y",     u"AND",         u"OR",         u"XOR",
      u"MOD",         u"NULL",        u"NOTHING",     u"EMPTY",       u"TRUE",       u"FALSE",
      u"RESULT",      u"TRY_ERRMSG",  u"TRY_ERRLINE", u"EMPTYPARAM",  u"G_TIME_YY",  u"G_TIME_MM",
      u"G_TIME_DD",   u"G_TIME_HH",   u"G_TIME_NN",   u"G_TIME_SS",   u"G_TIME_ZZ",  u"G_TIME_WW",
      u"G_TIME_YY4",  u"G_TIME_YY2",  u"G_TIME_MM2",  u"G_TIME_DD2",  u"G_TIME_HH2", u"G_TIME_NN2",
      u"G_TIME_SS2",  u"G_TIME_ZZ2",
  };
  return names;
}

// The frame's lock when it is the shared global frame.
std::unique_lock<std::mutex> lockFor(std::mutex& lock, bool globalFrame) {
  std::unique_lock<std::mutex> guard(lock, std::defer_lock);
  if (globalFrame) guard.lock();
  return guard;
}

}  // namespace

ScriptValue GlobalStore::evaluateText(std::u16string_view expression, THensuFmt& frame) {
  if (!evaluate)
    throw ScriptError(msg::cat(u"The expression evaluator is not connected: ", expression), {});
  return evaluate(expression, frame);
}

bool GlobalStore::evaluateBound(std::u16string_view text, THensuFmt& frame, int64_t& bound) {
  bound = 0;
  if (text.empty()) return true;  // an empty index counts as 0
  try {
    const auto value = indexToInteger(evaluateText(text, frame));
    if (!value || *value < -1) return false;
    bound = *value;
    return true;
  } catch (const ScriptError&) {
    return false;
  }
}

// ---- reserved words ----

std::optional<Message> GlobalStore::ReservedWordError(std::u16string_view name) const {
  const std::u16string folded = foldText(name);
  if (reservedNames().count(folded) != 0 || (builtinNames != nullptr && builtinNames->isReserved(folded)))
    return msg::reservedWord(name);
  return std::nullopt;
}

// ---- locals ----

int GlobalStore::DeclareLocal(THensuFmt& frame, std::u16string_view name, std::span<const int64_t> upperBounds) {
  auto guard = lockFor(lock_, isGlobalFrame(frame));
  return frame.locals.declare(name, upperBounds);
}

int GlobalStore::DeclareLocal(THensuFmt& frame, std::u16string_view reference) {
  const ReferenceParts parts = splitReference(TrimView(reference));
  std::vector<int64_t> bounds;
  if (parts.indexed) {
    for (const std::u16string& text : parts.indexTexts) {
      int64_t bound = 0;
      if (!evaluateBound(text, frame, bound)) throw ScriptError(msg::wrongArrayIndex(reference));
      bounds.push_back(bound);
    }
  }
  auto guard = lockFor(lock_, isGlobalFrame(frame));
  return frame.locals.declare(TrimView(parts.name), bounds, reference);
}

std::optional<Message> GlobalStore::SplitInitialValues(std::u16string& rest, bool indexed,
                                                       std::vector<std::u16string>& valueTexts) {
  if (indexed) {
    // An array's values run to the end of the list; "1, 2," ends with an Empty.
    if (TrimView(rest).empty()) return msg::syntaxError(7);
    while (!rest.empty()) {
      const SplitPiece value = SplitOffWithDelimiter(rest, u",");
      valueTexts.push_back(Trim(value.text));
      if (!value.delimiter.empty() && rest.empty()) valueTexts.emplace_back();
    }
  } else {
    const SplitPiece value = SplitOffWithDelimiter(rest, u",");
    if (TrimView(value.text).empty()) return msg::syntaxError(7);
    valueTexts.push_back(Trim(value.text));
  }
  return std::nullopt;
}

std::optional<Message> GlobalStore::DeclaredBounds(const ReferenceParts& parts, size_t valueCount,
                                                   std::u16string_view item, THensuFmt& frame,
                                                   std::vector<int64_t>& bounds) {
  if (!parts.indexed) return std::nullopt;
  if (parts.indexTexts.size() == 1 && parts.indexTexts[0].empty()) {
    bounds.push_back(valueCount == 0 ? 0 : static_cast<int64_t>(valueCount) - 1);
    return std::nullopt;
  }
  for (const std::u16string& text : parts.indexTexts) {
    int64_t bound = 0;
    if (!evaluateBound(text, frame, bound)) return msg::wrongArrayIndex(item);
    bounds.push_back(bound);
  }
  return std::nullopt;
}

// ---- globals ----

std::optional<Message> GlobalStore::DeclareGlobals(std::u16string_view declaration, bool moduleLevel, bool isPrivate,
                                                   bool optionPublic) {
  std::u16string rest(declaration);
  while (!TrimView(rest).empty()) {
    if (auto error = declareGlobalItem(rest, moduleLevel, isPrivate, optionPublic)) return error;
  }
  return std::nullopt;
}

std::optional<Message> GlobalStore::declareGlobalItem(std::u16string& rest, bool moduleLevel, bool isPrivate,
                                                      bool optionPublic) {
  const SplitPiece piece = SplitOffWithDelimiter(rest, u",=");
  const std::u16string item = Trim(piece.text);
  const bool initialised = piece.delimiter == u"=";
  if (item.empty()) {
    if (initialised) return msg::wrongVariableName(item);
    return std::nullopt;  // an empty item between commas
  }

  ReferenceParts parts;
  try {
    parts = splitReference(item);
  } catch (const ScriptError&) {
    return msg::wrongArrayIndex(item);
  }
  const std::u16string name = Trim(parts.name);
  if (name.empty()) return msg::wrongVariableName(item);
  if (auto reserved = ReservedWordError(leafName(name))) return reserved;
  if (ConstNames.contains(name) || TextBlockNames.contains(name)) return msg::alreadyDefinedVariable(name);
  {
    std::lock_guard guard(lock_);
    if (GlobalScope.hashTables.find(name) >= 0) return msg::alreadyDefinedVariable(name);
  }

  std::vector<std::u16string> valueTexts;
  if (initialised)
    if (auto error = SplitInitialValues(rest, parts.indexed, valueTexts)) return error;
  std::vector<int64_t> bounds;
  if (auto error = DeclaredBounds(parts, valueTexts.size(), item, GlobalScope, bounds)) return error;

  int slot = -1;
  {
    std::lock_guard guard(lock_);
    slot = GlobalScope.locals.find(name);
    if (slot >= 0) {
      if (moduleLevel) return msg::alreadyDefinedVariable(name);
      if (optionPublic) return msg::alreadyDefinedGlobal(name);
      if (GlobalScope.locals.slot(slot).upperBounds != bounds) return msg::alreadyDefinedGlobalDimensions(name);
    } else {
      if (hasInvalidNameCharacter(name)) return msg::wrongVariableName(item);
      try {
        slot = GlobalScope.locals.declare(name, bounds, item);
      } catch (const ScriptError& error) {
        return error.message();
      }
      GlobalVariablePrivate.resize(static_cast<size_t>(GlobalScope.locals.count()), false);
      GlobalVariablePrivate[static_cast<size_t>(slot)] = isPrivate;
    }
  }

  // Values are evaluated without the lock (they may call functions), then
  // stored by position under it.
  for (size_t position = 0; position < valueTexts.size(); ++position) {
    ScriptValue value;
    try {
      if (!valueTexts[position].empty()) value = evaluateText(valueTexts[position], GlobalScope);
    } catch (const ScriptError& error) {
      return error.message();
    }
    std::lock_guard guard(lock_);
    std::vector<ScriptValue>& values = GlobalScope.locals.slot(slot).values;
    if (position >= values.size()) return msg::initialiserExceeded();
    values[position] = std::move(value);
  }
  return std::nullopt;
}

// ---- constants and text blocks ----

std::optional<Message> GlobalStore::DeclareConst(std::u16string_view definition) {
  const size_t equals = definition.find(u'=');
  if (equals == std::u16string_view::npos) return msg::syntaxError(1);
  const std::u16string name = Trim(definition.substr(0, equals));
  const std::u16string expression = Trim(definition.substr(equals + 1));
  if (name.empty() || expression.empty()) return msg::syntaxError(1);
  // Name checks come before the evaluation, which may have effects.
  if (auto error = constNameError(name)) return error;
  ScriptValue value;
  try {
    value = evaluateText(expression, GlobalScope);
  } catch (const ScriptError& error) {
    return error.message();
  }
  return DeclareConst(name, value);
}

std::optional<Message> GlobalStore::constNameError(std::u16string_view name) const {
  {
    std::lock_guard guard(lock_);
    if (GlobalScope.locals.find(name) >= 0 || GlobalScope.hashTables.find(name) >= 0)
      return msg::alreadyDefinedName(name);
  }
  if (TextBlockNames.contains(name)) return msg::alreadyDefinedName(name);
  return ReservedWordError(leafName(name));
}

std::optional<Message> GlobalStore::DeclareConst(std::u16string_view name, const ScriptValue& value) {
  if (auto error = constNameError(name)) return error;
  const int existing = ConstNames.indexOf(name);
  if (existing >= 0) {
    if (ConstValues[static_cast<size_t>(existing)].sameTypeAndValue(value)) return std::nullopt;
    return msg::multiplexDefinition(name);
  }
  ConstNames.add(name);
  ConstValues.push_back(value);
  return std::nullopt;
}

std::optional<Message> GlobalStore::DeclareTextBlockName(std::u16string_view name) {
  bool taken = ConstNames.contains(name) || TextBlockNames.contains(name);
  {
    std::lock_guard guard(lock_);
    taken = taken || GlobalScope.locals.find(name) >= 0 || GlobalScope.hashTables.find(name) >= 0;
  }
  if (taken) return msg::alreadyDefinedName(name);
  if (auto reserved = ReservedWordError(leafName(name))) return reserved;
  TextBlockNames.add(name);
  TextBlockTexts.emplace_back();
  return std::nullopt;
}

// ---- hash tables ----

int GlobalStore::DeclareHashTables(std::u16string_view declaration, THensuFmt& frame, bool isPrivate) {
  std::u16string rest(declaration);
  int last = -1;
  while (!TrimView(rest).empty()) {
    const std::u16string item = Trim(SplitOff(rest, u","));
    if (item.empty()) continue;
    const size_t equals = item.find(u'=');
    const std::u16string name = Trim(std::u16string_view(item).substr(0, equals));
    int flags = 0;
    if (equals != std::u16string::npos) {
      const std::u16string expression = Trim(std::u16string_view(item).substr(equals + 1));
      const auto value = indexToInteger(evaluateText(expression, frame));
      if (!value || (*value & ~int64_t{kHashCaseCare | kHashSort}) != 0)
        throw ScriptError(msg::specifiedWrong(expression));
      flags = static_cast<int>(*value);
    }
    last = DeclareHashTable(frame, name, flags, isPrivate);
  }
  return last;
}

int GlobalStore::DeclareHashTable(THensuFmt& frame, std::u16string_view name, int flags, bool isPrivate) {
  const bool globalFrame = isGlobalFrame(frame);
  auto guard = lockFor(lock_, globalFrame);
  const bool existed = frame.hashTables.find(name) >= 0;
  const int slot = frame.hashTables.declare(name, flags);
  if (globalFrame && !existed) {
    GlobalHashPrivate.resize(static_cast<size_t>(frame.hashTables.count()), false);
    GlobalHashPrivate[static_cast<size_t>(slot)] = isPrivate;
  }
  return slot;
}

// ---- result arrays ----

int GlobalStore::ResultArray(THensuFmt& frame, std::u16string_view name) {
  std::u16string used(name);
  if (frame.collecting) used += u"_TMP";
  frame.resultArrayName = used;
  static constexpr int64_t kEmpty[] = {-1};
  auto guard = lockFor(lock_, isGlobalFrame(frame));
  frame.locals.declare(used, kEmpty);
  return 0;
}

int GlobalStore::ResultArray(THensuFmt& frame, std::u16string_view name, ScriptValue append) {
  std::u16string used(name);
  if (frame.collecting) used += u"_TMP";
  frame.resultArrayName = used;
  static constexpr int64_t kEmpty[] = {-1};
  auto guard = lockFor(lock_, isGlobalFrame(frame));
  int slot = frame.locals.find(used);
  if (slot < 0 || frame.locals.slot(slot).dimensions() != 1) slot = frame.locals.declare(used, kEmpty);
  VariableSlot& array = frame.locals.slot(slot);
  if (static_cast<int64_t>(array.values.size()) >= ArrayValue::kMaxElements)
    throw ScriptError(msg::arrayTooLarge(used));
  array.values.push_back(std::move(append));
  array.upperBounds[0] = static_cast<int64_t>(array.values.size()) - 1;
  return static_cast<int>(array.values.size());
}

// ---- array arguments ----

ArrayArgument GlobalStore::ResolveArrayArgument(std::u16string_view reference, THensuFmt& frame, bool quiet) {
  const std::u16string_view trimmed = TrimView(reference);
  const ReferenceParts parts = splitReference(trimmed);
  std::vector<ScriptValue> indexes;
  for (const std::u16string& text : parts.indexTexts)
    indexes.push_back(text.empty() ? ScriptValue() : evaluateText(text, frame));
  return ResolveArrayArgument(frame, Trim(parts.name), indexes, quiet, trimmed);
}

ArrayArgument GlobalStore::ResolveArrayArgument(THensuFmt& frame, std::u16string_view name,
                                                std::span<const ScriptValue> indexes, bool quiet,
                                                std::u16string_view referenceText) {
  ArrayArgument result;
  auto examine = [&](const VariableSlot& slot, int number) {
    const size_t n = indexes.size();
    const size_t k = slot.dimensions();
    if (k == 0 || n >= k) return;
    if (slot.values.size() == 1 && slot.values[0].isArray() && slot.values[0].arrayRef().dimensions() > 1) return;
    slot_access::IntegerIndexes idx;
    std::u16string bad;
    if (!slot_access::convert(indexes, idx, bad))
      throw ScriptError(msg::getValueFailure(msg::cat(u"Index is not a number: ", bad)));
    const auto position = slot_access::leadingPosition(slot, idx.data(), n);
    if (!position) throw ScriptError(msg::exceededArray(name));
    result.slot = number;
    result.first = *position;
    result.count = slot_access::blockSize(slot, n);
  };

  const bool dotted = name.find(u'.') != std::u16string_view::npos;
  if (!dotted) {
    const bool globalFrame = isGlobalFrame(frame);
    if (!globalFrame) {
      const int number = frame.locals.find(name);
      if (number >= 0) {
        examine(frame.locals.slot(number), number);
        return result;
      }
    }
    std::lock_guard guard(lock_);
    const int number = resolveUnlocked(name, frame, GlobalKind::Variable);
    if (number >= 0) {
      result.global = true;
      examine(GlobalScope.locals.slot(number), number);
      return result;
    }
  }
  if (quiet) return result;
  const std::u16string reference =
      referenceText.empty() ? engine::referenceText(name, indexes) : std::u16string(referenceText);
  throw ScriptError(msg::arrayArgumentNotDefined(reference), /*catchable=*/false);
}

}  // namespace maqo::engine
