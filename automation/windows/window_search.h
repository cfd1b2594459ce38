// GETID and the other ID builtins' logic, apart from argument handling.
#pragma once
#include <string>

#include "automation/automation_context.h"

namespace maqo::automation {

struct GetIdRequest {
  std::u16string title;      // as given (NULL already replaced by the no-title name)
  std::u16string className;  // as given
  double waitSeconds = 0;    // < 0: until found or stopped
  std::u16string childText;
  // The class is IEFRAME and the statement is ACW(GETID(...)): browser titles
  // fall back to the browser's generic title.
  bool browserFallback = false;
};

// True when the statement text starts with ACW(GETID (spaces and tabs
// between the words ignored, ASCII case ignored). Only a GETID of that form
// with the browser's class falls back to the browser's generic title.
bool StartsWithAcwOfGetid(std::u16string_view statement);

// The ID of the window found, or -1. Also remembered as the slot's last result.
int GetId(AutomationContext& context, const GetIdRequest& request);

// The answer for a special title ("__GET_ACTIVE_WIN__" ...), or nothing when
// the title is none of them. -1 when the special window does not exist.
std::optional<int> SpecialWindowId(AutomationContext& context, const std::u16string& upperTitle);

}  // namespace maqo::automation
