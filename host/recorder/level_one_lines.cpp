#include "host/recorder/level_one_lines.h"

#include <algorithm>

#include "host/recorder/script_line.h"
#include "platform/text_codec.h"

namespace maqo::host::recorder {
namespace {

constexpr size_t kMaxEntryText = 255;


std::u16string Number(int value) { return FormatNumber(value); }

std::u16string CheckState(std::uint32_t state) {
  if (state & kStateChecked) return u"True";
  if (state & kStateMixed) return u"2";
  return u"False";
}

std::u16string TrimLineBreaks(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return std::u16string(text.substr(begin, end - begin));
}

std::u16string CaptionButtonLine(std::u16string_view name) {
  const std::u16string upper = asciiUpper(name);
  if (upper == u"MINIMIZE" || upper == u"最小化") return u"CTRLWIN(id, MIN)";
  if (upper == u"MAXIMIZE" || upper == u"最大化") return u"CTRLWIN(id, MAX)";
  if (upper == u"CLOSE" || upper == u"閉じる") return u"CTRLWIN(id, CLOSE)";
  if (upper == u"RESTORE" || upper == u"元のサイズに戻す") return u"CTRLWIN(id, NORMAL)";
  return u"";
}

std::u16string WithoutSpacesUpper(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text)
    if (c != u' ') out += c;
  return asciiUpper(out);
}

}  // namespace

std::u16string QuotedItemName(std::u16string_view raw, bool* multiLine) {
  std::u16string name;
  for (char16_t c : raw)
    if (c != u'\0') name += c;
  const bool lines = ContainsText(name, u"\n");
  if (lines) name = TrimLineBreaks(name);
  if (multiLine) *multiLine = lines;
  std::u16string quoted = u"\"";
  for (char16_t c : name) {
    if (c == u'\n') quoted += u"\"+CHR(10)+\"";
    else quoted += c;
  }
  return quoted + u"\"";
}

