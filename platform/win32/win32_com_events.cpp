// COM events on Windows: finding an event by name in the object's type
// library, and a sink object advised at the object's connection point that
// hands each event to a ComEventHandler and writes what the handler left in
// by-reference parameters back to the server.
//
// The sink is made on the thread that connects it (the main script's, an
// apartment of its own), so COM delivers its calls there: directly while
// that thread is inside a call to an in-process server of its apartment,
// through the thread's message queue otherwise (while it waits or pumps).
// Sinks are cut at the latest when that thread ends, since its apartment,
// and with it the way to the connection point, ends too.
#include <olectl.h>

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win32/win32_com.h"

namespace maqo::platform::win32com {

namespace {

// Releases a COM interface pointer when the scope ends.
template <typename Interface>
class Owned {
 public:
  Owned() = default;
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Interface** out() {
    reset();
    return &pointer_;
  }
  void** outVoid() { return reinterpret_cast<void**>(out()); }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// A type description's attributes, released when the scope ends.
class TypeAttributes {
 public:
  explicit TypeAttributes(ITypeInfo* info) : info_(info) { result_ = info->GetTypeAttr(&attributes_); }
  ~TypeAttributes() {
    if (attributes_ != nullptr) info_->ReleaseTypeAttr(attributes_);
  }
  TypeAttributes(const TypeAttributes&) = delete;
  TypeAttributes& operator=(const TypeAttributes&) = delete;
  HRESULT result() const { return result_; }
  const TYPEATTR* operator->() const { return attributes_; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attributes_ = nullptr;
  HRESULT result_;
};

bool sameNameIgnoringCase(BSTR name, std::u16string_view wanted) {
  if (name == nullptr) return wanted.empty();
  const UINT length = SysStringLen(name);
  if (length != wanted.size()) return false;
  return CompareStringOrdinal(name, static_cast<int>(length), reinterpret_cast<const wchar_t*>(wanted.data()),
                              static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

// The name of a type (memberId MEMBERID_NIL) or of one of its members.
HRESULT memberName(ITypeInfo* info, MEMBERID memberId, std::u16string_view wanted, bool& equal) {
  BSTR name = nullptr;
  const HRESULT hr = info->GetDocumentation(memberId, &name, nullptr, nullptr, nullptr);
  equal = SUCCEEDED(hr) && sameNameIgnoringCase(name, wanted);
  SysFreeString(name);
  return hr;
}

std::u16string guidText(const GUID& guid) {
  wchar_t text[40] = {};
  const int length = StringFromGUID2(guid, text, 40);
  return length > 1 ? std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length - 1))
                    : std::u16string();
}

// Looks through one coclass's source interfaces: the first one named
// interfaceName gives the IID; found is set when it also has the event.
HRESULT searchCoclass(ITypeInfo* coclass, std::u16string_view interfaceName, std::u16string_view eventName,
                      std::u16string& interfaceId, int32_t& dispatchId, bool& found) {
  TypeAttributes classAttributes(coclass);
  if (FAILED(classAttributes.result())) return classAttributes.result();
  for (UINT i = 0; i < classAttributes->cImplTypes; ++i) {
    INT flags = 0;
    HRESULT hr = coclass->GetImplTypeFlags(i, &flags);
    if (FAILED(hr)) return hr;
    if ((flags & IMPLTYPEFLAG_FSOURCE) == 0) continue;
    HREFTYPE reference = 0;
    hr = coclass->GetRefTypeOfImplType(i, &reference);
    if (FAILED(hr)) return hr;
    Owned<ITypeInfo> source;
    hr = coclass->GetRefTypeInfo(reference, source.out());
    if (FAILED(hr)) return hr;
    bool named = false;
    hr = memberName(source.get(), MEMBERID_NIL, interfaceName, named);
    if (FAILED(hr)) return hr;
    if (!named) continue;
    TypeAttributes sourceAttributes(source.get());
    if (FAILED(sourceAttributes.result())) return sourceAttributes.result();
    for (UINT f = 0; f < sourceAttributes->cFuncs; ++f) {
      FUNCDESC* function = nullptr;
      hr = source->GetFuncDesc(f, &function);
      if (FAILED(hr)) return hr;
      const MEMBERID member = function->memid;
      source->ReleaseFuncDesc(function);
      bool isEvent = false;
      hr = memberName(source.get(), member, eventName, isEvent);
      if (FAILED(hr)) return hr;
      if (isEvent) {
        interfaceId = guidText(sourceAttributes->guid);
        dispatchId = member;
        found = true;
        return S_OK;
      }
    }
    return S_OK;  // only the first interface of that name counts
  }
  return S_OK;
}

// Every coclass of the library that holds the object's type description,
// in order, until one has the event.
HRESULT searchLibraryOf(IDispatch* dispatch, std::u16string_view interfaceName, std::u16string_view eventName,
                        std::u16string& interfaceId, int32_t& dispatchId, bool& found) {
  Owned<ITypeInfo> info;
  HRESULT hr = dispatch->GetTypeInfo(0, GetUserDefaultLCID(), info.out());
  if (SUCCEEDED(hr) && !info) hr = E_NOTIMPL;
  if (FAILED(hr)) return hr;
  Owned<ITypeLib> library;
  UINT index = 0;
  hr = info->GetContainingTypeLib(library.out(), &index);
  if (FAILED(hr)) return hr;
  const UINT count = library->GetTypeInfoCount();
  for (UINT t = 0; t < count && !found; ++t) {
    TYPEKIND kind = TKIND_MAX;
    hr = library->GetTypeInfoType(t, &kind);
    if (FAILED(hr)) return hr;
    if (kind != TKIND_COCLASS) continue;
    Owned<ITypeInfo> coclass;
    hr = library->GetTypeInfo(t, coclass.out());
    if (FAILED(hr)) return hr;
    hr = searchCoclass(coclass.get(), interfaceName, eventName, interfaceId, dispatchId, found);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

// The failure of an event handler, kept until the outgoing call that let the
// event in returns: no C++ exception may cross the server's frames. A plain
// pointer, as thread_local objects with destructors are not dependable here.
thread_local std::exception_ptr* pendingHandlerFailure = nullptr;

bool sameValue(const ComValue& a, const ComValue& b) {
  if (a.type != b.type || a.integer != b.integer || a.text != b.text || a.bounds != b.bounds ||
      a.elements.size() != b.elements.size())
    return false;
  if (a.number != b.number && !(a.number != a.number && b.number != b.number)) return false;
  if ((a.object == nullptr) != (b.object == nullptr)) return false;
  if (a.object != nullptr && a.object->identity() != b.object->identity()) return false;
  for (size_t i = 0; i < a.elements.size(); ++i)
    if (!sameValue(a.elements[i], b.elements[i])) return false;
  return true;
}

// Stores value into a by-reference parameter, converted to the type the
// server declared. Arrays are left as they are. False when the value cannot
// take that type.
bool writeBack(VARIANT& parameter, const ComValue& value) {
  VARIANT fresh;
  VariantInit(&fresh);
  ToVariant(value, fresh);
  const VARTYPE target = static_cast<VARTYPE>(parameter.vt & ~VT_BYREF);
  if (target == VT_VARIANT) {
    if (parameter.pvarVal == nullptr) {
      VariantClear(&fresh);
      return false;
    }
    VariantClear(parameter.pvarVal);
    *parameter.pvarVal = fresh;  // the parameter owns it now
    return true;
  }
  if ((target & VT_ARRAY) != 0 || parameter.byref == nullptr) {
    VariantClear(&fresh);
    return true;
  }
  VARIANT converted;
  VariantInit(&converted);
  const HRESULT hr = VariantChangeType(&converted, &fresh, 0, target);
  VariantClear(&fresh);
  if (FAILED(hr)) return false;
  switch (target) {
    case VT_I1: *parameter.pcVal = converted.cVal; break;
    case VT_I2: *parameter.piVal = converted.iVal; break;
    case VT_I4: *parameter.plVal = converted.lVal; break;
    case VT_I8: *parameter.pllVal = converted.llVal; break;
    case VT_INT: *parameter.pintVal = converted.intVal; break;
    case VT_UI1: *parameter.pbVal = converted.bVal; break;
    case VT_UI2: *parameter.puiVal = converted.uiVal; break;
    case VT_UI4: *parameter.pulVal = converted.ulVal; break;
    case VT_UI8: *parameter.pullVal = converted.ullVal; break;
    case VT_UINT: *parameter.puintVal = converted.uintVal; break;
    case VT_R4: *parameter.pfltVal = converted.fltVal; break;
    case VT_R8: *parameter.pdblVal = converted.dblVal; break;
    case VT_DATE: *parameter.pdate = converted.date; break;
    case VT_CY: *parameter.pcyVal = converted.cyVal; break;
    case VT_ERROR: *parameter.pscode = converted.scode; break;
    case VT_BOOL: *parameter.pboolVal = converted.boolVal; break;  // VARIANT_TRUE is -1
    case VT_BSTR:
      SysFreeString(*parameter.pbstrVal);
      *parameter.pbstrVal = converted.bstrVal;
      converted.vt = VT_EMPTY;  // moved into the parameter
      break;
    case VT_DISPATCH:
      if (*parameter.ppdispVal != nullptr) (*parameter.ppdispVal)->Release();
      *parameter.ppdispVal = converted.pdispVal;
      converted.vt = VT_EMPTY;
      break;
    case VT_UNKNOWN:
      if (*parameter.ppunkVal != nullptr) (*parameter.ppunkVal)->Release();
      *parameter.ppunkVal = converted.punkVal;
      converted.vt = VT_EMPTY;
      break;
    default: break;  // a type the script cannot hold: left alone
  }
  VariantClear(&converted);
  return true;
}

// The dispatch object advised at a connection point. It answers IUnknown,
// IDispatch and the event interface; each event goes to the handler with
// its parameters in declaration order (DISPPARAMS holds them last first).
class EventSink final : public IDispatch {
 public:
  EventSink(const IID& interfaceId, ComEventHandler handler) : interfaceId_(interfaceId), handler_(std::move(handler)) {}

  // After this no event reaches the handler, even if the server keeps the
  // sink (an Unadvise that failed).
  void detach() { detached_.store(true); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, interfaceId_)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispatchId, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (result != nullptr) VariantInit(result);
    if (detached_.load()) return S_OK;
    const UINT count = parameters != nullptr ? parameters->cArgs : 0;
    if (count > 0 && parameters->rgvarg == nullptr) return E_INVALIDARG;
    // The handler may cut this very connection: the sink stays alive for the
    // call. Nothing may be thrown back into the server's frames.
    AddRef();
    HRESULT outcome = S_OK;
    try {
      std::vector<ComValue> values(count);
      for (UINT i = 0; i < count; ++i) values[i] = FromVariant(parameters->rgvarg[count - 1 - i]);
      const std::vector<ComValue> delivered = values;
      handler_(static_cast<int32_t>(dispatchId), values);
      for (UINT i = 0; i < count && i < values.size(); ++i) {
        VARIANT& parameter = parameters->rgvarg[count - 1 - i];
        if ((parameter.vt & VT_BYREF) == 0 || sameValue(values[i], delivered[i])) continue;
        if (!writeBack(parameter, values[i])) {
          outcome = S_FALSE;  // the rest stay as they were
          break;
        }
      }
    } catch (...) {
      if (pendingHandlerFailure == nullptr) pendingHandlerFailure = new std::exception_ptr(std::current_exception());
    }
    Release();
    return outcome;
  }

 private:
  ~EventSink() = default;

  LONG references_ = 1;
  std::atomic<bool> detached_{false};
  IID interfaceId_;
  const ComEventHandler handler_;
};

// One advised sink, cut (Unadvise) exactly once: when its connection is
// destroyed, or when the thread that advised it ends, whichever comes first.
// The connection point belongs to that thread's apartment, which dies with
// the thread (the main script's thread ends before the run's end hooks run
// on another), so only that thread can reach it; a cut from any other
// thread only detaches the sink.
class AdvisedSink {
 public:
  AdvisedSink(EventSink* sink, IConnectionPoint* point, DWORD cookie)
      : sink_(sink), point_(point), cookie_(cookie), owner_(GetCurrentThreadId()) {
    point_->AddRef();
  }
  ~AdvisedSink() { cut(); }
  AdvisedSink(const AdvisedSink&) = delete;
  AdvisedSink& operator=(const AdvisedSink&) = delete;

  void cut() {
    EventSink* sink = nullptr;
    IConnectionPoint* point = nullptr;
    {
      std::lock_guard<std::mutex> hold(lock_);
      std::swap(sink, sink_);
      std::swap(point, point_);
    }
    if (sink == nullptr) return;
    sink->detach();
    if (GetCurrentThreadId() == owner_) {
      // Unadvise drops the server's reference to the sink; a failure changes
      // nothing for the script, whose handler is already detached.
      point->Unadvise(cookie_);
      point->Release();
    }
    sink->Release();
  }

 private:
  std::mutex lock_;
  EventSink* sink_;
  IConnectionPoint* point_;
  DWORD cookie_;
  DWORD owner_;
};

// The sinks a thread advised, cut when the thread ends. A fiber-local slot's
// callback runs on the ending thread (the runtime's thread_local destructors
// run after the thread's emulated TLS is gone, so they cannot be used).
using SinkList = std::vector<std::weak_ptr<AdvisedSink>>;

void WINAPI cutSinksOfEndingThread(void* data) {
  auto* list = static_cast<SinkList*>(data);
  if (list == nullptr) return;
  for (const std::weak_ptr<AdvisedSink>& weak : *list)
    if (const std::shared_ptr<AdvisedSink> sink = weak.lock()) sink->cut();
  delete list;
}

// The calling thread's list, or null when no slot could be had.
SinkList* sinksOfThisThread() {
  static const DWORD slot = FlsAlloc(cutSinksOfEndingThread);
  if (slot == FLS_OUT_OF_INDEXES) return nullptr;
  auto* list = static_cast<SinkList*>(FlsGetValue(slot));
  if (list == nullptr) {
    list = new SinkList;
    if (!FlsSetValue(slot, list)) {
      delete list;
      return nullptr;
    }
  }
  return list;
}

class Win32EventConnection final : public ComEventConnection {
 public:
  explicit Win32EventConnection(std::shared_ptr<AdvisedSink> advised) : advised_(std::move(advised)) {
    if (SinkList* list = sinksOfThisThread()) {
      std::erase_if(*list, [](const std::weak_ptr<AdvisedSink>& weak) { return weak.expired(); });
      list->push_back(advised_);
    }
  }
  ~Win32EventConnection() override { advised_->cut(); }

 private:
  std::shared_ptr<AdvisedSink> advised_;
};

}  // namespace

bool FindEventByName(IDispatch* dispatch, std::u16string_view interfaceName, std::u16string_view eventName,
                     std::u16string& interfaceId, int32_t& dispatchId, bool& found, ComFailure& failure) {
  found = false;
  HRESULT hr = searchLibraryOf(dispatch, interfaceName, eventName, interfaceId, dispatchId, found);
  if (SUCCEEDED(hr) && found) return true;
  // An object whose dispatch type description lies outside its class's
  // library (or that has none) may still name its class.
  Owned<IProvideClassInfo> provider;
  if (SUCCEEDED(dispatch->QueryInterface(IID_IProvideClassInfo, provider.outVoid()))) {
    Owned<ITypeInfo> coclass;
    const HRESULT classHr = provider->GetClassInfo(coclass.out());
    if (SUCCEEDED(classHr) && coclass) {
      hr = searchCoclass(coclass.get(), interfaceName, eventName, interfaceId, dispatchId, found);
    } else if (SUCCEEDED(hr)) {
      hr = classHr;
    }
  }
  if (FAILED(hr) && !found) {
    FailWith(failure, hr);
    return false;
  }
  return true;
}

std::unique_ptr<ComEventConnection> AdviseEventSink(IDispatch* dispatch, std::u16string_view interfaceId,
                                                    ComEventHandler handler, ComFailure& failure) {
  IID iid;
  const std::u16string idText(interfaceId);
  HRESULT hr = IIDFromString(const_cast<LPOLESTR>(reinterpret_cast<const wchar_t*>(idText.c_str())), &iid);
  if (FAILED(hr)) {
    FailWith(failure, hr);
    return nullptr;
  }
  Owned<IConnectionPointContainer> container;
  hr = dispatch->QueryInterface(IID_IConnectionPointContainer, container.outVoid());
  Owned<IConnectionPoint> point;
  if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(iid, point.out());
  if (SUCCEEDED(hr) && !point) hr = CONNECT_E_NOCONNECTION;
  if (FAILED(hr)) {
    FailWith(failure, hr);
    return nullptr;
  }
  auto* sink = static_cast<EventSink*>(CreateEventSink(iid, std::move(handler)));
  DWORD cookie = 0;
  hr = point->Advise(sink, &cookie);
  if (FAILED(hr)) {
    sink->Release();
    FailWith(failure, hr);
    return nullptr;
  }
  auto advised = std::make_shared<AdvisedSink>(sink, point.get(), cookie);
  return std::make_unique<Win32EventConnection>(std::move(advised));
}

IDispatch* CreateEventSink(const IID& interfaceId, ComEventHandler handler) {
  return new EventSink(interfaceId, std::move(handler));
}

void RethrowEventHandlerFailure() {
  if (pendingHandlerFailure == nullptr) return;
  const std::exception_ptr failure = *pendingHandlerFailure;
  delete pendingHandlerFailure;
  pendingHandlerFailure = nullptr;
  std::rethrow_exception(failure);
}

}  // namespace maqo::platform::win32com
