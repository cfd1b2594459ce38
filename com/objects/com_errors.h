// The text of a failed COM operation: the server's own description when it
// raised an exception with one, else the system's text for the code.
#pragma once
#include <string>

#include "platform/com_automation.h"

namespace maqo::com::objects {

std::u16string ComErrorText(const platform::ComFailure& failure);

}  // namespace maqo::com::objects
