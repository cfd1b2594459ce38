// ScriptValue: every value a script handles. A tagged union with the type
// codes of an OLE VARIANT. Strings, arrays and object references live in
// shared, reference-counted boxes that are copied only when a shared box is
// about to change (copy-on-write), so assigning or passing a value costs a
// counter increment and a loop allocates nothing it does not keep.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/values/script_object.h"

namespace maqo::platform {
class Locale;
}

namespace maqo::engine {

// The type codes in use.
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Int16 = 2,
  Int32 = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  OleString = 8,
  Object = 9,  // with no object: NOTHING
  Error = 10,
  Boolean = 11,
  Int8 = 16,
  UInt8 = 17,
  UInt16 = 18,
  UInt32 = 19,
  Int64 = 20,
  UInt64 = 21,
  ByteString = 256,
  String = 258,      // native UTF-16 string: literals and string operations
  Array = 8204,      // array flag 8192 + 12 (elements are ScriptValues)
};

inline constexpr uint16_t kArrayFlag = 8192;

// The texts that stand for special values where values are compared as text.
inline constexpr std::u16string_view kEmptyMarker = u"\u0001__EMPTY__";
inline constexpr std::u16string_view kNullMarker = u"\u0001__NULL__";
inline constexpr std::u16string_view kNothingMarker = u"\u0001__NOTHING__";
// The value of the name EMPTYPARAM (an omitted COM argument).
inline constexpr std::u16string_view kEmptyParamText = u"__EMPTYPARAM__";

class ArrayValue;

namespace detail {
struct Box {
  std::atomic<uint32_t> refs{1};
};
struct StringBox : Box {
  explicit StringBox(std::u16string t) : text(std::move(t)) {}
  std::u16string text;
};
struct ObjectBox : Box {
  explicit ObjectBox(std::shared_ptr<ScriptObject> o) : object(std::move(o)) {}
  std::shared_ptr<ScriptObject> object;
};
struct ArrayBox;
}  // namespace detail

class ScriptValue {
 public:
  // Empty.
  ScriptValue() noexcept : type_(VarType::Empty), integer_(0) {}
  ScriptValue(const ScriptValue& other) noexcept;
  ScriptValue(ScriptValue&& other) noexcept;
  ScriptValue& operator=(const ScriptValue& other) noexcept;
  ScriptValue& operator=(ScriptValue&& other) noexcept;
  ~ScriptValue() { release(); }

  // ---- making values ----
  static ScriptValue empty() { return ScriptValue(); }
  static ScriptValue null();
  // An object reference without object.
  static ScriptValue nothing();
  // A double (code 5): numeric literals and arithmetic results.
  static ScriptValue number(double value);
  static ScriptValue single(float value);
  // An integer kind (Int16, Int32, Int8, UInt8, UInt16, UInt32, Int64, UInt64);
  // the value is wrapped to the kind's width. Any other kind gives Int64.
  static ScriptValue integer(VarType kind, int64_t value);
  static ScriptValue int32(int32_t value) { return integer(VarType::Int32, value); }
  // Currency as its scaled integer (value times 10000).
  static ScriptValue currency(int64_t scaled);
  // A date as days since 1899-12-30 (fraction: time of day).
  static ScriptValue date(double days);
  // A string; kind is String (258, the default) or OleString (8).
  static ScriptValue string(std::u16string text, VarType kind = VarType::String);
  static ScriptValue string(std::u16string_view text) { return string(std::u16string(text)); }
  static ScriptValue string(const char16_t* text) { return string(std::u16string(text)); }
  // An 8-bit string (code 256); each code unit of its payload is one byte.
  static ScriptValue byteString(std::string_view bytes);
  static ScriptValue error(int32_t code);
  // A boolean with a raw payload; keywordBool gives 1/0 (TRUE, FALSE and
  // comparison results), builtinBool gives -1/0 (yes/no answers of builtins).
  static ScriptValue boolean(int16_t payload);
  static ScriptValue keywordBool(bool value) { return boolean(value ? 1 : 0); }
  static ScriptValue builtinBool(bool value) { return boolean(value ? -1 : 0); }
  static ScriptValue array(ArrayValue value);
  // An object reference; a null pointer gives NOTHING. Enrolls the object in
  // the registry so it has its display identity.
  static ScriptValue object(std::shared_ptr<ScriptObject> value);

