// The seam of the modal dialogs: each call shows one described form, waits
// for the user and returns the answer. The callers decide content, layout
// numbers and results; an implementation only shows and reads.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace maqo::platform {

// Asked again and again while a dialog waits; true closes it as Escape does.
using DialogStopCheck = std::function<bool()>;

struct DialogPosition {
  int x = 0, y = 0;
};

// Where a form of the given outer size goes; decided by the caller, which
// knows the monitors and the asked-for position.
using DialogPlacer = std::function<DialogPosition(int width, int height)>;

// What every form shares: caption, font, placement and the stop check.
struct DialogCommon {
  std::u16string caption;
  DialogStopCheck stopRequested;
  std::u16string fontName;  // empty: the form's own font
  int fontSize = 0;         // points; 0 or less: the form's own size
  DialogPlacer place;       // empty: the explicit position, else centred
};

// The message form's button row for a client width and a number of buttons:
// the client width needed and the left edge of the first button.
struct DialogButtonRow {
  int clientWidth = 0;
  int firstLeft = 0;
};
using DialogButtonRowLayout = std::function<DialogButtonRow(int clientWidth, int buttonCount)>;

struct MessageDialogButton {
  int value = 0;  // returned when this button closes the dialog
  std::u16string caption;
};

struct MessageDialogForm : DialogCommon {
  std::u16string message;
  std::vector<MessageDialogButton> buttons;  // in the order shown
  int focusValue = 0;                        // 0: the first button is the default
  std::vector<std::u16string> links;         // web links the message holds
  std::optional<DialogPosition> position;
  DialogButtonRowLayout layOutButtons;        // empty: the buttons from the left edge
};

struct InputDialogForm : DialogCommon {
  std::u16string message;
  std::u16string text;  // the starting text
  bool password = false;
  std::optional<DialogPosition> position;
};

enum class SelectControls { Buttons, CheckBoxes, RadioButtons, DropDownList, ListBox };

struct SelectDialogForm : DialogCommon {
  std::u16string message;
  std::vector<std::u16string> items;
  SelectControls controls = SelectControls::Buttons;
  int timeoutSeconds = 0;  // 0: none
  std::optional<DialogPosition> position;
};

struct SelectDialogAnswer {
  enum class Outcome { Chosen, Cancelled, TimedOut } outcome = Outcome::Cancelled;
  std::vector<size_t> chosen;  // item indexes, increasing
};

struct PopupMenuEntry {
  std::u16string caption;
  int number = 0;  // returned when the entry is chosen
  std::vector<PopupMenuEntry> children;
  bool opensSubmenu() const { return !children.empty(); }
};

class DialogWindows {
 public:
  virtual ~DialogWindows() = default;
  // The value of the button that closed the dialog; Escape gives `escapeValue`.
  virtual int askMessage(const MessageDialogForm& form, int escapeValue) = 0;
  // The text, or nothing when cancelled.
  virtual std::optional<std::u16string> askInput(const InputDialogForm& form) = 0;
  virtual SelectDialogAnswer askSelect(const SelectDialogForm& form) = 0;
  // The chosen entry's number, or -1. Without `at` the menu opens at the pointer.
  virtual int askPopupMenu(const std::vector<PopupMenuEntry>& entries, std::optional<DialogPosition> at,
                           const DialogStopCheck& stopRequested) = 0;
};

// The installed implementation, else the terminal one.
DialogWindows& dialogWindows();
// Installs dialogs for tests or for a windowed build (null restores the terminal).
void setDialogWindows(DialogWindows* dialogs);

// The build's own dialogs: modal forms on Windows, the terminal elsewhere.
// A program installs them with setDialogWindows when it wants them.
DialogWindows& buildDialogWindows();

// Dialogs on the terminal: the question and its choices go to stderr and the
// answer is read as one line from stdin. At end of input, or without a
// terminal, every dialog returns what Escape returns.
DialogWindows& terminalDialogWindows();

// One line from standard input, UTF-8 decoded, without its line end. Waits
// until a line is there, input ends, `stopRequested` turns true or
// `timeoutMs` (0: none) passes.
struct TerminalAnswer {
  enum class End { Line, EndOfInput, Stopped, TimedOut } end = End::EndOfInput;
  std::u16string line;
};
TerminalAnswer readTerminalAnswer(const DialogStopCheck& stopRequested, int timeoutMs);

}  // namespace maqo::platform
