#include "host/instance_rule.h"

namespace maqo::host {

InstanceRule InstanceRuleFor(StartMode mode, int notMultiplex) {
  InstanceRule rule;
  const bool interactive = mode == StartMode::Normal || mode == StartMode::HandOverPlay ||
                           mode == StartMode::HandOverLoad;
  rule.silent = notMultiplex < 0;
  if (notMultiplex == 2 || notMultiplex == -2) {
    rule.mutexes = {kInstanceMutex, kSecondInstanceMutex};
  } else if (interactive || notMultiplex == 1 || notMultiplex == -1) {
    rule.mutexes = {kInstanceMutex};
  }
  return rule;
}

std::u16string MultiplexMessage(bool japanese) {
  return japanese ? u"MAQOの多重起動は禁止です" : u"Multiplex start of MAQO is prohibition";
}

}  // namespace maqo::host
