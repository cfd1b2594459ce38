// COM automation on Windows. Every dispatch object remembers the thread that
// obtained it and is registered in the global interface table: used from that
// thread it is called directly; from any other (the main STA thread and the
// MTA script threads share objects through globals) the table hands out a
// proxy for the calling apartment, so no call ever crosses apartments on a
// raw pointer (which fails with RPC_E_WRONG_THREAD or worse).
#include <vector>

#include "platform/win32/win32_com.h"

namespace maqo::platform::win32com {

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The items of one enumeration are capped, so a
// server that never reports the end cannot hold the script forever.
constexpr size_t kMaxEnumeratedItems = size_t{1} << 24;

class Win32ComObject final : public ComObject {
 public:
  // The object is kept in the process's global interface table, which holds
  // its reference and hands every thread the pointer for its own apartment
  // (the object itself in the apartment that made it, a proxy elsewhere), so
  // no call and no release ever crosses apartments on a raw pointer. Only
  // when the table refuses it is the raw pointer kept, for its own thread.
  explicit Win32ComObject(IDispatch* dispatch) {
    // The server object's IUnknown names it, whichever interface pointer a
    // value holds; the address is only compared, never called.
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))) && unknown != nullptr) {
      identity_ = unknown;
      unknown->Release();  // the wrapper's own reference keeps the object alive
    } else {
      identity_ = dispatch;
    }
    if (IGlobalInterfaceTable* table = GlobalInterfaceTable())
      if (SUCCEEDED(table->RegisterInterfaceInGlobal(dispatch, IID_IDispatch, &cookie_))) return;
    cookie_ = 0;
    dispatch_ = dispatch;
    dispatch_->AddRef();
    owner_ = GetCurrentThreadId();
  }
  ~Win32ComObject() override {
    if (cookie_ != 0) {
      if (IGlobalInterfaceTable* table = GlobalInterfaceTable()) table->RevokeInterfaceFromGlobal(cookie_);
    } else {
      dispatch_->Release();
    }
  }

  // A referenced interface for the calling thread, or null.
  IDispatch* acquire() const {
    if (cookie_ == 0) {
      if (GetCurrentThreadId() != owner_) return nullptr;
      dispatch_->AddRef();
      return dispatch_;
    }
    EnsureComOnThisThread();
    IGlobalInterfaceTable* table = GlobalInterfaceTable();
    IDispatch* got = nullptr;
    if (table == nullptr ||
        FAILED(table->GetInterfaceFromGlobal(cookie_, IID_IDispatch, reinterpret_cast<void**>(&got))))
      return nullptr;
    return got;
  }

  const void* identity() const override { return identity_; }

  bool findEvent(std::u16string_view interfaceName, std::u16string_view eventName, std::u16string& interfaceId,
                 int32_t& dispatchId, bool& found, ComFailure& failure) override {
    found = false;
    Held held(*this, failure);
    if (!held) return false;
    return FindEventByName(held.get(), interfaceName, eventName, interfaceId, dispatchId, found, failure);
  }

  std::unique_ptr<ComEventConnection> connectEvents(std::u16string_view interfaceId, ComEventHandler handler,
                                                    ComFailure& failure) override {
    Held held(*this, failure);
    if (!held) return nullptr;
    return AdviseEventSink(held.get(), interfaceId, std::move(handler), failure);
  }

  bool dispatchIds(std::span<const std::u16string> names, std::vector<int32_t>& ids, ComFailure& failure) override {
    Held held(*this, failure);
    if (!held) return false;
    std::vector<LPOLESTR> pointers;
    for (const std::u16string& name : names) pointers.push_back(const_cast<LPOLESTR>(wide(name)));
    std::vector<DISPID> got(names.size(), DISPID_UNKNOWN);
    const HRESULT hr = held->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()),
                                           GetUserDefaultLCID(), got.data());
    if (FAILED(hr)) {
      FailWith(failure, hr);
      return false;
    }
    ids.assign(got.begin(), got.end());
    return true;
  }

  bool invoke(int32_t dispatchId, uint16_t flags, std::span<ComArgument> arguments, std::span<const int32_t> namedIds,
              ComValue& result, ComFailure& failure) override {
    Held held(*this, failure);
    if (!held) return false;
    const size_t n = arguments.size();
    std::vector<VARIANT> passed(n), referenced(n);
    for (size_t i = 0; i < n; ++i) {
      VariantInit(&referenced[i]);
      if (arguments[i].byReference) {
        ToVariant(arguments[i].value, referenced[i]);
        VariantInit(&passed[i]);
        passed[i].vt = VT_BYREF | VT_VARIANT;
        passed[i].pvarVal = &referenced[i];
      } else {
        ToVariant(arguments[i].value, passed[i]);
      }
    }
    std::vector<DISPID> named(namedIds.begin(), namedIds.end());
    DISPPARAMS parameters{n ? passed.data() : nullptr, named.empty() ? nullptr : named.data(), static_cast<UINT>(n),
                          static_cast<UINT>(named.size())};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr =
        held->Invoke(dispatchId, IID_NULL, GetUserDefaultLCID(), flags, &parameters, &answer, &exception, &argumentError);
    for (size_t i = 0; i < n; ++i) {
      if (arguments[i].byReference) {
        if (SUCCEEDED(hr)) arguments[i].value = FromVariant(referenced[i]);
        VariantClear(&referenced[i]);
      } else {
        VariantClear(&passed[i]);
      }
    }
    if (SUCCEEDED(hr)) result = FromVariant(answer);
    VariantClear(&answer);
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
      if (exception.bstrDescription != nullptr)
        failure.description.assign(reinterpret_cast<const char16_t*>(exception.bstrDescription),
                                   SysStringLen(exception.bstrDescription));
      if (exception.bstrSource != nullptr)
        failure.source.assign(reinterpret_cast<const char16_t*>(exception.bstrSource), SysStringLen(exception.bstrSource));
      failure.exceptionCode = exception.scode != 0 ? exception.scode : exception.wCode;
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrHelpFile);
    }
    // A handler that failed while the server called back ends this call too.
    RethrowEventHandlerFailure();
    if (FAILED(hr)) {
      failure.code = static_cast<int32_t>(hr);
      failure.systemText = SystemErrorText(failure.exceptionCode != 0 ? failure.exceptionCode : hr);
      return false;
    }
    return true;
  }

  bool enumerate(std::vector<ComValue>& items, const std::function<bool()>& stopRequested,
                 ComFailure& failure) override {
    Held held(*this, failure);
    if (!held) return false;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT answer;
    VariantInit(&answer);
    HRESULT hr = held->Invoke(DISPID_NEWENUM, IID_NULL, GetUserDefaultLCID(), DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              &none, &answer, nullptr, nullptr);
    IEnumVARIANT* enumerator = nullptr;
    if (SUCCEEDED(hr)) {
      IUnknown* unknown = (answer.vt == VT_UNKNOWN || answer.vt == VT_DISPATCH) ? answer.punkVal : nullptr;
      hr = unknown != nullptr ? unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&enumerator))
                              : DISP_E_TYPEMISMATCH;
    }
    VariantClear(&answer);
    if (FAILED(hr)) {
      FailWith(failure, hr);
      return false;
    }
    for (size_t count = 0; count < kMaxEnumeratedItems && !stopRequested(); ++count) {
      VARIANT item;
      VariantInit(&item);
      ULONG fetched = 0;
      hr = enumerator->Next(1, &item, &fetched);
      if (hr != S_OK || fetched != 1) {
        VariantClear(&item);
        break;
      }
      items.push_back(FromVariant(item));
      VariantClear(&item);
    }
    enumerator->Release();
    if (FAILED(hr)) {
      FailWith(failure, hr);
      return false;
    }
    return true;
  }


 private:
  // The interface for the calling thread, held for one operation.
  class Held {
   public:
    Held(const Win32ComObject& object, ComFailure& failure) : dispatch_(object.acquire()) {
      if (dispatch_ == nullptr) FailWith(failure, RPC_E_WRONG_THREAD);
    }
    ~Held() {
      if (dispatch_ != nullptr) dispatch_->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    explicit operator bool() const { return dispatch_ != nullptr; }
    IDispatch* operator->() const { return dispatch_; }
    IDispatch* get() const { return dispatch_; }

   private:
    IDispatch* dispatch_;
  };

  const void* identity_ = nullptr;
  IDispatch* dispatch_ = nullptr;  // only when the table refused the object
  DWORD owner_ = 0;
  DWORD cookie_ = 0;
};

