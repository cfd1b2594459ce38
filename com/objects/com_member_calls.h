// Member reads, member assignments, method calls and collection walks on COM
// objects: the engine's object provider. Member texts are parsed once and
// kept by text; DISPIDs are kept per object; argument expressions are
// compiled once by the engine's compile cache.
//
// A failing COM operation raises the calling thread's COM error flag and,
// unless COM_ERR_IGN is in force there, is reported as the catchable error
// "COM_Error:" + the server's text; ignored, a read or call gives -999999.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "com/objects/member_text.h"
#include "engine/library/object_seam.h"

namespace maqo::com::objects {

// The result of a failed member call (ERR_VALUE).
inline constexpr int32_t kComErrorResult = -999999;

class ComMemberCalls final : public engine::ObjectProvider {
 public:
  engine::ScriptValue get(std::u16string_view memberText, engine::BuiltinHost& host) override;
  void set(std::u16string_view memberText, const engine::ScriptValue& value, engine::BuiltinHost& host) override;
  engine::ScriptValue invoke(const engine::CallSite& call, engine::BuiltinHost& host) override;
  engine::ScriptValue member(const engine::ScriptValue& object, std::u16string_view tail, std::u16string_view callText,
                             engine::BuiltinHost& host) override;
  std::vector<engine::ScriptValue> elements(const engine::ScriptValue& object, std::u16string_view text,
                                            engine::BuiltinHost& host) override;

 private:
  std::shared_ptr<const MemberPath> path(std::u16string_view text);
  std::shared_ptr<const MemberPath> pathOfCall(const engine::CallSite& call);
  // The parsed path kept under key, parsed (outside the lock) when absent.
  std::shared_ptr<const MemberPath> cached(const std::u16string& key, const std::function<MemberPath()>& parse);

  std::mutex cacheLock_;
  std::unordered_map<std::u16string, std::shared_ptr<const MemberPath>> paths_;
};

// The items of a COM collection (its _NewEnum). Throws the COM error (or, when
// the value holds no COM object, the not-an-object error) unless COM_ERR_IGN
// is in force, when it gives the items read so far.
std::vector<engine::ScriptValue> CollectionItems(const engine::ScriptValue& collection, std::u16string_view text,
                                                 engine::BuiltinHost& host);

}  // namespace maqo::com::objects