  // ---- what it is ----
  VarType type() const { return type_; }
  uint16_t typeCode() const { return static_cast<uint16_t>(type_); }
  bool isEmpty() const { return type_ == VarType::Empty; }
  bool isNull() const { return type_ == VarType::Null; }
  bool isBoolean() const { return type_ == VarType::Boolean; }
  bool isError() const { return type_ == VarType::Error; }
  bool isDouble() const { return type_ == VarType::Double; }
  bool isArray() const { return type_ == VarType::Array; }
  bool isObject() const { return type_ == VarType::Object; }
  bool isNothing() const { return type_ == VarType::Object && object_ == nullptr; }
  // Codes 8, 256 and 258.
  bool isString() const {
    return type_ == VarType::String || type_ == VarType::OleString || type_ == VarType::ByteString;
  }
  // Codes 8 and 258 (text held as UTF-16).
  bool isNativeString() const { return type_ == VarType::String || type_ == VarType::OleString; }
  bool isByteString() const { return type_ == VarType::ByteString; }
  bool isInteger() const;
  // Integers, single, double, currency, date.
  bool isNumeric() const;

  // ---- payloads (each valid for its kinds only; others give 0 / empty) ----
  // Text of a string kind (for a byte string: one code unit per byte).
  const std::u16string& stringRef() const;
  // The text of a string kind for changing in place (copied first when shared).
  // A value of another kind becomes an empty native string first.
  std::u16string& mutableString();
  // True when this value alone holds its text, so mutableString changes it
  // without a copy.
  bool ownsStringAlone() const {
    return isString() && string_ != nullptr && string_->refs.load(std::memory_order_acquire) == 1;
  }
  // Integer kinds (UInt64 as its bit pattern), booleans (sign-extended payload),
  // error codes, currency (scaled).
  int64_t integerPayload() const { return integer_; }
  double doublePayload() const { return double_; }  // Double and Date
  float singlePayload() const { return single_; }
  int16_t booleanPayload() const { return static_cast<int16_t>(integer_); }
  int32_t errorCode() const { return static_cast<int32_t>(integer_); }
  // The bytes of a byte string.
  std::string bytes() const;
  // The array of an array value; throws std::logic_error for any other kind.
  const ArrayValue& arrayRef() const;
  // The array for changing in place (copied first when shared).
  ArrayValue& mutableArray();
  // The held object; null for NOTHING and for other kinds.
  ScriptObject* objectPointer() const;
  std::shared_ptr<ScriptObject> objectShared() const;
  // The display identity of the held object; 0 for NOTHING.
  uint64_t objectId() const;

  // ---- conversions ----
  // As a double: numbers; a boolean gives its signed payload; Empty 0; a string
  // that passes the loose number test its number. Nothing for anything else.
  std::optional<double> tryToDouble() const;
  // As tryToDouble; throws ScriptError "a type isn't correct. or overflow." when
  // there is no number.
  double toDouble() const;
  // Truth as conditions see it: not equal to 0. Empty, Null, NOTHING and arrays
  // are false; numbers, booleans, currency, dates and error codes are true when
  // non-zero; a string is compared with the text "0" and is true unless it is
  // exactly "0"; an object reference with an object is true.
  bool isTrue() const;

  // General conversion: numbers as their shortest text (doubles with at most 15
  // significant digits), booleans "True"/"False", Empty and Null "", an error
  // code "ERROR", strings themselves, a date as "yyyy/mm/dd hh:nn:ss" (date or
  // time part alone when the other is zero). Nothing for arrays and objects.
  std::optional<std::u16string> tryToText() const;
  // As tryToText; throws ScriptError "a type isn't correct. or overflow." for
  // arrays and objects.
  std::u16string toText() const;
  // Display form (PRINT, list expansion): Empty "", NOTHING "NOTHING", an
  // object its display identity, Null "NULL", an error code "ERROR", else the
  // general conversion (arrays throw as in toText).
  std::u16string toDisplayText() const;
  // Listing variant of the display form: strings longer than 1024 characters
  // are cut to 1024 followed by "..."; CR LF is written "<#CR>", TAB "<#TAB>".
  std::u16string toListingText() const;
  // Builtin-argument form: a boolean its integer ("1" for TRUE, "-1" for a
  // builtin's true), Null "", an error code "ERROR", an object its display
  // identity (NOTHING "0"), else the general conversion.
  std::u16string toArgumentText() const;

  // Same type code and equal payload (strings by text, arrays element by
  // element, objects by identity). Used where a redefinition must match.
  bool sameTypeAndValue(const ScriptValue& other) const;

  // Byte strings are turned into text in the system's ANSI code page. The
  // engine sets the locale once; without one, each byte is its own code point.
  static void setByteStringLocale(platform::Locale* locale);

