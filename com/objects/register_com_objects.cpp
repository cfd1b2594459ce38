#include "com/objects/register_com_objects.h"

#include "com/objects/com_builtins.h"
#include "com/objects/com_events.h"
#include "com/objects/com_member_calls.h"

namespace maqo::com::objects {

void RegisterComObjects(engine::BuiltinLibrary& library) {
  static ComMemberCalls calls;  // its caches are keyed by text and guarded; one serves every engine
  library.setObjectProvider(&calls);
  library.implement(u"CREATEOLEOBJ", CreateOleObj);
  library.implement(u"GETACTIVEOLEOBJ", GetActiveOleObj);
  library.implement(u"GETOLEITEM", GetOleItem);
  RegisterComEvents(library);
}

}  // namespace maqo::com::objects
