// VARTYPE(value, [type]) and the zero values SAFEARRAY fills typed arrays with.
#include <cmath>
#include <limits>
#include <optional>

#include "builtins/engine_interface.h"
#include "builtins/builtin_messages.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"
#include "engine/values/script_object.h"

namespace maqo::builtins {

using engine::ScriptValue;
using engine::VarType;

namespace {

// A conversion the value type refuses leaves the builtin as an exception, so
// the dispatcher reports it ("KansuCall:" and the reason) and a TRY can take it.
engine::ScriptError conversionFailed() { return messages::callFailure(u"Type mismatch.", u"型が一致しません。"); }
engine::ScriptError outOfRange() { return messages::callFailure(u"Overflow.", u"オーバーフローしました。"); }

bool isIntegerKind(int64_t code) {
  switch (code) {
    case 2: case 3: case 16: case 17: case 18: case 19: case 20: case 21:
      return true;
    default:
      return false;
  }
}

// The number a value converts to, as the value type converts: booleans, the
// texts True and False, and texts that are numbers.
double numberOf(const ScriptValue& value) {
  if (value.isString()) {
    const std::u16string upper = engine::UpperCase(engine::Trim(value.toText()));
    if (upper == u"TRUE") return -1;
    if (upper == u"FALSE") return 0;
  }
  if (value.isNull() || value.isObject() || value.isArray()) throw conversionFailed();
  const std::optional<double> number = value.tryToDouble();
  if (!number) throw conversionFailed();
  return *number;
}

// Integer kinds take the number rounded to the nearest integer, ties to even,
// and refuse what does not fit.
ScriptValue toIntegerKind(const ScriptValue& value, VarType kind) {
  const double rounded = std::nearbyint(numberOf(value));
  double low = 0, high = 0;
  switch (kind) {
    case VarType::Int16: low = -32768; high = 32767; break;
    case VarType::Int32: low = -2147483648.0; high = 2147483647.0; break;
    case VarType::Int8: low = -128; high = 127; break;
    case VarType::UInt8: low = 0; high = 255; break;
    case VarType::UInt16: low = 0; high = 65535; break;
    case VarType::UInt32: low = 0; high = 4294967295.0; break;
    case VarType::Int64: low = -9223372036854775808.0; break;
    default: break;
  }
  // The 64-bit limits are not doubles: compare with the power of two above them.
  const bool fits = kind == VarType::Int64    ? rounded >= low && rounded < 9223372036854775808.0
                    : kind == VarType::UInt64 ? rounded >= 0 && rounded < 18446744073709551616.0
                                              : rounded >= low && rounded <= high;
  if (!fits) throw outOfRange();
  if (kind == VarType::UInt64 && rounded >= 9223372036854775808.0)
    return ScriptValue::integer(kind, static_cast<int64_t>(static_cast<uint64_t>(rounded)));
  return ScriptValue::integer(kind, static_cast<int64_t>(rounded));
}

// An integer that the object registry knows as an object's identity becomes
// that object; 0 is NOTHING. Any other number refers to no object.
ScriptValue toObject(const ScriptValue& value) {
  if (value.isObject()) return value;
  const double id = numberOf(value);
  if (id == 0) return ScriptValue::nothing();
  if (id > 0 && id < 18446744073709551616.0 && id == std::floor(id)) {
    if (auto object = engine::ObjectRegistry::instance().find(static_cast<uint64_t>(id)))
      return ScriptValue::object(std::move(object));
  }
  throw engine::ScriptError(messages::cat(u"VARTYPE: no object has the number ", engine::formatDouble(id)),
                            messages::cat(u"VARTYPE: この番号のオブジェクトはありません: ", engine::formatDouble(id)));
}

ScriptValue convert(const ScriptValue& value, int64_t code, BuiltinHost& host) {
  if (isIntegerKind(code)) return toIntegerKind(value, static_cast<VarType>(code));
  switch (code) {
    case 0: return ScriptValue();
    case 1: return ScriptValue::null();
    case 4: {
      const double x = numberOf(value);
      if (std::isfinite(x) && std::fabs(x) > std::numeric_limits<float>::max()) throw outOfRange();
      return ScriptValue::single(static_cast<float>(x));
    }
    case 5: return ScriptValue::number(numberOf(value));
    case 6: {
      const double scaled = std::nearbyint(numberOf(value) * 10000);
      if (!(scaled >= -9.2233720368547758e18 && scaled < 9.2233720368547758e18)) throw outOfRange();
      return ScriptValue::currency(static_cast<int64_t>(scaled));
    }
    case 7: {
      const double days = numberOf(value);
      // The date range of the value type: years 100 to 9999.
      if (!(days >= -657434.0 && days < 2958466.0)) throw outOfRange();
      return ScriptValue::date(days);
    }
    case 8:
    case 258: {
      if (value.isNull() || value.isArray() || value.isObject()) throw conversionFailed();
      return ScriptValue::string(value.toText(), static_cast<VarType>(code));
    }
    case 256: {
      if (value.isByteString()) return value;
      if (value.isNull() || value.isArray() || value.isObject()) throw conversionFailed();
      return ScriptValue::byteString(host.platform().locale.encodeAnsi(value.toText(), nullptr));
    }
    case 9: return toObject(value);
    case 10: {
      const double x = std::nearbyint(numberOf(value));
      if (!(x >= -2147483648.0 && x <= 2147483647.0)) throw outOfRange();
      return ScriptValue::error(static_cast<int32_t>(x));
    }
    case 11: return ScriptValue::builtinBool(numberOf(value) != 0);
    case 12: return value;
    case 8204:
      if (value.isArray()) return value;
      throw conversionFailed();
    default:
      throw conversionFailed();
  }
}

}  // namespace

ScriptValue VarTypeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  if (call.count() < 2) return ScriptValue::number(call.first.typeCode());
  const int64_t code = call.integer(1);
  if (code < 0 || code > 65535) throw conversionFailed();
  return convert(call.first, code, host);
}

ScriptValue ZeroValueOfType(int64_t code) {
  if (isIntegerKind(code)) return ScriptValue::integer(static_cast<VarType>(code), 0);
  switch (code) {
    case 0:
    case 12: return ScriptValue();
    case 1: return ScriptValue::null();
    case 4: return ScriptValue::single(0);
    case 5: return ScriptValue::number(0);
    case 6: return ScriptValue::currency(0);
    case 7: return ScriptValue::date(0);
    case 8:
    case 258: return ScriptValue::string(std::u16string(), static_cast<VarType>(code));
    case 256: return ScriptValue::byteString("");
    case 9: return ScriptValue::nothing();
    case 10: return ScriptValue::error(0);
    case 11: return ScriptValue::builtinBool(false);
    default: {
      const std::u16string shown = engine::formatInteger(code);
      throw engine::ScriptError(messages::cat(u"SAFEARRAY: array elements cannot have the type ", shown),
                                messages::cat(u"SAFEARRAY: 配列の要素にできない型です: ", shown));
    }
  }
}

}  // namespace maqo::builtins
