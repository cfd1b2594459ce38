// Doubles for the DEF_DLL tests: argument sources with variables in a map,
// and a native side that records the call and serves memory by fake
// 32-bit addresses.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "com/dll/dll_marshal.h"
#include "engine/errors/script_error.h"
#include "platform/native_library.h"
#include "platform/platform.h"
#include "platform/text_codec.h"

namespace maqo::com::dll::test {

using engine::ScriptValue;

inline std::string u8(std::u16string_view text) { return utf16ToUtf8(text); }

// One argument as the script wrote it: its text, its value (by value) or the
// elements of the variable it names (by reference).
struct Argument {
  Argument(std::u16string text, ScriptValue value = ScriptValue::int32(0), std::vector<ScriptValue> elements = {})
      : text(std::move(text)), value(std::move(value)), elements(std::move(elements)) {}
  std::u16string text;
  ScriptValue value;
  std::vector<ScriptValue> elements;
};

class FakeArguments final : public DllArguments {
 public:
  explicit FakeArguments(std::vector<Argument> arguments) : arguments_(std::move(arguments)) {}
  std::u16string_view text(size_t a) override { return a < arguments_.size() ? std::u16string_view(arguments_[a].text) : u""; }
  ScriptValue value(size_t a) override { return a < arguments_.size() ? arguments_[a].value : ScriptValue::int32(0); }
  std::vector<ScriptValue> elements(size_t a) override { return a < arguments_.size() ? arguments_[a].elements : std::vector<ScriptValue>{}; }
  void storeElements(size_t a, std::vector<ScriptValue> values) override { stored[a] = std::move(values); }
  void storeValue(size_t a, const ScriptValue& value) override { stored[a] = {value}; }

  std::map<size_t, std::vector<ScriptValue>> stored;

 private:
  std::vector<Argument> arguments_;
};

// Memory by fake addresses, a set of loadable DLLs with their exports, and
// the last call's stack image. `callee` plays the function: it may change
// the buffers the image points to (found through addresses).
class FakeNative final : public platform::NativeLibraries {
 public:
  bool callable = true;
  std::map<std::u16string, std::set<std::string>> exports;  // DLL file -> exported names
  platform::NativeCallResult registers;
  std::function<void(FakeNative&)> callee;

  std::mutex lock;
  std::vector<std::u16string> loaded;
  std::vector<uintptr_t> released;
  std::vector<std::string> lookedUp;
  std::vector<uint8_t> lastImage;
  std::string lastName;  // the function called last
  bool lastFloating = false;
  int calls = 0;

  bool canCall() override { return callable; }
  uintptr_t load(const std::u16string& file) override {
    std::lock_guard guard(lock);
    if (!exports.count(file)) return 0;
    loaded.push_back(file);
    return loaded.size();
  }
  void release(uintptr_t module) override { released.push_back(module); }
  uintptr_t procedure(uintptr_t module, const std::string& name) override {
    std::lock_guard guard(lock);
    lookedUp.push_back(name);
    return exports[loaded[module - 1]].count(name) ? lookedUp.size() : 0;
  }
  platform::NativeCallResult call(uintptr_t procedure, const uint8_t* image, size_t bytes, bool floating) override {
    lastName = lookedUp[procedure - 1];
    lastImage.assign(image, image + bytes);
    lastFloating = floating;
    ++calls;
    if (callee) callee(*this);
    return registers;
  }
  uint32_t addressOf(const void* memory) override {
    auto found = addresses_.find(memory);
    if (found != addresses_.end()) return found->second;
    const uint32_t address = 0x10000 + 0x1000 * static_cast<uint32_t>(addresses_.size());
    addresses_[memory] = address;
    return address;
  }
  // Our own memory (or text placed with put) behind a fake address.
  uint8_t* at(uint32_t address) {
    for (const auto& [memory, base] : addresses_)
      if (address >= base && address < base + 0x1000)
        return const_cast<uint8_t*>(static_cast<const uint8_t*>(memory)) + (address - base);
    return nullptr;
  }
  uint32_t put(std::vector<uint8_t> bytes) {
    placed_.push_back(std::move(bytes));
    return addressOf(placed_.back().data());
  }
  std::string ansiTextAt(uint32_t address) override { return reinterpret_cast<const char*>(at(address)); }
  std::u16string wideTextAt(uint32_t address) override { return reinterpret_cast<const char16_t*>(at(address)); }
  std::vector<uint8_t> bytesAt(uint32_t address, size_t count) override {
    const uint8_t* p = at(address);
    return p == nullptr ? std::vector<uint8_t>{} : std::vector<uint8_t>(p, p + count);
  }
  void clearVariant(uint8_t* variant) override {
    ++clearedVariants;
    std::memset(variant, 0, 16);
  }
  int clearedVariants = 0;

 private:
  std::map<const void*, uint32_t> addresses_;
  std::list<std::vector<uint8_t>> placed_;
};

inline platform::Locale& TestLocale() { return platform::consolePlatform().locale; }

inline uint32_t ImageWord(const std::vector<uint8_t>& image, size_t offset) {
  uint32_t value;
  std::memcpy(&value, image.data() + offset, 4);
  return value;
}

}  // namespace maqo::com::dll::test
