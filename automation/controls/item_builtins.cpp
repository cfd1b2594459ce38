// GETITEM, GETCTLHND and GETSLCTLST.
#include "automation/controls/accessible_items.h"
#include "automation/controls/control_arguments.h"
#include "automation/controls/control_builtins.h"
#include "automation/controls/control_enumeration.h"
#include "automation/controls/control_kinds.h"
#include "automation/controls/item_names.h"
#include "automation/controls/menu_walk.h"
#include "automation/controls/control_actions.h"
#include "automation/windows/window_finder.h"
#include "engine/values/global_store.h"

namespace maqo::automation::controls {

namespace kb = kind_bits;
using platform::WindowHandle;

namespace {

// GETITEM's accessibility kinds (ITM_ACCCLK, ITM_ACCTXT, ITM_ACCEDIT and their variants).
constexpr uint32_t kAccessibleItemKinds = 0x400000 | 0x800000 | 0x1000000;
constexpr size_t kWindowTextChars = 65001;

struct ItemCollector {
  ControlContext& c;
  bool admitDisabled;
  int number;  // the control number of trees, list views and lists
  int column;  // 0-based list-view column
  std::vector<std::u16string>& out;

  std::vector<ControlEntry> all(uint32_t kind) { return EnumerateControls(c, c.window, kind, admitDisabled); }
  // The number-th control of the kind, or controls 1 to 99 for a negative number.
  std::vector<ControlEntry> numbered(uint32_t kind) {
    std::vector<ControlEntry> list = all(kind);
    if (number < 0) {
      if (list.size() > 99) list.resize(99);
      return list;
    }
    const ControlEntry* one = NthControl(list, std::max(1, number));
    return one ? std::vector<ControlEntry>{*one} : std::vector<ControlEntry>{};
  }

  void buttons() {
    for (const ControlEntry& e : all(kb::kButton)) out.push_back(NormaliseItemName(ReadTitle(c.automation, e.handle)));
  }
  void tabs() {
    for (const ControlEntry& e : all(kb::kTab)) {
      platform::RemoteBuffer* buffer = c.remote(e.handle);
      if (!buffer) return;
      for (int i = 0, n = c.controls.tabCount(e.handle); i < n; ++i)
        out.push_back(NormaliseItemName(c.controls.tabText(*buffer, e.handle, i)));
    }
  }
  void menu() {
    uint64_t bar = c.controls.windowMenu(c.window);
    if (bar == 0) bar = c.controls.popupMenu();
    if (bar == 0) return;
    c.controls.initMenu(c.window, bar);
    MenuWalk walk{c, HalfWidthOf(c), false};
    walk.collectTexts(bar, out);
  }
  void treeItems(platform::RemoteBuffer& buffer, WindowHandle tree, uint64_t item, int depth) {
    for (; item != 0 && depth < 256 && !c.automation.stopRequested();
         item = c.controls.treeItem(tree, platform::TreeRelation::Next, item)) {
      out.push_back(NormaliseItemName(c.controls.treeItemFacts(buffer, tree, item).text));
      treeItems(buffer, tree, c.controls.treeItem(tree, platform::TreeRelation::Child, item), depth + 1);
    }
  }
  void trees() {
    for (const ControlEntry& e : numbered(kb::kTreeView))
      if (platform::RemoteBuffer* buffer = c.remote(e.handle))
        treeItems(*buffer, e.handle, c.controls.treeItem(e.handle, platform::TreeRelation::Root, 0), 0);
  }
  void listViews() {
    for (const ControlEntry& e : numbered(kb::kListView)) {
      platform::RemoteBuffer* buffer = c.remote(e.handle);
      if (!buffer) return;
      for (int k = 0, n = c.controls.listViewColumns(e.handle); k < n; ++k)
        out.push_back(c.controls.listViewColumnText(*buffer, e.handle, k));
      for (int row = 0, n = c.controls.listViewCount(e.handle); row < n && !c.automation.stopRequested(); ++row)
        out.push_back(c.controls.listViewText(*buffer, e.handle, row, column));
    }
  }
  void lists() {
    for (const ControlEntry& e : numbered(kb::kList)) {
      const bool combo = IsComboClass(e.upperClass);
      for (int i = 0, n = c.controls.listCount(e.handle, combo); i < n; ++i)
        out.push_back(c.controls.listText(e.handle, combo, i));
    }
  }
  void texts(uint32_t kind) {
    for (const ControlEntry& e : all(kind)) out.push_back(NormaliseItemName(c.controls.windowText(e.handle, kWindowTextChars)));
  }
  void toolBars() {
    const bool taskBar = AsciiUpper(c.automation.desktop.className(c.window)) == u"SHELL_TRAYWND";
    for (const ControlEntry& e : all(kb::kToolBar)) {
      platform::RemoteBuffer* buffer = c.remote(e.handle);
      if (!buffer) return;
      for (int i = 0, n = c.controls.toolButtonCount(e.handle); i < n; ++i) {
        const auto button = c.controls.toolButton(*buffer, e.handle, i);
        if (!button || (taskBar && (button->state & platform::ToolButtonFacts::kHidden))) continue;
        const std::u16string text = c.controls.toolButtonText(*buffer, e.handle, button->command);
        if (!text.empty()) out.push_back(NormaliseItemName(text));
      }
    }
  }
  void statusBars() {
    for (const ControlEntry& e : all(kb::kStatusBar)) {
      platform::RemoteBuffer* buffer = c.remote(e.handle);
      if (!buffer) return;
      for (int i = 0, n = c.controls.statusParts(e.handle); i < n; ++i)
        out.push_back(NormaliseItemName(c.controls.statusText(*buffer, e.handle, i)));
    }
  }
};

std::u16string joined(const std::vector<std::u16string>& parts, std::u16string_view separator) {
  std::u16string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += separator;
    out += parts[i];
  }
  return out;
}

}  // namespace

