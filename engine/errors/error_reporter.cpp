#include "engine/errors/error_reporter.h"

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

namespace {
constexpr std::u16string_view kLineBreak = u"\r\n";
}

std::u16string ErrorDisplayText(std::u16string_view message, std::u16string_view location) {
  std::u16string text;
  if (message.size() > kMaxShownMessage) {
    text.append(message.substr(0, kMaxShownMessage)).append(u" ...").append(kLineBreak);
  } else {
    text.append(message);
  }
  return text.append(kLineBreak).append(location);
}

std::u16string HideSyntaxErrorNumber(std::u16string_view displayText) {
  std::u16string text(displayText);
  const size_t at = UpperCase(text).find(u"SYNTAXERROR-");
  if (at == std::u16string::npos) return text;
  text += u"   ";
  size_t i = at + 11;  // the "-"
  text[i++] = u' ';
  for (int digits = 0; digits < 3 && i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++digits) text[i++] = u' ';
  return Trim(text);
}

std::u16string ScriptLogLine(std::u16string_view displayText) {
  std::u16string text = ReplaceAll(displayText, kLineBreak, u"  ");
  text = ReplaceAll(text, u"\r", u"  ");
  return ReplaceAll(text, u"\n", u"  ");
}

void ReportScriptError(ReportTarget& target, const Message& message, std::u16string_view location, bool force) {
  if (target.stopRequested()) return;
  if (target.aborted() && !force) return;
  const std::u16string display = ErrorDisplayText(Trim(message.in(target.japanese())), location);
  target.appendToScriptLog(ScriptLogLine(display));
  target.settleBeforeMessage();
  target.showError(HideSyntaxErrorNumber(display));
  target.noteErrorExit();
  target.abortRun();
}

std::u16string AbortQuestion(std::u16string_view message, bool japanese) {
  std::u16string text(message);
  text += u"\r\n";
  text += japanese ? u"中断しますか？" : u"Do you want to abort?";
  return text;
}

bool ConfirmAbort(ReportTarget& target, const Message& message, bool tryWaiting) {
  if (target.stopRequested() || target.aborted()) return target.aborted();
  if (tryWaiting) throw ScriptError(message, true);
  target.settleBeforeMessage();
  if (!target.askYesNo(AbortQuestion(Trim(message.in(target.japanese())), target.japanese()))) return false;
  target.abortRun();
  return true;
}

}  // namespace maqo::engine
