// Whole scripts with DEF_DLL calls on a real engine, the DLL played by a
// fake native side: statement and expression calls reach the DLL, arrays
// from an index, structure members and VAR buffers come back into the
// script's variables, module declarations and threads call alike.
#include <gtest/gtest.h>

#include "com/dll/dll_session.h"
#include "com/dll/dll_values.h"
#include "tests/unit/com/dll/dll_test_support.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::com::dll::test {
namespace {

// The functions of "test.dll" as the fake plays them.
void playTestDll(FakeNative& native) {
  const std::vector<uint8_t>& image = native.lastImage;
  native.registers = {};
  if (native.lastName == "IncrementAll") {
    uint8_t* values = native.at(ImageWord(image, 0));
    for (uint32_t i = 0; i < ImageWord(image, 4); ++i) Store32(values + 4 * i, Load32(values + 4 * i) + 1);
  } else if (native.lastName == "GetPoint") {
    uint8_t* point = native.at(ImageWord(image, 0));
    Store32(point, 123);
    Store32(point + 4, 45);
    native.registers.eax = 1;
  } else if (native.lastName == "Fill") {
    std::memcpy(native.at(ImageWord(image, 0)), "ABCD", 4);
  } else if (native.lastName == "Twice") {
    native.registers.eax = ImageWord(image, 0) * 2;
  }
}

class DllScriptTest : public engine::exec_test::EngineTest {
 protected:
  DllScriptTest() {
    native.exports[u"test.dll"] = {"IncrementAll", "GetPoint", "Fill", "Twice"};
    native.callee = playTestDll;
    UseNativeLibraries(native);
  }
  ~DllScriptTest() override { UseNativeLibraries(platform::systemNativeLibraries()); }

  FakeNative native;
};

TEST_F(DllScriptTest, ResultsComeBackIntoTheScriptsVariables) {
  play({u"DEF_DLL IncrementAll(INT[], INT):test.dll",
        u"DEF_DLL GetPoint({LONG, LONG}):BOOL:test.dll",
        u"DEF_DLL Fill(VAR STRING):test.dll",
        u"DIM A[] = 1, 2, 3",
        u"IncrementAll(A[1], 2)",
        u"PRINT A[0] + \",\" + A[1] + \",\" + A[2]",
        u"IncrementAll(A, 3)",
        u"PRINT A[0] + \",\" + A[1] + \",\" + A[2]",
        u"X = 0; Y = 0",
        u"PRINT GetPoint(X, Y)",
        u"PRINT X + \",\" + Y",
        u"S = \"......\"",
        u"Fill(S)",
        u"PRINT S"});
  EXPECT_EQ(ui.errors(), std::vector<std::string>{});
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"1,3,4", "2,4,5", "1", "123,45", "ABCD.."}));
}

TEST_F(DllScriptTest, ModulesAndThreadsCallTheirDeclarations) {
  play({u"PUBLIC DONE = 0, GOT = 0",
        u"THREAD Worker()",
        u"FOR K = 1 TO 200",
        u"  IF DONE THEN BREAK",
        u"  SLEEP(0.05)",
        u"NEXT",
        u"PRINT M.Twice(21) + \",\" + GOT",
        u"PROCEDURE Worker()",
        u"  GOT = M.Twice(50)",
        u"  DONE = 1",
        u"FEND",
        u"MODULE M",
        u"  DEF_DLL Twice(INT):INT:test.dll",
        u"ENDMODULE"});
  EXPECT_EQ(ui.errors(), std::vector<std::string>{});
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"42,100"}));
  EXPECT_EQ(native.lookedUp, std::vector<std::string>{"Twice"}) << "the name without its module, as declared";
}

TEST_F(DllScriptTest, TheRunsEndFreesItsDlls) {
  play({u"DEF_DLL Twice(INT):INT:test.dll", u"PRINT Twice(2)"});
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"4"}));
  EXPECT_EQ(native.released.size(), 1u);
}

}  // namespace
}  // namespace maqo::com::dll::test
