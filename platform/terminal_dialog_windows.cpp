// The terminal dialogs. Answers, one line each:
// - message: a button caption (any case), its first letter, or its value;
//   an empty line is Enter (the focus button, else the first one);
// - input: the text itself;
// - select: item numbers from 1, separated by spaces or commas (an empty line
//   is OK with nothing chosen);
// - pop-up menu: the number shown in front of an entry.
// An answer that fits nothing asks again; end of input and a stop request
// are Escape; a select time-out ends the wait as the form's timer would.
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/dialog_windows.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

std::mutex terminalLock;  // one question at a time, whichever thread asks

void Say(std::u16string_view text) { std::fputs(utf16ToUtf8(text).c_str(), stderr); }

// The next answer line; nothing when input ended or the run is stopping.
std::optional<std::u16string> ReadAnswer(const DialogStopCheck& stopRequested) {
  std::fflush(stderr);
  TerminalAnswer answer = readTerminalAnswer(stopRequested, 0);
  if (answer.end != TerminalAnswer::End::Line) return std::nullopt;
  return std::move(answer.line);
}

std::optional<long> WholeNumber(const std::u16string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

std::u16string Number(long n) { return utf8ToUtf16(std::to_string(n)); }

void SayHeading(const std::u16string& caption, const std::u16string& message) {
  Say(u"[" + caption + u"] " + message + u"\n");
}

void ListEntries(const std::vector<PopupMenuEntry>& entries, int depth) {
  for (const PopupMenuEntry& e : entries) {
    Say(std::u16string(static_cast<size_t>(depth) * 2, u' ') +
        (e.opensSubmenu() ? u"   " : u"(" + Number(e.number) + u")") + u" " + e.caption + u"\n");
    ListEntries(e.children, depth + 1);
  }
}

bool IsLeaf(const std::vector<PopupMenuEntry>& entries, long number) {
  for (const PopupMenuEntry& e : entries) {
    if (e.number == number) return !e.opensSubmenu();
    if (IsLeaf(e.children, number)) return true;
  }
  return false;
}

class TerminalDialogWindows final : public DialogWindows {
 public:
  int askMessage(const MessageDialogForm& form, int escapeValue) override {
    std::lock_guard guard(terminalLock);
    SayHeading(form.caption, form.message);
    std::u16string choices;
    for (const MessageDialogButton& b : form.buttons) choices += (choices.empty() ? u"" : u" / ") + b.caption;
    while (true) {
      Say(u"(" + choices + u") ? ");
      const auto answer = ReadAnswer(form.stopRequested);
      if (!answer) return escapeValue;
      if (answer->empty()) return form.focusValue != 0 ? form.focusValue : form.buttons.front().value;
      const std::u16string wanted = asciiUpper(*answer);
      for (const MessageDialogButton& b : form.buttons) {
        const std::u16string caption = asciiUpper(b.caption);
        if (wanted == caption || (wanted.size() == 1 && wanted[0] == caption[0]) || wanted == Number(b.value)) {
          return b.value;
        }
      }
    }
  }

  std::optional<std::u16string> askInput(const InputDialogForm& form) override {
    std::lock_guard guard(terminalLock);
    SayHeading(form.caption, form.message);
    if (!form.text.empty() && !form.password) Say(u"(" + form.text + u") ");
    Say(u"? ");
    return ReadAnswer(form.stopRequested);
  }

  SelectDialogAnswer askSelect(const SelectDialogForm& form) override {
    std::lock_guard guard(terminalLock);
    SayHeading(form.caption, form.message);
    for (size_t i = 0; i < form.items.size(); ++i) Say(Number(static_cast<long>(i + 1)) + u") " + form.items[i] + u"\n");
    const bool several = form.controls == SelectControls::CheckBoxes || form.controls == SelectControls::ListBox;
    while (true) {
      Say(several ? u"numbers ? " : u"number ? ");
      std::fflush(stderr);
      TerminalAnswer read = readTerminalAnswer(form.stopRequested, form.timeoutSeconds * 1000);
      if (read.end == TerminalAnswer::End::TimedOut) return {SelectDialogAnswer::Outcome::TimedOut, {}};
      if (read.end != TerminalAnswer::End::Line) return {};
      const std::optional<std::u16string> answer = std::move(read.line);
      SelectDialogAnswer chosen{SelectDialogAnswer::Outcome::Chosen, {}};
      bool fits = true;
      std::u16string word;
      const std::u16string line = *answer + u" ";
      for (char16_t c : line) {
        if (c != u' ' && c != u',' && c != u'\t') {
          word += c;
          continue;
        }
        if (word.empty()) continue;
        const auto n = WholeNumber(word);
        word.clear();
        if (!n || *n < 1 || static_cast<size_t>(*n) > form.items.size()) {
          fits = false;
          break;
        }
        const size_t index = static_cast<size_t>(*n - 1);
        if (std::find(chosen.chosen.begin(), chosen.chosen.end(), index) == chosen.chosen.end()) {
          chosen.chosen.push_back(index);
        }
      }
      // Buttons close on one click; the other kinds need at most one item
      // unless they choose several.
      if (fits && form.controls == SelectControls::Buttons && chosen.chosen.size() != 1) fits = false;
      if (fits && !several && chosen.chosen.size() > 1) fits = false;
      if (!fits) continue;
      std::sort(chosen.chosen.begin(), chosen.chosen.end());
      return chosen;
    }
  }

  int askPopupMenu(const std::vector<PopupMenuEntry>& entries, std::optional<DialogPosition>,
                   const DialogStopCheck& stopRequested) override {
    std::lock_guard guard(terminalLock);
    ListEntries(entries, 0);
    while (true) {
      Say(u"number ? ");
      const auto answer = ReadAnswer(stopRequested);
      if (!answer) return -1;
      const auto n = WholeNumber(*answer);
      if (n && IsLeaf(entries, *n)) return static_cast<int>(*n);
    }
  }
};

}  // namespace

DialogWindows& terminalDialogWindows() {
  static TerminalDialogWindows terminal;
  return terminal;
}

}  // namespace maqo::platform
