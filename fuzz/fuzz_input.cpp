#include "fuzz/fuzz_input.h"

#include <cstdio>
#include <cstdlib>

#include "engine/reader/text_file.h"
#include "platform/text_codec.h"

namespace maqo::fuzz {

std::u16string DecodeInput(const uint8_t* data, size_t size, platform::Locale& locale) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  return engine::DecodeTextBytes(bytes, locale).text;
}

void QuietUi::note(const std::u16string& text) {
  shownUnits += text.size();
  if (!internalFailure.empty() || text.find(u"bad_alloc") != std::u16string::npos) return;
  for (std::u16string_view prefix : {u"pplay:", u"UScrCall:", u"creUscrptFil:", u"Analysis:"})
    if (StartsWith(text, prefix)) internalFailure = text;
}

void Finding(std::string_view what, std::u16string_view detail) {
  std::fprintf(stderr, "\n==maqo-fuzz== FINDING: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    const std::string text = utf16ToUtf8(detail.substr(0, 2000));
    std::fprintf(stderr, "==maqo-fuzz== %s\n", text.c_str());
  }
  std::fflush(stderr);
  std::abort();
}

}  // namespace maqo::fuzz
