// File slots: opening modes, writing back in every encoding byte for byte,
// failures that must not lose data, and the end-of-run cleanup.
#include <gtest/gtest.h>

#include <thread>

#include "builtins/file_builtins.h"
#include "builtins/file_slots.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::builtins {
namespace {

using namespace files_test;
using engine::ScriptValue;
using engine::VarType;
namespace m = open_mode;

int idOf(const ScriptValue& v) { return static_cast<int>(v.integerPayload()); }

struct RoundTripCase {
  const char* label;
  unsigned codePage;
  std::string bytes;
};

// Opened for reading and writing and closed unchanged, every file comes back
// exactly as it was: encoding, mark, line breaks and the last line's break.
TEST(BuiltinsFilesSlots, ReadWriteAndCloseUnchangedKeepsEveryByte) {
  const RoundTripCase cases[] = {
      {"UTF-16 LE with mark, CR LF", 1252, std::string("\xFF\xFE" "a\0\xE5\x65\r\0\n\0" "b\0\r\0\n\0", 16)},
      {"UTF-16 LE with mark, LF", 1252, std::string("\xFF\xFE" "a\0\xE5\x65\n\0" "b\0\n\0", 12)},
      {"UTF-8 with mark, LF", 1252, "\xEF\xBB\xBF" "caf\xC3\xA9\nline 2\n"},
      {"UTF-8 with mark only", 1252, "\xEF\xBB\xBF"},
      {"UTF-8 without mark, CR LF", 1252, "\xE6\x97\xA5\xE6\x9C\xAC\r\nx,y\r\n"},
      {"UTF-8 without mark, LF", 932, "\xE6\x97\xA5\xE6\x9C\xAC\nx,y\n"},
      {"ANSI 1252, CR LF", 1252, "caf\xE9,\x80\r\nsecond\r\n"},
      {"ANSI 1252, LF, no final break", 1252, "one\ntwo"},
      {"ANSI 1252, CR only", 1252, "one\rtwo\r"},
      {"ANSI 1252, blank lines at the end", 1252, "a\r\n\r\n\r\n"},
      {"ASCII 932, CR LF", 932, "plain\r\n"},
      {"ANSI 932 with a trail byte 5C, CR LF", 932, "\x95\x5C\x8E\xA6\r\n\x93\xFA\x96\x7B\r\n"},
      {"ANSI 932, LF", 932, "\x83\x65\x83\x58\x83\x67\n"},
      {"empty file", 1252, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    CodePagePlatform cp(c.codePage);
    if (!cp.p) continue;  // this build converts with the system's code page only
    TempDir dir;
    const std::u16string path = dir.write("f.txt", c.bytes);
    FileSlotTable slots;
    const int id = idOf(slots.Open(*cp.p, path, m::kRead | m::kWrite));
    ASSERT_GE(id, 1);
    EXPECT_TRUE(slots.Close(*cp.p, id));
    EXPECT_EQ(readBytes(path), c.bytes);
  }
}

struct WriteCase {
  const char* label;
  std::string before;  // empty: the file does not exist
  int64_t mode;
  std::vector<std::u16string> put;  // lines appended before closing
  std::string after;
};

TEST(BuiltinsFilesSlots, WriteModesChooseTheEncoding) {
  const WriteCase cases[] = {
      {"missing file, automatic: ASCII stays ANSI", "", m::kRead | m::kWrite, {u"abc"}, "abc\r\n"},
      {"missing file, automatic: Japanese becomes UTF-8", "", m::kRead | m::kWrite, {u"\u65E5"},
       "\xE6\x97\xA5\r\n"},
      {"UTF-8 with mark written in ANSI", "\xEF\xBB\xBF" "caf\xC3\xA9\r\n", m::kRead | m::kWriteAnsi, {},
       "caf\xE9\r\n"},
      {"UTF-8 with mark kept by F_WRITE", "\xEF\xBB\xBF" "x\r\n", m::kRead | m::kWrite, {u"y"},
       "\xEF\xBB\xBF" "x\r\ny\r\n"},
      {"highest write bit wins", "", m::kRead | m::kWriteUtf8 | m::kWriteUtf16, {u"A"},
       std::string("\xFF\xFE" "A\0\r\0\n\0", 8)},
      {"UTF-8 with mark", "", m::kWriteUtf8Bom, {u"\u00E9"}, "\xEF\xBB\xBF\xC3\xA9\r\n"},
      {"no final break", "", m::kWrite | m::kNoCr, {u"a", u"b"}, "a\r\nb"},
      {"no final break, nothing written after the mark", "", m::kWriteUtf16 | m::kNoCr, {}, "\xFF\xFE"},
      {"write bit without read starts empty", "old\r\n", m::kWrite, {u"new"}, "new\r\n"},
      {"LF file gets LF lines", "a\n", m::kRead | m::kWrite, {u"b"}, "a\nb\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    CodePagePlatform cp(1252);
    if (!cp.p) continue;
    TempDir dir;
    const std::u16string path = c.before.empty() ? dir.path("new.txt") : dir.write("f.txt", c.before);
    FileSlotTable slots;
    const int id = idOf(slots.Open(*cp.p, path, c.mode));
    ASSERT_GE(id, 1);
    for (const auto& line : c.put) slots.Put(id, line, 0, 0, QuoteMode::StripSimple);
    EXPECT_TRUE(slots.Close(*cp.p, id));
    EXPECT_EQ(readBytes(path), c.after);
  }
}

TEST(BuiltinsFilesSlots, OpeningMissingFilesAndModes) {
  TestPlatform t;
  TempDir dir;
  FileSlotTable slots;
  const std::u16string missing = dir.path("missing.txt");
  EXPECT_EQ(idOf(slots.Open(t.p, missing, m::kRead)), -1);
  EXPECT_EQ(slots.InUse(), 0);

  const int id = idOf(slots.Open(t.p, u"\"" + missing + u"\"", m::kRead | m::kWrite));
  ASSERT_EQ(id, 1);
  EXPECT_EQ(slots.Get(id, kLineCount, 0, QuoteMode::StripSimple).integerPayload(), 0);
  EXPECT_TRUE(slots.Close(t.p, id));
  EXPECT_TRUE(t.files.fileExists(missing));

  // Mode 0 reads; such a slot cannot be written.
  const int readOnly = idOf(slots.Open(t.p, missing, 0));
  ASSERT_GE(readOnly, 1);
  const auto e = errorOf([&] { slots.Put(readOnly, u"x", 1, 0, QuoteMode::StripSimple); });
  EXPECT_EQ(e.message().english, u"It can't be written= " + missing);
  EXPECT_EQ(e.message().japanese, u"書き込む事は出来ません= " + missing);
  EXPECT_TRUE(e.catchable());
  EXPECT_TRUE(slots.Close(t.p, readOnly));
  EXPECT_TRUE(slots.Close(t.p, 17));  // not open: TRUE, nothing happens

  // Neither read, exclusive nor a write bit.
  const auto wrong = errorOf([&] { slots.Open(t.p, missing, m::kNoCr); });
  EXPECT_EQ(wrong.message().english, u"Error of the file open mode");
  EXPECT_FALSE(wrong.catchable());
  EXPECT_EQ(slots.InUse(), 0);

  // F_EXISTS: files, folders (a final separator) and empty names.
  EXPECT_EQ(slots.Open(t.p, missing, m::kExists).integerPayload(), -1);
  EXPECT_EQ(slots.Open(t.p, dir.root() + u"/", m::kExists).integerPayload(), -1);
  EXPECT_EQ(slots.Open(t.p, dir.path("nope/"), m::kExists).integerPayload(), 0);
  EXPECT_EQ(slots.Open(t.p, u"", m::kExists).integerPayload(), 0);
  EXPECT_EQ(slots.InUse(), 0);
}

TEST(BuiltinsFilesSlots, SixtyFifthOpenReportsTheLimit) {
  TestPlatform t;
  FileSlotTable slots;
  for (int i = 1; i <= FileSlotTable::kSlots; ++i) ASSERT_EQ(idOf(slots.Open(t.p, u"", m::kRead | m::kWrite)), i);
  const auto e = errorOf([&] { slots.Open(t.p, u"", m::kRead | m::kWrite); });
  EXPECT_EQ(e.message().english, u"Error: It exceeded maximum FILE_OEPN number =64");
  EXPECT_EQ(e.message().japanese, u"Error: 最大FILE_OEPN数=64 を超えました");
  EXPECT_TRUE(e.catchable());
  EXPECT_EQ(slots.CloseAll(), FileSlotTable::kSlots);
  EXPECT_EQ(slots.InUse(), 0);
}

// An empty name with a write bit but without F_READ is a memory-only slot: its
// ID is not handed out again, and closing it writes nothing.
TEST(BuiltinsFilesSlots, EmptyNameWithWriteBitKeepsItsSlot) {
  TestPlatform t;
  FileSlotTable slots;
  const int first = idOf(slots.Open(t.p, u"", m::kWrite));
  const int second = idOf(slots.Open(t.p, u"  ", m::kWriteUtf8));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  slots.Put(first, u"kept in memory", 0, 0, QuoteMode::StripSimple);
  EXPECT_EQ(slots.Get(first, 1, 0, QuoteMode::StripSimple).toDisplayText(), u"kept in memory");
  EXPECT_TRUE(slots.Close(t.p, first));
  EXPECT_TRUE(slots.Close(t.p, second));
}

// A file that exists but cannot be read is not opened, so FCLOSE can never
// replace it with the empty list of a failed read.
TEST(BuiltinsFilesSlots, UnreadableFileIsNeverRewrittenEmpty) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("keep.txt", "precious\r\n");
  t.files.failReads(path, engine::kReadAttempts);
  FileSlotTable slots;
  EXPECT_EQ(idOf(slots.Open(t.p, path, m::kRead | m::kWrite)), -1);
  EXPECT_EQ(slots.InUse(), 0);
  EXPECT_EQ(readBytes(path), "precious\r\n");
}

TEST(BuiltinsFilesSlots, FailedWriteIsReported) {
  TestPlatform t;
  TempDir dir;
  FileSlotTable slots;
  const std::u16string path = dir.path("no-such-folder/out.txt");
  const int id = idOf(slots.Open(t.p, path, m::kWrite));
  ASSERT_GE(id, 1);
  std::u16string name, error;
  EXPECT_FALSE(slots.Close(t.p, id, &name, &error));
  EXPECT_EQ(name, path);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(slots.InUse(), 0);  // freed all the same
}

TEST(BuiltinsFilesSlots, ExclusiveSlotHoldsTheFileUntilClosed) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("held.txt", "a\r\n");
  FileSlotTable slots;
  const int id = idOf(slots.Open(t.p, path, m::kRead | m::kWrite | m::kExclusive));
  ASSERT_GE(id, 1);
  std::u16string error;
  EXPECT_EQ(platform::HoldFile(path, platform::HoldAccess::Read, error), nullptr);
  slots.Put(id, u"b", 0, 0, QuoteMode::StripSimple);
  EXPECT_TRUE(slots.Close(t.p, id));
  EXPECT_EQ(readBytes(path), "a\r\nb\r\n");
  EXPECT_NE(platform::HoldFile(path, platform::HoldAccess::Read, error), nullptr);
  // Exclusive creation of a missing file, and a missing file without a write bit.
  const int created = idOf(slots.Open(t.p, dir.path("made.txt"), m::kRead | m::kWrite | m::kExclusive));
  EXPECT_GE(created, 1);
  EXPECT_TRUE(slots.Close(t.p, created));
  EXPECT_EQ(idOf(slots.Open(t.p, dir.path("absent.txt"), m::kExclusive)), -1);
}

// Slots a run leaves open are freed at its end without writing half-done work.
TEST(BuiltinsFilesSlots, CloseAllFreesWithoutWriting) {
  TestPlatform t;
  TempDir dir;
  const std::u16string path = dir.write("f.txt", "original\r\n");
  FileSlotTable slots;
  const int id = idOf(slots.Open(t.p, path, m::kWrite));
  slots.Put(id, u"half", 0, 0, QuoteMode::StripSimple);
  EXPECT_EQ(slots.CloseAll(), 1);
  EXPECT_EQ(readBytes(path), "original\r\n");
  EXPECT_EQ(idOf(slots.Open(t.p, path, m::kRead)), 1);  // the slot is free again
}

TEST(BuiltinsFilesSlots, BuiltinsCheckTheirArgumentCounts) {
  TestPlatform t;
  FakeBuiltinHost host(t.p);
  const struct {
    const char16_t* name;
    int count;
  } cases[] = {{u"FOPEN", 3}, {u"FCLOSE", 3}, {u"FDELLINE", 3}, {u"DELETEFILE", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.name));
    TestCall call(c.name, std::vector<std::u16string>(static_cast<size_t>(c.count), u"1"));
    const BuiltinFunction f = FindNamedBuiltin(FileBuiltins(), c.name);
    ASSERT_NE(f, nullptr);
    const auto e = errorOf([&] { f(call.get(), host); });
    EXPECT_EQ(e.message().english, u"Too many argument");
    EXPECT_EQ(e.message().japanese, u"引数の数が多すぎます");
    EXPECT_FALSE(e.catchable());
  }
}

