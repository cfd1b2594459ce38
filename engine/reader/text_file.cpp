#include "engine/reader/text_file.h"

#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

bool startsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

std::u16string decodeUtf16Le(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return out;
}

bool saysOutOfMemory(const std::u16string& error) {
  return asciiUpper(error).find(u"OUT OF MEMORY") != std::u16string::npos;
}

}  // namespace

DecodedText DecodeTextBytes(std::string_view bytes, platform::Locale& locale) {
  if (startsWith(bytes, "\xFF\xFE")) return {decodeUtf16Le(bytes.substr(2)), TextEncoding::Utf16Le};
  if (startsWith(bytes, "\xEF\xBB\xBF")) return {utf8ToUtf16(bytes.substr(3)), TextEncoding::Utf8Bom};
  if (isUtf8WithMultibyte(bytes)) return {utf8ToUtf16(bytes), TextEncoding::Utf8};
  return {locale.decodeAnsi(bytes), TextEncoding::AnsiAuto};
}

Lines SplitTextLines(std::u16string_view text) {
  Lines lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

platform::ReadResult ReadFileBytes(platform::Platform& p, const std::u16string& path) {
  platform::ReadResult r;
  for (int attempt = 1;; ++attempt) {
    r = p.files.readAll(path);
    if (r.status != platform::ReadStatus::Failed) return r;
    if (saysOutOfMemory(r.error)) {
      p.ui.messageBox(u"File: Out Of Memory", u"maqo");
      return r;
    }
    if (attempt >= kReadAttempts) return r;
    // Another process (an editor saving, a virus scanner) may hold the file for a moment.
    platform::sleepPumping(p, kReadRetryPauseMs, [] { return false; });
  }
}

TextReadResult ReadTextFile(platform::Platform& p, const std::u16string& path, Lines& lines) {
  platform::ReadResult r = ReadFileBytes(p, path);
  TextReadResult result;
  result.status = r.status;
  result.error = std::move(r.error);
  if (r.status != platform::ReadStatus::Ok) return result;
  DecodedText decoded = DecodeTextBytes(r.bytes, p.locale);
  result.encoding = decoded.encoding;
  lines = SplitTextLines(decoded.text);
  return result;
}

}  // namespace maqo::engine
