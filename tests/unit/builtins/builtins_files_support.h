// Shared pieces of the file builtin tests: a platform of fakes over the real
// file system (reader_test_support.h), a locale that converts with a chosen
// code page, a builtin host and builtin calls built from argument texts.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "builtins/engine_interface.h"
#include "builtins/builtin_table.h"
#include "engine/errors/script_error.h"
#include "engine/values/global_store.h"
#include "engine/values/number_text.h"
#include "tests/unit/engine/reader/reader_test_support.h"

#ifndef _WIN32
#include "platform/posix/posix_platform.h"
#endif

namespace maqo::builtins::files_test {

using engine::reader_test::TempDir;
using engine::reader_test::TestPlatform;

inline std::string readBytes(const std::u16string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

#ifndef _WIN32
// Converts with a chosen ANSI code page, whatever the machine's own is.
class CodePageLocale final : public platform::Locale {
 public:
  explicit CodePageLocale(unsigned codePage) : cp_(codePage) {}
  unsigned ansiCodePage() override { return cp_; }
  unsigned oemCodePage() override { return cp_ == 932 ? 932 : 437; }
  uint16_t systemLanguage() override { return cp_ == 932 ? 0x0411 : 0x0409; }
  std::u16string decodeAnsi(std::string_view bytes) override { return platform::PosixLocale::decode(cp_, bytes); }
  std::string encodeAnsi(std::u16string_view text, bool* lossy) override {
    return platform::PosixLocale::encode(cp_, text, lossy);
  }
  std::u16string decodeOem(std::string_view bytes) override { return decodeAnsi(bytes); }

 private:
  unsigned cp_;
};
#endif

// A platform whose ANSI code page is codePage, or null when this build cannot
// convert with it (the win32 build converts with the system's own only).
struct CodePagePlatform {
  explicit CodePagePlatform(unsigned codePage) {
#ifndef _WIN32
    locale = std::make_unique<CodePageLocale>(codePage);
#else
    if (platform::consolePlatform().locale.ansiCodePage() == codePage)
      locale = std::make_unique<platform::FakeLocale>(platform::consolePlatform().locale,
                                                      codePage == 932 ? 0x0411 : 0x0409, codePage);
#endif
    if (locale) p = std::make_unique<platform::Platform>(platform::Platform{base.clock, base.files, *locale, base.ui});
  }
  TestPlatform base;
  std::unique_ptr<platform::Locale> locale;
  std::unique_ptr<platform::Platform> p;
};

// A host for builtins that need only the platform, a frame and the global store.
class FakeBuiltinHost final : public BuiltinHost {
 public:
  explicit FakeBuiltinHost(platform::Platform& p) : p_(p) {}
  platform::Platform& platform() override { return p_; }
  engine::THensuFmt& frame() override { return frame_; }
  engine::GlobalStore& globals() override { return store_; }
  engine::ScriptValue evaluate(const engine::Expression&) override {
    throw std::logic_error("the file builtins evaluate nothing");
  }
  engine::ScriptValue evaluateText(std::u16string_view) override {
    throw std::logic_error("the file builtins evaluate nothing");
  }
  bool stopRequested() override { return false; }
  bool checkMode() override { return false; }
  bool onMainThread() override { return true; }

 private:
  platform::Platform& p_;
  engine::THensuFmt frame_;
  engine::GlobalStore store_;
};

// A call of builtin name with arguments given as their texts (numbers as the
// dispatcher converts them).
class TestCall {
 public:
  TestCall(std::u16string_view name, std::vector<std::u16string> texts)
      : call_{*FindBuiltin(name), site_, {}, {}, {}, 0} {
    for (auto& t : texts) {
      BuiltinArgument a;
      a.text = t;
      if (auto n = engine::parseNumberText(t, engine::NumberTextMode::Strict)) {
        a.isNumber = true;
        a.number = *n;
        a.integer = static_cast<int64_t>(*n);
      }
      call_.arguments.push_back(std::move(a));
    }
  }
  BuiltinCall& get() { return call_; }

 private:
  engine::CallSite site_;
  BuiltinCall call_;
};

template <typename F>
engine::ScriptError errorOf(F&& f) {
  try {
    f();
  } catch (const engine::ScriptError& e) {
    return e;
  }
  ADD_FAILURE() << "no ScriptError thrown";
  return engine::ScriptError(u"", u"");
}

inline std::string utf8(const std::u16string& s) { return utf16ToUtf8(s); }

}  // namespace maqo::builtins::files_test
