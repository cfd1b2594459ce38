// The COM automation seam: late-bound IDispatch objects, the values that
// cross to them, and creating or attaching to servers. The member-call logic
// (com/objects/) asks only these questions, so it runs natively against the
// scripted fake of platform/fake/fake_com.h. The win32 build answers with
// ole32/oleaut32; the native build has no COM and says so through available().
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace maqo::platform {

// VARTYPE codes the logic uses.
namespace vt {
inline constexpr uint16_t kEmpty = 0, kNull = 1, kI2 = 2, kI4 = 3, kR4 = 4, kR8 = 5, kCurrency = 6, kDate = 7,
                          kBstr = 8, kDispatch = 9, kError = 10, kBool = 11, kVariant = 12, kUnknown = 13, kI1 = 16,
                          kUI1 = 17, kUI2 = 18, kUI4 = 19, kI8 = 20, kUI8 = 21, kInt = 22, kUInt = 23,
                          kArray = 0x2000, kByRef = 0x4000;
}

// HRESULTs the logic tells apart.
inline constexpr int32_t kDispParamNotFound = static_cast<int32_t>(0x80020004);
inline constexpr int32_t kDispException = static_cast<int32_t>(0x80020009);
inline constexpr int32_t kDispUnknownName = static_cast<int32_t>(0x80020006);
inline constexpr int32_t kDispIdNewEnum = -4;
inline constexpr int32_t kDispIdPropertyPut = -3;

// IDispatch::Invoke's wFlags.
namespace invoke_flags {
inline constexpr uint16_t kMethod = 1, kGet = 2, kPut = 4, kPutRef = 8;
}

class ComObject;

// One inclusive dimension of an array.
struct ComArrayBound {
  int32_t lower = 0;
  int32_t upper = -1;
  bool operator==(const ComArrayBound&) const = default;
};

// A VARIANT without the platform's types. Which field holds the value
// follows type: integer kinds, VT_BOOL (-1/0), VT_ERROR (the scode) and
// VT_CY (scaled by 10000) in integer; VT_R4, VT_R8 and VT_DATE in number;
// VT_BSTR in text; VT_DISPATCH and VT_UNKNOWN in object (null: no object);
// an array (kArray | element type) in bounds and elements, stored with the
// last index varying fastest.
struct ComValue {
  uint16_t type = vt::kEmpty;
  int64_t integer = 0;
  double number = 0;
  std::u16string text;
  std::shared_ptr<ComObject> object;
  std::vector<ComArrayBound> bounds;
  std::vector<ComValue> elements;
};

// An argument as Invoke gets it: byReference ones are passed as
// VT_BYREF | VT_VARIANT and hold what the server left there afterwards.
struct ComArgument {
  ComValue value;
  bool byReference = false;
};

// Why a COM operation failed: the HRESULT, the server's EXCEPINFO texts (when
// it raised DISP_E_EXCEPTION), and the system's text for the code.
struct ComFailure {
  int32_t code = 0;
  int32_t exceptionCode = 0;  // EXCEPINFO scode (or wCode) when the server gave one
  std::u16string description;
  std::u16string source;
  std::u16string systemText;
};

// Receives the events of one connection: the event's DISPID and its
// parameters in declaration order. The handler may change the parameters;
// those the server passed by reference take the new values afterwards.
using ComEventHandler = std::function<void(int32_t dispatchId, std::vector<ComValue>& parameters)>;

// A sink advised at an object's connection point. Destroying it unadvises
// and releases the sink; no event reaches the handler afterwards.
class ComEventConnection {
 public:
  virtual ~ComEventConnection() = default;
};

// The HRESULT of an operation the object's platform cannot do.
inline constexpr int32_t kNotImplemented = static_cast<int32_t>(0x80004001);

class ComObject {
 public:
  virtual ~ComObject() = default;

  // The same server object answers with the same identity (its IUnknown),
  // whichever wrapper a value holds.
  virtual const void* identity() const { return this; }
  // Finds an event by name (without case) in the object's type library: a
  // source interface of its coclass named interfaceName and the member
  // eventName of it. interfaceId receives the interface's IID as text and
  // dispatchId the event's DISPID (0 is a valid DISPID). False with failure
  // filled when a type-information call fails; true with found false when
  // the interface or the event is not there.
  virtual bool findEvent(std::u16string_view interfaceName, std::u16string_view eventName,
                         std::u16string& interfaceId, int32_t& dispatchId, bool& found, ComFailure& failure) {
    found = false;
    failure.code = kNotImplemented;
    return false;
  }
  // Advises a sink for the interface findEvent named; its events go to
  // handler on the thread that pumps this object's apartment. Null with
  // failure filled when the object has no such connection point.
  virtual std::unique_ptr<ComEventConnection> connectEvents(std::u16string_view interfaceId, ComEventHandler handler,
                                                            ComFailure& failure) {
    failure.code = kNotImplemented;
    return nullptr;
  }

  // GetIDsOfNames for names[0] (the member) and its named arguments. False
  // with failure filled when a name is unknown.
  virtual bool dispatchIds(std::span<const std::u16string> names, std::vector<int32_t>& ids,
                           ComFailure& failure) = 0;
  // IDispatch::Invoke. arguments are in the order Invoke takes them (the last
  // argument first; the named ones, whose DISPIDs namedIds lists in the same
  // order, come first). By-reference arguments receive their new values.
  virtual bool invoke(int32_t dispatchId, uint16_t flags, std::span<ComArgument> arguments,
                      std::span<const int32_t> namedIds, ComValue& result, ComFailure& failure) = 0;
  // The items of the object's _NewEnum (DISPID -4) through IEnumVARIANT.
  // stopRequested is asked between items: a true answer ends the enumeration
  // with the items so far (a server may yield items without end).
  virtual bool enumerate(std::vector<ComValue>& items, const std::function<bool()>& stopRequested,
                         ComFailure& failure) = 0;
};

class ComAutomation {
 public:
  virtual ~ComAutomation() = default;
  // False where there is no COM (the native build).
  virtual bool available() = 0;
  // CLSIDFromProgID + CoCreateInstance (in-process or local server) + IDispatch.
  virtual std::shared_ptr<ComObject> create(std::u16string_view progId, ComFailure& failure) = 0;
  // The running object registered for the ProgID (GetActiveObject), or null.
  virtual std::shared_ptr<ComObject> active(std::u16string_view progId, ComFailure& failure) = 0;
};

// The build's COM: Windows' on win32, none natively.
ComAutomation& systemComAutomation();

}  // namespace maqo::platform
