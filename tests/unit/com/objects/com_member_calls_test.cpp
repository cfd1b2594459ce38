// COM member calls from scripts against a fake automation server: reads,
// calls, VAR write-back, named arguments, WITH, chains, assignments,
// collections, and the COM_ERR_IGN / COM_ERR_FLG rules.
#include <gtest/gtest.h>

#include "com/objects/com_session.h"
#include "platform/fake/fake_com.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::com::objects {
namespace {

using platform::ComArgument;
using platform::ComFailure;
using platform::ComValue;
using platform::fake::ComInt;
using platform::fake::ComText;
using platform::fake::FakeComObject;
namespace vt = platform::vt;
namespace flags = platform::invoke_flags;

// The test server: Count (property only), Reset (method only), AddOne(VAR n),
// Child (another server), Item[i] (indexed, settable), Value (settable),
// Fail (raises an exception), Echo(x) (returns x), Types(...) (records).
std::shared_ptr<FakeComObject> makeServer(int depth = 2) {
  auto server = std::make_shared<FakeComObject>();
  auto* self = server.get();
  server->addMember(u"Count", 1, [](uint16_t f, std::span<ComArgument>, std::span<const int32_t>, ComValue& r, ComFailure& e) {
    if (!(f & flags::kGet)) {
      e.code = static_cast<int32_t>(0x80020003);
      return false;
    }
    r = ComInt(5);
    return true;
  });
  server->addMember(u"Reset", 2, [](uint16_t f, std::span<ComArgument>, std::span<const int32_t>, ComValue& r, ComFailure&) {
    r = ComText(f == flags::kMethod ? u"method" : u"both");
    return true;
  });
  server->addMember(u"AddOne", 3, [](uint16_t, std::span<ComArgument> a, std::span<const int32_t>, ComValue&, ComFailure& e) {
    if (a.size() != 1 || !a[0].byReference) {
      e.code = static_cast<int32_t>(0x80070057);
      return false;
    }
    a[0].value = ComInt(a[0].value.integer + 1);
    return true;
  });
  std::shared_ptr<FakeComObject> child = depth > 0 ? makeServer(depth - 1) : nullptr;
  server->addMember(u"Child", 4, [child](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r, ComFailure&) {
    r.type = vt::kDispatch;
    r.object = child;
    return true;
  });
  auto items = std::make_shared<std::map<int64_t, ComValue>>();
  auto value = std::make_shared<ComValue>();
  server->addMember(u"Item", 5, [items](uint16_t f, std::span<ComArgument> a, std::span<const int32_t>, ComValue& r, ComFailure&) {
    if (f & flags::kPut) {
      (*items)[a[1].value.integer] = a[0].value;  // the value comes first in Invoke's order
      return true;
    }
    r = (*items)[a[0].value.integer];
    return true;
  });
  server->addMember(u"Value", 6, [value](uint16_t f, std::span<ComArgument> a, std::span<const int32_t>, ComValue& r, ComFailure& e) {
    if (f & flags::kPutRef) {
      e.code = static_cast<int32_t>(0x80020003);
      return false;
    }
    if (f & flags::kPut) {
      *value = a[0].value;
      return true;
    }
    r = *value;
    return true;
  });
  server->addMember(u"Fail", 7, [](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue&, ComFailure& e) {
    e.code = platform::kDispException;
    e.description = u"It failed on purpose";
    return false;
  });
  server->addMember(u"Echo", 8, [](uint16_t, std::span<ComArgument> a, std::span<const int32_t>, ComValue& r, ComFailure&) {
    r = a.empty() ? ComValue{} : a[0].value;
    return true;
  });
  server->addMember(u"Types", 9, [](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r, ComFailure&) {
    r = ComInt(0);
    return true;
  });
  server->addName(u"B", 101);
  server->addName(u"C", 102);
  server->items = {ComInt(10), ComText(u"x"), ComInt(30)};
  (void)self;
  return server;
}

class ComMemberCallsTest : public engine::exec_test::EngineTest {
 protected:
  ComMemberCallsTest() : scoped(automation) {
    server = makeServer();
    automation.servers[u"TEST.SERVER"] = server;
  }
  std::vector<std::string> run(std::vector<std::u16string> lines) {
    lines.insert(lines.begin(), u"O = CREATEOLEOBJ(\"Test.Server\")");
    play(std::move(lines));
    return ui.printed();
  }

