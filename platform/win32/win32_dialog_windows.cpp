// The modal dialogs on Windows: the message, input and select forms and the
// pop-up menu. Every form is built and run on one dialog thread of its own,
// never on a script thread, so a form never dies with the thread that asked
// for it; the asking thread waits for the answer. Each modal loop sleeps in
// MsgWaitForMultipleObjects with a short time-out and checks the run's stop
// request between its waits, so a stop ends a dialog as Escape does.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/dialog_windows.h"
#include "platform/win32/win32_fonts.h"

namespace maqo::platform {

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

constexpr UINT kRunWork = WM_APP + 1;  // lParam: std::function<void()>* to run now
constexpr DWORD kStartBoundMs = 5000;
constexpr DWORD kWaitSliceMs = 100;    // how often a waiting dialog looks at the stop request
constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownStepMs = 200;
constexpr UINT_PTR kMenuStopTimer = 2;

constexpr int kMessageButtonBaseId = 100;
constexpr int kSelectButtonBaseId = 200;
constexpr int kLinkBaseId = 400;

const wchar_t kControlClass[] = L"maqo_dialog_thread";
const wchar_t kMessageClass[] = L"TUmsgDlg_maqo";
const wchar_t kInputClass[] = L"TUinpBox_maqo";
const wchar_t kSelectClass[] = L"TUslctBox_maqo";
const wchar_t kMenuOwnerClass[] = L"maqo_popup_menu_owner";

// What one shown form knows while it is up.
struct ModalForm {
  HWND window = nullptr;
  HFONT font = nullptr;
  HFONT linkFont = nullptr;
  bool done = false;
  bool cancelled = false;
  bool timedOut = false;
  int pressedValue = 0;              // message: the value of the button that closed it
  std::vector<int> buttonValues;     // message: value of the button with id base + i
  std::vector<std::u16string> links; // message: target of the label with id base + i
  // input
  HWND edit = nullptr;
  bool filesDropped = false;
  std::u16string text;
  // select
  SelectControls controls = SelectControls::Buttons;
  std::vector<HWND> choices;  // check boxes or radio buttons
  HWND combo = nullptr, list = nullptr, okButton = nullptr;
  std::vector<size_t> chosen;
  int countdownTotalMs = 0, countdownLeftMs = 0;
};

ModalForm* formOf(HWND w) { return reinterpret_cast<ModalForm*>(GetWindowLongPtrW(w, GWLP_USERDATA)); }

struct TextSize {
  int cx = 0, cy = 0;
};

TextSize textExtent(HFONT font, const std::u16string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  if (!text.empty()) DrawTextW(dc, wide(text), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

int fontPixelHeight(HFONT font) {
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

HWND child(HWND parent, const wchar_t* cls, const std::u16string& text, DWORD style, int x, int y, int w, int h,
           int id, HFONT font) {
  HWND c = CreateWindowExW(0, cls, wide(text), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return c;
}

bool isPushButton(HWND w) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (lstrcmpiW(cls, L"Button") != 0) return false;
  const LONG_PTR type = GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void press(HWND form, HWND button) {
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Reads what the select form's controls hold when OK closes it.
void collectChoices(ModalForm& f) {
  f.chosen.clear();
  for (size_t i = 0; i < f.choices.size(); ++i)
    if (SendMessageW(f.choices[i], BM_GETCHECK, 0, 0) == BST_CHECKED) f.chosen.push_back(i);
  if (f.combo) {
    const LRESULT at = SendMessageW(f.combo, CB_GETCURSEL, 0, 0);
    if (at != CB_ERR) f.chosen.push_back(static_cast<size_t>(at));
  }
  if (f.list) {
    const LRESULT count = SendMessageW(f.list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
      if (SendMessageW(f.list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) f.chosen.push_back(static_cast<size_t>(i));
  }
}

void finish(ModalForm& f) {
  f.done = true;
  PostMessageW(f.window, WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT CALLBACK formProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  ModalForm* f = formOf(w);
  if (!f) return DefWindowProcW(w, message, wp, lp);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (code == STN_CLICKED && id >= kLinkBaseId && id < kLinkBaseId + static_cast<int>(f->links.size())) {
        ShellExecuteW(nullptr, L"open", wide(f->links[static_cast<size_t>(id - kLinkBaseId)]), nullptr, nullptr,
                      SW_SHOW);
        return 0;
      }
      if (code != BN_CLICKED) break;
      if (id >= kMessageButtonBaseId && id < kMessageButtonBaseId + static_cast<int>(f->buttonValues.size())) {
        f->pressedValue = f->buttonValues[static_cast<size_t>(id - kMessageButtonBaseId)];
        finish(*f);
      } else if (id >= kSelectButtonBaseId && f->controls == SelectControls::Buttons) {
        f->chosen = {static_cast<size_t>(id - kSelectButtonBaseId)};
        finish(*f);
      } else if (id == IDOK) {
        if (f->edit) {
          const int length = GetWindowTextLengthW(f->edit);
          f->text.assign(static_cast<size_t>(length) + 1, u'\0');
          GetWindowTextW(f->edit, reinterpret_cast<wchar_t*>(f->text.data()), length + 1);
          f->text.resize(static_cast<size_t>(length));
        }
        collectChoices(*f);
        finish(*f);
      } else if (id == IDCANCEL) {
        f->cancelled = true;
        finish(*f);
      }
      return 0;
    }
    case WM_CLOSE:
      f->cancelled = true;
      finish(*f);
      return 0;
    case WM_TIMER:
      if (wp != kCountdownTimer) break;
      f->countdownLeftMs = std::max(0, f->countdownLeftMs - static_cast<int>(kCountdownStepMs));
      InvalidateRect(w, nullptr, FALSE);
      if (f->countdownLeftMs == 0) {
        KillTimer(w, kCountdownTimer);
        f->timedOut = true;
        finish(*f);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (f->countdownTotalMs > 0) {
        // The time left, as a smooth bar along the bottom edge.
        RECT client{};
        GetClientRect(w, &client);
        RECT bar{0, client.bottom - 6, client.right, client.bottom};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNSHADOW));
        bar.right = MulDiv(client.right, f->countdownLeftMs, f->countdownTotalMs);
        FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
      }
      EndPaint(w, &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      if (id >= kLinkBaseId && id < kLinkBaseId + static_cast<int>(f->links.size())) SetTextColor(dc, RGB(0, 0, 255));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: break;
  }
  return DefWindowProcW(w, message, wp, lp);
}

// The names of dropped files, joined with a TAB; the first drop replaces the
// edit text, later ones append to it.
void takeDroppedFiles(ModalForm& f, HDROP drop) {
  std::u16string names;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t name[1201] = {};
    DragQueryFileW(drop, i, name, 1201);
    if (!names.empty()) names += u'\t';
    names += reinterpret_cast<const char16_t*>(name);
  }
  DragFinish(drop);
  std::u16string text;
  if (f.filesDropped) {
    const int length = GetWindowTextLengthW(f.edit);
    text.assign(static_cast<size_t>(length) + 1, u'\0');
    GetWindowTextW(f.edit, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<size_t>(length));
  }
  f.filesDropped = true;
  SetWindowTextW(f.edit, wide(text + names));
}

// The form's own keys, looked at before the focused control sees them:
// Escape cancels; Enter presses the focused push button, else the form's OK.
bool previewKey(ModalForm& f, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.hwnd != f.window && !IsChild(f.window, msg.hwnd))) return false;
  if (msg.wParam == VK_ESCAPE) {
    f.cancelled = true;
    finish(f);
    return true;
  }
  if (msg.wParam != VK_RETURN) return false;
  HWND focus = GetFocus();
  if (focus && IsChild(f.window, focus) && isPushButton(focus)) {
    press(f.window, focus);
  } else if (f.edit || f.okButton) {
    SendMessageW(f.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  return true;
}

void placeForm(HWND w, const DialogCommon& common, const std::optional<DialogPosition>& position) {
  RECT r{};
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  DialogPosition at;
  if (common.place) {
    at = common.place(width, height);
  } else if (position) {
    at = *position;
  } else {
    at = {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
  }
  SetWindowPos(w, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sizes the window so that its client area is width x height.
void setClientSize(HWND w, int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class Win32DialogWindows final : public DialogWindows {
 public:
  Win32DialogWindows() {
    std::thread([this] { threadMain(); }).detach();
    std::unique_lock hold(startLock_);
    startSignal_.wait_for(hold, std::chrono::milliseconds(kStartBoundMs), [this] { return started_; });
  }

  int askMessage(const MessageDialogForm& form, int escapeValue) override {
    int result = escapeValue;
    runModal(form.stopRequested, [&] { result = showMessage(form, escapeValue); });
    return result;
  }

  std::optional<std::u16string> askInput(const InputDialogForm& form) override {
    std::optional<std::u16string> result;
    runModal(form.stopRequested, [&] { result = showInput(form); });
    return result;
  }

  SelectDialogAnswer askSelect(const SelectDialogForm& form) override {
    SelectDialogAnswer result;
    runModal(form.stopRequested, [&] { result = showSelect(form); });
    return result;
  }

  int askPopupMenu(const std::vector<PopupMenuEntry>& entries, std::optional<DialogPosition> at,
                   const DialogStopCheck& stopRequested) override {
    int result = -1;
    runModal(stopRequested, [&] { result = showPopupMenu(entries, at, stopRequested); });
    return result;
  }

  // The pop-up menu's owner checks the stop request while the menu is open.
  void checkMenuStop() {
    if (menuStop_ && menuStop_()) EndMenu();
  }

 private:
  void threadMain() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const struct {
      const wchar_t* name;
      WNDPROC procedure;
    } classes[] = {
        {kControlClass, controlProc}, {kMessageClass, formProc}, {kInputClass, formProc},
        {kSelectClass, formProc},     {kMenuOwnerClass, menuOwnerProc},
    };
    for (const auto& c : classes) {
      WNDCLASSW wc{};
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpfnWndProc = c.procedure;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = c.name;
      RegisterClassW(&wc);
    }
    control_ = CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrW(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    {
      std::lock_guard hold(startLock_);
      started_ = true;
    }
    startSignal_.notify_all();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  static LRESULT CALLBACK controlProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kRunWork) {
      (*reinterpret_cast<std::function<void()>*>(lp))();
      return 0;
    }
    return DefWindowProcW(w, message, wp, lp);
  }

  static LRESULT CALLBACK menuOwnerProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_TIMER && wp == kMenuStopTimer) {
      if (auto* self = reinterpret_cast<Win32DialogWindows*>(GetWindowLongPtrW(w, GWLP_USERDATA)))
        self->checkMenuStop();
      return 0;
    }
    return DefWindowProcW(w, message, wp, lp);
  }

  // One dialog at a time, shown on the dialog thread. A second caller waits
  // its turn, and gives up as Escape would when its run stops meanwhile. The
  // dialog itself ends on its answer or on the stop request, so the wait for
  // it ends too.
  void runModal(const DialogStopCheck& stopRequested, const std::function<void()>& show) {
    if (!control_) return;
    std::unique_lock turn(turnLock_, std::defer_lock);
    while (!turn.try_lock_for(std::chrono::milliseconds(kWaitSliceMs))) {
      if (stopRequested && stopRequested()) return;
    }
    if (stopRequested && stopRequested()) return;
    std::function<void()> work = show;
    SendMessageW(control_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
  }

  // Shows the form and runs its modal loop until it closes, then frees it.
  static void runLoop(ModalForm& f, const DialogStopCheck& stopRequested, HWND firstFocus) {
    SetWindowPos(f.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(f.window);
    SetFocus(firstFocus ? firstFocus : f.window);
    while (!f.done) {
      if (stopRequested && stopRequested()) {
        f.cancelled = true;
        break;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitSliceMs, QS_ALLINPUT);
      MSG msg;
      while (!f.done && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));
          f.cancelled = true;
          f.done = true;
          break;
        }
        if (previewKey(f, msg)) continue;
        if (msg.message == WM_DROPFILES && f.edit && (msg.hwnd == f.window || IsChild(f.window, msg.hwnd))) {
          takeDroppedFiles(f, reinterpret_cast<HDROP>(msg.wParam));
          continue;
        }
        if (IsDialogMessageW(f.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    KillTimer(f.window, kCountdownTimer);
    DestroyWindow(f.window);
    if (f.font) DeleteObject(f.font);
    if (f.linkFont) DeleteObject(f.linkFont);
  }

  static HWND createForm(ModalForm& f, const wchar_t* cls, const DialogCommon& common, DWORD extraStyle) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_DLGFRAME | extraStyle;
    f.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, cls, wide(common.caption),
                               style, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!f.window) return nullptr;
    f.font = createPointFont(common.fontName.empty() ? u"Tahoma" : common.fontName,
                             common.fontSize > 0 ? common.fontSize : 9, true);
    SendMessageW(f.window, WM_SETFONT, reinterpret_cast<WPARAM>(f.font), FALSE);
    return f.window;
  }

  static void attach(ModalForm& f) { SetWindowLongPtrW(f.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&f)); }

  // ---- message ----
  int showMessage(const MessageDialogForm& form, int escapeValue) {
    ModalForm f;
    if (!createForm(f, kMessageClass, form, 0)) return escapeValue;
    constexpr int kLabelLeft = 16, kLabelTop = 10, kPanelHeight = 33, kButtonWidth = 73, kButtonHeight = 25;
    const TextSize label = textExtent(f.font, form.message);
    child(f.window, L"STATIC", form.message, SS_NOPREFIX | SS_LEFT, kLabelLeft, kLabelTop, label.cx,
          label.cy, -1, f.font);
    int clientWidth = label.cx + 32;
    const int clientHeight = label.cy + 56;
    const int count = static_cast<int>(form.buttons.size());
    int firstLeft = 20;
    if (form.layOutButtons) {
      const DialogButtonRow row = form.layOutButtons(clientWidth, count);
      clientWidth = row.clientWidth;
      firstLeft = row.firstLeft;
    }
    HWND focus = nullptr;
    for (int i = 0; i < count; ++i) {
      const MessageDialogButton& b = form.buttons[static_cast<size_t>(i)];
      // Without a focus button the first one is the default; with one, none is.
      const DWORD kind = (form.focusValue == 0 && i == 0) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      HWND button = child(f.window, L"BUTTON", b.caption, kind | WS_TABSTOP, firstLeft + 90 * i,
                          clientHeight - kPanelHeight, kButtonWidth, kButtonHeight, kMessageButtonBaseId + i, f.font);
      f.buttonValues.push_back(b.value);
      if (b.value == form.focusValue || (!focus && form.focusValue == 0)) focus = button;
    }
    addLinkLabels(f, form, kLabelLeft, kLabelTop);
    setClientSize(f.window, clientWidth, clientHeight);
    placeForm(f.window, form, form.position);
    attach(f);
    runLoop(f, form.stopRequested, focus);
    return f.cancelled || f.pressedValue == 0 ? escapeValue : f.pressedValue;
  }

  // Blue underlined labels over the web links of the message; a click opens the link.
  static void addLinkLabels(ModalForm& f, const MessageDialogForm& form, int labelLeft, int labelTop) {
    if (form.links.empty()) return;
    LOGFONTW lf{};
    GetObjectW(f.font, sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    f.linkFont = CreateFontIndirectW(&lf);
    const int lineHeight = textExtent(f.font, u"W").cy;
    size_t searchFrom = 0;
    for (const std::u16string& link : form.links) {
      const size_t at = form.message.find(link, searchFrom);
      if (at == std::u16string::npos) continue;
      searchFrom = at + 1;
      const std::u16string before = form.message.substr(0, at);
      const int line = static_cast<int>(std::count(before.begin(), before.end(), u'\n'));
      const size_t lineStart = before.rfind(u'\n');
      const std::u16string prefix = lineStart == std::u16string::npos ? before : before.substr(lineStart + 1);
      const TextSize prefixSize = textExtent(f.font, prefix);
      const TextSize linkSize = textExtent(f.linkFont, link);
      const int id = kLinkBaseId + static_cast<int>(f.links.size());
      child(f.window, L"STATIC", link, SS_NOPREFIX | SS_NOTIFY, labelLeft + prefixSize.cx, labelTop + line * lineHeight,
            linkSize.cx, linkSize.cy, id, f.linkFont);
      f.links.push_back(link);
    }
  }

  // ---- input ----
  std::optional<std::u16string> showInput(const InputDialogForm& form) {
    ModalForm f;
    if (!createForm(f, kInputClass, form, WS_SYSMENU)) return std::nullopt;
    constexpr int kEditWidth = 270, kButtonWidth = 75, kButtonHeight = 25, kButtonPanelWidth = 203;
    const TextSize label = textExtent(f.font, form.message);
    child(f.window, L"STATIC", form.message, SS_NOPREFIX | SS_LEFT, 10, 8, label.cx, label.cy, -1, f.font);
    const int editHeight = textExtent(f.font, u"Wg").cy + 8;
    const int editWidth = std::max(kEditWidth, label.cx);
    const int clientWidth = std::max(editWidth + 16, label.cx + 18);
    const int panelHeight = std::max(66, editHeight + 40);
    const int panelTop = label.cy + 16;
    const int clientHeight = panelTop + panelHeight;
    f.edit = child(f.window, L"EDIT", form.text, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | (form.password ? ES_PASSWORD : 0),
                   8, panelTop, editWidth, editHeight, 1000, f.font);
    // Files dropped on the form or its edit box are taken by the modal loop.
    DragAcceptFiles(f.window, TRUE);
    DragAcceptFiles(f.edit, TRUE);
    const int buttonsLeft = std::max(82, clientWidth - kButtonPanelWidth - 16);
    const int buttonsTop = panelTop + std::max(30, editHeight + 8);
    child(f.window, L"BUTTON", u"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, buttonsLeft + 20, buttonsTop, kButtonWidth,
          kButtonHeight, IDOK, f.font);
    child(f.window, L"BUTTON", u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, buttonsLeft + 20 + kButtonWidth + 10, buttonsTop,
          kButtonWidth, kButtonHeight, IDCANCEL, f.font);
    setClientSize(f.window, clientWidth, clientHeight);
    placeForm(f.window, form, form.position);
    attach(f);
    SendMessageW(f.edit, EM_SETSEL, 0, -1);
    runLoop(f, form.stopRequested, f.edit);
    if (f.cancelled) return std::nullopt;
    return f.text;
  }

  // ---- select ----
  SelectDialogAnswer showSelect(const SelectDialogForm& form) {
    ModalForm f;
    if (!createForm(f, kSelectClass, form, 0)) return {};
    f.controls = form.controls;
    const int controlHeight = 2 * fontPixelHeight(f.font);
    const int pitch = controlHeight + 5;
    const TextSize label = form.message.empty() ? TextSize{} : textExtent(f.font, form.message);
    if (!form.message.empty())
      child(f.window, L"STATIC", form.message, SS_NOPREFIX | SS_LEFT, 8, 8, label.cx, label.cy, -1, f.font);
    int itemWidth = 160;
    for (const std::u16string& item : form.items) itemWidth = std::max(itemWidth, textExtent(f.font, item + u"WW").cx);
    int clientWidth = itemWidth + 20;
    if (clientWidth < label.cx + 16) {
      clientWidth = label.cx + 16;
      itemWidth = clientWidth - 20;
    }
    const int n = static_cast<int>(form.items.size());
    const int screenLimit = GetSystemMetrics(SM_CYSCREEN) * 9 / 10;
    constexpr int kOkWidth = 75, kOkHeight = 25;
    int clientHeight = 0;
    HWND firstFocus = nullptr;
    auto addOk = [&](int top) {
      f.okButton = child(f.window, L"BUTTON", u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, (clientWidth - kOkWidth) / 2, top,
                         kOkWidth, kOkHeight, IDOK, f.font);
    };
    // A combo or list box: the form ends with OK under the box, which has the focus.
    auto okBelow = [&](HWND box) {
      RECT rect{};
      GetWindowRect(box, &rect);
      const int boxHeight = rect.bottom - rect.top;
      clientHeight = label.cy + pitch + boxHeight + 36;
      addOk(label.cy + pitch + boxHeight);
      firstFocus = box;
    };
    switch (form.controls) {
      case SelectControls::CheckBoxes:
      case SelectControls::RadioButtons: {
        const bool radio = form.controls == SelectControls::RadioButtons;
        clientHeight = std::min(pitch * n + label.cy + 58, screenLimit);
        for (int i = 0; i < n; ++i) {
          const DWORD kind = radio ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX;
          HWND c = child(f.window, L"BUTTON", form.items[static_cast<size_t>(i)],
                         kind | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 10, pitch * i + label.cy + 15, itemWidth,
                         controlHeight, kSelectButtonBaseId + i, f.font);
          f.choices.push_back(c);
        }
        if (radio && !f.choices.empty()) SendMessageW(f.choices.front(), BM_SETCHECK, BST_CHECKED, 0);
        addOk(pitch * n + label.cy + 20);
        if (!f.choices.empty()) firstFocus = f.choices.front();
        break;
      }
      case SelectControls::DropDownList: {
        clientWidth += 10;
        f.combo = child(f.window, L"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 10,
                        label.cy + 15, itemWidth + 10, controlHeight * 8, 1001, f.font);
        for (const std::u16string& item : form.items) SendMessageW(f.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item)));
        SendMessageW(f.combo, CB_SETCURSEL, 0, 0);
        okBelow(f.combo);
        break;
      }
      case SelectControls::ListBox: {
        clientWidth += 10;
        const int rowHeight = fontPixelHeight(f.font);
        const int listHeight =
            std::min(std::max((n + 1) * rowHeight, 100), GetSystemMetrics(SM_CYSCREEN) / 2);
        f.list = child(f.window, L"LISTBOX", u"", LBS_EXTENDEDSEL | LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                       10, label.cy + 15, itemWidth + 10, listHeight, 1002, f.font);
        for (const std::u16string& item : form.items) SendMessageW(f.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item)));
        SendMessageW(f.list, LB_SETCARETINDEX, 0, FALSE);
        okBelow(f.list);
        break;
      }
      case SelectControls::Buttons: {
        clientHeight = std::min(pitch * n + label.cy + 32, screenLimit);
        for (int i = 0; i < n; ++i) {
          HWND b = child(f.window, L"BUTTON", form.items[static_cast<size_t>(i)], BS_PUSHBUTTON | WS_TABSTOP, 10,
                         pitch * i + label.cy + 20, itemWidth, controlHeight, kSelectButtonBaseId + i, f.font);
          if (!firstFocus) firstFocus = b;
        }
        break;
      }
    }
    if (form.timeoutSeconds > 0) {
      f.countdownTotalMs = f.countdownLeftMs = form.timeoutSeconds * 1000;
      SetTimer(f.window, kCountdownTimer, kCountdownStepMs, nullptr);
    }
    setClientSize(f.window, clientWidth, clientHeight);
    placeForm(f.window, form, form.position);
    attach(f);
    runLoop(f, form.stopRequested, firstFocus);
    if (f.timedOut) return {SelectDialogAnswer::Outcome::TimedOut, {}};
    if (f.cancelled) return {};
    std::sort(f.chosen.begin(), f.chosen.end());
    return {SelectDialogAnswer::Outcome::Chosen, f.chosen};
  }

  // ---- pop-up menu ----
  // Menu command ids are entry numbers + 1: TrackPopupMenu returns 0 for "nothing chosen".
  static HMENU buildMenu(const std::vector<PopupMenuEntry>& entries) {
    HMENU menu = CreatePopupMenu();
    for (const PopupMenuEntry& e : entries) {
      if (e.opensSubmenu()) {
        AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(buildMenu(e.children)), wide(e.caption));
      } else {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(e.number) + 1, wide(e.caption));
      }
    }
    return menu;
  }

  int showPopupMenu(const std::vector<PopupMenuEntry>& entries, std::optional<DialogPosition> at,
                    const DialogStopCheck& stopRequested) {
    if (!menuOwner_) {
      menuOwner_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMenuOwnerClass, L"", WS_POPUP, 0, 0, 0, 0,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      SetWindowLongPtrW(menuOwner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    if (!menuOwner_) return -1;
    POINT where{};
    if (at) {
      where = {at->x, at->y};
    } else {
      GetCursorPos(&where);
    }
    HMENU menu = buildMenu(entries);
    menuStop_ = stopRequested;
    // The menu closes when its owner loses the foreground, so the owner takes it first.
    ShowWindow(menuOwner_, SW_SHOWNOACTIVATE);
    SetForegroundWindow(menuOwner_);
    SetTimer(menuOwner_, kMenuStopTimer, kWaitSliceMs, nullptr);
    const BOOL command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, where.x,
                                        where.y, 0, menuOwner_, nullptr);
    KillTimer(menuOwner_, kMenuStopTimer);
    PostMessageW(menuOwner_, WM_NULL, 0, 0);
    ShowWindow(menuOwner_, SW_HIDE);
    menuStop_ = nullptr;
    DestroyMenu(menu);  // frees the submenus too
    return command > 0 ? static_cast<int>(command) - 1 : -1;
  }

  HWND control_ = nullptr;
  HWND menuOwner_ = nullptr;
  DialogStopCheck menuStop_;
  std::mutex startLock_;
  std::condition_variable startSignal_;
  bool started_ = false;
  std::timed_mutex turnLock_;
};

}  // namespace

DialogWindows& buildDialogWindows() {
  // Never destroyed: its thread runs until the process ends.
  static Win32DialogWindows* dialogs = new Win32DialogWindows();
  return *dialogs;
}

}  // namespace maqo::platform
