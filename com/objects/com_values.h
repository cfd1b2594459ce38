// Script values to and from the values COM calls take and give.
#pragma once
#include "engine/values/script_value.h"
#include "platform/com_automation.h"

namespace maqo::com::objects {

// An argument for an automation call:
//   16-bit integer -> VT_I2; other integers -> VT_I4 when they fit, else VT_R8;
//   a double without fraction inside the 32-bit range -> VT_I4, else VT_R8
//   (5e9 or 1e300 would overflow a VT_I4);
//   the EMPTYPARAM marker -> VT_ERROR DISP_E_PARAMNOTFOUND (an omitted argument);
//   other strings -> VT_BSTR (the empty string as an empty BSTR);
//   booleans -> VT_BOOL with VARIANT_TRUE (-1) for any true value, since
//   servers read the script's TRUE (1) as false otherwise;
//   arrays -> SAFEARRAYs of VARIANTs with the same bounds and dimensions;
//   COM objects -> VT_DISPATCH (NOTHING as a null one); dates, currency,
//   Empty, Null, error codes keep their kind.
platform::ComValue ToComArgument(const engine::ScriptValue& value);

// A script value from what a server returned: every VARIANT kind maps to the
// script value of the same code; VT_DISPATCH/VT_UNKNOWN become object values
// and arrays array values.
engine::ScriptValue FromComValue(const platform::ComValue& value);

}  // namespace maqo::com::objects
