// The object and DEF_DLL seams: with providers registered, the executor hands
// member reads, member assignments, method calls and DEF_DLL calls to them
// (and writes VAR results back); without providers the same script reports
// "not available yet" (tests/scripts/errors).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtins/register_builtins.h"
#include "engine/library/builtin_host.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine::exec_test {
namespace {

class RecordingObjects final : public ObjectProvider {
 public:
  ScriptValue get(std::u16string_view memberText, BuiltinHost&) override {
    calls.push_back(u"get " + std::u16string(memberText));
    return ScriptValue::string(u"value of " + std::u16string(memberText));
  }
  void set(std::u16string_view memberText, const ScriptValue& value, BuiltinHost&) override {
    calls.push_back(u"set " + std::u16string(memberText) + u" = " + value.toText());
  }
  ScriptValue invoke(const CallSite& call, BuiltinHost& host) override {
    // The arguments are evaluated in the caller's frame through its host.
    std::u16string text = u"invoke " + call.name + u"(";
    for (const auto& argument : call.arguments) text += host.evaluate(*argument).toText() + u";";
    calls.push_back(text + u")");
    return ScriptValue::int32(7);
  }
  ScriptValue member(const ScriptValue& object, std::u16string_view tail, std::u16string_view,
                     BuiltinHost&) override {
    calls.push_back(u"member " + object.toText() + u" " + std::u16string(tail));
    return ScriptValue::int32(8);
  }
  std::vector<ScriptValue> elements(const ScriptValue&, std::u16string_view, BuiltinHost&) override { return {}; }

  std::vector<std::u16string> calls;
};

class RecordingDll final : public DllProvider {
 public:
  // Records the declaration and the evaluated arguments; the first argument
  // is a VAR parameter written back doubled through the host.
  ScriptValue call(const DllCall& call, BuiltinHost& host) override {
    std::u16string text = call.declaredName + call.declaration + u" <- ";
    std::vector<ScriptValue> values;
    for (const auto& argument : call.site.arguments) values.push_back(host.evaluate(*argument));
    for (const ScriptValue& v : values) text += v.toText() + u";";
    calls.push_back(text);
    if (!values.empty() && !call.site.argumentTexts.empty())
      host.executeStatementText(call.site.argumentTexts[0] + u" = " + ScriptValue::number(values[0].toDouble() * 2).toText());
    return ScriptValue::int32(99);
  }
  std::vector<std::u16string> calls;
};

struct SeamLibrary {
  SeamLibrary() {
    builtins::RegisterCoreBuiltins(library);
    library.setObjectProvider(&objects);
    library.setDllProvider(&dll);
  }
  BuiltinLibrary library;
  RecordingObjects objects;
  RecordingDll dll;
};

class ExecSeams : protected SeamLibrary, public EngineTest {
 protected:
  ExecSeams() : EngineTest(0x0409, library) {}
};

TEST_F(ExecSeams, ObjectUsesGoToTheRegisteredProvider) {
  play({
      u"OBJ = 5",
      u"OBJ.VISIBLE = 1 + 1",
      u"PRINT OBJ.NAME",
      u"PRINT OBJ.ITEMS(1 + 1, \"A\")",
      // A call followed by members is read as one member chain.
      u"PRINT LENGTH(\"abc\").SIZE",
  });
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(ui.printed(),
            (std::vector<std::string>{"value of OBJ.NAME", "7", "value of LENGTH[\"abc\"].SIZE"}));
  ASSERT_EQ(objects.calls.size(), 4u);
  EXPECT_EQ(objects.calls[0], u"set OBJ.VISIBLE = 2");
  EXPECT_EQ(objects.calls[1], u"get OBJ.NAME");
  EXPECT_EQ(objects.calls[2], u"invoke OBJ.ITEMS(2;A;)");
  EXPECT_EQ(objects.calls[3], u"get LENGTH[\"abc\"].SIZE");
}

TEST_F(ExecSeams, DllCallsReachTheProviderWithTheirDeclarationAndCallSite) {
  play({
      u"DEF_DLL Twice(int, int): int: test.dll",
      u"N = 21",
      u"PRINT Twice(N, N + 1)",
      u"PRINT N",
  });
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"99", "42"}));
  EXPECT_EQ(dll.calls, (std::vector<std::u16string>{u"Twice(int, int): int: test.dll <- 21;22;"}));
}

}  // namespace
}  // namespace maqo::engine::exec_test
