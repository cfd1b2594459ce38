// The control seam on Windows: child windows and the messages of standard
// and common controls. Texts of list boxes, combo boxes and window texts are
// copied by the system; the items of common controls (tabs, tree views, list
// views, status bars) go through memory allocated in the control's process,
// with the structure layout of that process's bitness.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/common_control_layouts.h"
#include "platform/controls.h"
#include "platform/win32/process_bitness.h"

namespace maqo::platform {

namespace {

namespace l = layouts;
using l::StructImage;

constexpr bool kSelf64 = sizeof(void*) == 8;
static_assert(offsetof(TCITEMW, pszText) == l::tcItem(kSelf64).text);
static_assert(offsetof(TCITEMW, cchTextMax) == l::tcItem(kSelf64).textMax);
static_assert(offsetof(TVITEMW, hItem) == l::tvItem(kSelf64).item);
static_assert(offsetof(TVITEMW, state) == l::tvItem(kSelf64).state);
static_assert(offsetof(TVITEMW, pszText) == l::tvItem(kSelf64).text);
static_assert(offsetof(TVITEMW, cChildren) == l::tvItem(kSelf64).children);
static_assert(sizeof(TVITEMW) == l::tvItem(kSelf64).size);
static_assert(offsetof(LVITEMW, iSubItem) == l::lvItem(kSelf64).subItem);
static_assert(offsetof(LVITEMW, state) == l::lvItem(kSelf64).state);
static_assert(offsetof(LVITEMW, pszText) == l::lvItem(kSelf64).text);
static_assert(offsetof(LVITEMW, cchTextMax) == l::lvItem(kSelf64).textMax);
static_assert(offsetof(LVCOLUMNW, pszText) == l::lvColumn(kSelf64).text);
static_assert(offsetof(TBBUTTON, dwData) == l::tbButton(kSelf64).data);
static_assert(offsetof(TBBUTTON, iString) == l::tbButton(kSelf64).string);
static_assert(offsetof(NMHDR, code) == l::nmhdr(kSelf64).code);

HWND hwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(h)); }
WindowHandle handle(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(h)); }
std::u16string fromWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A message with a one-second limit; 0 when the window did not answer.
// A message with a time limit: nothing when the control did not answer in time
// (hung, or gone).
std::optional<LRESULT> trySend(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT ms = 1000) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, message, wParam, lParam, SMTO_ABORTIFHUNG, ms, &result)) return std::nullopt;
  return static_cast<LRESULT>(result);
}

// As trySend, with 0 for no answer.
LRESULT sendTimed(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT ms = 1000) {
  return trySend(h, message, wParam, lParam, ms).value_or(0);
}

class Win32RemoteBuffer final : public RemoteBuffer {
 public:
  Win32RemoteBuffer(HANDLE process, bool bits64) : process_(process), bits64_(bits64) {}
  ~Win32RemoteBuffer() override {
    release();
    CloseHandle(process_);
  }
  // A new allocation replaces the old one only once it exists, so a failed
  // growth leaves the buffer as it was.
  bool allocate(size_t bytes) {
    const size_t rounded = (bytes + l::kRemoteBufferSize - 1) / l::kRemoteBufferSize * l::kRemoteBufferSize;
    void* fresh = VirtualAllocEx(process_, nullptr, rounded, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!fresh) return false;
    release();
    address_ = fresh;
    size_ = rounded;
    return true;
  }
  // Grows the buffer so that bytes fit.
  bool ensure(size_t bytes) { return bytes <= size_ || allocate(bytes); }
  bool bits64() const { return bits64_; }
  uint64_t at(uint32_t offset) const { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(address_)) + offset; }
  LPARAM lparamAt(uint32_t offset) const { return static_cast<LPARAM>(reinterpret_cast<uintptr_t>(address_) + offset); }
  bool write(uint32_t offset, const void* data, size_t n) {
    SIZE_T done = 0;
    return offset + n <= size_ && WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, n, &done) &&
           done == n;
  }
  bool read(uint32_t offset, void* data, size_t n) {
    SIZE_T done = 0;
    return offset + n <= size_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, n, &done) &&
           done == n;
  }
  // A NUL-terminated text at an address of the process, at most maxChars.
  std::u16string readTextAt(uint64_t address, size_t maxChars) {
    std::vector<char16_t> text(maxChars);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, reinterpret_cast<void*>(static_cast<uintptr_t>(address)), text.data(),
                           maxChars * 2, &done))
      return {};
    const size_t n = done / 2;
    size_t end = 0;
    while (end < n && text[end] != 0) ++end;
    return std::u16string(text.data(), end);
  }

 private:
  void release() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    address_ = nullptr;
    size_ = 0;
  }
  HANDLE process_;
  bool bits64_;
  void* address_ = nullptr;
  size_t size_ = 0;
};

