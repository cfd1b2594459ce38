#include "dialogs/modal/message_box_model.h"

#include <array>

namespace maqo::dialogs {

namespace {

constexpr std::array<MessageButton, 7> kButtons = {{
    {4, 6, u"Yes"},
    {8, 7, u"No"},
    {1, 1, u"OK"},
    {2, 2, u"Cancel"},
    {16, 3, u"Abort"},
    {32, 4, u"Retry"},
    {64, 5, u"Ignore"},
}};
constexpr int64_t kAllButtonBits = 127;

bool EndsLink(char16_t c) {
  switch (c) {
    case u' ': case u'\u3000': case u'\r': case u'"': case u'\'': case u')': case u']': case u'}': case u'>':
    case u',':
      return true;
    default:
      return false;
  }
}

std::u16string TrimControl(std::u16string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] <= 13) ++first;
  while (last > first && text[last - 1] <= 13) --last;
  return std::u16string(text.substr(first, last - first));
}

void ReplaceAll(std::u16string& text, const std::u16string& from, const std::u16string& to) {
  if (from.empty() || from == to) return;
  for (size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// Finds the next link for one prefix, records it and marks its first letter
// upper case so the next search moves on. False when none is left.
bool TakeNextLink(std::u16string& text, std::u16string_view prefix, std::vector<MessageLink>& links) {
  size_t at = text.find(prefix);
  if (at == std::u16string::npos) return false;
  size_t end = at;
  while (end < text.size() && !EndsLink(text[end])) ++end;
  MessageLink link;
  link.target = TrimControl(std::u16string_view(text).substr(at, end - at));
  const std::u16string_view before = std::u16string_view(text).substr(0, at);
  for (char16_t c : before) link.line += c == u'\r' ? 1 : 0;
  // The line's own text in front of the link (after its CR LF). Tabs in it
  // are expanded in the label as well, so that the measured width matches
  // what the label draws.
  const size_t lineBreak = before.rfind(u'\n');
  std::u16string prefixText(before.substr(lineBreak == std::u16string_view::npos ? 0 : lineBreak + 1));
  if (prefixText.find(u'\t') != std::u16string::npos) {
    // Every occurrence changes; the link's position is found again from the
    // expanded text in front of it.
    const std::u16string expanded = ExpandTabs(prefixText);
    const size_t lineStart = at - prefixText.size();
    std::u16string head = text.substr(0, lineStart);
    std::u16string tail = text.substr(at);
    ReplaceAll(head, prefixText, expanded);
    ReplaceAll(tail, prefixText, expanded);
    text = head + expanded + tail;
    at = head.size() + expanded.size();
    prefixText = expanded;
  }
  link.linePrefix = prefixText;
  text[at] = text[at] == u'h' ? u'H' : u'M';
  links.push_back(std::move(link));
  return true;
}

}  // namespace

std::vector<MessageButton> ShownButtons(int64_t buttonSet) {
  if ((buttonSet & kAllButtonBits) == 0 || buttonSet < 1) buttonSet = 1;
  std::vector<MessageButton> shown;
  for (const MessageButton& b : kButtons) {
    if (buttonSet & b.value) shown.push_back(b);
  }
  return shown;
}

ButtonRow LayOutButtonRow(int clientWidth, int buttonCount) {
  const int strip = 16 + kButtonPitch * buttonCount;
  if (clientWidth < strip + 10) return {strip + 10, 20};
  return {clientWidth, (clientWidth - strip + 24) / 2};
}

int MessageResultFor(int modalResult) {
  for (const MessageButton& b : kButtons) {
    if (b.modalResult == modalResult) return b.value;
  }
  return 2;
}

std::u16string CutLongMessage(std::u16string message) {
  if (message.size() > kMaxMessageLength) {
    message.resize(kMaxMessageLength);
    message += u"...";
  }
  return message;
}

std::u16string NormaliseLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += u"\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::u16string ExpandTabs(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\t') {
      out.append(8 - out.size() % 8, u' ');
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<MessageLink> FindMessageLinks(std::u16string& text) {
  text = NormaliseLineEnds(text);
  std::vector<MessageLink> links;
  for (std::u16string_view prefix : {std::u16string_view(u"http://"), std::u16string_view(u"https://"),
                                     std::u16string_view(u"mailto:")}) {
    while (TakeNextLink(text, prefix, links)) {
    }
  }
  return links;
}

}  // namespace maqo::dialogs
