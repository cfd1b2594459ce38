// Whether this build runs a builtin (mqsrun --builtins): the status follows
// from what the program's library implements and, off Windows, from what
// needs a desktop.
#include <gtest/gtest.h>

#include "builtins/builtin_availability.h"
#include "tests/unit/test_library.h"

namespace maqo::builtins {
namespace {

BuiltinAvailability statusOf(std::u16string_view name, bool onWindows) {
  const engine::BuiltinEntry* builtin = tests::TestLibrary().find(name);
  EXPECT_NE(builtin, nullptr);
  return builtin ? AvailabilityOf(*builtin, onWindows) : BuiltinAvailability::NotBuilt;
}

TEST(BuiltinAvailability, EveryBuiltinIsListedAndOnlyUnlinkedOnesAreNotBuilt) {
  EXPECT_EQ(tests::TestLibrary().entries().size(), BuiltinTable().size());
  for (const engine::BuiltinEntry& builtin : tests::TestLibrary().entries()) {
    SCOPED_TRACE(std::string(builtin.name.begin(), builtin.name.end()));
    EXPECT_EQ(AvailabilityOf(builtin, true), builtin.implemented() ? BuiltinAvailability::Runs : BuiltinAvailability::NotBuilt);
    EXPECT_EQ(AvailabilityOf(builtin, false) == BuiltinAvailability::NotBuilt, !builtin.implemented());
  }
}

TEST(BuiltinAvailability, DesktopBuiltinsNeedWindowsElsewhere) {
  EXPECT_EQ(statusOf(u"LENGTH", false), BuiltinAvailability::Runs);
  EXPECT_EQ(statusOf(u"SPLIT", false), BuiltinAvailability::Runs);
  EXPECT_EQ(statusOf(u"GETID", false), BuiltinAvailability::NeedsWindows);
  EXPECT_EQ(statusOf(u"KINDOFOS", false), BuiltinAvailability::NeedsWindows);
  EXPECT_EQ(statusOf(u"GETID", true), BuiltinAvailability::Runs);
  EXPECT_EQ(AvailabilityText(BuiltinAvailability::Runs), u"yes");
  EXPECT_EQ(AvailabilityText(BuiltinAvailability::NeedsWindows), u"needs Windows");
  EXPECT_EQ(AvailabilityText(BuiltinAvailability::NotBuilt), u"not built");
}

}  // namespace
}  // namespace maqo::builtins
