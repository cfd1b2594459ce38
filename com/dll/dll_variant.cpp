#include "com/dll/dll_variant.h"

#include <cstring>

#include "com/dll/dll_messages.h"
#include "com/dll/dll_values.h"

namespace maqo::com::dll {

using engine::ScriptValue;
using engine::VarType;

namespace {

constexpr uint32_t kVariantBytes = 16;
// A SAFEARRAY the call image owns: allocated statically (the system's
// destroy functions leave it alone), fixed size, its type stored before it,
// elements are VARIANTs.
constexpr uint16_t kImageArrayFeatures = 0x0002 | 0x0010 | 0x0080 | 0x0800;
// The hidden bytes before a descriptor; the element type is in the last four.
constexpr uint32_t kDescriptorPrefix = 16;


// A BSTR in a buffer of its own: the byte length, the characters and a
// terminator; the pointer goes to the characters.
void putText(DllCallImage& image, uint32_t buffer, uint32_t offset, std::u16string_view text) {
  std::vector<uint8_t> bytes(4 + text.size() * 2 + 2, 0);
  Store32(bytes.data(), static_cast<uint32_t>(text.size() * 2));
  std::memcpy(bytes.data() + 4, text.data(), text.size() * 2);
  const uint32_t copy = image.add(std::move(bytes));
  image.pointTo(buffer, offset, copy, 4);
}

}  // namespace

std::pair<uint32_t, uint32_t> AddSafeArray(DllCallImage& image, const ScriptValue& value) {
  if (!value.isArray() || value.arrayRef().dimensions() != 1) throw engine::ScriptError(messages::wrongArgumentType());
  const engine::ArrayValue& array = value.arrayRef();
  std::vector<uint8_t> descriptor(kDescriptorPrefix + 24, 0);
  StoreAs<uint32_t>(descriptor.data() + kDescriptorPrefix - 4, kVtVariant);
  uint8_t* d = descriptor.data() + kDescriptorPrefix;
  StoreAs<uint16_t>(d + 0, 1);
  StoreAs<uint16_t>(d + 2, kImageArrayFeatures);
  StoreAs<uint32_t>(d + 4, kVariantBytes);
  StoreAs<uint32_t>(d + 16, static_cast<uint32_t>(array.size()));
  StoreAs<int32_t>(d + 20, static_cast<int32_t>(array.bound(0).lower));
  const uint32_t descriptorBuffer = image.add(std::move(descriptor));
  const uint32_t data = image.add(std::vector<uint8_t>(array.size() * kVariantBytes, 0));
  image.pointTo(descriptorBuffer, kDescriptorPrefix + 12, data);
  for (size_t i = 0; i < array.size(); ++i)
    PutVariant(image, data, static_cast<uint32_t>(i * kVariantBytes), array.at(i));
  return {descriptorBuffer, kDescriptorPrefix};
}

void PutVariant(DllCallImage& image, uint32_t buffer, uint32_t offset, const ScriptValue& value) {
  auto at = [&]() { return image.buffers[buffer].data() + offset; };
  std::memset(at(), 0, kVariantBytes);
  switch (value.type()) {
    case VarType::Empty: case VarType::Null:
      break;
    case VarType::Int16: case VarType::Boolean: StoreAs<int16_t>(at() + 8, static_cast<int16_t>(value.integerPayload())); break;
    case VarType::Int8: case VarType::UInt8: *(at() + 8) = static_cast<uint8_t>(value.integerPayload()); break;
    case VarType::UInt16: StoreAs<uint16_t>(at() + 8, static_cast<uint16_t>(value.integerPayload())); break;
    case VarType::Int32: case VarType::UInt32: case VarType::Error:
      StoreAs<uint32_t>(at() + 8, static_cast<uint32_t>(value.integerPayload()));
      break;
    case VarType::Int64: case VarType::UInt64: case VarType::Currency:
      StoreAs<int64_t>(at() + 8, value.integerPayload());
      break;
    case VarType::Single: StoreAs<float>(at() + 8, value.singlePayload()); break;
    case VarType::Double: case VarType::Date: StoreAs<double>(at() + 8, value.doublePayload()); break;
    case VarType::String: case VarType::OleString: case VarType::ByteString:
      StoreAs<uint16_t>(at(), kVtBstr);
      putText(image, buffer, offset + 8, value.toText());
      return;
    case VarType::Array: {
      const auto [descriptor, descriptorOffset] = AddSafeArray(image, value);
      StoreAs<uint16_t>(at(), kVtArray | kVtVariant);
      image.pointTo(buffer, offset + 8, descriptor, descriptorOffset);
      return;
    }
    default:
      throw engine::ScriptError(messages::wrongArgumentType());
  }
  StoreAs<uint16_t>(at(), value.typeCode());
}

ScriptValue ReadVariant(const uint8_t* variant, platform::NativeLibraries& memory) {
  const uint16_t type = LoadAs<uint16_t>(variant);
  const uint8_t* v = variant + 8;
  switch (type) {
    case 0: return ScriptValue();
    case 1: return ScriptValue::null();
    case 2: return ScriptValue::integer(VarType::Int16, LoadAs<int16_t>(v));
    case 3: case 22: return ScriptValue::int32(LoadAs<int32_t>(v));
    case 4: return ScriptValue::single(LoadAs<float>(v));
    case 5: return ScriptValue::number(LoadAs<double>(v));
    case 6: return ScriptValue::currency(LoadAs<int64_t>(v));
    case 7: return ScriptValue::date(LoadAs<double>(v));
    case kVtBstr: {
      const uint32_t address = LoadAs<uint32_t>(v);
      if (address == 0) return ScriptValue::string(std::u16string());
      const std::vector<uint8_t> length = memory.bytesAt(address - 4, 4);
      if (length.size() != 4) return ScriptValue::string(std::u16string());
      const std::vector<uint8_t> bytes = memory.bytesAt(address, Load32(length.data()) & ~1u);
      std::u16string text(bytes.size() / 2, u'\0');
      if (!bytes.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
      return ScriptValue::string(std::move(text));
    }
    case 10: return ScriptValue::error(LoadAs<int32_t>(v));
    case 11: return ScriptValue::boolean(LoadAs<int16_t>(v));
    case 16: return ScriptValue::integer(VarType::Int8, static_cast<int8_t>(*v));
    case 17: return ScriptValue::integer(VarType::UInt8, *v);
    case 18: return ScriptValue::integer(VarType::UInt16, LoadAs<uint16_t>(v));
    case 19: case 23: return ScriptValue::integer(VarType::UInt32, LoadAs<uint32_t>(v));
    case 20: return ScriptValue::integer(VarType::Int64, LoadAs<int64_t>(v));
    case 21: return ScriptValue::integer(VarType::UInt64, LoadAs<int64_t>(v));
    default: break;
  }
  if ((type & kVtArray) == 0 || (type & kVtByRef) != 0) return ScriptValue();
  // A one-dimensional SAFEARRAY: each element is read as a variant of the
  // array's element type.
  const uint32_t descriptorAddress = LoadAs<uint32_t>(v);
  const std::vector<uint8_t> d = memory.bytesAt(descriptorAddress, 24);
  if (d.size() != 24 || LoadAs<uint16_t>(d.data()) != 1) return ScriptValue();
  const uint32_t elementBytes = LoadAs<uint32_t>(d.data() + 4);
  const uint32_t count = LoadAs<uint32_t>(d.data() + 16);
  const uint16_t elementType = type & 0x0FFF;
  if (elementBytes == 0 || elementBytes > kVariantBytes || count > (1u << 24)) return ScriptValue();
  const std::vector<uint8_t> data = memory.bytesAt(LoadAs<uint32_t>(d.data() + 12), size_t{count} * elementBytes);
  if (data.size() != size_t{count} * elementBytes) return ScriptValue();
  std::vector<ScriptValue> elements;
  elements.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t element[kVariantBytes] = {};
    if (elementType == kVtVariant) {
      std::memcpy(element, data.data() + size_t{i} * elementBytes, kVariantBytes);
    } else {
      StoreAs<uint16_t>(element, elementType);
      std::memcpy(element + 8, data.data() + size_t{i} * elementBytes, std::min<uint32_t>(elementBytes, 8));
    }
    elements.push_back(ReadVariant(element, memory));
  }
  return ScriptValue::array(engine::ArrayValue::fromList(std::move(elements)));
}

}  // namespace maqo::com::dll
