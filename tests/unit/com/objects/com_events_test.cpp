// OLEEVENT against a fake server that fires its events from inside a member
// call: handlers, EVENT_ID / EVENT_PRM and by-reference write-back, shared
// connections, disconnecting, the run-end disconnect, and the failures.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "com/objects/com_events.h"
#include "com/objects/com_session.h"
#include "engine/library/com_event_activity.h"
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

constexpr char16_t kEventsId[] = u"{0E5A0001-0000-0000-0000-000000000001}";

// FIRE(n) raises Fired(n, text) (DISPID 1; text by reference) and then
// Zero(n) (DISPID 0); the server keeps what each Fired left in text.
class ComEventsTest : public engine::exec_test::EngineTest {
 protected:
  ComEventsTest() : scoped(automation) {
    server = std::make_shared<FakeComObject>();
    server->addEventInterface(u"TestEvents", kEventsId, {{u"Fired", 1}, {u"Zero", 0}, {u"Unused", 2}});
    FakeComObject* self = server.get();
    server->addMember(u"Fire", 1, [this, self](uint16_t, std::span<ComArgument> a, std::span<const int32_t>, ComValue&,
                                               ComFailure&) {
      const int64_t n = a.empty() ? 0 : a[0].value.integer;
      const std::vector<ComValue> after = self->fire(kEventsId, 1, {ComInt(n), ComText(u"before")});
      textsSeen.push_back(after[1].text);
      self->fire(kEventsId, 0, {ComInt(n)});
      return true;
    });
    automation.servers[u"TEST.EVENTS"] = server;
  }
  std::vector<std::string> run(std::vector<std::u16string> lines) {
    lines.insert(lines.begin(), u"PUBLIC O = CREATEOLEOBJ(\"Test.Events\")");  // CUT uses it
    for (const char16_t* line : {u"PROCEDURE ON_FIRED()", u"PRINT EVENT_ID + \":\" + EVENT_PRM[0] + \":\" + EVENT_PRM[1]",
                                 u"EVENT_PRM[1] = \"changed \" + EVENT_PRM[0]", u"FEND", u"PROCEDURE ON_ZERO()",
                                 u"PRINT \"zero \" + EVENT_PRM[0]", u"FEND", u"PROCEDURE OTHER()", u"PRINT \"other\"",
                                 u"FEND", u"PROCEDURE CUT()", u"OLEEVENT(O)", u"PRINT \"cut\"", u"FEND"})
      lines.emplace_back(line);
    play(std::move(lines));
    return ui.printed();
  }
  std::string errorText(size_t from = 0) {
    std::string all;
    const std::vector<std::string> errors = ui.errors();
    for (size_t i = from; i < errors.size(); ++i) all += errors[i];
    return all;
  }

  platform::fake::FakeComAutomation automation;
  ScopedComAutomation scoped;
  std::shared_ptr<FakeComObject> server;
  std::vector<std::u16string> textsSeen;
};

TEST_F(ComEventsTest, HandlersRunAndChangeByReferenceParameters) {
  EXPECT_EQ(run({u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")",
                 u"OLEEVENT(O, \"testevents\", \"zero\", \"on_zero\")", u"O.FIRE(5)",
                 u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"OTHER\")", u"O.FIRE(6)", u"PRINT \"end\""}),
            (std::vector<std::string>{"1:5:before", "zero 5", "1:6:before", "other", "end"}));
  EXPECT_TRUE(ui.errors().empty()) << errorText();
  EXPECT_EQ(textsSeen, (std::vector<std::u16string>{u"changed 5", u"changed 6"}));
}

TEST_F(ComEventsTest, EventsOfOneInterfaceShareOneConnection) {
  size_t during = 0;
  server->addMember(u"Sinks", 2, [&](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r,
                                     ComFailure&) {
    during = server->sinkCount();
    r = ComInt(static_cast<int64_t>(during));
    return true;
  });
  EXPECT_EQ(run({u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")",
                 u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"ON_ZERO\")", u"PRINT O.SINKS"}),
            (std::vector<std::string>{"1"}));
  // The run's end unadvised it.
  EXPECT_EQ(server->sinkCount(), 0u);
}

// Waits pass messages more often while sinks are connected: the run's count
// follows every connection and disconnection and is 0 after the run.
TEST_F(ComEventsTest, TheRunKnowsWhetherSinksAreConnected) {
  std::vector<size_t> seen;
  server->addMember(u"Probe", 3, [&](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue&,
                                     ComFailure&) {
    const engine::ComEventActivity* activity = engine.familyState.find<engine::ComEventActivity>();
    seen.push_back(activity != nullptr ? activity->connections.load() : 0);
    return true;
  });
  run({u"O.PROBE()", u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")", u"O.PROBE()",
       u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"ON_ZERO\")", u"O.PROBE()", u"OLEEVENT(O, \"\")", u"O.PROBE()",
       u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"ON_ZERO\")"});
  EXPECT_TRUE(ui.errors().empty()) << errorText();
  EXPECT_EQ(seen, (std::vector<size_t>{0, 1, 1, 0}));
  const engine::ComEventActivity* activity = engine.familyState.find<engine::ComEventActivity>();
  ASSERT_NE(activity, nullptr);
  EXPECT_EQ(activity->connections.load(), 0u);
}

