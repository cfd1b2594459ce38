#include "com/dll/dll_variant.h"

#include <algorithm>
#include <cstring>

#include "com/dll/dll_messages.h"
#include "com/dll/dll_values.h"

namespace maqo::com::dll {

using engine::ScriptValue;
using engine::VarType;

namespace {

// A SAFEARRAY the call image owns: allocated statically (the system's
// destroy functions leave it alone), fixed size, its type stored before it,
// elements are VARIANTs.
constexpr uint16_t kImageArrayFeatures = 0x0002 | 0x0010 | 0x0080 | 0x0800;
// The hidden bytes before a descriptor; the element type is in the last four.
constexpr uint32_t kDescriptorPrefix = 16;
// The descriptor up to its first dimension's bounds.
constexpr uint32_t kDescriptorBytes = 16;
constexpr uint16_t kFeatureBstr = 0x0100, kFeatureHasType = 0x0080, kFeatureVariant = 0x0800;
// Element counts past this are taken as a damaged descriptor, not read.
constexpr uint64_t kMostSafeArrayElements = uint64_t{1} << 24;


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
  if (!value.isArray()) throw engine::ScriptError(messages::wrongArgumentType());
  const engine::ArrayValue& array = value.arrayRef();
  const std::vector<engine::ArrayBound>& bounds = array.bounds();
  const size_t dimensions = bounds.size();
  std::vector<uint8_t> descriptor(kDescriptorPrefix + kDescriptorBytes + 8 * dimensions, 0);
  StoreAs<uint32_t>(descriptor.data() + kDescriptorPrefix - 4, kVtVariant);
  uint8_t* d = descriptor.data() + kDescriptorPrefix;
  StoreAs<uint16_t>(d + 0, static_cast<uint16_t>(dimensions));
  StoreAs<uint16_t>(d + 2, kImageArrayFeatures);
  StoreAs<uint32_t>(d + 4, kVariantBytes);
  // The descriptor lists the dimensions last one first.
  for (size_t k = 0; k < dimensions; ++k) {
    uint8_t* bound = d + kDescriptorBytes + 8 * (dimensions - 1 - k);
    StoreAs<uint32_t>(bound, static_cast<uint32_t>(bounds[k].length()));
    StoreAs<int32_t>(bound + 4, static_cast<int32_t>(bounds[k].lower));
  }
  const uint32_t descriptorBuffer = image.add(std::move(descriptor));
  const uint32_t data = image.add(std::vector<uint8_t>(array.size() * kVariantBytes, 0));
  image.pointTo(descriptorBuffer, kDescriptorPrefix + 12, data);
  for (size_t i = 0; i < array.size(); ++i)
    PutVariant(image, data, static_cast<uint32_t>(SafeArrayPosition(i, bounds) * kVariantBytes), array.at(i));
  return {descriptorBuffer, kDescriptorPrefix};
}

size_t SafeArrayPosition(size_t rowMajor, const std::vector<engine::ArrayBound>& bounds) {
  // Script arrays vary their last index fastest, SAFEARRAY data its first:
  // peel the indexes off from the last dimension, each weighted by the
  // lengths of the dimensions before it.
  size_t stride = 1;
  for (const engine::ArrayBound& b : bounds) stride *= static_cast<size_t>(b.length());
  size_t position = 0;
  for (size_t k = bounds.size(); k-- > 0;) {
    const size_t length = static_cast<size_t>(bounds[k].length());
    if (length == 0) return 0;
    stride /= length;
    position += rowMajor % length * stride;
    rowMajor /= length;
  }
  return position;
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
  return ReadSafeArray(LoadAs<uint32_t>(v), type & 0x0FFF, memory);
}

ScriptValue ReadSafeArray(uint32_t descriptorAddress, uint16_t elementType, platform::NativeLibraries& memory) {
  const std::vector<uint8_t> head = memory.bytesAt(descriptorAddress, kDescriptorBytes);
  if (head.size() != kDescriptorBytes) return ScriptValue();
  const uint16_t dimensions = LoadAs<uint16_t>(head.data());
  const uint16_t features = LoadAs<uint16_t>(head.data() + 2);
  const uint32_t elementBytes = LoadAs<uint32_t>(head.data() + 4);
  if (dimensions == 0 || dimensions > engine::ArrayValue::kMaxDimensions) return ScriptValue();
  if (elementType == 0) {
    // Reached through a SAFEARRAY pointer: the descriptor says what it holds.
    if (features & kFeatureHasType) {
      const std::vector<uint8_t> hidden = memory.bytesAt(descriptorAddress - 4, 4);
      if (hidden.size() == 4) elementType = static_cast<uint16_t>(LoadAs<uint32_t>(hidden.data()));
    }
    if (elementType == 0) elementType = (features & kFeatureVariant) ? kVtVariant : (features & kFeatureBstr) ? kVtBstr : 0;
    if (elementType == 0) return ScriptValue();
  }
  const std::vector<uint8_t> boundBytes = memory.bytesAt(descriptorAddress + kDescriptorBytes, size_t{8} * dimensions);
  if (boundBytes.size() != size_t{8} * dimensions) return ScriptValue();
  std::vector<engine::ArrayBound> bounds(dimensions);
  uint64_t count = 1;
  for (size_t k = 0; k < dimensions; ++k) {
    const uint8_t* bound = boundBytes.data() + 8 * (dimensions - 1 - k);
    const uint32_t length = LoadAs<uint32_t>(bound);
    bounds[k].lower = LoadAs<int32_t>(bound + 4);
    bounds[k].upper = bounds[k].lower + int64_t{length} - 1;
    count *= length;
    if (count > kMostSafeArrayElements) return ScriptValue();
  }
  if (elementBytes == 0 || elementBytes > kVariantBytes) return ScriptValue();
  if (elementType == kVtVariant && elementBytes != kVariantBytes) return ScriptValue();  // a damaged descriptor
  const std::vector<uint8_t> data = memory.bytesAt(LoadAs<uint32_t>(head.data() + 12), count * elementBytes);
  if (data.size() != count * elementBytes) return ScriptValue();
  engine::ArrayValue array(bounds);
  for (size_t i = 0; i < array.size(); ++i) {
    const size_t position = SafeArrayPosition(i, bounds);
    uint8_t element[kVariantBytes] = {};
    if (elementType == kVtVariant) {
      std::memcpy(element, data.data() + position * elementBytes, kVariantBytes);
    } else {
      StoreAs<uint16_t>(element, elementType);
      std::memcpy(element + 8, data.data() + position * elementBytes, std::min<uint32_t>(elementBytes, 8));
    }
    array.at(i) = ReadVariant(element, memory);
  }
  return ScriptValue::array(std::move(array));
}

}  // namespace maqo::com::dll
