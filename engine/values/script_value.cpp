#include "engine/values/script_value.h"

#include <cmath>
#include <new>
#include <stdexcept>

#include "engine/errors/script_error.h"
#include "engine/values/calendar.h"
#include "engine/values/number_text.h"
#include "platform/locale.h"

namespace maqo::engine {
namespace {

std::atomic<platform::Locale*> byteStringLocale{nullptr};

const std::u16string& emptyText() {
  static const std::u16string text;
  return text;
}

[[noreturn]] void throwTypeMismatch() {
  throw ScriptError(u"a type isn't correct. or overflow.", u"型が合っていない or オーバーフロー");
}

[[noreturn]] void throwArrayTooLarge() {
  throw ScriptError(u"Array is too large", u"配列が大きすぎます");
}

void appendTwoDigits(std::u16string& out, int64_t value) {
  out += static_cast<char16_t>(u'0' + value / 10 % 10);
  out += static_cast<char16_t>(u'0' + value % 10);
}

// A date value (days since 1899-12-30, the fraction the time of day whatever
// the sign) as "yyyy/mm/dd hh:nn:ss"; the date alone at midnight, the time
// alone on day 0.
std::u16string formatDate(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return formatDouble(days);
  const double whole = std::trunc(days);
  int64_t ms = std::llround(std::fabs(days - whole) * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  std::u16string out;
  if (whole != 0 || ms == 0) {
    int64_t year, month, day;
    CivilFromDays(static_cast<int64_t>(whole) - 25569, year, month, day);
    out += formatInteger(year);
    out += u'/';
    appendTwoDigits(out, month);
    out += u'/';
    appendTwoDigits(out, day);
  }
  if (ms != 0) {
    if (!out.empty()) out += u' ';
    const int64_t seconds = ms / 1000;
    out += formatInteger(seconds / 3600);
    out += u':';
    appendTwoDigits(out, seconds / 60 % 60);
    out += u':';
    appendTwoDigits(out, seconds % 60);
  }
  return out;
}

std::u16string formatCurrency(int64_t scaled) {
  const bool negative = scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::u16string out = negative ? u"-" : u"";
  out += formatUnsigned(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::u16string digits(4, u'0');
    for (int i = 3; i >= 0; --i, fraction /= 10) digits[static_cast<size_t>(i)] = static_cast<char16_t>(u'0' + fraction % 10);
    while (digits.back() == u'0') digits.pop_back();
    out += u'.';
    out += digits;
  }
  return out;
}

std::u16string decodeBytes(const std::u16string& payload) {
  platform::Locale* locale = byteStringLocale.load(std::memory_order_acquire);
  if (locale == nullptr) return payload;
  std::string bytes(payload.size(), '\0');
  for (size_t i = 0; i < payload.size(); ++i) bytes[i] = static_cast<char>(payload[i] & 0xFF);
  return locale->decodeAnsi(bytes);
}

std::u16string replaceListingBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      out += u"<#CR>";
      ++i;
    } else if (text[i] == u'\t') {
      out += u"<#TAB>";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

// ---- making values ----

ScriptValue ScriptValue::null() { return ScriptValue(VarType::Null); }

ScriptValue ScriptValue::nothing() {
  ScriptValue v(VarType::Object);
  v.object_ = nullptr;
  return v;
}

ScriptValue ScriptValue::number(double value) {
  ScriptValue v(VarType::Double);
  v.double_ = value;
  return v;
}

ScriptValue ScriptValue::single(float value) {
  ScriptValue v(VarType::Single);
  v.single_ = value;
  return v;
}

ScriptValue ScriptValue::integer(VarType kind, int64_t value) {
  ScriptValue v(kind);
  switch (kind) {
    case VarType::Int16: v.integer_ = static_cast<int16_t>(value); break;
    case VarType::Int32: v.integer_ = static_cast<int32_t>(value); break;
    case VarType::Int8: v.integer_ = static_cast<int8_t>(value); break;
    case VarType::UInt8: v.integer_ = static_cast<uint8_t>(value); break;
    case VarType::UInt16: v.integer_ = static_cast<uint16_t>(value); break;
    case VarType::UInt32: v.integer_ = static_cast<uint32_t>(value); break;
    case VarType::UInt64: v.integer_ = value; break;
    default:
      v.type_ = VarType::Int64;
      v.integer_ = value;
      break;
  }
  return v;
}

ScriptValue ScriptValue::currency(int64_t scaled) {
  ScriptValue v(VarType::Currency);
  v.integer_ = scaled;
  return v;
}

ScriptValue ScriptValue::date(double days) {
  ScriptValue v(VarType::Date);
  v.double_ = days;
  return v;
}

ScriptValue ScriptValue::string(std::u16string text, VarType kind) {
  ScriptValue v(kind == VarType::OleString || kind == VarType::ByteString ? kind : VarType::String);
  v.string_ = text.empty() ? nullptr : new detail::StringBox(std::move(text));
  return v;
}

ScriptValue ScriptValue::byteString(std::string_view bytes) {
  std::u16string payload(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) payload[i] = static_cast<unsigned char>(bytes[i]);
  return string(std::move(payload), VarType::ByteString);
}

ScriptValue ScriptValue::error(int32_t code) {
  ScriptValue v(VarType::Error);
  v.integer_ = code;
  return v;
}

ScriptValue ScriptValue::boolean(int16_t payload) {
  ScriptValue v(VarType::Boolean);
  v.integer_ = payload;
  return v;
}

ScriptValue ScriptValue::array(ArrayValue value) {
  ScriptValue v(VarType::Array);
  v.array_ = new detail::ArrayBox(std::move(value));
  return v;
}

ScriptValue ScriptValue::object(std::shared_ptr<ScriptObject> value) {
  if (!value) return nothing();
  ObjectRegistry::instance().enroll(value);
  ScriptValue v(VarType::Object);
  v.object_ = new detail::ObjectBox(std::move(value));
  return v;
}

// ---- what it is ----

bool ScriptValue::isInteger() const {
  switch (type_) {
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Int8:
    case VarType::UInt8:
    case VarType::UInt16:
    case VarType::UInt32:
    case VarType::Int64:
    case VarType::UInt64:
      return true;
    default:
      return false;
  }
}

bool ScriptValue::isNumeric() const {
  return isInteger() || type_ == VarType::Single || type_ == VarType::Double || type_ == VarType::Currency ||
         type_ == VarType::Date;
}

// ---- payloads ----

const std::u16string& ScriptValue::stringRef() const {
  if (!isString() || string_ == nullptr) return emptyText();
  return string_->text;
}

std::u16string& ScriptValue::mutableString() {
  if (!isString()) {
    release();
    type_ = VarType::String;
    integer_ = 0;
  }
  if (string_ == nullptr) {
    string_ = new detail::StringBox(std::u16string());
  } else if (string_->refs.load(std::memory_order_acquire) != 1) {
    auto* copy = new detail::StringBox(string_->text);
    release();
    string_ = copy;
  }
  return string_->text;
}

std::string ScriptValue::bytes() const {
  const std::u16string& payload = stringRef();
  std::string out(payload.size(), '\0');
  for (size_t i = 0; i < payload.size(); ++i) out[i] = static_cast<char>(payload[i] & 0xFF);
  return out;
}

const ArrayValue& ScriptValue::arrayRef() const {
  if (type_ != VarType::Array) throw std::logic_error("ScriptValue::arrayRef on a value that is no array");
  return array_->array;
}

ArrayValue& ScriptValue::mutableArray() {
  if (type_ != VarType::Array) throw std::logic_error("ScriptValue::mutableArray on a value that is no array");
  if (array_->refs.load(std::memory_order_acquire) != 1) {
    auto* copy = new detail::ArrayBox(array_->array);
    release();
    array_ = copy;
  }
  return array_->array;
}

ScriptObject* ScriptValue::objectPointer() const {
  return type_ == VarType::Object && object_ != nullptr ? object_->object.get() : nullptr;
}

std::shared_ptr<ScriptObject> ScriptValue::objectShared() const {
  return type_ == VarType::Object && object_ != nullptr ? object_->object : nullptr;
}

uint64_t ScriptValue::objectId() const {
  const ScriptObject* o = objectPointer();
  return o == nullptr ? 0 : o->objectId();
}

// ---- conversions ----

std::optional<double> ScriptValue::tryToDouble() const {
  switch (type_) {
    case VarType::Empty: return 0.0;
    case VarType::Double:
    case VarType::Date: return double_;
    case VarType::Single: return static_cast<double>(single_);
    case VarType::UInt64: return static_cast<double>(static_cast<uint64_t>(integer_));
    case VarType::Currency: return static_cast<double>(integer_) / 10000.0;
    case VarType::Boolean: return static_cast<double>(static_cast<int16_t>(integer_));
    case VarType::String:
    case VarType::OleString: return parseNumberText(stringRef());
    case VarType::ByteString: return parseNumberText(decodeBytes(stringRef()));
    default:
      if (isInteger()) return static_cast<double>(integer_);
      return std::nullopt;
  }
}

double ScriptValue::toDouble() const {
  const auto value = tryToDouble();
  if (!value) throwTypeMismatch();
  return *value;
}

bool ScriptValue::isTrue() const {
  switch (type_) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Array: return false;
    case VarType::Object: return object_ != nullptr;
    case VarType::Double:
    case VarType::Date: return double_ != 0;
    case VarType::Single: return single_ != 0;
    case VarType::String:
    case VarType::OleString: return stringRef() != u"0";
    case VarType::ByteString: return decodeBytes(stringRef()) != u"0";
    default: return integer_ != 0;  // integers, boolean, currency, error
  }
}

std::optional<std::u16string> ScriptValue::tryToText() const {
  switch (type_) {
    case VarType::Empty:
    case VarType::Null: return std::u16string();
    case VarType::Double: return formatDouble(double_);
    case VarType::Single: return formatSingle(single_);
    case VarType::Date: return formatDate(double_);
    case VarType::Currency: return formatCurrency(integer_);
    case VarType::UInt64: return formatUnsigned(static_cast<uint64_t>(integer_));
    case VarType::Boolean: return std::u16string(integer_ != 0 ? u"True" : u"False");
    case VarType::Error: return std::u16string(u"ERROR");
    case VarType::String:
    case VarType::OleString: return stringRef();
    case VarType::ByteString: return decodeBytes(stringRef());
    case VarType::Array:
    case VarType::Object: return std::nullopt;
    default: return formatInteger(integer_);
  }
}

std::u16string ScriptValue::toText() const {
  auto text = tryToText();
  if (!text) throwTypeMismatch();
  return std::move(*text);
}

std::u16string ScriptValue::toDisplayText() const {
  switch (type_) {
    case VarType::Object: return object_ == nullptr ? u"NOTHING" : formatUnsigned(objectId());
    case VarType::Null: return u"NULL";
    default: return toText();
  }
}

std::u16string ScriptValue::toListingText() const {
  constexpr size_t kListingCut = 1024;
  if (!isString()) return replaceListingBreaks(toDisplayText());
  std::u16string text = toText();
  if (text.size() > kListingCut) {
    text.resize(kListingCut);
    text += u"...";
  }
  return replaceListingBreaks(text);
}

std::u16string ScriptValue::toArgumentText() const {
  switch (type_) {
    case VarType::Boolean: return formatInteger(static_cast<int16_t>(integer_));
    case VarType::Null: return std::u16string();
    case VarType::Object: return formatUnsigned(objectId());
    default: return toText();
  }
}

bool ScriptValue::sameTypeAndValue(const ScriptValue& other) const {
  if (type_ != other.type_) return false;
  switch (type_) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::Double:
    case VarType::Date: return double_ == other.double_;
    case VarType::Single: return single_ == other.single_;
    case VarType::String:
    case VarType::OleString:
    case VarType::ByteString: return stringRef() == other.stringRef();
    case VarType::Array: return array_ == other.array_ || array_->array == other.array_->array;
    case VarType::Object: return objectPointer() == other.objectPointer();
    default: return integer_ == other.integer_;
  }
}

void ScriptValue::setByteStringLocale(platform::Locale* locale) {
  byteStringLocale.store(locale, std::memory_order_release);
}

// ---- ArrayValue ----

ArrayValue::ArrayValue(std::vector<ArrayBound> bounds) : bounds_(std::move(bounds)) {
  if (bounds_.empty() || bounds_.size() > kMaxDimensions) throwArrayTooLarge();
  int64_t count = 1;
  for (const ArrayBound& b : bounds_) {
    // Unsigned differences: bounds anywhere in the 64-bit range must not overflow.
    int64_t length = 0;
    if (b.upper >= b.lower) {
      const uint64_t span = static_cast<uint64_t>(b.upper) - static_cast<uint64_t>(b.lower);
      if (span >= static_cast<uint64_t>(kMaxElements)) throwArrayTooLarge();
      length = static_cast<int64_t>(span) + 1;
    } else if (b.lower == INT64_MIN || b.upper != b.lower - 1) {
      throwArrayTooLarge();
    }
    if (length != 0 && count > kMaxElements / length) throwArrayTooLarge();
    count *= length;
  }
  if (count > kMaxElements) throwArrayTooLarge();
  try {
    elements_.resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    throwArrayTooLarge();
  } catch (const std::length_error&) {
    throwArrayTooLarge();
  }
}

ArrayValue ArrayValue::fromList(std::vector<ScriptValue> elements) {
  ArrayValue a;
  a.bounds_[0].upper = static_cast<int64_t>(elements.size()) - 1;
  a.elements_ = std::move(elements);
  return a;
}

std::optional<size_t> ArrayValue::flatIndex(std::span<const int64_t> indexes) const {
  if (indexes.size() != bounds_.size()) return std::nullopt;
  size_t position = 0;
  for (size_t d = 0; d < bounds_.size(); ++d) {
    const ArrayBound& b = bounds_[d];
    if (indexes[d] < b.lower || indexes[d] > b.upper) return std::nullopt;
    position = position * static_cast<size_t>(b.length()) + static_cast<size_t>(indexes[d] - b.lower);
  }
  return position;
}

void ArrayValue::append(ScriptValue value) {
  if (bounds_.size() != 1) throw std::logic_error("ArrayValue::append on a multi-dimensional array");
  elements_.push_back(std::move(value));
  ++bounds_[0].upper;
}

bool ArrayValue::operator==(const ArrayValue& other) const {
  if (bounds_ != other.bounds_) return false;
  for (size_t i = 0; i < elements_.size(); ++i)
    if (!elements_[i].sameTypeAndValue(other.elements_[i])) return false;
  return true;
}

}  // namespace maqo::engine