ScriptValue Getitem(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  engine::THensuFmt& frame = host.frame();
  host.globals().ResultArray(frame, u"ALL_ITEM_LIST");
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::int32(0);
  const uint32_t kinds = static_cast<uint32_t>(IntArgument(call, 1, 0));
  const int column = std::max(0, IntArgument(call, 3, 1) - 1);
  const bool enabledOnly = IntArgument(call, 4, 0) != 0;
  ControlContext c(a, controls, h);
  std::vector<std::u16string> texts;
  ItemCollector collect{c, !enabledOnly, IntArgument(call, 2, 0), column, texts};
  if (kinds & kb::kButton) collect.buttons();
  if (kinds & kb::kTab) collect.tabs();
  if (kinds & kb::kMenu) collect.menu();
  if (kinds & kb::kTreeView) collect.trees();
  if (kinds & kb::kListView) collect.listViews();
  if (kinds & kb::kList) collect.lists();
  if (kinds & kb::kEdit) collect.texts(kb::kEdit);
  if (kinds & kb::kStatic) collect.texts(kb::kStatic);
  if (kinds & kb::kStatusBar) collect.statusBars();
  if (kinds & kb::kToolBar) collect.toolBars();
  if (kinds & kAccessibleItemKinds) {
    const bool onlyAccessible = (kinds & ~(kAccessibleItemKinds | 0xF0000000u | kb::kBack | kb::kFromLast)) == 0;
    if (AccessibleItems* engine = InstalledAccessibleItems())
      engine->collect(c, kinds, collect.number, !enabledOnly, texts);
    else if (onlyAccessible)
      throw control_messages::accessibilityUnavailable(u"GETITEM");
  }
  for (std::u16string& text : texts) host.globals().ResultArray(frame, u"ALL_ITEM_LIST", ScriptValue::string(std::move(text)));
  return ScriptValue::int32(static_cast<int32_t>(texts.size()));
}

ScriptValue Getctlhnd(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const WindowHandle h = a.session.ids.resolveWindow(call.integer(0), a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::number(0);
  const std::u16string name = call.text(1);
  const std::u16string upperName = AsciiUpper(name);
  if (upperName == u"__GET_MENU_HND__") {
    uint64_t menu = controls.windowMenu(h);
    const WindowHandle parent = a.desktop.parent(h);
    if (menu == 0 && a.desktop.anyPopup() && (parent == 0 || parent == a.desktop.foreground()))
      menu = controls.popupMenu();
    return ScriptValue::number(static_cast<double>(menu));
  }
  if (upperName == u"__GET_SYSMENU_HND__") return ScriptValue::number(static_cast<double>(controls.systemMenu(h)));
  const int number = std::max(1, IntArgument(call, 2, 1));
  ControlContext c(a, controls, h);
  const std::vector<ControlEntry> all = EnumerateControls(c, h, kb::kAnyChild, true);
  const std::u16string searched = NormaliseItemName(AsciiUpper(TrimControl(name)));
  int matches = 0;
  for (const ControlEntry& e : all)
    if (TitleEqual(a.desktop, NormaliseItemName(AsciiUpper(ReadTitle(a, e.handle))), searched) && ++matches == number)
      return ScriptValue::number(static_cast<double>(e.handle));
  matches = 0;
  for (const platform::ChildFacts& f : c.children(h))
    if (CategoryClass(f.className) == upperName && ++matches == number)
      return ScriptValue::number(static_cast<double>(f.handle));
  return ScriptValue::number(0);
}

ScriptValue Getslctlst(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::string(u"");
  const int number = std::max(1, IntArgument(call, 1, 1));
  const int column = std::max(0, IntArgument(call, 2, 1) - 1);
  ControlContext c(a, controls, h);
  const std::vector<ControlEntry> all = EnumerateControls(c, h, kb::kList | kb::kTreeView | kb::kListView, false);
  const ControlEntry* e = NthControl(all, number);
  if (!e) return ScriptValue::string(u"");
  const std::u16string& cls = e->upperClass;
  std::vector<std::u16string> parts;
  if (IsComboClass(cls)) {
    const int current = controls.listCurrent(e->handle, true);
    if (current >= 0) parts.push_back(controls.listText(e->handle, true, current).substr(0, 2048));
  } else if (cls.find(u"LISTBOX") != std::u16string::npos) {
    for (int i = 0, n = controls.listCount(e->handle, false); i < n; ++i)
      if (controls.listSelected(e->handle, i)) parts.push_back(controls.listText(e->handle, false, i));
  } else if (cls.find(u"LISTVIEW") != std::u16string::npos) {
    if (platform::RemoteBuffer* buffer = c.remote(e->handle))
      for (int row = 0, n = controls.listViewCount(e->handle); row < n; ++row)
        if (controls.listViewState(e->handle, row, platform::ListViewState::kSelected))
          parts.push_back(TrimControl(controls.listViewText(*buffer, e->handle, row, column)));
  } else if (cls.find(u"TREEVIEW") != std::u16string::npos) {
    if (platform::RemoteBuffer* buffer = c.remote(e->handle)) {
      uint64_t item = controls.treeItem(e->handle, platform::TreeRelation::Caret, 0);
      for (int depth = 0; item != 0 && depth < 256; ++depth) {
        parts.insert(parts.begin(), controls.treeItemFacts(*buffer, e->handle, item).text);
        item = controls.treeItem(e->handle, platform::TreeRelation::Parent, item);
      }
      return ScriptValue::string(joined(parts, u"\\"));
    }
  }
  return ScriptValue::string(joined(parts, u"\t"));
}

}  // namespace maqo::automation::controls
