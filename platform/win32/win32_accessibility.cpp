// Accessibility trees through Oleacc: an element is an IAccessible object and
// a child id (CHILDID_SELF for the object itself, another id for a simple
// element the object answers for).
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "platform/accessibility.h"
#include "platform/win32/win32_com.h"

namespace maqo::platform {

namespace {

// IAccessible's interface id, defined here: the import libraries of oleacc
// and uuid both carry one, and referring to theirs pulls in both.
const IID kAccessibleIid = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

HWND hwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(h)); }

VARIANT childVariant(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// Takes a BSTR answer (freeing it); empty when the call failed.
std::u16string takeText(HRESULT hr, BSTR text) {
  std::u16string out;
  if (SUCCEEDED(hr) && text) out.assign(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
  if (text) SysFreeString(text);
  return out;
}

// The IAccessible behind a dispatch interface; null when it has none.
IAccessible* accessibleOf(IDispatch* dispatch) {
  if (!dispatch) return nullptr;
  IAccessible* object = nullptr;
  if (FAILED(dispatch->QueryInterface(kAccessibleIid, reinterpret_cast<void**>(&object)))) return nullptr;
  return object;
}

class Win32Element final : public AccessibleElement {
 public:
  // Takes over one reference of object.
  Win32Element(IAccessible* object, LONG child) : object_(object), child_(child) {}
  ~Win32Element() override {
    for (VARIANT& v : children_) VariantClear(&v);
    object_->Release();
  }
  Win32Element(const Win32Element&) = delete;
  Win32Element& operator=(const Win32Element&) = delete;

  std::optional<int> role() override {
    VARIANT v;
    VariantInit(&v);
    std::optional<int> out;
    if (SUCCEEDED(object_->get_accRole(self(), &v)) && v.vt == VT_I4) out = static_cast<int>(v.lVal);
    VariantClear(&v);
    return out;
  }
  uint32_t state() override {
    VARIANT v;
    VariantInit(&v);
    uint32_t out = 0;
    if (SUCCEEDED(object_->get_accState(self(), &v)) && v.vt == VT_I4) out = static_cast<uint32_t>(v.lVal);
    VariantClear(&v);
    return out;
  }
  std::u16string name() override {
    BSTR text = nullptr;
    const HRESULT hr = object_->get_accName(self(), &text);
    return takeText(hr, text);
  }
  std::optional<std::u16string> value() override {
    BSTR text = nullptr;
    const HRESULT hr = object_->get_accValue(self(), &text);
    if (FAILED(hr)) {
      if (text) SysFreeString(text);
      return std::nullopt;
    }
    return takeText(hr, text);
  }
  std::u16string description() override {
    BSTR text = nullptr;
    const HRESULT hr = object_->get_accDescription(self(), &text);
    return takeText(hr, text);
  }
  std::u16string help() override {
    BSTR text = nullptr;
    const HRESULT hr = object_->get_accHelp(self(), &text);
    return takeText(hr, text);
  }
  std::u16string defaultAction() override {
    BSTR text = nullptr;
    const HRESULT hr = object_->get_accDefaultAction(self(), &text);
    return takeText(hr, text);
  }
  std::optional<AccessibleRect> location() override {
    long left = 0, top = 0, width = 0, height = 0;
    if (FAILED(object_->accLocation(&left, &top, &width, &height, self()))) return std::nullopt;
    return AccessibleRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                          static_cast<int>(height)};
  }
  int childCount() override {
    if (child_ != CHILDID_SELF) return 0;
    long count = 0;
    if (FAILED(object_->get_accChildCount(&count)) || count < 0) return 0;
    return static_cast<int>(count);
  }
  std::unique_ptr<AccessibleElement> firstChild() override {
    if (child_ != CHILDID_SELF) return nullptr;
    return navigate(NAVDIR_FIRSTCHILD);
  }
  std::unique_ptr<AccessibleElement> nextSibling() override { return navigate(NAVDIR_NEXT); }
  std::unique_ptr<AccessibleElement> child(int index) override {
    if (child_ != CHILDID_SELF || index < 1) return nullptr;
    if (!childrenRead_) readChildren();
    if (index > static_cast<int>(children_.size())) return nullptr;
    const VARIANT& v = children_[index - 1];
    if (v.vt == VT_DISPATCH) {
      IAccessible* object = accessibleOf(v.pdispVal);
      return object ? std::make_unique<Win32Element>(object, CHILDID_SELF) : nullptr;
    }
    if (v.vt != VT_I4) return nullptr;
    // A child id may stand for an object of its own.
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(object_->get_accChild(v, &dispatch)) && dispatch) {
      IAccessible* object = accessibleOf(dispatch);
      dispatch->Release();
      if (object) return std::make_unique<Win32Element>(object, CHILDID_SELF);
    }
    object_->AddRef();
    return std::make_unique<Win32Element>(object_, v.lVal);
  }
  int64_t siblingId() override { return child_; }
  bool doDefaultAction() override { return SUCCEEDED(object_->accDoDefaultAction(self())); }
  bool takeFocus() override { return SUCCEEDED(object_->accSelect(SELFLAG_TAKEFOCUS, self())); }
  bool putValue(const std::u16string& text) override {
    BSTR value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    if (!value) return false;
    const HRESULT hr = object_->put_accValue(self(), value);
    SysFreeString(value);
    return SUCCEEDED(hr);
  }

 private:
  VARIANT self() const { return childVariant(child_); }

  // Navigation yields simple elements of this object only: a result that is
  // an object of its own ends the navigation (its object is reached by index).
  std::unique_ptr<AccessibleElement> navigate(long direction) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = object_->accNavigate(direction, self(), &out);
    if (hr != S_OK || out.vt != VT_I4) {
      VariantClear(&out);
      return nullptr;
    }
    object_->AddRef();
    return std::make_unique<Win32Element>(object_, out.lVal);
  }

  // The children as the object's enumerator (or its child ids) gives them, read once.
  void readChildren() {
    childrenRead_ = true;
    const int count = childCount();
    if (count <= 0) return;
    std::vector<VARIANT> read(static_cast<size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(object_, 0, count, read.data(), &obtained))) return;
    read.resize(static_cast<size_t>(std::max<LONG>(0, std::min<LONG>(obtained, count))));
    children_ = std::move(read);
  }

  IAccessible* object_;
  LONG child_;
  bool childrenRead_ = false;
  std::vector<VARIANT> children_;
};

