#include "builtins/file_slots.h"

#include "builtins/file_messages.h"
#include "engine/eval/text_helpers.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

// A text of two or more characters enclosed in double quotes loses them.
std::u16string_view withoutEnclosingQuotes(std::u16string_view text) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') return text.substr(1, text.size() - 2);
  return text;
}

std::unique_ptr<platform::HeldFile> holdWithRetries(platform::Platform& p, const std::u16string& path,
                                                    platform::HoldAccess access) {
  std::u16string error;
  for (int attempt = 1;; ++attempt) {
    if (auto held = platform::HoldFile(path, access, error)) return held;
    if (attempt >= engine::kReadAttempts) return nullptr;
    platform::sleepPumping(p, engine::kReadRetryPauseMs, [] { return false; });
  }
}

}  // namespace

void FileSlot::reset() {
  writeMode = 0;
  noCr = exclusive = tab = false;
  name.clear();
  clearCache();
  cachedColumn = 0;
  cachedQuotes = true;
  lines.clear();
  layout = LineLayout{};
  held.reset();
}

FileSlot* FileSlotTable::slotOf(int64_t id) {
  if (id < 1 || id > kSlots) return nullptr;
  FileSlot& slot = slots_[static_cast<size_t>(id - 1)];
  return slot.inUse() ? &slot : nullptr;
}

// Loads the file of an FOPEN with a read or exclusive bit. False when the slot
// must be given back (-1): the file is missing and no write bit asks to create
// it, or it exists and cannot be read or held.
bool FileSlotTable::readInto(platform::Platform& p, FileSlot& slot, int64_t mode) {
  using namespace open_mode;
  const bool writeBit = (mode & kAnyWrite) != 0;
  bool gotContent = false;
  TextEncoding detected = TextEncoding::AnsiAuto;
  if (slot.name.empty()) {
    // Nothing to read; with a write bit the slot lives in memory only.
    if (!writeBit) return false;
    slot.name = kMemoryOnlyName;
  } else if (mode & kExclusive) {
    const platform::HoldAccess access = (mode & kRead) && writeBit ? platform::HoldAccess::ReadWrite
                                        : writeBit                 ? platform::HoldAccess::Write
                                                                   : platform::HoldAccess::Read;
    if (access == platform::HoldAccess::Read && !p.files.fileExists(slot.name)) return false;
    slot.held = holdWithRetries(p, slot.name, access);
    if (!slot.held) return false;
    // Held for writing only, the file is not read (and not truncated either: its
    // content is replaced whole at FCLOSE, so a crash before then loses nothing).
    if (access != platform::HoldAccess::Write) {
      platform::ReadResult r = slot.held->readAll();
      if (r.status != platform::ReadStatus::Ok) return false;
      TextFileContent content = DecodeTextFile(r.bytes, p.locale);
      slot.lines = std::move(content.lines);
      slot.layout = content.layout;
      detected = content.encoding;
      gotContent = true;
    }
  } else {
    TextFileContent content;
    switch (ReadTextFileContent(p, slot.name, content)) {
      case platform::ReadStatus::Ok:
        slot.lines = std::move(content.lines);
        slot.layout = content.layout;
        detected = content.encoding;
        gotContent = true;
        break;
      case platform::ReadStatus::NotFound:
        if (!writeBit) return false;
        break;
      case platform::ReadStatus::Failed: return false;  // never start an existing file over from empty
    }
  }
  slot.writeMode = (mode & kWrite) ? static_cast<int>(gotContent ? detected : TextEncoding::AnsiAuto) : 0;
  return true;
}