Win32RemoteBuffer& remoteOf(RemoteBuffer& buffer) { return static_cast<Win32RemoteBuffer&>(buffer); }

// The local image of the structure area, zeroed, with the text area empty.
struct ItemImage {
  uint8_t bytes[l::kNotifyOffset - l::kStructOffset] = {};
  StructImage image(bool bits64) { return StructImage(bytes, bits64); }
};

// Writes the structure (and an empty text area), sends the message with the
// structure's remote address, reads the structure back and returns the text
// its text pointer names. textField: the offset of the pointer.
std::u16string exchangeText(Win32RemoteBuffer& r, HWND h, UINT message, WPARAM wParam, ItemImage& item,
                            uint32_t textField, LRESULT* result = nullptr) {
  const char16_t empty = 0;
  if (!r.write(0, &empty, 2) || !r.write(l::kStructOffset, item.bytes, sizeof item.bytes)) return {};
  const LRESULT answer = sendTimed(h, message, wParam, r.lparamAt(l::kStructOffset));
  if (result) *result = answer;
  if (!r.read(l::kStructOffset, item.bytes, sizeof item.bytes)) return {};
  // A control may answer with a pointer to its own text instead of copying it.
  uint64_t text = item.image(r.bits64()).getPointer(textField);
  if (text == 0) text = r.at(0);
  return r.readTextAt(text, l::kTextChars);
}

class ThreadInputAttachment {
 public:
  explicit ThreadInputAttachment(HWND h) : other_(GetWindowThreadProcessId(h, nullptr)), self_(GetCurrentThreadId()) {
    attached_ = other_ != 0 && other_ != self_ && AttachThreadInput(self_, other_, TRUE);
  }
  ~ThreadInputAttachment() {
    if (attached_) AttachThreadInput(self_, other_, FALSE);
  }

 private:
  DWORD other_, self_;
  bool attached_ = false;
};

