#include "builtins/builtin_availability.h"

#include <array>


namespace maqo::builtins {

namespace {

// Families whose every builtin works on the desktop, other programs' windows
// or COM, which only Windows provides.
bool familyNeedsWindows(BuiltinFamily family) {
  switch (family) {
    case BuiltinFamily::WindowIds:
    case BuiltinFamily::WindowControl:
    case BuiltinFamily::Input:
    case BuiltinFamily::ControlItems:
    case BuiltinFamily::ScreenImage:
    case BuiltinFamily::PointText:
    case BuiltinFamily::HtmlForm:
    case BuiltinFamily::Com:
    case BuiltinFamily::ComEvents:
    case BuiltinFamily::Browser:
    case BuiltinFamily::Spreadsheet:
    case BuiltinFamily::Speech:
      return true;
    default:
      return false;
  }
}

// Builtins of the platform-neutral families that read or drive Windows itself.
constexpr std::array<std::u16string_view, 4> kWindowsOnlySystemBuiltins = {u"KINDOFOS", u"SENSOR", u"POFF", u"SOUND"};

}  // namespace

BuiltinAvailability AvailabilityOf(const BuiltinEntry& builtin, bool onWindows) {
  if (!builtin.implemented()) return BuiltinAvailability::NotBuilt;
  if (onWindows) return BuiltinAvailability::Runs;
  if (familyNeedsWindows(builtin.family)) return BuiltinAvailability::NeedsWindows;
  for (std::u16string_view name : kWindowsOnlySystemBuiltins)
    if (builtin.name == name) return BuiltinAvailability::NeedsWindows;
  return BuiltinAvailability::Runs;
}

std::u16string_view AvailabilityText(BuiltinAvailability availability) {
  switch (availability) {
    case BuiltinAvailability::Runs: return u"yes";
    case BuiltinAvailability::NeedsWindows: return u"needs Windows";
    case BuiltinAvailability::NotBuilt: break;
  }
  return u"not built";
}

}  // namespace maqo::builtins