class Win32Accessibility final : public Accessibility {
 public:
  bool available() override { return true; }
  std::unique_ptr<AccessibleElement> fromWindow(WindowHandle window) override {
    win32com::EnsureComOnThisThread();
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd(window), static_cast<DWORD>(OBJID_CLIENT), kAccessibleIid,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
      return nullptr;
    return std::make_unique<Win32Element>(object, CHILDID_SELF);
  }
  std::unique_ptr<AccessibleElement> fromPoint(int x, int y) override {
    win32com::EnsureComOnThisThread();
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    if (FAILED(AccessibleObjectFromPoint(POINT{x, y}, &object, &child)) || !object) {
      VariantClear(&child);
      return nullptr;
    }
    const LONG id = child.vt == VT_I4 ? child.lVal : CHILDID_SELF;
    VariantClear(&child);
    return std::make_unique<Win32Element>(object, id);
  }
  std::u16string roleText(int role) override {
    wchar_t text[256] = {};
    const UINT n = GetRoleTextW(static_cast<DWORD>(role), text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text), std::min<UINT>(n, 255));
  }
  std::u16string stateText(uint32_t stateBit) override {
    wchar_t text[256] = {};
    const UINT n = GetStateTextW(stateBit, text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text), std::min<UINT>(n, 255));
  }
};

}  // namespace

Accessibility& systemAccessibility() {
  static Win32Accessibility accessibility;
  return accessibility;
}

}  // namespace maqo::platform
