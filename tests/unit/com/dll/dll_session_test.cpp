// A whole DEF_DLL call against a fake native side: the DLL cache (loaded
// once, the limit, freed at the run's end, shared by threads), the function
// lookup by its declared case, and the order of the errors.
#include <gtest/gtest.h>

#include <thread>

#include "com/dll/dll_session.h"
#include "tests/unit/com/dll/dll_test_support.h"

namespace maqo::com::dll::test {
namespace {

class DllSessionTest : public ::testing::Test {
 protected:
  DllSessionTest() {
    native.exports[u"user32.dll"] = {"MessageBoxW", "GetCursorPos"};
    native.exports[u"kernel32"] = {"GetTickCount", "MulDiv"};
  }

  ScriptValue call(const char16_t* name, const char16_t* declaration, std::vector<Argument> values = {}) {
    FakeArguments arguments(std::move(values));
    const size_t written = arguments.text(0).empty() ? 0 : 1;
    return session.call(name, declaration, arguments, written, TestLocale());
  }

  std::string errorOf(const char16_t* name, const char16_t* declaration, std::vector<Argument> values = {}) {
    try {
      call(name, declaration, std::move(values));
    } catch (const engine::ScriptError& e) {
      return u8(e.message().english);
    }
    return "no error";
  }

  FakeNative native;
  DllCallSession session{native};
};

TEST_F(DllSessionTest, LoadsEachDllOnceAndLooksFunctionsUpAsDeclared) {
  native.registers.eax = 1234;
  EXPECT_EQ(u8(call(u"GetTickCount", u"():DWORD:kernel32").toDisplayText()), "1234");
  EXPECT_EQ(u8(call(u"MOD.MulDiv", u"(INT,INT,INT):INT:KERNEL32", {{u"100", ScriptValue::int32(100)}}).toDisplayText()), "1234");
  EXPECT_EQ(native.loaded, std::vector<std::u16string>{u"kernel32"});
  EXPECT_EQ(native.lookedUp, (std::vector<std::string>{"GetTickCount", "MulDiv"}));
  EXPECT_EQ(native.lastImage.size(), 12u);
  EXPECT_EQ(ImageWord(native.lastImage, 0), 100u);
  // The second call of a declaration uses the address it found.
  call(u"GetTickCount", u"():DWORD:kernel32");
  EXPECT_EQ(native.lookedUp.size(), 2u);
  EXPECT_EQ(native.calls, 3);
}

TEST_F(DllSessionTest, FloatingPointReturnsAskForTheX87Register) {
  call(u"GetTickCount", u"():DOUBLE:kernel32");
  EXPECT_TRUE(native.lastFloating);
  call(u"MulDiv", u"():INT:kernel32");
  EXPECT_FALSE(native.lastFloating);
}

TEST_F(DllSessionTest, ErrorsComeInTheirOrderAndNothingIsCalled) {
  const std::pair<std::vector<const char16_t*>, const char*> cases[] = {
      {{u"F", u"(INT, FOO):x.dll"}, "Error"},
      {{u"F", u"({INT):x.dll"}, "SyntaxError-60"},
      {{u"F", u"(INT):FOO:kernel32"}, "Definition of the return value of DLL is wrong"},
      {{u"F", u"(INT)"}, "SyntaxError-61"},
      {{u"F", u"(INT):INT:nosuch.dll"}, "Not DLL: nosuch.dll"},
      {{u"getTickCount", u"():DWORD:kernel32"}, "Not DLL Function: getTickCount"},
  };
  for (const auto& [declaration, message] : cases)
    EXPECT_EQ(errorOf(declaration[0], declaration[1], {{u"1", ScriptValue::int32(1)}}), message) << u8(declaration[1]);
  EXPECT_EQ(errorOf(u"MulDiv", u"(INT):INT:kernel32", {{u"\"x\"", ScriptValue::string(u"x")}}),
            "DLL:Does not fit the type of the argument");
  EXPECT_EQ(native.calls, 0);
}

TEST_F(DllSessionTest, MoreThanFortyArgumentsAreRefused) {
  FakeArguments arguments({});
  try {
    session.call(u"MulDiv", u"(INT):INT:kernel32", arguments, 41, TestLocale());
    FAIL();
  } catch (const engine::ScriptError& e) {
    EXPECT_EQ(u8(e.message().english), "DLL:Too many arguments (at most 40)");
  }
  EXPECT_EQ(native.calls, 0);
}

TEST_F(DllSessionTest, WithoutNativeCallsTheErrorSaysWindowsIsNeeded) {
  native.callable = false;
  EXPECT_EQ(errorOf(u"GetTickCount", u"():DWORD:kernel32"), "DEF_DLL calls need Windows: GetTickCount");
  EXPECT_TRUE(native.loaded.empty());
}

TEST_F(DllSessionTest, TheRunsEndFreesEveryDll) {
  call(u"GetTickCount", u"():DWORD:kernel32");
  call(u"MessageBoxW", u"():INT:user32.dll");
  EXPECT_EQ(session.libraries().size(), 2u);
  session.endRun();
  EXPECT_EQ(session.libraries().size(), 0u);
  EXPECT_EQ(native.released.size(), 2u);
  // The next run loads again and looks the function up again.
  call(u"GetTickCount", u"():DWORD:kernel32");
  EXPECT_EQ(native.loaded.size(), 3u);
  EXPECT_EQ(native.lookedUp.size(), 3u);
}

TEST_F(DllSessionTest, AtMostSixtyFourDlls) {
  for (int i = 0; i < 65; ++i) native.exports[u"lib" + utf8ToUtf16(std::to_string(i))] = {"F"};
  for (int i = 0; i < 64; ++i) session.libraries().module(u"lib" + utf8ToUtf16(std::to_string(i)));
  EXPECT_EQ(session.libraries().module(u"LIB3"), 4u) << "names compare without case";
  try {
    session.libraries().module(u"lib64");
    FAIL();
  } catch (const engine::ScriptError& e) {
    EXPECT_EQ(u8(e.message().english), "DLL:Too many DLLs are loaded (at most 64)");
  }
}

TEST_F(DllSessionTest, ThreadsLoadingAtOnceShareOneHandle) {
  for (int i = 0; i < 8; ++i) native.exports[u"lib" + utf8ToUtf16(std::to_string(i))] = {"F"};
  std::vector<std::thread> threads;
  std::vector<std::vector<uintptr_t>> seen(4);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round)
        for (int i = 0; i < 8; ++i) seen[t].push_back(session.libraries().module(u"lib" + utf8ToUtf16(std::to_string(i))));
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(native.loaded.size(), 8u);
  for (int t = 1; t < 4; ++t) EXPECT_EQ(seen[t], seen[0]);
}

}  // namespace
}  // namespace maqo::com::dll::test
