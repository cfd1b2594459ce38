#include "builtins/array_argument.h"

#include <algorithm>

#include "builtins/builtin_messages.h"
#include "engine/values/reference_text.h"
#include "engine/values/value_messages.h"

namespace maqo::builtins {

using engine::ScriptValue;

namespace {

bool isNameCharacter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'.' ||
         c >= 0x80;
}

}  // namespace

bool IsPlainReference(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && isNameCharacter(text[i])) ++i;
  if (i == 0 || (text[0] >= u'0' && text[0] <= u'9')) return false;
  if (i == text.size()) return true;
  if (text[i] != u'[' || text.back() != u']') return false;
  // The index lists must close where the text ends.
  int depth = 0;
  bool quoted = false;
  for (size_t k = i; k < text.size(); ++k) {
    const char16_t c = text[k];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'[' || c == u'(') ++depth;
    if (c == u']' || c == u')') {
      if (--depth < 0) return false;
      if (depth == 0 && k + 1 < text.size() && text[k + 1] != u'[') return false;
    }
  }
  return depth == 0 && !quoted;
}

EvaluatedReference EvaluateReference(BuiltinHost& host, std::u16string_view text) {
  const engine::ReferenceParts parts = engine::splitReference(text);
  EvaluatedReference out;
  out.name = parts.name;
  out.indexed = parts.indexed;
  for (const auto& index : parts.indexTexts) out.indexes.push_back(host.evaluateText(index));
  return out;
}

ScriptValue ReadVariable(BuiltinHost& host, std::u16string_view text) {
  const EvaluatedReference ref = EvaluateReference(host, text);
  return host.globals().GetValue(host.frame(), ref.name, ref.indexes);
}

void WriteVariable(BuiltinHost& host, std::u16string_view text, const ScriptValue& value) {
  const EvaluatedReference ref = EvaluateReference(host, text);
  engine::PutFlags flags;
  flags.referenceText = text;
  host.globals().PutValue(host.frame(), ref.name, ref.indexes, value, flags);
}

std::optional<DeclaredVariable> FindDeclaredVariable(BuiltinHost& host, std::u16string_view name) {
  engine::THensuFmt& frame = host.frame();
  engine::GlobalStore& store = host.globals();
  const bool frameIsGlobal = &frame == &store.GlobalScope;
  if (!frameIsGlobal) {
    const int local = frame.locals.find(name);
    if (local >= 0) return DeclaredVariable{local, false};
  }
  const int global = store.ResolveGlobal(name, frame, engine::GlobalKind::Variable);
  if (global >= 0) return DeclaredVariable{global, true};
  return std::nullopt;
}

ArrayArgumentAccess ArrayArgumentAccess::Resolve(BuiltinHost& host, std::u16string_view text, MissingName missing) {
  ArrayArgumentAccess access(host);
  access.text_ = std::u16string(text);
  engine::GlobalStore& store = host.globals();
  access.declared_ = store.ResolveArrayArgument(text, host.frame(), missing == MissingName::Evaluate);
  if (access.declared_.slot >= 0) {
    access.first_ = access.declared_.first;
    access.count_ = access.declared_.count;
    return access;
  }

  if (IsPlainReference(text)) {
    access.target_ = EvaluateReference(host, text);
    access.writable_ = true;
    if (access.target_.indexes.size() == 1) {
      // NAME[r] of a variable holding a two-dimensional array value is row r.
      const std::optional<ScriptValue> base = store.TryGetValue(host.frame(), access.target_.name);
      if (base && base->isArray() && base->arrayRef().dimensions() == 2) {
        const engine::ArrayValue& array = base->arrayRef();
        const std::optional<int64_t> row = engine::indexToInteger(access.target_.indexes[0]);
        if (!row || *row < array.bound(0).lower || *row > array.bound(0).upper)
          throw engine::ScriptError(engine::value_messages::exceededArray(access.target_.name));
        access.holder_ = *base;
        access.count_ = static_cast<size_t>(array.bound(1).length());
        access.first_ = static_cast<size_t>(*row - array.bound(0).lower) * access.count_;
        access.firstIndex_ = array.bound(1).lower;
        access.target_.indexes.clear();
        access.target_.indexed = false;
        return access;
      }
    }
    access.holder_ = store.GetValue(host.frame(), access.target_.name, access.target_.indexes);
  } else {
    access.holder_ = host.evaluateText(text);
  }

  if (access.holder_.isArray()) {
    const engine::ArrayValue& array = access.holder_.arrayRef();
    access.count_ = array.size();
    access.firstIndex_ = array.bound(0).lower;
    access.wholeMultiDimensional_ = array.dimensions() > 1;
  }
  return access;
}

std::vector<ScriptValue> ArrayArgumentAccess::read() const {
  // Another thread may have resized the array since it was resolved: copy
  // only what it still holds.
  if (isDeclared()) return host_->globals().CopyArrayBlock(host_->frame(), declared_);
  if (!holder_.isArray()) return {};
  const auto& elements = holder_.arrayRef().elements();
  const auto begin = elements.begin() + static_cast<ptrdiff_t>(first_);
  return std::vector<ScriptValue>(begin, begin + static_cast<ptrdiff_t>(count_));
}

void ArrayArgumentAccess::write(std::vector<ScriptValue> elements) {
  const size_t n = std::min(elements.size(), count_);
  if (isDeclared()) {
    WithSlot(*host_, declared_.slot, declared_.global, [&](engine::VariableSlot& slot) {
      // The slot may have changed between reading and writing; stay inside it.
      const size_t limit = slot.values.size() > first_ ? std::min(n, slot.values.size() - first_) : 0;
      for (size_t i = 0; i < limit; ++i) slot.values[first_ + i] = std::move(elements[i]);
    });
    return;
  }
  if (!holder_.isArray()) return;
  engine::ArrayValue& array = holder_.mutableArray();
  for (size_t i = 0; i < n; ++i) array.at(first_ + i) = std::move(elements[i]);
  if (!writable_) return;
  engine::PutFlags flags;
  flags.referenceText = text_;
  host_->globals().PutValue(host_->frame(), target_.name, target_.indexes, holder_, flags);
}

void ArrayArgumentAccess::requireOneDimension(std::u16string_view builtin) const {
  if (!wholeMultiDimensional_) return;
  const engine::Message m = engine::value_messages::dimensionMismatch(text_);
  throw messages::callFailure(messages::cat(builtin, u": ", m.english), messages::cat(builtin, u": ", m.japanese));
}

}  // namespace maqo::builtins
