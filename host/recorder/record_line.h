// One event record as the recording library queues it: comma-separated
// fields whose first field names the kind. Keyboard "K,vk,msg,dur"; menu
// command "C,id"; system command "S,code,hwnd"; anything else is a mouse
// record "kind,msg,x,y,dur". Durations (milliseconds since the previous
// record) come only at level 0; level 1 records carry no duration.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::host::recorder {

enum class RecordKind { Key, MenuCommand, SystemCommand, Mouse };

struct EventRecord {
  RecordKind kind = RecordKind::Mouse;
  int virtualKey = 0;          // Key
  int message = 0;             // Key, Mouse (non-client mouse messages mapped to client ones)
  int x = 0, y = 0;            // Mouse, screen pixels
  std::u16string duration;     // level 0: the last field, copied unchanged into the line
  std::u16string commandId;    // MenuCommand: the rest of the record, trimmed
  int systemCode = 0;          // SystemCommand
  std::uint64_t window = 0;    // SystemCommand
};

// Reads one record; nothing for an empty or malformed one (missing or
// non-numeric fields), which the converters then skip.
std::optional<EventRecord> ParseEventRecord(std::u16string_view text, bool levelZero);

// Non-client mouse messages 160-169 and 171-173 count as 512-521 and 523-525.
int ClientMouseMessage(int message);

// A keyboard message that means "down" (WM_KEYDOWN, WM_SYSKEYDOWN).
bool IsKeyDownMessage(int message);

}  // namespace maqo::host::recorder