std::optional<std::u16string> ChooseClickLine(const ClickFacts& facts) {
  const std::u16string classUnder = asciiUpper(facts.classUnder);
  const std::u16string classTop = asciiUpper(facts.classTop);
  const bool right = facts.click == ClickKind::Right;

  if (classTop == u"MOZILLADROPSHADOWWINDOWCLASS")
    return std::u16string(u"ClkItem(id, MenuName, CLK_ACC or CLK_BACK)") +
           (facts.japanese ? u" // メニュー名は手動で直して!" : u" // Mend MenuName by yourself.");

  int role = facts.role;
  std::u16string name = facts.name;
  if (facts.accessible == AccessibleResult::Skip) return std::nullopt;
  if (facts.accessible == AccessibleResult::None) {
    if (role == kRoleListItem && name.empty()) {
    } else if (role == kRoleDropDownButton && name.empty() && classUnder == u"BUTTON") {
      role = kRolePushButton;
      name = EscapeForScriptString(facts.titleUnder);
    } else {
      return std::nullopt;
    }
  }

  const bool listOrTree = ContainsText(classUnder, u"LISTVIEW") || ContainsText(classUnder, u"TREEVIEW");
  const std::u16string suffix = right ? u" or CLK_RIGHTCLK"
                                : facts.click == ClickKind::Double ? u" or CLK_DBLCLK"
                                : listOrTree ? u" or CLK_LEFTCLK"
                                             : u"";
  bool multiLine = false;
  const std::u16string quoted = QuotedItemName(name, &multiLine);
  const std::u16string head = u"CLKITEM(id, " + quoted + u", ";
  auto countTail = [](int index) { return index > 1 ? u", True, " + Number(index) : std::u16string(); };

  if (BeginsWith(classTop, u"MOZILLA")) {
    if (role == kRoleCheckBox) return head + u"CLK_ACC, " + CheckState(facts.state) + u")";
    return head + u"CLK_ACC" + suffix + u")";
  }

  std::optional<std::u16string> line;
  switch (role) {
    case kRolePushButton:
    case kRoleRadioButton:
    case kRoleCheckBox: {
      const bool checkBox = role == kRoleCheckBox;
      const int n = facts.buttonIndex;
      if (n >= 1) {
        if (checkBox)
          line = head + u"CLK_BTN, " + CheckState(facts.state) + (n > 1 ? u", " + Number(n) : u"") + u")";
        else
          line = head + u"CLK_BTN" + suffix + countTail(n) + u")";
      } else if (classTop == u"BUTTON" && asciiUpper(facts.topParentClass) == u"SHELL_TRAYWND") {
        line = head + (right ? u"CLK_ACC or CLK_RIGHTCLK)" : u"CLK_ACC or CLK_BACK)");
      } else if (checkBox) {
        const int m = facts.sameNameIndex;
        line = head + u"CLK_ACC, " + CheckState(facts.state) + (m > 1 ? u", " + Number(m) : u"") + u")";
      } else if (!facts.clickOnTopLevel) {
        if (facts.titleUnder.empty() && classTop == u"SHELL_TRAYWND") {
          line = head + u"CLK_TOOLBAR" + suffix + u")";
        } else {
          for (const char16_t* list : {u"COMBOBOX", u"COLORBOX", u"LISTBOX", u"EDIT", u"LISTVIEW"})
            if (ContainsText(classUnder, list)) return std::nullopt;
          const bool back = ContainsText(classUnder, u"TOOLBAR") && ContainsText(classTop, u"VIEWCONTROL");
          line = head + (back ? u"CLK_ACC or CLK_BACK" : u"CLK_ACC") + suffix + countTail(facts.sameNameIndex) + u")";
        }
      } else {
        if (!facts.sixtyFourBit) return std::nullopt;
        const std::u16string caption = CaptionButtonLine(name);
        if (caption.empty()) return std::nullopt;
        line = caption;
      }
      break;
    }
    case kRoleListItem:
      if (ContainsText(classUnder, u"LISTVIEW")) {
        if (classTop == u"CABINETWCLASS" && facts.click == ClickKind::Double) return std::nullopt;
        line = head + u"CLK_LSTVEW" + suffix + u")";
      } else if (name.empty()) {
        line = std::u16string(u"CLKITEM(id, ItemName, CLK_LIST)") +
               (facts.japanese ? u" // アイテム名は手動で直して!" : u" // Mend ItemName by yourself.");
      } else if (facts.listIndex) {
        line = head + u"CLK_LIST" + suffix + countTail(*facts.listIndex) + u")";
      } else {
        line = head + u"CLK_ACC" + suffix + u")";
      }
      break;
    case kRolePageTab: {
      const bool tab = facts.sixtyFourBit ? classUnder != u"NETUIHWND" : facts.tabFound;
      line = head + (tab ? u"CLK_TAB" : u"CLK_ACC") + suffix + u")";
      break;
    }
    case kRoleMenuItem:
      return std::nullopt;
    case kRoleOutlineItem:
      line = head + (ContainsText(classUnder, u"TREEVIEW") ? u"CLK_TREEVEW" : u"CLK_ACC") + suffix + u")";
      break;
    case kRoleDropDownButton:
    case kRoleMenuButton:
    case kRoleDropDownGrid:
      if (right) return std::nullopt;
      line = head + (multiLine ? u"CLK_ACC)" : u"CLK_ACC or CLK_BACK)");
      break;
    case kRoleLink:
      line = head + (ContainsText(classUnder, u"WINDOWSFORMS") ? u"CLK_ACC or CLK_LEFTCLK" : u"CLK_ACC") + suffix + u")";
      break;
    default:
      if (facts.inMdiChild && role == kRoleClient && name == facts.mdiChildTitle) return std::nullopt;
      line = head + u"CLK_ACC" + suffix + u")";
  }
  // Task-bar buttons of 64-bit programs are not tool-bar buttons this process can read.
  if (line && classTop == u"SHELL_TRAYWND" && facts.sixtyFourBit) {
    const std::u16string upper = asciiUpper(*line);
    const size_t at = upper.find(u"CLK_TOOLBAR");
    if (at != std::u16string::npos) line->replace(at, 11, u"CLK_ACC");
  }
  return line;
}

std::u16string SendStringLine(std::u16string_view text, int kind, int index, bool japanese) {
  const bool cut = text.size() > kMaxEntryText;
  std::u16string kept(text.substr(0, std::min(text.size(), kMaxEntryText)));
  if (cut) kept += u"...";
  std::u16string line = u"SENDSTR(id, \"" + EscapeForScriptString(kept) + u"\", " + Number(index) + u", True" +
                        (kind == 2 ? u", True)" : u")");
  if (cut) line += japanese ? u" // 255文字以降切り捨て" : u" // 255 characters or more";
  return line;
}

std::vector<std::u16string> FinishLevelOne(std::vector<std::u16string> lines, std::u16string_view recordingCaption) {
  const std::u16string ownToolBar = WithoutSpacesUpper(u"CLKITEM(ID,\"" + std::u16string(recordingCaption) + u"\",CLK_TOOLBAR)");
  while (!lines.empty()) {
    const std::u16string last = WithoutSpacesUpper(lines.back());
    if (last == u"ID=GETID(\"\",\"SHELL_TRAYWND\",-1)" || BeginsWith(last, u"SLEEP(") || last == ownToolBar)
      lines.pop_back();
    else
      break;
  }
  const bool postsCommands = std::any_of(lines.begin(), lines.end(), [](const std::u16string& line) {
    return BeginsWith(line, u"PostMessageA(") || BeginsWith(line, u"// PostMessageA(");
  });
  if (postsCommands) {
    lines.insert(lines.begin(), {u"DEF_DLL PostMessageA(Hwnd,Long,Long,Dword):Bool:user32", u"WM_COMMAND = $111"});
  }
  return lines;
}

}  // namespace maqo::host::recorder