ScriptValue FileSlotTable::Open(platform::Platform& p, std::u16string_view file, int64_t mode) {
  using namespace open_mode;
  if (mode == kExists) {
    const std::u16string name(withoutEnclosingQuotes(file));
    if (name.empty()) return ScriptValue::builtinBool(false);
    const bool folder = name.back() == u'\\' || name.back() == u'/';
    return ScriptValue::builtinBool(folder ? p.files.directoryExists(name) : p.files.fileExists(name));
  }
  std::lock_guard guard(lock_);
  size_t index = 0;
  while (index < slots_.size() && slots_[index].inUse()) ++index;
  if (index == slots_.size()) throw file_messages::tooManyFileSlots(kSlots);
  FileSlot& slot = slots_[index];
  slot.reset();
  slot.name = engine::Trim(withoutEnclosingQuotes(file));
  if (mode == 0) mode = kRead;
  const bool writeBit = (mode & kAnyWrite) != 0;
  if (!(mode & (kRead | kExclusive))) {
    if (!writeBit) {
      slot.reset();
      throw file_messages::wrongOpenMode();
    }
    // Nothing is read: the file is replaced by the slot's lines at FCLOSE. An
    // empty name makes a memory-only slot, so the ID is not handed out twice.
    if (slot.name.empty()) slot.name = kMemoryOnlyName;
    slot.writeMode = (mode & kWrite) ? static_cast<int>(TextEncoding::AnsiAuto) : 0;
  } else if (!readInto(p, slot, mode)) {
    slot.reset();
    return ScriptValue::int32(-1);
  }
  // The highest write bit given wins.
  if (mode & kWriteAnsi) slot.writeMode = static_cast<int>(TextEncoding::Ansi);
  if (mode & kWriteUtf8) slot.writeMode = static_cast<int>(TextEncoding::Utf8);
  if (mode & kWriteUtf8Bom) slot.writeMode = static_cast<int>(TextEncoding::Utf8Bom);
  if (mode & kWriteUtf16) slot.writeMode = static_cast<int>(TextEncoding::Utf16Le);
  slot.noCr = (mode & kNoCr) != 0;
  slot.exclusive = (mode & kExclusive) != 0;
  slot.tab = (mode & kTab) != 0;
  return ScriptValue::int32(static_cast<int32_t>(index + 1));
}

bool FileSlotTable::Close(platform::Platform& p, int64_t id, std::u16string* name, std::u16string* error) {
  std::lock_guard guard(lock_);
  FileSlot* slot = slotOf(id);
  if (!slot) return true;
  bool ok = true;
  if (slot->name != kMemoryOnlyName && slot->writeMode != 0) {
    // The file is replaced by a new one written beside it; our own unshared
    // handle would stand in the way of that replacement.
    slot->held.reset();
    ok = WriteTextFile(p, slot->name, slot->lines, static_cast<TextEncoding>(slot->writeMode), slot->noCr,
                       slot->layout, error);
  }
  if (name) *name = slot->name;
  slot->reset();
  return ok;
}

ScriptValue FileSlotTable::Get(int64_t id, int64_t line, int64_t column, QuoteMode mode) {
  std::lock_guard guard(lock_);
  ScriptValue result = line < 0 ? ScriptValue::int32(-1) : ScriptValue::string(u"");
  FileSlot* slot = slotOf(id);
  if (!slot || line == 0) return result;
  const auto count = static_cast<int64_t>(slot->lines.size());
  if (line == kLineCount) return ScriptValue::int32(static_cast<int32_t>(count));
  if (line < kLineCount) {
    std::u16string all;
    for (const auto& l : slot->lines) all.append(l).append(u"\r\n");
    return ScriptValue::string(std::move(all));
  }
  if (line > count) return result;
  const std::u16string& text = slot->lines[static_cast<size_t>(line - 1)];
  if (column <= 0) return TextOrNumberResult(text, false);

  // Fields are read through views into the line: only the field returned is copied.
  const bool quotes = mode != QuoteMode::Ignore;
  std::u16string_view rest = text;
  int64_t done = 0;
  if (slot->cachedLine == line && slot->cachedColumn < column && slot->cachedQuotes == quotes) {
    rest = rest.substr(slot->cachedRestBegin, slot->cachedRestEnd - slot->cachedRestBegin);
    done = slot->cachedColumn;
  }
  std::u16string_view field;
  for (int64_t c = done + 1; c <= column; ++c) {
    rest = TrimFieldView(rest);
    if (rest.empty()) {
      field = {};
      break;
    }
    field = SplitOffFieldView(rest, slot->delimiter(), mode);
  }
  slot->cachedLine = line;
  slot->cachedColumn = column;
  slot->cachedQuotes = quotes;
  // An empty rest may be a default view: it then lies at the line's end.
  slot->cachedRestBegin = rest.empty() ? text.size() : static_cast<size_t>(rest.data() - text.data());
  slot->cachedRestEnd = slot->cachedRestBegin + rest.size();
  const FieldText unquoted = UnquoteField(TrimFieldView(field), mode);
  return TextOrNumberResult(unquoted.text, unquoted.quotedText);
}

