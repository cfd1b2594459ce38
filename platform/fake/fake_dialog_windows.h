// Dialogs for tests: each call records the form it was asked to show and
// returns the answer the test set.
#pragma once
#include <optional>
#include <vector>

#include "platform/dialog_windows.h"

namespace maqo::platform {

class FakeDialogWindows final : public DialogWindows {
 public:
  std::optional<MessageDialogForm> message;
  std::optional<InputDialogForm> input;
  std::optional<SelectDialogForm> select;
  std::vector<PopupMenuEntry> popupEntries;
  std::optional<DialogPosition> popupAt;
  int popupCalls = 0;

  std::optional<int> messageAnswer;  // nothing: Escape
  std::optional<std::u16string> inputAnswer;
  SelectDialogAnswer selectAnswer;
  int popupAnswer = -1;

  int askMessage(const MessageDialogForm& form, int escapeValue) override {
    message = form;
    return messageAnswer.value_or(escapeValue);
  }
  std::optional<std::u16string> askInput(const InputDialogForm& form) override {
    input = form;
    return inputAnswer;
  }
  SelectDialogAnswer askSelect(const SelectDialogForm& form) override {
    select = form;
    return selectAnswer;
  }
  int askPopupMenu(const std::vector<PopupMenuEntry>& entries, std::optional<DialogPosition> at,
                   const DialogStopCheck&) override {
    popupEntries = entries;
    popupAt = at;
    ++popupCalls;
    return popupAnswer;
  }
};

// Installs dialogs for one test.
class ScopedDialogWindows {
 public:
  explicit ScopedDialogWindows(DialogWindows& dialogs) { setDialogWindows(&dialogs); }
  ~ScopedDialogWindows() { setDialogWindows(nullptr); }
  ScopedDialogWindows(const ScopedDialogWindows&) = delete;
  ScopedDialogWindows& operator=(const ScopedDialogWindows&) = delete;
};

}  // namespace maqo::platform
