#include "builtins/text_file_writer.h"

#include "platform/text_codec.h"

namespace maqo::builtins {

namespace {

void appendUtf16Le(std::string& out, std::u16string_view text) {
  out.reserve(out.size() + text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

std::u16string joinLines(const Lines& lines, bool finalBreak, const LineLayout& layout) {
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size() || finalBreak) text += layout.lineBreak;
  }
  return text;
}

}  // namespace

LineLayout DetectLineLayout(std::u16string_view text) {
  LineLayout layout;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      layout.lineBreak = u"\n";
      break;
    }
    if (text[i] == u'\r') {
      layout.lineBreak = i + 1 < text.size() && text[i + 1] == u'\n' ? u"\r\n" : u"\r";
      break;
    }
  }
  layout.finalBreak = text.empty() || text.back() == u'\n' || text.back() == u'\r';
  return layout;
}

TextFileContent DecodeTextFile(std::string_view bytes, platform::Locale& locale) {
  engine::DecodedText decoded = engine::DecodeTextBytes(bytes, locale);
  TextFileContent content;
  content.encoding = decoded.encoding;
  content.layout = DetectLineLayout(decoded.text);
  content.lines = engine::SplitTextLines(decoded.text);
  return content;
}

platform::ReadStatus ReadTextFileContent(platform::Platform& p, const std::u16string& path, TextFileContent& out,
                                         std::u16string* error) {
  platform::ReadResult r = engine::ReadFileBytes(p, path);
  if (r.status == platform::ReadStatus::Ok) out = DecodeTextFile(r.bytes, p.locale);
  if (error) *error = std::move(r.error);
  return r.status;
}

TextEncoding SettleEncoding(std::u16string_view text, TextEncoding encoding, platform::Locale& locale) {
  if (encoding != TextEncoding::AnsiAuto) return encoding;
  std::u16string expected(text);
  // The Japanese code page writes the YEN SIGN as the byte of "\", which reads back as "\".
  if (locale.japanese())
    for (auto& c : expected)
      if (c == u'\u00A5') c = u'\\';
  const std::u16string back = locale.decodeAnsi(locale.encodeAnsi(text));
  return back == expected ? TextEncoding::Ansi : TextEncoding::Utf8;
}

std::string EncodeTextFile(const Lines& lines, TextEncoding encoding, platform::Locale& locale, bool noFinalBreak,
                           const LineLayout& layout) {
  const std::u16string text = joinLines(lines, layout.finalBreak && !noFinalBreak, layout);
  switch (SettleEncoding(text, encoding, locale)) {
    case TextEncoding::Utf16Le: {
      std::string out = "\xFF\xFE";
      appendUtf16Le(out, text);
      return out;
    }
    case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF" + utf16ToUtf8(text);
    case TextEncoding::Utf8: return utf16ToUtf8(text);
    case TextEncoding::Ansi:
    case TextEncoding::AnsiAuto: return locale.encodeAnsi(text);
  }
  return locale.encodeAnsi(text);
}

bool WriteTextFile(platform::Platform& p, const std::u16string& path, const Lines& lines, TextEncoding encoding,
                   bool noFinalBreak, const LineLayout& layout, std::u16string* error) {
  const std::string bytes = EncodeTextFile(lines, encoding, p.locale, noFinalBreak, layout);
  std::u16string failure;
  for (int attempt = 1;; ++attempt) {
    failure = p.files.writeAllReplacing(path, bytes);
    if (failure.empty()) {
      for (int i = 0; i < 10; ++i) p.ui.pumpMessages();
      return true;
    }
    if (attempt >= kWriteAttempts) break;
    // Another process (an editor, a virus scanner) may hold the file for a moment.
    platform::sleepPumping(p, kWriteRetryPauseMs, [] { return false; });
  }
  if (error) *error = std::move(failure);
  return false;
}

}  // namespace maqo::builtins
