// Which single-instance mutexes a start tests, from its start mode and the
// NotMultiplex setting.
#pragma once
#include <string>
#include <vector>

#include "host/command_line.h"

namespace maqo::host {

inline constexpr char16_t kInstanceMutex[] = u"_MAQO_NIJYUKIDOU_NG_";
inline constexpr char16_t kSecondInstanceMutex[] = u"_MAQO_NIJYUKIDOU_NG2_";

struct InstanceRule {
  // Tried in order: the start goes ahead holding the first mutex it could
  // create; when every one exists already the start is refused. Empty: no test.
  std::vector<std::u16string> mutexes;
  // A refused start closes without the multiplex message.
  bool silent = false;
};

// mode is the mode the start goes ahead in: a hand-over (/k, /l) that found
// no running instance starts as a normal start and takes its rule.
InstanceRule InstanceRuleFor(StartMode mode, int notMultiplex);

// The message a refused start shows.
std::u16string MultiplexMessage(bool japanese);

}  // namespace maqo::host