class Win32ComAutomation final : public ComAutomation {
 public:
  bool available() override { return true; }

  std::shared_ptr<ComObject> create(std::u16string_view progId, ComFailure& failure) override {
    EnsureComOnThisThread();
    CLSID clsid;
    const std::u16string name(progId);
    HRESULT hr = CLSIDFromProgID(wide(name), &clsid);
    if (FAILED(hr)) return failed(failure, hr);
    IDispatch* dispatch = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr)) return failed(failure, hr);
    std::shared_ptr<ComObject> object = WrapDispatch(dispatch);
    dispatch->Release();
    return object;
  }

  std::shared_ptr<ComObject> active(std::u16string_view progId, ComFailure& failure) override {
    EnsureComOnThisThread();
    CLSID clsid;
    const std::u16string name(progId);
    HRESULT hr = CLSIDFromProgID(wide(name), &clsid);
    if (FAILED(hr)) return failed(failure, hr);
    IUnknown* unknown = nullptr;
    hr = GetActiveObject(clsid, nullptr, &unknown);
    if (FAILED(hr) || unknown == nullptr) return failed(failure, FAILED(hr) ? hr : E_FAIL);
    IDispatch* dispatch = nullptr;
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (FAILED(hr)) return failed(failure, hr);
    std::shared_ptr<ComObject> object = WrapDispatch(dispatch);
    dispatch->Release();
    return object;
  }

 private:
  static std::shared_ptr<ComObject> failed(ComFailure& failure, HRESULT hr) {
    FailWith(failure, hr);
    return nullptr;
  }
};

}  // namespace

IGlobalInterfaceTable* GlobalInterfaceTable() {
  static IGlobalInterfaceTable* table = [] {
    EnsureComOnThisThread();
    IGlobalInterfaceTable* made = nullptr;
    if (FAILED(CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IGlobalInterfaceTable, reinterpret_cast<void**>(&made))))
      return static_cast<IGlobalInterfaceTable*>(nullptr);
    return made;  // kept for the process: the table is free-threaded
  }();
  return table;
}

void EnsureComOnThisThread() {
  // Script threads enter the multi-threaded apartment when they start; any
  // other thread (the main script's) gets an apartment of its own here, kept
  // for the thread's life.
  thread_local const bool initialised = [] {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  }();
  (void)initialised;
}

std::shared_ptr<ComObject> WrapDispatch(IDispatch* dispatch) {
  if (dispatch == nullptr) return nullptr;
  return std::make_shared<Win32ComObject>(dispatch);
}

IDispatch* DispatchForThisThread(const ComObject& object) {
  const auto* ours = dynamic_cast<const Win32ComObject*>(&object);
  return ours != nullptr ? ours->acquire() : nullptr;
}

}  // namespace maqo::platform::win32com

namespace maqo::platform {

ComAutomation& systemComAutomation() {
  static win32com::Win32ComAutomation automation;
  return automation;
}

}  // namespace maqo::platform
