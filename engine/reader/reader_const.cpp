#include "engine/reader/reader_const.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "engine/reader/reader_text.h"
#include "platform/special_folders.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isHexLetter(char16_t c) { return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool isNameChar(char16_t c) {
  return isDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u'$' ||
         c == u'@' || c > 0x7F;
}

std::string toAscii(std::u16string_view text) {
  std::string s;
  for (char16_t c : text) {
    if (c > 0x7F) return {};
    s.push_back(static_cast<char>(c));
  }
  return s;
}

std::u16string numberText(double v) {
  char buf[64];
  auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return u16(std::string_view(buf, static_cast<size_t>(end - buf)));
}

struct Value {
  std::u16string text;
  bool isString = true;
  double number = 0;
};

// Recursive descent over: expression = term { "+" term };
// term = "(" expression ")" | string | number | name.
class Parser {
 public:
  Parser(std::u16string_view text, const ReaderConstTable& consts, const ReaderFolderLookup& folders)
      : s_(text), consts_(consts), folders_(folders) {}

  std::optional<Value> parseAll() {
    auto v = expression();
    if (!v) return std::nullopt;
    skipSpaces();
    if (i_ != s_.size()) return fail(u"unexpected text: " + std::u16string(s_.substr(i_)));
    return v;
  }

  std::u16string problem;

 private:
  std::optional<Value> fail(std::u16string why) {
    if (problem.empty()) problem = std::move(why);
    return std::nullopt;
  }

  void skipSpaces() {
    while (i_ < s_.size() && (s_[i_] == u' ' || s_[i_] == u'\t' || s_[i_] == reader_text::kFullWidthSpace)) ++i_;
  }

  std::optional<Value> expression() {
    auto left = term();
    if (!left) return std::nullopt;
    for (;;) {
      skipSpaces();
      if (i_ >= s_.size() || s_[i_] != u'+') return left;
      ++i_;
      auto right = term();
      if (!right) return std::nullopt;
      left = add(*left, *right);
    }
  }

  static Value add(const Value& a, const Value& b) {
    if (!a.isString && !b.isString) {
      const double sum = a.number + b.number;
      if (std::isfinite(sum)) return {numberText(sum), false, sum};
    }
    return {a.text + b.text, true, 0};
  }

  std::optional<Value> term() {
    skipSpaces();
    if (i_ >= s_.size()) return fail(u"missing value");
    const char16_t c = s_[i_];
    if (c == u'(') {
      ++i_;
      auto v = expression();
      if (!v) return std::nullopt;
      skipSpaces();
      if (i_ >= s_.size() || s_[i_] != u')') return fail(u"missing )");
      ++i_;
      return v;
    }
    if (c == u'"') return string();
    if (isDigit(c) || c == u'$') return number();
    return name();
  }

  std::optional<Value> string() {
    const size_t close = s_.find(u'"', i_ + 1);
    if (close == std::u16string_view::npos) return fail(u"missing closing quote");
    Value v{std::u16string(s_.substr(i_ + 1, close - i_ - 1)), true, 0};
    i_ = close + 1;
    // Quotes that follow the closing one directly stand for themselves.
    while (i_ < s_.size() && s_[i_] == u'"') {
      v.text.push_back(u'"');
      ++i_;
    }
    return v;
  }

  std::optional<Value> number() {
    const size_t start = i_;
    while (i_ < s_.size()) {
      const char16_t c = s_[i_];
      if ((c == u'E' || c == u'e') && i_ + 1 < s_.size() && (s_[i_ + 1] == u'+' || s_[i_ + 1] == u'-')) {
        i_ += 2;
      } else if (isDigit(c) || isHexLetter(c) || c == u'$') {
        ++i_;
      } else if (c == u'.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1])) {
        ++i_;
      } else {
        break;
      }
    }
    const std::u16string_view text = s_.substr(start, i_ - start);
    double n = 0;
    if (!ParseReaderNumber(text, n)) return fail(u"not a number: " + std::u16string(text));
    return Value{numberText(n), false, n};
  }