  platform::fake::FakeComAutomation automation;
  ScopedComAutomation scoped;
  std::shared_ptr<FakeComObject> server;
};

TEST_F(ComMemberCallsTest, ReadsCallsChainsAndWith) {
  EXPECT_EQ(run({u"PRINT O.COUNT", u"PRINT O.Count()", u"PRINT O.RESET()", u"PRINT O.RESET",
                 u"PRINT O.CHILD.CHILD.COUNT", u"WITH O", u"PRINT .COUNT", u"PRINT .CHILD.COUNT", u"ENDWITH",
                 u"PRINT O.ECHO(\"abc\")", u"PRINT O.ECHO(O).COUNT"}),
            (std::vector<std::string>{"5", "5", "method", "both", "5", "5", "5", "abc", "5"}));
  EXPECT_TRUE(ui.errors().empty());
  // DISPIDs are asked once per object and name.
  int countLookups = 0;
  for (const auto& call : server->calls) countLookups += call.dispatchId == 1;
  EXPECT_GE(countLookups, 4);
  // COUNT, RESET, CHILD, ECHO, and COUNT of the object ECHO returned: a
  // returned object is a new value with a cache of its own.
  EXPECT_EQ(server->nameLookups, 5);
}

TEST_F(ComMemberCallsTest, VarArgumentsAreWrittenBack) {
  EXPECT_EQ(run({u"N = 41", u"O.ADDONE(VAR N)", u"PRINT N", u"DIM A[2]", u"A[1] = 1", u"O.ADDONE(VAR A[1])",
                 u"PRINT A[1]"}),
            (std::vector<std::string>{"42", "2"}));
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ComMemberCallsTest, ArgumentsReachTheServerInInvokeOrder) {
  run({u"O.TYPES(3.0, 2.5, , \"\", TRUE)", u"O.TYPES(1, C := \"C\", B := \"B\")", u"O.TYPES(\"x := 1\")"});
  ASSERT_EQ(server->calls.size(), 3u);
  const auto& positional = server->calls[0].arguments;
  ASSERT_EQ(positional.size(), 5u);  // last first
  EXPECT_EQ(positional[0].value.type, vt::kBool);
  EXPECT_EQ(positional[0].value.integer, -1);
  EXPECT_EQ(positional[1].value.type, vt::kBstr);
  EXPECT_EQ(positional[2].value.type, vt::kError);
  EXPECT_EQ(positional[2].value.integer, platform::kDispParamNotFound);
  EXPECT_EQ(positional[3].value.type, vt::kR8);
  EXPECT_EQ(positional[4].value.type, vt::kI4);
  EXPECT_EQ(server->calls[0].flags, flags::kMethod | flags::kGet);

  const auto& named = server->calls[1];
  EXPECT_EQ(named.namedIds, (std::vector<int32_t>{101, 102}));
  ASSERT_EQ(named.arguments.size(), 3u);
  EXPECT_EQ(named.arguments[0].value.text, u"B");
  EXPECT_EQ(named.arguments[1].value.text, u"C");
  EXPECT_EQ(named.arguments[2].value.integer, 1);

  ASSERT_EQ(server->calls[2].arguments.size(), 1u);
  EXPECT_EQ(server->calls[2].arguments[0].value.text, u"x := 1");
  EXPECT_TRUE(server->calls[2].namedIds.empty());
}

TEST_F(ComMemberCallsTest, AssignmentsPutPlainIndexedAndObjects) {
  EXPECT_EQ(run({u"O.VALUE = TRUE", u"PRINT O.VALUE", u"O.ITEM[2] = \"two\"", u"O.ITEM(3) = 3", u"PRINT O.ITEM[2]",
                 u"PRINT O.ITEM(3)", u"O.VALUE = O", u"PRINT O.VALUE.COUNT"}),
            (std::vector<std::string>{"True", "two", "3", "5"}));
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(server->calls[0].arguments[0].value.integer, -1);  // TRUE as VARIANT_TRUE
  // An object goes by reference first (refused by this server), then by value.
  const auto& last = server->calls[server->calls.size() - 3];
  EXPECT_EQ(last.flags, flags::kPut);
  EXPECT_EQ(last.namedIds, (std::vector<int32_t>{platform::kDispIdPropertyPut}));
  // O.VALUE = O made the server hold itself: clear it, or the server leaks.
  std::vector<ComArgument> zero{ComArgument{platform::fake::ComInt(0)}};
  ComValue ignored;
  ComFailure failure;
  server->invoke(6, flags::kPut, zero, {}, ignored, failure);
}

// An index written as a named argument in an assignment: the value stays
// the first named argument (DISPID_PROPERTYPUT), the index's DISPID follows.
TEST_F(ComMemberCallsTest, NamedIndexOfAnAssignmentKeepsItsDispatchId) {
  server->addName(u"INDEX", 101);
  run({u"O.ITEM(INDEX := 2) = \"two\""});
  EXPECT_TRUE(ui.errors().empty());
  ASSERT_FALSE(server->calls.empty());
  const auto& put = server->calls.back();
  EXPECT_EQ(put.flags, flags::kPut);
  EXPECT_EQ(put.namedIds, (std::vector<int32_t>{platform::kDispIdPropertyPut, 101}));
  ASSERT_EQ(put.arguments.size(), 2u);
  EXPECT_EQ(put.arguments[0].value.text, u"two");
  EXPECT_EQ(put.arguments[1].value.integer, 2);
}

TEST_F(ComMemberCallsTest, FailuresAreReportedOrOnlyFlagged) {
  EXPECT_EQ(run({u"COM_ERR_IGN", u"PRINT COM_ERR_FLG", u"PRINT O.FAIL()", u"PRINT COM_ERR_FLG", u"PRINT O.NOSUCH",
                 u"O.NOSUCH = 1", u"COM_ERR_RET", u"PRINT COM_ERR_FLG", u"TRY", u"O.FAIL()", u"EXCEPT",
                 u"PRINT TRY_ERRMSG", u"ENDTRY", u"COM_ERR_IGN", u"PRINT COM_ERR_FLG"}),
            (std::vector<std::string>{"False", "-999999", "True", "-999999", "True", "COM_Error:It failed on purpose",
                                      "False"}));
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ComMemberCallsTest, UncaughtFailureStopsTheRun) {
  EXPECT_EQ(run({u"PRINT 1", u"O.FAIL()", u"PRINT 2"}), (std::vector<std::string>{"1"}));
  ASSERT_EQ(ui.errors().size(), 1u);
  EXPECT_NE(ui.errors()[0].find("COM_Error:It failed on purpose"), std::string::npos);
}

TEST_F(ComMemberCallsTest, CollectionsThroughGetOleItemAndForIn) {
  EXPECT_EQ(run({u"PRINT GETOLEITEM(O)", u"PRINT ALL_OLE_ITEM[0] + \"/\" + ALL_OLE_ITEM[1] + \"/\" + ALL_OLE_ITEM[2]",
                 u"FOR X IN O", u"PRINT X", u"NEXT", u"PRINT GETOLEITEM(O.CHILD)"}),
            (std::vector<std::string>{"3", "10/x/30", "10", "x", "30", "3"}));
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ComMemberCallsTest, ActiveObjectOrNothing) {
  automation.running[u"RUNNING.SERVER"] = server;
  EXPECT_EQ(run({u"A = GETACTIVEOLEOBJ(\"Running.Server\")", u"PRINT A.COUNT",
                 u"PRINT GETACTIVEOLEOBJ(\"Not.Running\") = NOTHING", u"TRY", u"B = CREATEOLEOBJ(\"No.Such\")",
                 u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY"}),
            (std::vector<std::string>{"5", "True", "CREATEOLEOBJ: Invalid class string (0x800401F3): No.Such"}));
}

}  // namespace
}  // namespace maqo::com::objects
