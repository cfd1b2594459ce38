#include "tools/maqo/options_dialog.h"

#include <string>

#include "tools/maqo/wide_text.h"

namespace maqo::app {

namespace {

constexpr wchar_t kOptionsClass[] = L"TFSetset";

enum ControlId : int {
  kLowLevel = 101,
  kHighLevel,
  kSkipExtraMoves,
  kRelativeMouse,
  kCopyToClipboard,
  kScheduleButton,
  kFirstCombo = 200,  // modifier, key for play, stop, record, tray
};

struct DialogState {
  host::HostOptions options;
  bool japanese = false;
  std::function<void()> onSchedule;
  HFONT font = nullptr;
  bool done = false;
  bool accepted = false;
  HWND combos[8] = {};
};

std::u16string pick(bool japanese, const char16_t* english, const char16_t* japaneseText) {
  return japanese ? japaneseText : english;
}

HWND addControl(HWND parent, DialogState& state, const wchar_t* cls, const std::u16string& caption, DWORD style, int x,
                int y, int w, int h, int id) {
  HWND control = CreateWindowExW(0, cls, wide(caption), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), TRUE);
  return control;
}

void enableLowLevelOptions(HWND dialog) {
  const BOOL low = IsDlgButtonChecked(dialog, kLowLevel) == BST_CHECKED;
  EnableWindow(GetDlgItem(dialog, kSkipExtraMoves), low);
  EnableWindow(GetDlgItem(dialog, kRelativeMouse), low);
}

void buildControls(HWND dialog, DialogState& s) {
  const bool j = s.japanese;
  addControl(dialog, s, L"BUTTON", pick(j, u"Recording(&R)", u"記録方法(&R)"), BS_GROUPBOX, 8, 4, 300, 112, 0);
  addControl(dialog, s, L"BUTTON", pick(j, u"Low-level recording", u"低レベル記録"),
             BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 18, 22, 140, 20, kLowLevel);
  addControl(dialog, s, L"BUTTON", pick(j, u"High-level recording", u"高レベル記録"), BS_AUTORADIOBUTTON, 160, 22,
             140, 20, kHighLevel);
  addControl(dialog, s, L"BUTTON", pick(j, u"Do not record extra time and mouse moves", u"余分な時間、マウス移動は記録しない"),
             BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 18, 44, 284, 20, kSkipExtraMoves);
  addControl(dialog, s, L"BUTTON", pick(j, u"Record mouse positions relative to the window", u"マウス座標を相対座標で記録する"),
             BS_AUTOCHECKBOX | WS_TABSTOP, 18, 66, 284, 20, kRelativeMouse);
  addControl(dialog, s, L"BUTTON", pick(j, u"Copy to the clipboard after recording", u"記録後クリップボードへコピーする"),
             BS_AUTOCHECKBOX | WS_TABSTOP, 18, 88, 284, 20, kCopyToClipboard);

  addControl(dialog, s, L"BUTTON", pick(j, u"Hot keys(&H)", u"ホットキー(&H)"), BS_GROUPBOX, 8, 122, 300, 124, 0);
  const char16_t* rowsEnglish[] = {u"Play", u"Stop", u"Rec", u"Tray"};
  const char16_t* rowsJapanese[] = {u"再生", u"停止", u"記録", u"トレイ"};
  for (int row = 0; row < 4; ++row) {
    const int y = 140 + row * 26;
    addControl(dialog, s, L"STATIC", pick(j, rowsEnglish[row], rowsJapanese[row]), SS_LEFT, 18, y + 3, 50, 18, 0);
    HWND modifier = addControl(dialog, s, L"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 70, y, 112, 200,
                               kFirstCombo + row * 2);
    HWND key = addControl(dialog, s, L"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 188, y, 112, 300,
                          kFirstCombo + row * 2 + 1);
    for (const auto& m : host::HotKeyModifiers())
      SendMessageW(modifier, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(std::u16string(m.name))));
    for (const auto& k : host::HotKeyKeys())
      SendMessageW(key, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(std::u16string(k.name))));
    s.combos[row * 2] = modifier;
    s.combos[row * 2 + 1] = key;
  }

  addControl(dialog, s, L"BUTTON", pick(j, u"Scheduler", u"スケジューラー"), BS_GROUPBOX, 8, 252, 300, 52, 0);
  addControl(dialog, s, L"BUTTON", pick(j, u"Schedule settings(&S)...", u"スケジュール設定をする(&S)..."),
             BS_PUSHBUTTON | WS_TABSTOP, 18, 270, 280, 26, kScheduleButton);
  addControl(dialog, s, L"BUTTON", u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 148, 314, 76, 26, IDOK);
  addControl(dialog, s, L"BUTTON", pick(j, u"Cancel", u"キャンセル"), BS_PUSHBUTTON | WS_TABSTOP, 230, 314, 76, 26,
             IDCANCEL);
}