BOOL CALLBACK collectChild(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

ChildFacts factsOf(HWND h) {
  ChildFacts f;
  f.handle = handle(h);
  f.parent = handle(GetAncestor(h, GA_PARENT));
  wchar_t text[301];
  const UINT n = RealGetWindowClassW(h, text, 256);
  f.className = fromWide(text, n);
  const int t = GetWindowTextW(h, text, 301);
  f.title = fromWide(text, t > 0 ? static_cast<size_t>(t) : 0);
  RECT r{};
  GetWindowRect(h, &r);
  f.rect = {r.left, r.top, r.right, r.bottom};
  f.visible = IsWindowVisible(h) != FALSE;
  f.enabled = IsWindowEnabled(h) != FALSE;
  f.style = static_cast<uint32_t>(GetWindowLongW(h, GWL_STYLE));
  return f;
}

class Win32Controls final : public Controls {
 public:
  bool available() override { return true; }

  std::vector<ChildFacts> children(WindowHandle parent) override {
    std::vector<HWND> list;
    EnumChildWindows(hwnd(parent), &collectChild, reinterpret_cast<LPARAM>(&list));
    std::vector<ChildFacts> out;
    out.reserve(list.size());
    for (HWND h : list)
      if (IsWindow(h)) out.push_back(factsOf(h));
    return out;
  }
  std::optional<ChildFacts> facts(WindowHandle h) override {
    if (!IsWindow(hwnd(h))) return std::nullopt;
    return factsOf(hwnd(h));
  }
  int32_t controlId(WindowHandle h) override { return GetDlgCtrlID(hwnd(h)); }
  WindowHandle focusedControl(WindowHandle window) override {
    ThreadInputAttachment attach(hwnd(window));
    return handle(GetFocus());
  }

  void postClick(WindowHandle control, ClickButton button, bool doubleClick, int x, int y) override {
    HWND h = hwnd(control);
    const LPARAM at = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    const DWORD priority = GetPriorityClass(GetCurrentProcess());
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    if (button == ClickButton::Left) {
      PostMessageW(h, WM_LBUTTONDOWN, 0, at);
      PostMessageW(h, WM_LBUTTONUP, 0, at);
      if (doubleClick) {
        PostMessageW(h, WM_LBUTTONDBLCLK, 0, at);
        PostMessageW(h, WM_LBUTTONUP, 0, at);
      }
    } else {
      PostMessageW(h, WM_RBUTTONDOWN, 0, at);
      PostMessageW(h, WM_RBUTTONUP, 0, at);
      PostMessageW(h, WM_RBUTTONUP, 0, at);
      if (doubleClick) {
        PostMessageW(h, WM_RBUTTONDBLCLK, 0, at);
        PostMessageW(h, WM_RBUTTONUP, 0, at);
        PostMessageW(h, WM_RBUTTONUP, 0, at);
      }
    }
    SetPriorityClass(GetCurrentProcess(), priority ? priority : NORMAL_PRIORITY_CLASS);
  }
  void focus(WindowHandle control) override {
    HWND h = hwnd(control);
    ThreadInputAttachment attach(h);
    SetForegroundWindow(GetAncestor(h, GA_ROOT));
    SetFocus(h);
  }
  void keyNudge(WindowHandle control, WindowHandle window, int firstKey, int secondKey) override {
    HWND h = hwnd(control);
    LockWindowUpdate(hwnd(window));
    for (int key : {firstKey, secondKey}) {
      sendTimed(h, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
      sendTimed(h, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000000u));
    }
    sendTimed(h, WM_NULL, 0, 0);
    sendTimed(hwnd(window), WM_NULL, 0, 0);
    LockWindowUpdate(nullptr);
  }
  void pressKey(WindowHandle control, int virtualKey) override {
    sendTimed(hwnd(control), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    sendTimed(hwnd(control), WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001u));
  }

  int buttonCheck(WindowHandle button) override { return static_cast<int>(sendTimed(hwnd(button), BM_GETCHECK, 0, 0)); }

  int listCount(WindowHandle list, bool combo) override {
    return static_cast<int>(trySend(hwnd(list), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0).value_or(-1));
  }
  std::u16string listText(WindowHandle list, bool combo, int index) override {
    HWND h = hwnd(list);
    const LRESULT length = sendTimed(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    const LRESULT got = sendTimed(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.data()));
    if (got <= 0) return {};
    return fromWide(text.data(), std::min(static_cast<size_t>(got), static_cast<size_t>(length)));
  }
  int listCurrent(WindowHandle list, bool combo) override {
    return static_cast<int>(trySend(hwnd(list), combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0).value_or(-1));
  }
  void setListCurrent(WindowHandle list, bool combo, int index) override {
    sendTimed(hwnd(list), combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  bool listSelected(WindowHandle list, int index) override {
    return sendTimed(hwnd(list), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
  }
  void setListSelected(WindowHandle list, int index, bool selected) override {
    sendTimed(hwnd(list), LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
  }
  void showDropDown(WindowHandle combo, bool show) override {
    sendTimed(hwnd(combo), CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0);
  }

  std::u16string windowText(WindowHandle h, size_t maxChars) override {
    const LRESULT length = sendTimed(hwnd(h), WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    const size_t n = std::min(static_cast<size_t>(length), maxChars);
    std::vector<wchar_t> text(n + 1);
    const LRESULT got = sendTimed(hwnd(h), WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()));
    return fromWide(text.data(), std::min(static_cast<size_t>(got > 0 ? got : 0), n));
  }
  bool setWindowText(WindowHandle h, const std::u16string& text) override {
    return trySend(hwnd(h), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text))).has_value();
  }
  void postChar(WindowHandle h, char16_t ch) override { PostMessageW(hwnd(h), WM_CHAR, ch, 1); }
  void postSetModified(WindowHandle h) override { PostMessageW(hwnd(h), EM_SETMODIFY, TRUE, 0); }

  std::optional<std::u16string> clipboardText() override {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::u16string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        const size_t limit = GlobalSize(data) / sizeof(wchar_t);
        size_t n = 0;
        while (n < limit && chars[n] != 0) ++n;
        text = fromWide(chars, n);
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return text;
  }
  bool setClipboardText(const std::u16string& text) override {
    // The clipboard needs an owner window for SetClipboardData after EmptyClipboard.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool done = false;
    if (OpenClipboard(owner)) {
      EmptyClipboard();
      const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
      if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(memory)) {
          std::memcpy(p, text.c_str(), bytes);
          GlobalUnlock(memory);
          done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!done) GlobalFree(memory);
      }
      CloseClipboard();
    }
    if (owner) DestroyWindow(owner);
    return done;
  }

  std::unique_ptr<RemoteBuffer> openRemoteBuffer(WindowHandle control) override {
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd(control), &processId);
    if (processId == 0) return nullptr;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                                 FALSE, processId);
    if (!process) return nullptr;
    // The structure layouts follow the target's bitness (our own when it cannot be asked).
    auto buffer = std::make_unique<Win32RemoteBuffer>(process, ProcessRuns64Bit(process).value_or(kSelf64));
    if (!buffer->allocate(l::kRemoteBufferSize)) return nullptr;
    return buffer;
  }

  int tabCount(WindowHandle tab) override { return static_cast<int>(sendTimed(hwnd(tab), TCM_GETITEMCOUNT, 0, 0)); }
  std::u16string tabText(RemoteBuffer& buffer, WindowHandle tab, int index) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::tcItem(r.bits64());
    ItemImage item;
    StructImage s = item.image(r.bits64());
    s.put32(layout.mask, TCIF_TEXT);
    s.putPointer(layout.text, r.at(0));
    s.put32(layout.textMax, l::kTextChars);
    return exchangeText(r, hwnd(tab), TCM_GETITEMW, static_cast<WPARAM>(index), item, layout.text);
  }
  int tabCurrent(WindowHandle tab) override { return static_cast<int>(sendTimed(hwnd(tab), TCM_GETCURSEL, 0, 0)); }
  void selectTab(RemoteBuffer& buffer, WindowHandle tab, int index) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    HWND h = hwnd(tab);
    HWND parent = GetParent(h);
    const int id = GetDlgCtrlID(h);
    // The notification header lives in the tab's process: the parent reads it there.
    auto notify = [&](int code) {
      const auto layout = l::nmhdr(r.bits64());
      uint8_t header[32] = {};
      StructImage s(header, r.bits64());
      s.putPointer(layout.hwndFrom, handle(h));
      s.putPointer(layout.idFrom, static_cast<uint64_t>(static_cast<uint32_t>(id)));
      s.put32(layout.code, static_cast<uint32_t>(code));
      if (r.write(l::kNotifyOffset, header, layout.size))
        sendTimed(parent, WM_NOTIFY, static_cast<WPARAM>(id), r.lparamAt(l::kNotifyOffset));
    };
    notify(TCN_SELCHANGING);
    sendTimed(h, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    sendTimed(h, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    notify(TCN_SELCHANGE);
  }

  uint64_t treeItem(WindowHandle tree, TreeRelation relation, uint64_t from) override {
    static constexpr WPARAM flags[] = {TVGN_ROOT, TVGN_CHILD, TVGN_NEXT, TVGN_PARENT, TVGN_CARET};
    const WPARAM flag = flags[static_cast<int>(relation)];
    return static_cast<uint64_t>(sendTimed(hwnd(tree), TVM_GETNEXTITEM, flag, static_cast<LPARAM>(from)));
  }
  TreeItemFacts treeItemFacts(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::tvItem(r.bits64());
    ItemImage image;
    StructImage s = image.image(r.bits64());
    s.put32(layout.mask, TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE | TVIF_HANDLE);
    s.putPointer(layout.item, item);
    s.put32(layout.stateMask, 0xFFFF);
    s.putPointer(layout.text, r.at(0));
    s.put32(layout.textMax, l::kTextChars);
    TreeItemFacts f;
    f.text = exchangeText(r, hwnd(tree), TVM_GETITEMW, 0, image, layout.text);
    f.state = s.get32(layout.state);
    f.hasChildren = s.get32(layout.children) != 0;
    return f;
  }
  void treeSelect(WindowHandle tree, uint64_t item) override {
    sendTimed(hwnd(tree), TVM_SELECTITEM, TVGN_CARET | TVSI_NOSINGLEEXPAND, static_cast<LPARAM>(item));
  }
  bool treeExpanded(WindowHandle tree, uint64_t item) override {
    return (sendTimed(hwnd(tree), TVM_GETITEMSTATE, static_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  }

  std::optional<WindowRect> treeItemRect(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    sendTimed(hwnd(tree), TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(item));
    // TVM_GETITEMRECT takes the item handle in the rectangle's first bytes,
    // as wide as a pointer of the tree's process.
    uint8_t rect[sizeof(RECT)] = {};
    StructImage s(rect, r.bits64());
    s.putPointer(0, item);
    if (!r.write(l::kStructOffset, rect, sizeof rect)) return std::nullopt;
    if (!sendTimed(hwnd(tree), TVM_GETITEMRECT, TRUE, r.lparamAt(l::kStructOffset))) return std::nullopt;
    RECT got{};
    if (!r.read(l::kStructOffset, &got, sizeof got)) return std::nullopt;
    return WindowRect{got.left, got.top, got.right, got.bottom};
  }

  int listViewCount(WindowHandle view) override { return static_cast<int>(sendTimed(hwnd(view), LVM_GETITEMCOUNT, 0, 0)); }
  int listViewColumns(WindowHandle view) override {
    HWND header = reinterpret_cast<HWND>(sendTimed(hwnd(view), LVM_GETHEADER, 0, 0));
    if (!header) return 0;
    const LRESULT n = sendTimed(header, HDM_GETITEMCOUNT, 0, 0);
    return n > 0 ? static_cast<int>(n) : 0;
  }
  std::u16string listViewColumnText(RemoteBuffer& buffer, WindowHandle view, int column) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::lvColumn(r.bits64());
    ItemImage image;
    StructImage s = image.image(r.bits64());
    s.put32(layout.mask, LVCF_TEXT);
    s.putPointer(layout.text, r.at(0));
    s.put32(layout.textMax, l::kTextChars);
    return exchangeText(r, hwnd(view), LVM_GETCOLUMNW, static_cast<WPARAM>(column), image, layout.text);
  }
  std::u16string listViewText(RemoteBuffer& buffer, WindowHandle view, int row, int column) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::lvItem(r.bits64());
    ItemImage image;
    StructImage s = image.image(r.bits64());
    s.put32(layout.subItem, static_cast<uint32_t>(column));
    s.putPointer(layout.text, r.at(0));
    s.put32(layout.textMax, l::kTextChars);
    // The view always copies into the given text area and answers with the
    // length, so one write, the message and one read of just the text do.
    if (!r.write(l::kStructOffset, image.bytes, layout.size)) return {};
    const LRESULT length = sendTimed(hwnd(view), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), r.lparamAt(l::kStructOffset));
    if (length <= 0) return {};
    std::u16string text(std::min<size_t>(static_cast<size_t>(length), l::kTextChars - 1), u'\0');
    if (!r.read(0, text.data(), text.size() * sizeof(char16_t))) return {};
    return text;
  }
  uint32_t listViewState(WindowHandle view, int row, uint32_t mask) override {
    return static_cast<uint32_t>(sendTimed(hwnd(view), LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
  }
  void setListViewState(RemoteBuffer& buffer, WindowHandle view, int row, uint32_t state, uint32_t mask) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::lvItem(r.bits64());
    ItemImage image;
    StructImage s = image.image(r.bits64());
    s.put32(layout.state, state);
    s.put32(layout.stateMask, mask);
    if (r.write(l::kStructOffset, image.bytes, layout.size))
      sendTimed(hwnd(view), LVM_SETITEMSTATE, static_cast<WPARAM>(row), r.lparamAt(l::kStructOffset));
  }
  std::optional<std::pair<int, int>> listViewItemPosition(RemoteBuffer& buffer, WindowHandle view, int row) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    POINT p{};
    if (!r.write(l::kStructOffset, &p, sizeof p)) return std::nullopt;
    if (!sendTimed(hwnd(view), LVM_GETITEMPOSITION, static_cast<WPARAM>(row), r.lparamAt(l::kStructOffset)))
      return std::nullopt;
    if (!r.read(l::kStructOffset, &p, sizeof p)) return std::nullopt;
    return std::pair<int, int>{p.x, p.y};
  }

  int statusParts(WindowHandle bar) override { return static_cast<int>(sendTimed(hwnd(bar), SB_GETPARTS, 0, 0)); }
  std::u16string statusText(RemoteBuffer& buffer, WindowHandle bar, int part) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    // SB_GETTEXTW has no size: ask for the length and make room for it first.
    const size_t length = LOWORD(sendTimed(hwnd(bar), SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    if (!r.ensure((length + 1) * sizeof(char16_t))) return {};
    const char16_t empty = 0;
    if (!r.write(0, &empty, 2)) return {};
    sendTimed(hwnd(bar), SB_GETTEXTW, static_cast<WPARAM>(part), r.lparamAt(0));
    return r.readTextAt(r.at(0), length + 1);
  }

  std::optional<WindowRect> statusPartRect(RemoteBuffer& buffer, WindowHandle bar, int part) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    RECT rect{};
    if (!r.write(l::kStructOffset, &rect, sizeof rect)) return std::nullopt;
    if (!sendTimed(hwnd(bar), SB_GETRECT, static_cast<WPARAM>(part), r.lparamAt(l::kStructOffset))) return std::nullopt;
    if (!r.read(l::kStructOffset, &rect, sizeof rect)) return std::nullopt;
    return WindowRect{rect.left, rect.top, rect.right, rect.bottom};
  }

  int toolButtonCount(WindowHandle bar) override {
    return static_cast<int>(sendTimed(hwnd(bar), TB_BUTTONCOUNT, 0, 0));
  }
  std::optional<ToolButtonFacts> toolButton(RemoteBuffer& buffer, WindowHandle bar, int index) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    const auto layout = l::tbButton(r.bits64());
    ItemImage image;
    if (!r.write(l::kStructOffset, image.bytes, layout.size)) return std::nullopt;
    if (!sendTimed(hwnd(bar), TB_GETBUTTON, static_cast<WPARAM>(index), r.lparamAt(l::kStructOffset)))
      return std::nullopt;
    if (!r.read(l::kStructOffset, image.bytes, layout.size)) return std::nullopt;
    StructImage s = image.image(r.bits64());
    ToolButtonFacts f;
    f.command = static_cast<int32_t>(s.get32(layout.command));
    f.state = s.get8(layout.state);
    f.style = s.get8(layout.style);
    return f;
  }
  std::u16string toolButtonText(RemoteBuffer& buffer, WindowHandle bar, int command) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    // TB_GETBUTTONTEXTW has no size: a null buffer asks for the length first.
    const LRESULT length = sendTimed(hwnd(bar), TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), 0);
    if (length <= 0) return {};
    const size_t chars = static_cast<size_t>(length);
    if (!r.ensure((chars + 1) * sizeof(char16_t))) return {};
    const char16_t empty = 0;
    if (!r.write(0, &empty, 2)) return {};
    sendTimed(hwnd(bar), TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), r.lparamAt(0));
    return r.readTextAt(r.at(0), chars + 1);
  }
  std::optional<WindowRect> toolButtonRect(RemoteBuffer& buffer, WindowHandle bar, int index) override {
    Win32RemoteBuffer& r = remoteOf(buffer);
    RECT rect{};
    if (!r.write(l::kStructOffset, &rect, sizeof rect)) return std::nullopt;
    if (!sendTimed(hwnd(bar), TB_GETITEMRECT, static_cast<WPARAM>(index), r.lparamAt(l::kStructOffset)))
      return std::nullopt;
    if (!r.read(l::kStructOffset, &rect, sizeof rect)) return std::nullopt;
    return WindowRect{rect.left, rect.top, rect.right, rect.bottom};
  }
  void showToolButton(WindowHandle bar, int command) override {
    sendTimed(hwnd(bar), TB_HIDEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(FALSE, 0));
  }
  void setHotToolButton(WindowHandle bar, int index) override {
    sendTimed(hwnd(bar), TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
  }
  void pressToolButton(WindowHandle bar, int command, bool pressed) override {
    sendTimed(hwnd(bar), TB_PRESSBUTTON, static_cast<WPARAM>(command), MAKELPARAM(pressed ? TRUE : FALSE, 0));
  }
  void checkToolButton(WindowHandle bar, int command, bool checked) override {
    sendTimed(hwnd(bar), TB_CHECKBUTTON, static_cast<WPARAM>(command), MAKELPARAM(checked ? TRUE : FALSE, 0));
  }

  std::optional<SliderState> sliderState(WindowHandle h, SliderKind kind) override {
    HWND w = hwnd(h);
    if (!IsWindow(w)) return std::nullopt;
    SliderState s;
    if (kind == SliderKind::TrackBar) {
      s.minimum = static_cast<int32_t>(sendTimed(w, TBM_GETRANGEMIN, 0, 0));
      s.maximum = static_cast<int32_t>(sendTimed(w, TBM_GETRANGEMAX, 0, 0));
      s.page = static_cast<int32_t>(sendTimed(w, TBM_GETPAGESIZE, 0, 0));
      s.position = static_cast<int32_t>(sendTimed(w, TBM_GETPOS, 0, 0));
      s.vertical = (GetWindowLongW(w, GWL_STYLE) & TBS_VERT) != 0;
      return s;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    const int bar = kind == SliderKind::ScrollBar ? SB_CTL : kind == SliderKind::WindowVertical ? SB_VERT : SB_HORZ;
    if (!GetScrollInfo(w, bar, &info)) return std::nullopt;
    s.minimum = info.nMin;
    s.maximum = info.nMax;
    s.page = static_cast<int32_t>(info.nPage);
    s.position = info.nPos;
    s.vertical = kind == SliderKind::WindowVertical ||
                 (kind == SliderKind::ScrollBar && (GetWindowLongW(w, GWL_STYLE) & SBS_VERT) != 0);
    return s;
  }
  void setSliderPosition(WindowHandle h, SliderKind kind, int32_t position) override {
    if (kind == SliderKind::TrackBar)
      sendTimed(hwnd(h), TBM_SETPOS, TRUE, position);
    else if (kind == SliderKind::ScrollBar)
      sendTimed(hwnd(h), SBM_SETPOS, static_cast<WPARAM>(position), TRUE);
  }
  void scrollWindowLine(WindowHandle h, bool vertical, bool down) override {
    sendTimed(hwnd(h), vertical ? WM_VSCROLL : WM_HSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
  }

  uint64_t windowMenu(WindowHandle window) override {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(GetMenu(hwnd(window))));
  }
  uint64_t systemMenu(WindowHandle window) override {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(GetSystemMenu(hwnd(window), FALSE)));
  }
  uint64_t popupMenu() override {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup) return 0;
    return static_cast<uint64_t>(sendTimed(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  }
  int menuItemCount(uint64_t menu) override { return GetMenuItemCount(menuOf(menu)); }
  MenuItemFacts menuItem(uint64_t menu, int position) override {
    MenuItemFacts f;
    wchar_t text[257];
    const int n = GetMenuStringW(menuOf(menu), static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    f.text = fromWide(text, n > 0 ? static_cast<size_t>(n) : 0);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
    if (GetMenuItemInfoW(menuOf(menu), static_cast<UINT>(position), TRUE, &info)) {
      f.id = info.wID;
      f.submenu = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(info.hSubMenu));
      f.state = info.fState;
    }
    return f;
  }
  void initMenu(WindowHandle window, uint64_t menu) override {
    sendTimed(hwnd(window), WM_INITMENU, static_cast<WPARAM>(menu), 0);
  }
  void initMenuPopup(WindowHandle window, uint64_t submenu, int position) override {
    sendTimed(hwnd(window), WM_INITMENUPOPUP, static_cast<WPARAM>(submenu), MAKELPARAM(position, FALSE));
  }
  std::optional<WindowRect> menuItemRect(WindowHandle window, uint64_t menu, int position) override {
    RECT r{};
    if (!GetMenuItemRect(hwnd(window), menuOf(menu), static_cast<UINT>(position), &r)) return std::nullopt;
    return WindowRect{r.left, r.top, r.right, r.bottom};
  }
  void postCommand(WindowHandle window, uint32_t id) override { PostMessageW(hwnd(window), WM_COMMAND, id, 0); }

 private:
  static HMENU menuOf(uint64_t menu) { return reinterpret_cast<HMENU>(static_cast<uintptr_t>(menu)); }
};

}  // namespace

Controls& systemControls() {
  static Win32Controls controls;
  return controls;
}

}  // namespace maqo::platform
