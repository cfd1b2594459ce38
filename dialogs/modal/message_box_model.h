// What the message dialog shows and returns: its buttons, their row, the
// button that closed it, the cut of an over-long message and the web links
// found in the message.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace maqo::dialogs {

struct MessageButton {
  int value;        // the BTN_ value the dialog returns for it
  int modalResult;  // the form's modal result for it
  const char16_t* caption;
};

// The buttons of a set in the order they are shown. A set with none of the
// seven button bits shows OK, so the dialog can always be closed by a button.
std::vector<MessageButton> ShownButtons(int64_t buttonSet);

// The button row: the client width needed and the left edge of the first button.
struct ButtonRow {
  int clientWidth;
  int firstLeft;
};
inline constexpr int kButtonPitch = 90;
ButtonRow LayOutButtonRow(int clientWidth, int buttonCount);

// The BTN_ value for the modal result that closed the form; Escape, the close
// box and anything unknown give BTN_CANCEL.
int MessageResultFor(int modalResult);

// Messages longer than this are cut and end with "...".
inline constexpr size_t kMaxMessageLength = 64000;
std::u16string CutLongMessage(std::u16string message);

// Line ends as the label shows them when links are on: every CR, LF or CR LF
// becomes CR LF.
std::u16string NormaliseLineEnds(std::u16string_view text);

// Tabs expanded to spaces with stops every 8 characters.
std::u16string ExpandTabs(std::u16string_view text);

// One web link found in the message: the text it opens, the line it is on
// (0-based) and the text in front of it on that line (tabs expanded), which
// decides its left edge.
struct MessageLink {
  std::u16string target;
  int line = 0;
  std::u16string linePrefix;
  bool operator==(const MessageLink&) const = default;
};

// The links of a message, searched for "http://", then "https://", then
// "mailto:". The text is updated as the label shows it: line ends normalised
// and tabs expanded in lines that hold links.
std::vector<MessageLink> FindMessageLinks(std::u16string& text);

}  // namespace maqo::dialogs
