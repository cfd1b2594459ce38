#include "com/spreadsheet/open_options.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::com::spreadsheet {

namespace {

std::u16string withoutQuotes(std::u16string_view text) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  return std::u16string(text);
}

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The value of a load property from its text.
platform::ComValue propertyValue(std::u16string_view text) {
  namespace vt = platform::vt;
  platform::ComValue value;
  const std::u16string upper = engine::UpperCase(text);
  if (upper == u"TRUE" || upper == u"FALSE") {
    value.type = vt::kBool;
    value.integer = upper == u"TRUE" ? -1 : 0;
    return value;
  }
  const std::string ascii = maqo::utf16ToUtf8(text);
  if (!ascii.empty() && ascii.find_first_not_of("+-0123456789.eE") == std::string::npos) {
    char* end = nullptr;
    errno = 0;
    const long long whole = std::strtoll(ascii.c_str(), &end, 10);
    if (*end == '\0' && errno == 0 && whole >= INT32_MIN && whole <= INT32_MAX) {
      value.type = vt::kI4;
      value.integer = whole;
      return value;
    }
    errno = 0;
    const double number = std::strtod(ascii.c_str(), &end);
    if (*end == '\0' && errno == 0) {
      value.type = vt::kR8;
      value.number = number;
      return value;
    }
  }
  value.type = vt::kBstr;
  value.text = withoutQuotes(text);
  return value;
}

// A mode written as the first argument.
bool isModeText(std::u16string_view text) { return text.size() == 1 && text[0] >= u'0' && text[0] <= u'3'; }

}  // namespace

OpenRequest ChooseOpenRequest(std::u16string_view first, std::u16string_view second) {
  std::u16string_view file = engine::TrimView(first), mode = engine::TrimView(second);
  if (isModeText(file)) std::swap(file, mode);
  OpenRequest request;
  request.file = std::u16string(file);
  if (isModeText(mode)) request.mode = mode[0] - u'0';
  else if (!mode.empty()) request.mode = std::strtoll(maqo::utf16ToUtf8(mode).c_str(), nullptr, 10);
  return request;
}

std::array<std::optional<std::u16string>, 12> ExcelOpenParameters(std::span<const std::u16string> options) {
  std::array<std::optional<std::u16string>, 12> parameters;
  for (size_t k = 0; k < kOpenKeywords.size(); ++k) {
    for (const std::u16string& option : options) {
      const std::u16string upper = engine::UpperCase(engine::TrimView(option));
      if (!startsWith(upper, kOpenKeywords[k])) continue;
      const std::u16string_view trimmed = engine::TrimView(option);
      const size_t equals = trimmed.find(u'=');
      parameters[k] =
          equals == std::u16string_view::npos ? std::u16string() : withoutQuotes(engine::TrimView(trimmed.substr(equals + 1)));
      break;
    }
  }
  return parameters;
}

std::vector<CalcProperty> CalcLoadProperties(std::span<const std::u16string> options) {
  std::vector<CalcProperty> properties;
  for (const std::u16string& option : options) {
    std::u16string_view text = option;
    const size_t equals = text.find(u'=');
    std::u16string_view name = equals == std::u16string_view::npos ? text : text.substr(0, equals);
    const std::u16string_view value = equals == std::u16string_view::npos ? std::u16string_view() : text.substr(equals + 1);
    name = engine::TrimView(name);
    if (!name.empty() && name.back() == u':') name = engine::TrimView(name.substr(0, name.size() - 1));
    properties.push_back(CalcProperty{std::u16string(name), propertyValue(engine::TrimView(value))});
  }
  return properties;
}

std::u16string ResolveSheetPath(std::u16string_view name, std::u16string_view currentDirectory) {
  std::u16string directory(currentDirectory);
  while (directory.size() > 1 && isSeparator(directory.back())) directory.pop_back();
  const char16_t separator = directory.find(u'\\') != std::u16string::npos ? u'\\' : u'/';
  auto join = [&](std::u16string_view folder, std::u16string_view rest) {
    std::u16string out(folder);
    if (out.empty() || !isSeparator(out.back())) out += separator;
    return out + std::u16string(rest);
  };
  if (name.find_first_of(u"\\/") == std::u16string_view::npos) return join(directory, name);
  if (name.size() > 2 && name[0] == u'.' && isSeparator(name[1])) return join(directory, name.substr(2));
  if (name.size() > 3 && name[0] == u'.' && name[1] == u'.' && isSeparator(name[2])) {
    const size_t cut = directory.find_last_of(u"\\/");
    const std::u16string parent = cut == std::u16string::npos ? directory : directory.substr(0, cut == 0 ? 1 : cut);
    return join(parent, name.substr(3));
  }
  return std::u16string(name);
}

std::u16string FileUrl(std::u16string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // A network path (\\server\share) names its host after "file://"; a
  // drive path gets an empty host ("file:///C:/..."), and a POSIX path's
  // own leading "/" serves as the third slash.
  const bool network = path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]);
  std::u16string url = network ? u"file://" : u"file:///";
  size_t start = 0;
  while (start < path.size() && isSeparator(path[start])) ++start;
  for (unsigned char byte : maqo::utf16ToUtf8(path.substr(start))) {
    const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                      byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/' || byte == ':';
    if (byte == '\\') {
      url += u'/';
    } else if (kept) {
      url += static_cast<char16_t>(byte);
    } else {
      url += u'%';
      url += static_cast<char16_t>(kHex[byte >> 4]);
      url += static_cast<char16_t>(kHex[byte & 0xF]);
    }
  }
  return url;
}

bool IsUrl(std::u16string_view text) {
  const std::u16string upper = engine::UpperCase(text.substr(0, 6));
  return startsWith(upper, u"FILE:/") || startsWith(upper, u"HTTP:/") || startsWith(upper, u"FTP:/");
}

}  // namespace maqo::com::spreadsheet