void fill(HWND dialog, DialogState& s) {
  const host::HostOptions& o = s.options;
  CheckRadioButton(dialog, kLowLevel, kHighLevel, o.highLevelRecording ? kHighLevel : kLowLevel);
  CheckDlgButton(dialog, kSkipExtraMoves, o.skipExtraMoves ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kRelativeMouse, o.relativeMouse ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kCopyToClipboard, o.copyToClipboard ? BST_CHECKED : BST_UNCHECKED);
  const host::HotKeyPair pairs[] = {o.play, o.stop, o.record, o.tray};
  for (int row = 0; row < 4; ++row) {
    // An index outside the tables shows an empty choice.
    SendMessageW(s.combos[row * 2], CB_SETCURSEL, pairs[row].valid() ? pairs[row].modifier : -1, 0);
    SendMessageW(s.combos[row * 2 + 1], CB_SETCURSEL, pairs[row].valid() ? pairs[row].key : -1, 0);
  }
  enableLowLevelOptions(dialog);
}

host::HostOptions collect(HWND dialog, const DialogState& s) {
  host::HostOptions o = s.options;
  o.highLevelRecording = IsDlgButtonChecked(dialog, kHighLevel) == BST_CHECKED;
  o.skipExtraMoves = IsDlgButtonChecked(dialog, kSkipExtraMoves) == BST_CHECKED;
  o.relativeMouse = IsDlgButtonChecked(dialog, kRelativeMouse) == BST_CHECKED;
  o.copyToClipboard = IsDlgButtonChecked(dialog, kCopyToClipboard) == BST_CHECKED;
  host::HotKeyPair* pairs[] = {&o.play, &o.stop, &o.record, &o.tray};
  for (int row = 0; row < 4; ++row) {
    const auto modifier = static_cast<int>(SendMessageW(s.combos[row * 2], CB_GETCURSEL, 0, 0));
    const auto key = static_cast<int>(SendMessageW(s.combos[row * 2 + 1], CB_GETCURSEL, 0, 0));
    // Nothing chosen keeps the stored pair.
    if (modifier >= 0) pairs[row]->modifier = modifier;
    if (key >= 0) pairs[row]->key = key;
  }
  return o;
}

// Ends the modal loop. A click sent from another thread or process is handled
// inside GetMessage, which would keep waiting for a posted message: post one.
void finish(HWND dialog, DialogState& s, bool accepted) {
  s.accepted = accepted;
  s.done = true;
  PostMessageW(dialog, WM_NULL, 0, 0);
}

LRESULT CALLBACK optionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(dialog, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* s = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  if (!s) return DefWindowProcW(dialog, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kLowLevel:
        case kHighLevel:
          enableLowLevelOptions(dialog);
          return 0;
        case kScheduleButton:
          if (s->onSchedule) s->onSchedule();
          return 0;
        case IDOK: {
          const host::HostOptions chosen = collect(dialog, *s);
          const auto clashing = host::ClashingHotKeys(chosen);
          if (!clashing.empty()) {
            std::u16string names;
            for (const auto& name : clashing) names += (names.empty() ? u"" : u", ") + name;
            const std::u16string message =
                pick(s->japanese, u"These hot keys are the same: ", u"同じホットキーがあります: ") + names;
            MessageBoxW(dialog, wide(message), L"MAQO", MB_OK | MB_ICONWARNING);
            return 0;
          }
          s->options = chosen;
          finish(dialog, *s, true);
          return 0;
        }
        case IDCANCEL:
          finish(dialog, *s, false);
          return 0;
        default:
          return 0;
      }
    case WM_CLOSE:
      finish(dialog, *s, false);
      return 0;
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

}  // namespace

std::optional<host::HostOptions> ShowOptionsDialog(HWND owner, const host::HostOptions& options, bool japanese,
                                                   const std::function<void()>& onSchedule) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = optionsProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kOptionsClass;
    registered = RegisterClassExW(&wc) != 0;
    if (!registered) return std::nullopt;
  }
  DialogState state;
  state.options = options;
  state.japanese = japanese;
  state.onSchedule = onSchedule;
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    state.font = CreateFontIndirectW(&metrics.lfMessageFont);

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame = {0, 0, 316, 348};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
  RECT ownerRect = {};
  GetWindowRect(owner, &ownerRect);
  HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kOptionsClass,
                                wide(pick(japanese, u"Options", u"設定")), style, ownerRect.left,
                                ownerRect.bottom + 4, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                GetModuleHandleW(nullptr), &state);
  if (!dialog) {
    if (state.font) DeleteObject(state.font);
    return std::nullopt;
  }
  buildControls(dialog, state);
  fill(dialog, state);
  // Keep the dialog within the desktop.
  RECT r;
  GetWindowRect(dialog, &r);
  const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int bottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  int x = r.left, y = r.top;
  if (r.right > right) x -= r.right - right;
  if (r.bottom > bottom) y = ownerRect.top - (r.bottom - r.top) - 4;
  if (y < 0) y = 0;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

  EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  MSG msg;
  while (!state.done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit back to the main loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EnableWindow(owner, TRUE);
  DestroyWindow(dialog);
  SetForegroundWindow(owner);
  if (state.font) DeleteObject(state.font);
  if (!state.accepted) return std::nullopt;
  return state.options;
}

}  // namespace maqo::app