// FPUT pads with empty lines up to its line and with delimiters up to its
// column; beyond this much padding it would only fill memory.
constexpr int64_t kMaxPutPadding = int64_t{1} << 24;

void FileSlotTable::Put(int64_t id, std::u16string_view text, int64_t line, int64_t column, QuoteMode mode) {
  std::lock_guard guard(lock_);
  FileSlot* slot = slotOf(id);
  if (!slot) throw file_messages::badFileId();
  if ((line < 0 && line != kAllText) || column < kInsert) return;
  slot->clearCache();
  if (slot->writeMode == 0) throw file_messages::readOnlySlot(slot->name);
  const char16_t delimiter = slot->delimiter();
  Lines& lines = slot->lines;
  if (column > kMaxPutPadding) throw file_messages::positionTooLarge(column);
  if (line == 0) {
    std::u16string appended(column >= 2 ? static_cast<size_t>(column - 1) : 0, delimiter);
    appended += column >= 1 ? QuoteFieldForWrite(text, delimiter, mode) : std::u16string(text);
    lines.push_back(std::move(appended));
    return;
  }
  if (line == kAllText) {
    lines = engine::SplitTextLines(text);
    return;
  }
  const auto count = static_cast<int64_t>(lines.size());
  if (line - count > kMaxPutPadding) throw file_messages::positionTooLarge(line);
  if (column == kInsert) {
    if (line > count + 1) throw file_messages::insertOutOfRange(line);
    lines.insert(lines.begin() + (line - 1), std::u16string(text));
    return;
  }
  std::u16string newLine;
  if (column == 0) {
    newLine = text;
  } else {
    std::u16string old = line <= count ? lines[static_cast<size_t>(line - 1)] : std::u16string();
    newLine = ReplaceField(std::move(old), column, QuoteFieldForWrite(text, delimiter, mode), delimiter, mode);
  }
  if (count < line) lines.resize(static_cast<size_t>(line));
  lines[static_cast<size_t>(line - 1)] = std::move(newLine);
}

void FileSlotTable::DeleteLine(int64_t id, int64_t line) {
  std::lock_guard guard(lock_);
  FileSlot* slot = slotOf(id);
  if (!slot) return;
  slot->clearCache();
  if (line < 1 || line > static_cast<int64_t>(slot->lines.size())) return;
  slot->lines.erase(slot->lines.begin() + (line - 1));
}

int FileSlotTable::CloseAll() {
  std::lock_guard guard(lock_);
  int freed = 0;
  for (FileSlot& slot : slots_) {
    if (!slot.inUse()) continue;
    slot.reset();
    ++freed;
  }
  return freed;
}

int FileSlotTable::InUse() {
  std::lock_guard guard(lock_);
  int n = 0;
  for (const FileSlot& slot : slots_) n += slot.inUse() ? 1 : 0;
  return n;
}

FileSlotTable& EngineFileSlots() {
  static FileSlotTable table;
  return table;
}

int CloseAllFileSlots() { return EngineFileSlots().CloseAll(); }

}  // namespace maqo::builtins
