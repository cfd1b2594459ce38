#include "host/recorder/record_line.h"

#include <vector>

#include "engine/eval/text_helpers.h"
#include "host/recorder/script_line.h"

namespace maqo::host::recorder {
namespace {

// A record's fields: every comma splits (records carry no quotes).
constexpr engine::SplitRules kEveryComma{false, false, false, false};

std::optional<int> FieldNumber(const std::vector<std::u16string>& fields, size_t index) {
  if (index >= fields.size()) return std::nullopt;
  const std::optional<double> value = ParseNumber(fields[index]);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

}  // namespace

int ClientMouseMessage(int message) {
  if (message >= 160 && message <= 169) return message + 352;
  if (message >= 171 && message <= 173) return message + 352;
  return message;
}

bool IsKeyDownMessage(int message) { return message == 256 || message == 260; }

std::optional<EventRecord> ParseEventRecord(std::u16string_view text, bool levelZero) {
  const std::u16string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const std::vector<std::u16string> fields = engine::SplitAll(trimmed, u",", kEveryComma);
  const std::u16string kind = Trim(fields[0]);
  EventRecord record;
  if (kind == u"K") {
    record.kind = RecordKind::Key;
    if (!levelZero) return record;
    const auto key = FieldNumber(fields, 1);
    const auto message = FieldNumber(fields, 2);
    if (!key || !message || fields.size() < 4) return std::nullopt;
    record.virtualKey = *key;
    record.message = *message;
    record.duration = Trim(fields.back());
    return record;
  }
  if (kind == u"C") {
    record.kind = RecordKind::MenuCommand;
    const size_t comma = trimmed.find(u',');
    if (comma == std::u16string::npos) return std::nullopt;
    record.commandId = Trim(std::u16string_view(trimmed).substr(comma + 1));
    if (record.commandId.empty()) return std::nullopt;
    return record;
  }
  if (kind == u"S") {
    record.kind = RecordKind::SystemCommand;
    const auto code = FieldNumber(fields, 1);
    const auto window = fields.size() > 2 ? ParseNumber(fields[2]) : std::nullopt;
    if (!code || !window || *window < 0) return std::nullopt;
    record.systemCode = *code;
    record.window = static_cast<std::uint64_t>(*window);
    return record;
  }
  record.kind = RecordKind::Mouse;
  const auto message = FieldNumber(fields, 1);
  const auto x = FieldNumber(fields, 2);
  const auto y = FieldNumber(fields, 3);
  if (!message || !x || !y) return std::nullopt;
  if (levelZero && fields.size() < 5) return std::nullopt;
  record.message = ClientMouseMessage(*message);
  record.x = *x;
  record.y = *y;
  if (levelZero) record.duration = Trim(fields.back());
  return record;
}

}  // namespace maqo::host::recorder