// FCLOSE through the builtin: a failed write is reported (catchable) unless the
// second argument asks for quiet, and gives FALSE then.
TEST(BuiltinsFilesSlots, FcloseBuiltinReportsAFailedWrite) {
  TestPlatform t;
  TempDir dir;
  FakeBuiltinHost host(t.p);
  const std::u16string path = dir.path("no-such-folder/out.txt");
  for (bool quiet : {false, true}) {
    SCOPED_TRACE(quiet ? "quiet" : "loud");
    TestCall open(u"FOPEN", {path, u"4"});
    const ScriptValue id = FOpenBuiltin(open.get(), host);
    ASSERT_GE(idOf(id), 1);
    TestCall close(u"FCLOSE", {id.toDisplayText(), quiet ? u"1" : u"0"});
    if (quiet) {
      EXPECT_EQ(FCloseBuiltin(close.get(), host).integerPayload(), 0);
    } else {
      const auto e = errorOf([&] { FCloseBuiltin(close.get(), host); });
      EXPECT_EQ(e.message().english, path + u"：Can't be written in");
      EXPECT_TRUE(e.catchable());
    }
  }
  EXPECT_EQ(CloseAllFileSlots(), 0);
}

// The table's lock keeps the operations of several script threads whole.
TEST(BuiltinsFilesSlots, ThreadsShareOneSlotSafely) {
  TestPlatform t;
  FileSlotTable slots;
  const int id = idOf(slots.Open(t.p, u"", m::kWrite));
  constexpr int kLinesEach = 2000;
  auto writer = [&](std::u16string text) {
    for (int i = 0; i < kLinesEach; ++i) {
      slots.Put(id, text, 0, 2, QuoteMode::StripSimple);
      slots.Get(id, 1, 2, QuoteMode::StripSimple);
    }
  };
  std::thread a(writer, u"a"), b(writer, u"b");
  a.join();
  b.join();
  EXPECT_EQ(slots.Get(id, kLineCount, 0, QuoteMode::StripSimple).integerPayload(), 2 * kLinesEach);
  EXPECT_EQ(slots.Get(id, 2 * kLinesEach, 0, QuoteMode::StripSimple).toDisplayText().size(), 2u);
}

}  // namespace
}  // namespace maqo::builtins
