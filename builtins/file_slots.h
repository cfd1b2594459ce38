// The 64 file slots of FOPEN, FCLOSE, FGET, FPUT and FDELLINE: a file loaded
// whole into a list of lines, read and changed in memory, written back whole.
// The table belongs to the engine and is shared by every script thread; each
// operation holds the table's lock from start to end.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "builtins/file_fields.h"
#include "builtins/text_file_writer.h"
#include "engine/values/script_value.h"
#include "platform/directory_access.h"
#include "platform/platform.h"

namespace maqo::builtins {

// FOPEN mode bits.
namespace open_mode {
inline constexpr int64_t kExists = 1, kRead = 2, kWrite = 4, kWriteAnsi = 8, kWriteUtf8 = 16, kWriteUtf8Bom = 32,
                         kWriteUtf16 = 64, kNoCr = 128, kTab = 256, kExclusive = 512;
inline constexpr int64_t kAnyWrite = kWrite | kWriteAnsi | kWriteUtf8 | kWriteUtf8Bom | kWriteUtf16;
}  // namespace open_mode

// FGET lines.
inline constexpr int64_t kLineCount = -1;  // F_LINECOUNT
inline constexpr int64_t kAllText = -2;    // F_ALLTEXT
// FPUT column.
inline constexpr int64_t kInsert = -1;  // F_INSERT

// The name of a slot that lives in memory only and is never written.
inline constexpr std::u16string_view kMemoryOnlyName = u";";

struct FileSlot {
  int writeMode = 0;  // 0 read-only, else the encoding code FCLOSE writes
  bool noCr = false;
  bool exclusive = false;
  bool tab = false;
  std::u16string name;  // empty: free
  // The FGET column cache: where in cachedLine the rest after cachedColumn
  // lies (offsets, as the line is unchanged until the cache is cleared), split
  // with cachedQuotes (quotes protect delimiters or not).
  int64_t cachedLine = -1;
  int64_t cachedColumn = 0;
  bool cachedQuotes = true;
  size_t cachedRestBegin = 0, cachedRestEnd = 0;
  Lines lines;
  LineLayout layout;  // how the file separated its lines, kept for writing back
  std::unique_ptr<platform::HeldFile> held;

  bool inUse() const { return !name.empty(); }
  char16_t delimiter() const { return tab ? u'\t' : u','; }
  void clearCache() { cachedLine = -1; }
  void reset();
};

class FileSlotTable {
 public:
  static constexpr int kSlots = 64;

  // FOPEN: an ID 1 to 64, -1 when the file cannot be opened, 0 when no slot is
  // free (after throwing the catchable limit error, so the result is only seen
  // by a caller that catches it); with mode exactly 1 TRUE or FALSE.
  engine::ScriptValue Open(platform::Platform& p, std::u16string_view file, int64_t mode);
  // FCLOSE: writes a slot with a write mode and frees it. False when the file
  // could not be written (error gets the system's description).
  bool Close(platform::Platform& p, int64_t id, std::u16string* name = nullptr, std::u16string* error = nullptr);
  // FGET.
  engine::ScriptValue Get(int64_t id, int64_t line, int64_t column, QuoteMode mode);
  // FPUT. Throws the catchable bad-ID and read-only errors.
  void Put(int64_t id, std::u16string_view text, int64_t line, int64_t column, QuoteMode mode);
  // FDELLINE.
  void DeleteLine(int64_t id, int64_t line);
  // Frees every slot in use without writing it (end of a run); held files are
  // released. Returns the number of slots freed.
  int CloseAll();
  // Slots in use (for tests and diagnostics).
  int InUse();

 private:
  FileSlot* slotOf(int64_t id);
  bool readInto(platform::Platform& p, FileSlot& slot, int64_t mode);

  std::mutex lock_;
  std::array<FileSlot, kSlots> slots_;
};

// The engine's table (one engine per process).
FileSlotTable& EngineFileSlots();
// Called by the run driver when a run ends: frees every slot the script left
// open, discarding unsaved lines rather than writing half-finished work over
// the file. Returns the number of slots freed.
int CloseAllFileSlots();

}  // namespace maqo::builtins
