#include "fuzz/builtin_allowlist.h"

#include "builtins/builtin_table.h"
#include "engine/eval/text_helpers.h"
#include "fuzz/fuzz_input.h"

namespace maqo::fuzz {

namespace {

using builtins::BuiltinFamily;

bool isAllowed(const builtins::BuiltinEntry& entry) {
  switch (entry.family) {
    case BuiltinFamily::Strings:
    case BuiltinFamily::Arrays:
    case BuiltinFamily::Math:
    case BuiltinFamily::WindowIds:  // window searches; the fuzz clock makes their waits instant
      return true;
    case BuiltinFamily::TimeSystem:
      // SLEEP waits on the fuzz clock; the others run programs, switch the
      // machine off, play sounds, read sensors or evaluate computed text.
      return entry.name == u"SLEEP" || entry.name == u"GETTIME" || entry.name == u"KINDOFOS";
    default:
      return false;
  }
}

bool isNameCharacter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }

}  // namespace

std::u16string RefusedBuiltinIn(std::u16string_view text) {
  // The builtin lookup folds case with the engine's own table, so the text is
  // folded the same way before it is split into names.
  const std::u16string upper = engine::UpperCase(text);
  size_t i = 0;
  while (i < upper.size()) {
    if (!isNameCharacter(upper[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < upper.size() && isNameCharacter(upper[end])) ++end;
    const std::u16string_view name = std::u16string_view(upper).substr(i, end - i);
    if (const builtins::BuiltinEntry* entry = builtins::FindBuiltin(name); entry != nullptr && !isAllowed(*entry))
      return std::u16string(entry->name);
    i = end;
  }
  return {};
}

void CheckRefusals() {
  struct Case {
    std::u16string_view text;
    std::u16string_view refused;
  };
  const Case cases[] = {
      {u"DOSCMD(\"echo\")", u"DOSCMD"},
      {u"x = global.powershell(\"1\")", u"POWERSHELL"},
      {u"PRINT EVAL(\"1+1\")", u"EVAL"},
      {u"s = \"deletefile\"", u"DELETEFILE"},
      {u"id=FOpen(\"a.txt\",2);FPUT(id,1)", u"FOPEN"},
      {u"IF A THEN EXEC(\"x\")", u"EXEC"},
      {u"POFF(P_POWEROFF)", u"POFF"},
      {u"WRITEINI(\"S\",\"K\",1,\"x.ini\")", u"WRITEINI"},
      {u"PRINT COPY(\"abc\", 2) + SLEEP(1) + GETID(\"x\")", u""},
      {u"DOSCMDX = 1; MYEVAL = 2", u""},
  };
  for (const Case& c : cases) {
    if (RefusedBuiltinIn(c.text) != c.refused) Finding("the builtin allow-list lets through what it must refuse", c.text);
  }
}

}  // namespace maqo::fuzz