 private:
  explicit ScriptValue(VarType type) noexcept : type_(type), integer_(0) {}
  void release() noexcept;
  void retain() const noexcept;
  bool holdsBox() const noexcept;
  detail::Box* box() const noexcept { return box_; }

  VarType type_;
  union {
    int64_t integer_;
    double double_;
    float single_;
    detail::StringBox* string_;
    detail::ArrayBox* array_;
    detail::ObjectBox* object_;
    detail::Box* box_;
  };
};

// One dimension of an array value: inclusive bounds; upper = lower - 1 is an
// empty dimension.
struct ArrayBound {
  int64_t lower = 0;
  int64_t upper = -1;
  int64_t length() const { return upper - lower + 1; }
  bool operator==(const ArrayBound&) const = default;
};

// An array of ScriptValues with 1 to 16 dimensions, stored flat in row-major
// order (the last index varies fastest).
class ArrayValue {
 public:
  static constexpr size_t kMaxDimensions = 16;
  // Element counts above this are refused with a script error rather than
  // attempted: the memory would not be there, or the count would overflow.
  static constexpr int64_t kMaxElements = int64_t{1} << 28;

  // One dimension, no elements.
  ArrayValue() : bounds_{ArrayBound{}} {}
  // The given dimensions, all elements Empty. Throws ScriptError when there
  // are no or too many dimensions, a dimension has a negative length other than
  // empty, or the element count exceeds kMaxElements or memory.
  explicit ArrayValue(std::vector<ArrayBound> bounds);
  // One dimension, bounds 0..size-1.
  static ArrayValue fromList(std::vector<ScriptValue> elements);

  size_t dimensions() const { return bounds_.size(); }
  const std::vector<ArrayBound>& bounds() const { return bounds_; }
  const ArrayBound& bound(size_t dimension) const { return bounds_[dimension]; }
  size_t size() const { return elements_.size(); }

  // Flat position of an index tuple (one index per dimension), or nothing
  // when the count differs or an index is out of its bounds.
  std::optional<size_t> flatIndex(std::span<const int64_t> indexes) const;

  const ScriptValue& at(size_t flat) const { return elements_[flat]; }
  ScriptValue& at(size_t flat) { return elements_[flat]; }
  const std::vector<ScriptValue>& elements() const { return elements_; }
  std::vector<ScriptValue>& elements() { return elements_; }

  // One-dimensional arrays only: one more element at the upper end.
  void append(ScriptValue value);

  bool operator==(const ArrayValue& other) const;

 private:
  std::vector<ArrayBound> bounds_;
  std::vector<ScriptValue> elements_;
};

namespace detail {
struct ArrayBox : Box {
  explicit ArrayBox(ArrayValue a) : array(std::move(a)) {}
  ArrayValue array;
};
}  // namespace detail

// ---- inline copy and release: the hot paths ----

inline bool ScriptValue::holdsBox() const noexcept {
  switch (type_) {
    case VarType::String:
    case VarType::OleString:
    case VarType::ByteString:
    case VarType::Array:
    case VarType::Object:
      return box_ != nullptr;
    default:
      return false;
  }
}

inline void ScriptValue::retain() const noexcept {
  if (holdsBox()) box_->refs.fetch_add(1, std::memory_order_relaxed);
}

inline void ScriptValue::release() noexcept {
  if (!holdsBox()) return;
  if (box_->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  switch (type_) {
    case VarType::Array:
      delete array_;
      break;
    case VarType::Object:
      delete object_;
      break;
    default:
      delete string_;
      break;
  }
}

inline ScriptValue::ScriptValue(const ScriptValue& other) noexcept : type_(other.type_), integer_(other.integer_) {
  retain();
}

inline ScriptValue::ScriptValue(ScriptValue&& other) noexcept : type_(other.type_), integer_(other.integer_) {
  other.type_ = VarType::Empty;
  other.integer_ = 0;
}

inline ScriptValue& ScriptValue::operator=(const ScriptValue& other) noexcept {
  if (this != &other) {
    other.retain();
    release();
    type_ = other.type_;
    integer_ = other.integer_;
  }
  return *this;
}

inline ScriptValue& ScriptValue::operator=(ScriptValue&& other) noexcept {
  if (this != &other) {
    release();
    type_ = other.type_;
    integer_ = other.integer_;
    other.type_ = VarType::Empty;
    other.integer_ = 0;
  }
  return *this;
}

}  // namespace maqo::engine
