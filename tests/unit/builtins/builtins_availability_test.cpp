// Whether this build runs a builtin (mqsrun --builtins): the status follows
// from the implementation table and, off Windows, from what needs a desktop.
#include <gtest/gtest.h>

#include "builtins/builtin_availability.h"
#include "builtins/implementations.h"

namespace maqo::builtins {
namespace {

BuiltinAvailability statusOf(std::u16string_view name, bool onWindows) {
  const BuiltinSpec* builtin = FindBuiltin(name);
  EXPECT_NE(builtin, nullptr);
  return builtin ? AvailabilityOf(*builtin, onWindows) : BuiltinAvailability::NotBuilt;
}

TEST(BuiltinAvailability, EveryBuiltinHasTheStatusItsImplementationGives) {
  for (const BuiltinSpec& builtin : BuiltinTable()) {
    SCOPED_TRACE(std::string(builtin.name.begin(), builtin.name.end()));
    const bool built = ImplementationOf(BuiltinNumber(builtin)) != nullptr;
    EXPECT_EQ(AvailabilityOf(builtin, true), built ? BuiltinAvailability::Runs : BuiltinAvailability::NotBuilt);
    EXPECT_EQ(AvailabilityOf(builtin, false) == BuiltinAvailability::NotBuilt, !built);
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
