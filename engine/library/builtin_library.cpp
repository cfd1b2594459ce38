#include "engine/library/builtin_library.h"

#include <stdexcept>

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

namespace {

bool isUpperAscii(std::u16string_view name) {
  for (char16_t c : name)
    if (c >= u'a' && c <= u'z') return false;
  return true;
}

int slotOf(int position) { return position >= 4 ? 3 : position - 1; }

}  // namespace

// ---- the argument shape ----

bool IsRawPosition(const BuiltinEntry& entry, int position) {
  return position >= 1 && entry.raw[slotOf(position)] == 'r';
}

TextRule TextRuleAt(const BuiltinEntry& entry, int position) {
  if (position < 1) return TextRule::NumberOnly;
  switch (entry.rules[slotOf(position)]) {
    case 't':
      return TextRule::AnyText;
    case 'e':
      return TextRule::EmptyText;
    default:
      return TextRule::NumberOnly;
  }
}

bool ReadsOneCharacterAsVirtualKey(const BuiltinEntry& entry, int position) {
  return position >= 2 && entry.name == u"SCKEY";
}

std::u16string_view StripGlobalPrefix(std::u16string_view name) {
  constexpr std::u16string_view prefix = u"GLOBAL.";
  if (name.size() <= prefix.size()) return name;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = name[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != prefix[i]) return name;
  }
  return name.substr(prefix.size());
}

// ---- registration ----

void BuiltinLibrary::addBuiltins(std::span<const BuiltinEntry> table, BuiltinDispatcher dispatch) {
  for (const BuiltinEntry& entry : table) {
    if (byName_.count(entry.name) != 0) continue;
    BuiltinEntry& added = entries_.emplace_back(entry);
    added.dispatch = dispatch;
    added.library = this;
    byName_.emplace(added.name, &added);
  }
}

bool BuiltinLibrary::implement(std::u16string_view name, BuiltinFunction function) {
  BuiltinEntry* entry = findMutable(name);
  if (entry == nullptr) return false;
  entry->function = function;
  return true;
}

bool BuiltinLibrary::implementMath(std::u16string_view name, MathFunction function) {
  BuiltinEntry* entry = findMutable(name);
  if (entry == nullptr) return false;
  entry->math = function;
  return true;
}

void BuiltinLibrary::addBeforeErrorShownHook(RunHook hook) {
  if (hook) errorShownHooks_.push_back(std::move(hook));
}

void BuiltinLibrary::addMessagePauseHook(std::function<void()> hook) {
  if (hook) pauseHooks_.push_back(std::move(hook));
}

void BuiltinLibrary::addRunHooks(RunHook beginRun, RunHook endRun) {
  if (beginRun) beginHooks_.push_back(std::move(beginRun));
  if (endRun) endHooks_.push_back(std::move(endRun));
}

// ---- use ----

BuiltinEntry* BuiltinLibrary::findMutable(std::u16string_view name) const {
  name = StripGlobalPrefix(TrimView(name));
  auto it = isUpperAscii(name) ? byName_.find(name) : byName_.find(UpperCase(name));
  return it == byName_.end() ? nullptr : it->second;
}

const BuiltinEntry* BuiltinLibrary::find(std::u16string_view name) const { return findMutable(name); }

const BuiltinEntry* BuiltinLibrary::find(const CallSite& call) const {
  const BuiltinEntry* hinted = call.builtin.entry.load(std::memory_order_relaxed);
  if (hinted != nullptr && hinted->library == this) return hinted;
  std::u16string_view name = call.name;
  if (name.substr(0, 7) == u"GLOBAL.") name.remove_prefix(7);
  const BuiltinEntry* found = findMutable(name);
  if (found != nullptr) call.builtin.entry.store(found, std::memory_order_relaxed);
  return found;
}

ScriptValue BuiltinLibrary::call(const CallSite& site, BuiltinHost& host) const {
  const BuiltinEntry* entry = find(site.name);
  if (entry == nullptr) throw std::invalid_argument("BuiltinLibrary::call: not a builtin name");
  return call(*entry, site, host);
}

void BuiltinLibrary::beginRun(RunHookContext& run) const {
  for (const RunHook& hook : beginHooks_) hook(run);
}

void BuiltinLibrary::endRun(RunHookContext& run) const {
  for (const RunHook& hook : endHooks_) hook(run);
}

void BuiltinLibrary::beforeErrorShown(RunHookContext& run) const {
  for (const RunHook& hook : errorShownHooks_) hook(run);
}

void BuiltinLibrary::afterMessagePause() const {
  for (const auto& hook : pauseHooks_) hook();
}

std::unique_ptr<BuiltinNameSource> BuiltinLibrary::makeNameSource(const NameSourceContext& context) const {
  return nameSource_ ? nameSource_(context) : nullptr;
}

}  // namespace maqo::engine
