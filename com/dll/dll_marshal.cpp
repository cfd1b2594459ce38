#include "com/dll/dll_marshal.h"

#include <algorithm>
#include <cstring>

#include "com/dll/dll_messages.h"
#include "com/dll/dll_values.h"
#include "com/dll/dll_variant.h"

namespace maqo::com::dll {

using engine::ScriptValue;

namespace {


[[noreturn]] void wrongType() { throw engine::ScriptError(messages::wrongArgumentType()); }

// The word NULL or a Null value passes a null pointer.
bool passesNull(std::u16string_view text, const ScriptValue& value) { return text == u"NULL" || value.isNull(); }

std::u16string textOf(const ScriptValue& value) {
  if (value.isArray() || value.isObject()) wrongType();
  return value.toText();
}

// The characters of a text in the width of its type, without terminator.
std::vector<uint8_t> encodedText(int type, const ScriptValue& value, platform::Locale& locale) {
  const std::u16string text = textOf(value);
  if (IsWideTextType(type)) {
    std::vector<uint8_t> bytes(text.size() * 2);
    if (!text.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
  }
  const std::string ansi = locale.encodeAnsi(text);
  return std::vector<uint8_t>(ansi.begin(), ansi.end());
}

// A text read back from bytes, up to the first terminator.
std::u16string decodedText(int type, const uint8_t* bytes, size_t size, platform::Locale& locale) {
  if (IsWideTextType(type)) {
    std::u16string text(size / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes, text.size() * 2);
    text.resize(text.find(u'\0') == std::u16string::npos ? text.size() : text.find(u'\0'));
    return text;
  }
  const std::string_view ansi(reinterpret_cast<const char*>(bytes), size);
  return locale.decodeAnsi(ansi.substr(0, ansi.find('\0')));
}

// The array a SAFEARRAY argument's variable holds: a variable holding an
// array value comes whole (all its dimensions), a declared array as its
// elements from the given index on.
ScriptValue ArrayOfElements(std::vector<ScriptValue> elements) {
  if (elements.size() == 1 && elements[0].isArray()) return std::move(elements[0]);
  return ScriptValue::array(engine::ArrayValue::fromList(std::move(elements)));
}

// A VAR SAFEARRAY after the call: the function may have changed the elements
// of our array or replaced the pointer with an array of its own, which is
// read and then destroyed (ours lives in the image and is left alone).
void WriteBackReferencedArray(size_t argument, DllCallImage& image, DllArguments& arguments,
                              platform::NativeLibraries& memory) {
  // Our descriptor is where the copy's pointer led before the call.
  const uint32_t copy = image.copies[argument];
  const auto ours = std::find_if(image.fixups.begin(), image.fixups.end(),
                                 [copy](const PointerFixup& f) { return f.buffer == copy && f.offset == 0; });
  if (ours == image.fixups.end()) return;
  const uint32_t address = Load32(image.buffers[copy].data());
  if (address == 0) return;
  const ScriptValue array = ReadSafeArray(address, 0, memory);
  if (address != memory.addressOf(image.buffers[ours->target].data()) + ours->targetOffset) {
    uint8_t variant[kVariantBytes] = {};
    StoreAs<uint16_t>(variant, kVtArray | kVtVariant);
    Store32(variant + 8, address);
    memory.clearVariant(variant);
  }
  if (!array.isArray()) return;
  if (array.arrayRef().dimensions() == 1) {
    arguments.storeElements(argument, array.arrayRef().elements());
  } else {
    arguments.storeValue(argument, array);
  }
}

// A by-reference argument or an array: a private copy of the variable's
// elements, passed by its address.
void putReference(DllCallImage& image, const DllSlot& slot, int type, size_t argument, DllArguments& arguments,
                  platform::Locale& locale) {
  if (arguments.text(argument) == u"NULL") return;
  std::vector<ScriptValue> elements = arguments.elements(argument);
  if (elements.empty() || (elements.size() == 1 && elements[0].isNull())) return;
  uint32_t copy;
  uint32_t copyOffset = 0;
  if (IsTextType(type)) {
    // The variable's current text (scripts pre-size it) with a terminator
    // of the text's width.
    std::vector<uint8_t> bytes = encodedText(type, elements[0], locale);
    bytes.resize(bytes.size() + (IsWideTextType(type) ? 2 : 1), 0);
    copy = image.add(std::move(bytes));
  } else if (type == kVariant) {
    copy = image.add(std::vector<uint8_t>(kVariantBytes, 0));
    PutVariant(image, copy, 0, elements[0]);
  } else if (type == kSafeArray) {
    // A SAFEARRAY* variable: the address of a pointer to the descriptor.
    const auto [descriptor, offset] = AddSafeArray(image, ArrayOfElements(std::move(elements)));
    copy = image.add(std::vector<uint8_t>(4, 0));
    image.pointTo(copy, 0, descriptor, offset);
  } else {
    const uint32_t size = DllValueSize(type);
    copy = image.add(std::vector<uint8_t>(size * elements.size(), 0));
    for (size_t i = 0; i < elements.size(); ++i)
      PutScalar(type, elements[i], image.buffers[copy].data() + i * size, locale);
  }
  image.copies[argument] = copy;
  image.pointTo(slot.block, slot.offset, copy, copyOffset);
}

}  // namespace

uint32_t InlineTextBytes(int type, const ScriptValue& value, platform::Locale& locale) {
  if (value.isNull()) return 0;
  return static_cast<uint32_t>(encodedText(type, value, locale).size());
}

DllCallImage BuildCallImage(const DllSignature& signature, const DllLayout& layout, DllArguments& arguments,
                            platform::Locale& locale) {
  DllCallImage image;
  for (const DllBlock& block : layout.blocks) image.add(std::vector<uint8_t>(block.size, 0));
  for (uint32_t b = 1; b < layout.blocks.size(); ++b) image.pointTo(layout.blocks[b].parent, layout.blocks[b].parentOffset, b);
  if (layout.resultPointer) {
    image.resultVariant = image.add(std::vector<uint8_t>(kVariantBytes, 0));
    image.pointTo(0, 0, image.resultVariant);
  }
  image.copies.assign(layout.slots.size(), kNoBuffer);

  for (size_t a = 0; a < layout.slots.size(); ++a) {
    const DllSlot& slot = layout.slots[a];
    const int type = signature.parameters[slot.parameter].type;
    if (signature.parameters[slot.parameter].byReference) {
      putReference(image, slot, type, a, arguments, locale);
      continue;
    }
    if (type == kSafeArray) {
      // The array is named like a by-reference one (a declared array or a
      // variable holding an array value); its elements become the copy.
      if (arguments.text(a) == u"NULL") continue;
      std::vector<ScriptValue> elements = arguments.elements(a);
      if (elements.empty() || (elements.size() == 1 && elements[0].isNull())) continue;
      const auto [descriptor, offset] = AddSafeArray(image, ArrayOfElements(std::move(elements)));
      image.pointTo(slot.block, slot.offset, descriptor, offset);
      continue;
    }
    const ScriptValue value = arguments.value(a);
    if (IsTextType(type)) {
      if (passesNull(arguments.text(a), value)) continue;
      std::vector<uint8_t> bytes = encodedText(type, value, locale);
      if (slot.inlineText) {
        // A fixed character array of a structure: the characters only.
        std::memcpy(image.buffers[slot.block].data() + slot.offset, bytes.data(), std::min<size_t>(bytes.size(), slot.size));
        continue;
      }
      if (slot.block != 0) continue;  // a structure member without text: a null pointer
      bytes.resize(bytes.size() + (IsWideTextType(type) ? 2 : 1), 0);
      image.copies[a] = image.add(std::move(bytes));
      image.pointTo(slot.block, slot.offset, image.copies[a]);
    } else if (type == kVariant) {
      image.copies[a] = image.add(std::vector<uint8_t>(kVariantBytes, 0));
      PutVariant(image, image.copies[a], 0, value);
      image.pointTo(slot.block, slot.offset, image.copies[a]);
    } else if (arguments.text(a) != u"NULL") {
      // The word NULL is 0 for numbers too (a null window or menu handle).
      PutScalar(type, value, image.buffers[slot.block].data() + slot.offset, locale);
    }
  }
  return image;
}

ScriptValue ConvertReturn(const DllSignature& signature, const platform::NativeCallResult& registers,
                          DllCallImage& image, platform::NativeLibraries& memory, platform::Locale& locale) {
  const uint32_t eax = registers.eax;
  const uint8_t low[4] = {static_cast<uint8_t>(eax), static_cast<uint8_t>(eax >> 8), static_cast<uint8_t>(eax >> 16),
                          static_cast<uint8_t>(eax >> 24)};
  switch (signature.returnType) {
    case kInt: case kWord: case kDWord: case kByte: case kChar: case kWChar:
      return ReadScalar(signature.returnType, low, locale);
    case kLongLong:
      return ScriptValue::integer(engine::VarType::Int64,
                                  static_cast<int64_t>(uint64_t{registers.edx} << 32 | registers.eax));
    case kFloat: return ScriptValue::single(static_cast<float>(ExtendedToDouble(registers.st0)));
    case kDouble: case kExtended: return ScriptValue::number(ExtendedToDouble(registers.st0));
    case kString: case kPChar:
      if (eax == 0) return ScriptValue();
      return ScriptValue::string(locale.decodeAnsi(memory.ansiTextAt(eax)));
    case kWString: case kPWChar:
      if (eax == 0) return ScriptValue();
      return ScriptValue::string(memory.wideTextAt(eax));
    case kVariant: case kSafeArray: {
      uint8_t* variant = image.buffers[image.resultVariant].data();
      ScriptValue result = ReadVariant(variant, memory);
      memory.clearVariant(variant);
      return result;
    }
    default:
      return ScriptValue::int32(0);  // VOID
  }
}

void WriteBack(const DllSignature& signature, const DllLayout& layout, DllCallImage& image, DllArguments& arguments,
               platform::NativeLibraries& memory, platform::Locale& locale) {
  for (size_t a = 0; a < layout.slots.size(); ++a) {
    const DllSlot& slot = layout.slots[a];
    const DllParameter& parameter = signature.parameters[slot.parameter];
    const int type = parameter.type;
    if (parameter.byReference) {
      const uint32_t copy = image.copies[a];
      if (copy == kNoBuffer) continue;
      const std::vector<uint8_t>& bytes = image.buffers[copy];
      if (IsTextType(type)) {
        arguments.storeElements(a, {ScriptValue::string(decodedText(type, bytes.data(), bytes.size(), locale))});
      } else if (type == kVariant) {
        arguments.storeElements(a, {ReadVariant(bytes.data(), memory)});
      } else if (type == kSafeArray) {
        WriteBackReferencedArray(a, image, arguments, memory);
      } else {
        const uint32_t size = DllValueSize(type);
        std::vector<ScriptValue> values;
        values.reserve(bytes.size() / size);
        for (size_t at = 0; at + size <= bytes.size(); at += size) values.push_back(ReadScalar(type, bytes.data() + at, locale));
        arguments.storeElements(a, std::move(values));
      }
      continue;
    }
    if (slot.block == 0) continue;  // by value in the stack image: nothing comes back
    const uint8_t* at = image.buffers[slot.block].data() + slot.offset;
    if (IsTextType(type)) {
      if (slot.inlineText) {
        arguments.storeValue(a, ScriptValue::string(decodedText(type, at, slot.size, locale)));
      } else if (const uint32_t address = Load32(at); address != 0) {
        // The function set a text pointer in the structure.
        arguments.storeValue(a, ScriptValue::string(IsWideTextType(type) ? memory.wideTextAt(address)
                                                                         : locale.decodeAnsi(memory.ansiTextAt(address))));
      }
    } else if (type != kVariant && type != kSafeArray) {
      arguments.storeValue(a, ReadScalar(type, at, locale));
    }
  }
}

}  // namespace maqo::com::dll
