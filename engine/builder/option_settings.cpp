#include "engine/builder/option_settings.h"

#include <limits>
#include <vector>

#include "engine/eval/evaluator.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"

namespace maqo::engine {

namespace {

std::optional<int> integerValue(std::u16string_view text) {
  const auto value = parseIntegerText(TrimView(text));
  if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(*value);
}

std::u16string_view withoutQuotes(std::u16string_view text) {
  text = TrimView(text);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') return text.substr(1, text.size() - 2);
  return text;
}

bool applyFlag(std::u16string_view name, OptionSettings& settings, BuildHost& host) {
  struct Flag {
    std::u16string_view name;
    bool OptionSettings::*field;
  };
  static constexpr Flag kFlags[] = {
      {u"EXPLICIT", &OptionSettings::explicitVariables}, {u"SAMESTR", &OptionSettings::sameStr},
      {u"OPTPUBLIC", &OptionSettings::optPublic},        {u"OPTFINALLY", &OptionSettings::optFinally},
      {u"SPECIALCHAR", &OptionSettings::specialChar},    {u"SHORTCIRCUIT", &OptionSettings::shortCircuit},
      {u"ONLYSAPI", &OptionSettings::onlySapi},          {u"ROUNDVALUE", &OptionSettings::roundValue},
      {u"DLGNOFORM", &OptionSettings::dlgNoForm},        {u"TOPSTOPFORM", &OptionSettings::topStopForm},
      {u"FIXBALLOON", &OptionSettings::fixBalloon},      {u"NOSTOPHOTKEY", &OptionSettings::noStopHotkey},
  };
  for (const auto& flag : kFlags) {
    if (flag.name != name) continue;
    settings.*flag.field = true;
    if (flag.field == &OptionSettings::topStopForm) host.putStopFormOnTop();
    if (flag.field == &OptionSettings::noStopHotkey) host.unregisterStopHotkey();
    return true;
  }
  return false;
}

// DEFAULTFONT=name,size: the name may be quoted with the size after it
// ("name",size) or the whole value quoted ("name,size"); the size is the next
// item of the line unless the quotes hold it.
bool applyDefaultFont(std::u16string_view value, const std::vector<std::u16string>& items, size_t& next,
                      OptionSettings& settings, BuildHost& host) {
  const std::u16string_view inner = withoutQuotes(value);
  const bool quoted = inner.size() != TrimView(value).size();
  const bool sizeFollows = next < items.size() && (!quoted || integerValue(items[next]).has_value());
  std::u16string_view text = inner;
  std::u16string_view sizeText;
  if (sizeFollows) {
    sizeText = items[next++];
  } else if (const size_t comma = inner.rfind(u','); comma != std::u16string_view::npos) {
    sizeText = inner.substr(comma + 1);
    text = inner.substr(0, comma);
  }
  const auto size = integerValue(sizeText);
  FontSetting font{Trim(withoutQuotes(text)), size.value_or(-1)};
  if (!settings.savedDialogFont) {
    settings.savedDialogFont = host.dialogFont();
    settings.savedLogFont = host.logFont();
  }
  settings.defaultFont = font;
  host.setDialogFont(font);
  return size.has_value();
}

bool applySetting(std::u16string_view name, std::u16string_view value, const std::vector<std::u16string>& items,
                  size_t& next, OptionSettings& settings, BuildHost& host) {
  if (name == u"DLGTITLE") {
    settings.dialogTitle = ExpandSpecialCharacters(withoutQuotes(value), settings.specialChar);
    return true;
  }
  if (name == u"LOGFILE") {
    const auto mode = integerValue(value);
    if (!mode) return false;
    settings.logFileMode = *mode;
    host.setLogFileMode(*mode);
    if (*mode & 4) host.clearLogList();
    return true;
  }
  if (name == u"LOGPATH") {
    std::u16string path = host.resolveLogPath(std::u16string(value));
    if (path.empty()) return false;
    host.setLogPath(path);
    host.clearLogList();
    settings.logPath = std::move(path);
    return true;
  }
  if (name == u"LOGLINES") {
    const auto lines = integerValue(value);
    if (!lines || *lines < 0) return false;
    if (!settings.savedLogLines) settings.savedLogLines = host.logLines();
    settings.logLines = *lines;
    host.setLogLines(*lines);
    return true;
  }
  if (name == u"DEFAULTFONT") return applyDefaultFont(value, items, next, settings, host);
  if (name == u"POSITION") {
    // y is the next item; a position that is not a pair of integers is ignored.
    const std::u16string_view yText = next < items.size() ? std::u16string_view(items[next++]) : u"";
    const auto x = integerValue(value);
    const auto y = integerValue(yText);
    if (x && y) {
      settings.stopFormPosition = std::make_pair(*x, *y);
      host.setStopFormPosition(*x, *y);
    }
    return true;
  }
  return false;
}

}  // namespace

bool ApplyOptionLine(std::u16string_view text, OptionSettings& settings, BuildHost& host) {
  std::vector<std::u16string> items;
  for (auto& item : SplitAll(text, u",", SplitRules{.brackets = false, .parens = false})) items.push_back(Trim(item));
  size_t next = 0;
  while (next < items.size()) {
    const std::u16string item = items[next++];
    if (item.empty()) continue;
    const size_t equals = FindOutside(u"=", item, false);
    const bool ok = equals == 0
                        ? applyFlag(item, settings, host)
                        : applySetting(TrimView(std::u16string_view(item).substr(0, equals - 1)),
                                       TrimView(std::u16string_view(item).substr(equals)), items, next, settings,
                                       host);
    if (!ok) return false;
  }
  return true;
}

void RestoreOptionChanges(const OptionSettings& settings, BuildHost& host) {
  if (settings.logPath) host.clearLogList();
  if (settings.savedLogLines) host.setLogLines(*settings.savedLogLines);
  if (settings.savedDialogFont) host.setDialogFont(*settings.savedDialogFont);
  if (settings.savedLogFont) host.setLogFont(*settings.savedLogFont);
}

}  // namespace maqo::engine
