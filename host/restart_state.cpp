#include "host/restart_state.h"

#include <string>

#include "host/setting_numbers.h"

namespace maqo::host {

namespace {

std::vector<std::u16string_view> splitAtCommas(std::u16string_view text) {
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(u',', start);
    fields.push_back(text.substr(start, comma == std::u16string_view::npos ? text.npos : comma - start));
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

std::u16string EscapeRestartField(std::u16string_view field) {
  std::u16string out;
  for (char16_t c : field) {
    switch (c) {
      case u'%': out += u"%25"; break;
      case u',': out += u"%2C"; break;
      case u'\r': out += u"%0D"; break;
      case u'\n': out += u"%0A"; break;
      default: out += c;
    }
  }
  return out;
}

std::u16string UnescapeRestartField(std::u16string_view field) {
  std::u16string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == u'%' && i + 2 < field.size() && hexDigit(field[i + 1]) >= 0 && hexDigit(field[i + 2]) >= 0) {
      out += static_cast<char16_t>(hexDigit(field[i + 1]) * 16 + hexDigit(field[i + 2]));
      i += 2;
    } else {
      out += field[i];  // a lone "%" (an old, unescaped text) stays as it is
    }
  }
  return out;
}

std::u16string FormatRestartState(const RestartState& s) {
  return std::u16string(s.runAgain ? u"1" : u"0") + u"," + DecimalText(s.logLeft) + u"," + DecimalText(s.logTop) + u"," +
         DecimalText(s.logWidth) + u"," + DecimalText(s.logHeight) + u"," + EscapeRestartField(s.logCaption) + u"," +
         EscapeRestartField(s.fileText);
}

std::optional<RestartState> ParseRestartState(std::u16string_view text) {
  const std::vector<std::u16string_view> fields = splitAtCommas(text);
  if (fields.size() < 7) return std::nullopt;
  RestartState state;
  const auto again = SettingInteger(fields[0]);
  const auto left = SettingInteger(fields[1]), top = SettingInteger(fields[2]);
  const auto width = SettingInteger(fields[3]), height = SettingInteger(fields[4]);
  if (!again || !left || !top || !width || !height) return std::nullopt;
  state.runAgain = *again != 0;
  state.logLeft = *left;
  state.logTop = *top;
  state.logWidth = *width;
  state.logHeight = *height;
  state.logCaption = UnescapeRestartField(fields[5]);
  // Everything after the sixth comma is the file text.
  const size_t fileStart = static_cast<size_t>(fields[6].data() - text.data());
  state.fileText = UnescapeRestartField(text.substr(fileStart));
  return state;
}

std::u16string FormatPostponedEntries(const std::vector<std::u16string>& entries) {
  std::u16string text;
  for (const auto& entry : entries) text += u"," + EscapeRestartField(entry);
  return text;
}

std::vector<std::u16string> ParsePostponedEntries(std::u16string_view text) {
  std::vector<std::u16string> entries;
  for (std::u16string_view field : splitAtCommas(text))
    if (!field.empty()) entries.push_back(UnescapeRestartField(field));
  return entries;
}

}  // namespace maqo::host
