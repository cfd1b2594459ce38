#include "com/objects/com_values.h"

#include <cmath>

#include "com/objects/com_object.h"

namespace maqo::com::objects {

using engine::ScriptValue;
using engine::VarType;
namespace vt = platform::vt;

namespace {

platform::ComValue integerValue(uint16_t type, int64_t value) {
  platform::ComValue v;
  v.type = type;
  v.integer = value;
  return v;
}

platform::ComValue doubleValue(double value) {
  platform::ComValue v;
  v.type = vt::kR8;
  v.number = value;
  return v;
}

// Whole numbers within the 32-bit range go as VT_I4; the rest as VT_R8.
platform::ComValue numberArgument(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && value >= -2147483648.0 && value <= 2147483647.0)
    return integerValue(vt::kI4, static_cast<int64_t>(value));
  return doubleValue(value);
}

}  // namespace

platform::ComValue ToComArgument(const ScriptValue& value) {
  platform::ComValue v;
  switch (value.type()) {
    case VarType::Empty: return v;
    case VarType::Null: v.type = vt::kNull; return v;
    case VarType::Int16: return integerValue(vt::kI2, value.integerPayload());
    case VarType::Int8:
    case VarType::UInt8:
    case VarType::UInt16:
    case VarType::Int32: return integerValue(vt::kI4, value.integerPayload());
    case VarType::UInt32:
    case VarType::Int64:
    case VarType::UInt64: return numberArgument(static_cast<double>(value.integerPayload()));
    case VarType::Single: return numberArgument(value.singlePayload());
    case VarType::Double: return numberArgument(value.doublePayload());
    case VarType::Currency: return integerValue(vt::kCurrency, value.integerPayload());
    case VarType::Date:
      v.type = vt::kDate;
      v.number = value.doublePayload();
      return v;
    case VarType::Error: return integerValue(vt::kError, value.errorCode());
    case VarType::Boolean: return integerValue(vt::kBool, value.booleanPayload() != 0 ? -1 : 0);
    case VarType::OleString:
    case VarType::String:
    case VarType::ByteString:
      if (value.stringRef() == engine::kEmptyParamText) return integerValue(vt::kError, platform::kDispParamNotFound);
      v.type = vt::kBstr;
      v.text = value.stringRef();
      return v;
    case VarType::Object:
      v.type = vt::kDispatch;
      if (ComScriptObject* object = ComObjectOf(value)) v.object = object->shared();
      return v;
    case VarType::Array: {
      const engine::ArrayValue& array = value.arrayRef();
      v.type = vt::kArray | vt::kVariant;
      for (const engine::ArrayBound& b : array.bounds())
        v.bounds.push_back({static_cast<int32_t>(b.lower), static_cast<int32_t>(b.upper)});
      v.elements.reserve(array.size());
      for (const ScriptValue& element : array.elements()) v.elements.push_back(ToComArgument(element));
      return v;
    }
  }
  return v;
}

ScriptValue FromComValue(const platform::ComValue& value) {
  if (value.type & vt::kArray) {
    std::vector<engine::ArrayBound> bounds;
    for (const platform::ComArrayBound& b : value.bounds) bounds.push_back({b.lower, b.upper});
    if (bounds.empty()) bounds.push_back({0, -1});
    engine::ArrayValue array(bounds);
    const size_t n = std::min(array.size(), value.elements.size());
    for (size_t i = 0; i < n; ++i) array.at(i) = FromComValue(value.elements[i]);
    return ScriptValue::array(std::move(array));
  }
  switch (value.type) {
    case vt::kEmpty: return ScriptValue();
    case vt::kNull: return ScriptValue::null();
    case vt::kI2: return ScriptValue::integer(VarType::Int16, value.integer);
    case vt::kI4:
    case vt::kInt: return ScriptValue::integer(VarType::Int32, value.integer);
    case vt::kI1: return ScriptValue::integer(VarType::Int8, value.integer);
    case vt::kUI1: return ScriptValue::integer(VarType::UInt8, value.integer);
    case vt::kUI2: return ScriptValue::integer(VarType::UInt16, value.integer);
    case vt::kUI4:
    case vt::kUInt: return ScriptValue::integer(VarType::UInt32, value.integer);
    case vt::kI8: return ScriptValue::integer(VarType::Int64, value.integer);
    case vt::kUI8: return ScriptValue::integer(VarType::UInt64, value.integer);
    case vt::kR4: return ScriptValue::single(static_cast<float>(value.number));
    case vt::kR8: return ScriptValue::number(value.number);
    case vt::kCurrency: return ScriptValue::currency(value.integer);
    case vt::kDate: return ScriptValue::date(value.number);
    case vt::kBstr: return ScriptValue::string(value.text, VarType::OleString);
    case vt::kError: return ScriptValue::error(static_cast<int32_t>(value.integer));
    case vt::kBool: return ScriptValue::boolean(static_cast<int16_t>(value.integer));
    case vt::kDispatch:
    case vt::kUnknown: return ObjectValue(value.object);
    default: return ScriptValue();
  }
}

}  // namespace maqo::com::objects