TEST_F(ComEventsTest, DisconnectingStopsEventsAndALaterCallConnectsAnew) {
  EXPECT_EQ(run({u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"ON_ZERO\")", u"OLEEVENT(O, \"\")", u"O.FIRE(1)",
                 u"OLEEVENT(O, \"TestEvents\", \"Zero\", \"ON_ZERO\")", u"O.FIRE(2)",
                 // A handler that disconnects its own object while the event runs.
                 u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"CUT\")", u"O.FIRE(3)", u"O.FIRE(4)", u"PRINT \"end\""}),
            (std::vector<std::string>{"zero 2", "cut", "end"}));
  EXPECT_TRUE(ui.errors().empty()) << errorText();
  EXPECT_EQ(server->sinkCount(), 0u);
}

TEST_F(ComEventsTest, RunEndDisconnectsAfterAnError) {
  run({u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")", u"X = 1 / NOSUCHFUNCTION()"});
  EXPECT_FALSE(ui.errors().empty());
  EXPECT_EQ(server->sinkCount(), 0u);
}

TEST_F(ComEventsTest, FailuresAreReportedAndRegisterNothing) {
  struct Case {
    const char* label;
    std::u16string line;
    std::string expectedError;
    bool brokenTypeLibrary = false;
  };
  const Case cases[] = {
      {"unknown event", u"OLEEVENT(O, \"TestEvents\", \"NoSuch\", \"ON_FIRED\")", "Event was not able to be acquired"},
      {"unknown interface", u"OLEEVENT(O, \"Other\", \"Fired\", \"ON_FIRED\")", "Event was not able to be acquired"},
      {"unknown procedure", u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"NOPROC\")", "NOPROC:No specified function"},
      {"broken type library", u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")", "COM_Error:", true},
      {"not an object", u"OLEEVENT(5, \"TestEvents\", \"Fired\", \"ON_FIRED\")", "not an object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const size_t before = ui.errors().size();
    server->typeInfoFails = c.brokenTypeLibrary;
    run({c.line, u"O.FIRE(1)", u"PRINT \"after\""});
    EXPECT_NE(errorText(before).find(c.expectedError), std::string::npos) << errorText(before);
    EXPECT_EQ(server->sinkCount(), 0u);
    EXPECT_TRUE(textsSeen.empty() || textsSeen.back() == u"before");
  }
}

// Objects of a spreadsheet or word-processor application pass their event
// parameters in arrival order (last first); the application is found through
// "Parent" until an object is its own parent.
TEST_F(ComEventsTest, ApplicationNameChoosesTheParameterOrder) {
  const auto objectValue = [](std::shared_ptr<platform::ComObject> object) {
    ComValue value;
    value.type = platform::vt::kDispatch;
    value.object = std::move(object);
    return value;
  };
  const auto returning = [](std::function<ComValue()> make) {
    return [make](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r, ComFailure&) {
      r = make();
      return true;
    };
  };
  struct Case {
    const char* applicationName;
    std::string firstLine;
  };
  const Case cases[] = {
      {"Microsoft Excel", "1:before:5"},
      {"Microsoft Word", "1:before:5"},
      {"Some Other Application", "1:5:before"},
      {"EXCEL", "1:5:before"},  // the name must hold " EXCEL", blank included
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.applicationName);
    // server -> book -> application -> application
    auto application = std::make_shared<FakeComObject>();
    auto book = std::make_shared<FakeComObject>();
    std::weak_ptr<FakeComObject> weakApplication = application;
    application->addMember(u"Parent", 50, returning([&] { return objectValue(weakApplication.lock()); }));
    application->addMember(u"Name", 51, returning([&] {
      return ComText(std::u16string(c.applicationName, c.applicationName + std::strlen(c.applicationName)));
    }));
    book->addMember(u"Parent", 50, returning([&] { return objectValue(application); }));
    server->addMember(u"Parent", 50, returning([&] { return objectValue(book); }));
    const size_t before = ui.printed().size();  // the output of every run so far
    const std::vector<std::string> printed = run({u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")", u"O.FIRE(5)"});
    ASSERT_GT(printed.size(), before);
    EXPECT_EQ(printed[before], c.firstLine);
    EXPECT_TRUE(ui.errors().empty()) << errorText();
  }
}

TEST_F(ComEventsTest, AnEndlessParentChainEndsTheWalk) {
  // Every Parent is a new object: no object is ever its own parent.
  int parentReads = 0;
  std::function<ComValue()> nextLink = [&] {
    auto link = std::make_shared<FakeComObject>();
    link->addMember(u"Parent", 50, [&](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r,
                                       ComFailure&) {
      r = nextLink();
      return true;
    });
    ++parentReads;
    ComValue value;
    value.type = platform::vt::kDispatch;
    value.object = link;
    return value;
  };
  server->addMember(u"Parent", 50, [&](uint16_t, std::span<ComArgument>, std::span<const int32_t>, ComValue& r,
                                       ComFailure&) {
    r = nextLink();
    return true;
  });
  EXPECT_EQ(run({u"OLEEVENT(O, \"TestEvents\", \"Fired\", \"ON_FIRED\")", u"O.FIRE(5)"}),
            (std::vector<std::string>{"1:5:before"}));
  EXPECT_EQ(parentReads, kParentWalkLimit);
  EXPECT_TRUE(ui.errors().empty()) << errorText();
}

}  // namespace
}  // namespace maqo::com::objects
