#include "platform/replace_write.h"

#include <atomic>
#include <charconv>

#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

constexpr std::u16string_view kMarker = u".maqo-tmp-";

std::atomic<ReplaceWriteProgress> progressHook{nullptr};
std::atomic<uint32_t> sequence{0};

}  // namespace

std::u16string ReplaceTempName(std::u16string_view target, uint32_t pid, uint32_t seq) {
  std::u16string name(target);
  name += kMarker;
  name += u16(std::to_string(pid));
  name += u'-';
  name += u16(std::to_string(seq));
  return name;
}

uint32_t NextReplaceSequence() { return sequence.fetch_add(1, std::memory_order_relaxed); }

std::optional<uint32_t> ReplaceTempOwner(std::u16string_view targetName, std::u16string_view entryName) {
  const size_t prefix = targetName.size() + kMarker.size();
  if (entryName.size() <= prefix) return std::nullopt;
  if (asciiUpper(entryName.substr(0, targetName.size())) != asciiUpper(targetName)) return std::nullopt;
  if (entryName.substr(targetName.size(), kMarker.size()) != kMarker) return std::nullopt;
  // "<pid>-<sequence>", both decimal.
  std::string digits;
  for (char16_t c : entryName.substr(prefix)) {
    if (c > 0x7F) return std::nullopt;
    digits += static_cast<char>(c);
  }
  const size_t dash = digits.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == digits.size()) return std::nullopt;
  for (size_t i = 0; i < digits.size(); ++i)
    if (i != dash && (digits[i] < '0' || digits[i] > '9')) return std::nullopt;
  uint32_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + dash, pid);
  if (error != std::errc() || end != digits.data() + dash) return std::nullopt;
  return pid;
}

void SetReplaceWriteProgressHook(ReplaceWriteProgress hook) { progressHook.store(hook); }

void ReportReplaceWriteProgress(uint64_t written, uint64_t total) {
  if (ReplaceWriteProgress hook = progressHook.load(std::memory_order_relaxed)) hook(written, total);
}

}  // namespace maqo::platform