  std::optional<Value> name() {
    const size_t start = i_;
    while (i_ < s_.size() && isNameChar(s_[i_])) ++i_;
    if (i_ == start) return fail(u"unexpected character: " + std::u16string(s_.substr(i_, 1)));
    const std::u16string n = asciiUpper(s_.substr(start, i_ - start));
    static const std::pair<const char16_t*, ReaderFolder> kFolders[] = {
        {u"GET_WIN_DIR", ReaderFolder::Windows},     {u"GET_SYS_DIR", ReaderFolder::System},
        {u"GET_CUR_DIR", ReaderFolder::Current},     {u"GET_MAQO_DIR", ReaderFolder::Executable},
        {u"GET_APPDATA_DIR", ReaderFolder::AppData},
    };
    for (const auto& [folderName, folder] : kFolders) {
      if (n != folderName) continue;
      std::u16string path = folders_ ? folders_(folder) : std::u16string();
      if (path.empty()) return fail(n + u" has no value on this system");
      return Value{std::move(path), true, 0};
    }
    auto it = consts_.find(n);
    if (it == consts_.end()) return fail(u"unknown name: " + n);
    Value v{it->second.text, it->second.isString, 0};
    if (!v.isString && !ParseReaderNumber(v.text, v.number)) v.isString = true;
    return v;
  }

  std::u16string_view s_;
  size_t i_ = 0;
  const ReaderConstTable& consts_;
  const ReaderFolderLookup& folders_;
};

std::u16string expandPlaceholders(std::u16string text) {
  using reader_text::ReplaceAllText;
  text = ReplaceAllText(std::move(text), u"<#_DBL>", u"\"");
  text = ReplaceAllText(std::move(text), u"<#DBL>", u"\"");
  text = ReplaceAllText(std::move(text), u"<#_CR>", u"\r\n");
  text = ReplaceAllText(std::move(text), u"<#CR>", u"\r\n");
  text = ReplaceAllText(std::move(text), u"<#_TAB>", u"\t");
  text = ReplaceAllText(std::move(text), u"<#TAB>", u"\t");
  return text;
}

}  // namespace

bool ParseReaderNumber(std::u16string_view text, double& value) {
  const std::string s = toAscii(text);
  if (s.empty()) return false;
  if (s[0] == '$') {
    if (s.size() < 2 || s.size() > 17) return false;
    uint64_t v = 0;
    auto [end, ec] = std::from_chars(s.data() + 1, s.data() + s.size(), v, 16);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    // Up to eight digits form a 32-bit integer as written, negative values included.
    value = s.size() <= 9 ? static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                          : static_cast<double>(static_cast<int64_t>(v));
    return true;
  }
  if (s[0] < '0' || s[0] > '9') return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

ReaderFolderLookup PlatformReaderFolders(platform::Platform& p) {
  return [&p](ReaderFolder f) -> std::u16string {
    switch (f) {
      case ReaderFolder::Current: return p.files.currentDirectory();
      case ReaderFolder::Executable: return p.files.executableDirectory();
      case ReaderFolder::Windows: return platform::specialFolderPath(platform::SpecialFolder::Windows);
      case ReaderFolder::System: return platform::specialFolderPath(platform::SpecialFolder::System);
      case ReaderFolder::AppData: return platform::specialFolderPath(platform::SpecialFolder::AppData);
    }
    return {};
  };
}

ReaderConstResult EvalReaderConst(std::u16string_view text, const ReaderConstTable& consts,
                                  const ReaderFolderLookup& folders) {
  Parser parser(text, consts, folders);
  auto v = parser.parseAll();
  if (!v) return {std::u16string(text), true, false, parser.problem};
  ReaderConstResult r;
  r.value = v->isString ? expandPlaceholders(std::move(v->text)) : v->text;
  r.isString = v->isString;
  return r;
}

}  // namespace maqo::engine
