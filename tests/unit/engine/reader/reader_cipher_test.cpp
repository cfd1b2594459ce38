#include "engine/reader/script_cipher.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/reader/cipher_secrets.h"
#include "engine/reader/hidden_text.h"
#include "engine/reader/script_reader.h"
#include "tests/unit/engine/reader/reader_test_support.h"

namespace maqo::engine {
namespace {

using reader_test::TempDir;
using reader_test::TestPlatform;

std::string join(const Lines& lines) {
  std::u16string text;
  for (const auto& l : lines) text += l + u"\r\n";
  return reader_test::utf16File(text);
}

// Writes the byte format of versions 1 to 3 the way their writer did, as the
// exact inverse of their reading rules.
std::string byteFormatFile(int version, const std::vector<std::string>& plain, unsigned s0) {
  const CipherSecrets& s = GetCipherSecrets();
  uint32_t j = s0, sum = 0;
  std::string body;
  for (size_t n = 0; n < plain.size(); ++n) {
    std::string stored;
    for (size_t k = 0; k < plain[n].size(); ++k) {
      uint32_t b = static_cast<unsigned char>(plain[n][k]);
      if (version >= 2) b ^= (static_cast<uint32_t>(n % 5) + s.mask8) & 0xFF;
      if (version == 3) b = (b + s.keyTable[j++ % 32]) & 0xFF;
      b = (b + static_cast<uint32_t>((k + n + 1) % 5) + 1) & 0xFF;
      if (b == 0) stored += "_<#00>_";
      else if (b == 10) stored += "_<#10>_";
      else if (b == 13) stored += "_<#13>_";
      else if (b == 26) stored += "_<#26>_";
      else stored.push_back(static_cast<char>(b));
    }
    for (unsigned char c : stored) sum += c;
    body += stored + "\r\n";
  }
  std::string header = std::to_string(sum & 0xFFFF);
  if (version >= 3) header += std::to_string(s0);
  return utf16ToUtf8(s.markers[static_cast<size_t>(version - 1)]) + "\r\n" + header + "\r\n" + body;
}

TEST(ReaderCipher, XteaMatchesTheReferenceVector) {
  const uint32_t key[4] = {0x00010203, 0x04050607, 0x08090A0B, 0x0C0D0E0F};
  uint32_t block[2] = {0x41424344, 0x45464748};
  XteaEncipherBlock(block, key);
  EXPECT_EQ(block[0], 0x497DF3D0u);
  EXPECT_EQ(block[1], 0x72612CB5u);
  XteaDecipherBlock(block, key);
  EXPECT_EQ(block[0], 0x41424344u);
  EXPECT_EQ(block[1], 0x45464748u);
}

TEST(ReaderCipher, TheHeldValuesDecipherToAUsableFormat) {
  const CipherSecrets& s = GetCipherSecrets();
  std::set<std::u16string> markers(s.markers.begin(), s.markers.end());
  EXPECT_EQ(markers.size(), 5u);
  for (const auto& m : s.markers) {
    EXPECT_EQ(m.size(), 5u);
    EXPECT_EQ(m.compare(0, 4, u"MQS0"), 0);
  }
  EXPECT_GT(std::set<uint32_t>(s.keyTable.begin(), s.keyTable.end()).size(), 16u);
  EXPECT_NE(s.mask8, 0);
  EXPECT_NE(s.mask16, 0);
  EXPECT_FALSE(s.damaged.english.empty());
  EXPECT_FALSE(s.damaged.japanese.empty());
  EXPECT_FALSE(s.unknownFormat.english.empty());
  EXPECT_FALSE(s.unknownFormat.japanese.empty());
}

Lines sampleScript() {
  std::u16string everyUnit;
  for (uint32_t c = 1; c <= 0xFFFF; ++c)
    if (c != 10 && c != 13) everyUnit.push_back(static_cast<char16_t>(c));
  return {u"// heading comment",
          u"//_ExeVersion 1.0.0.1",
          u"  x = 1   // trailing",
          u"\tprint \"a // b\"\u3000",
          u"",
          u"textblock T",
          u"  body // kept\t",
          everyUnit,
          u"endtextblock // c",
          u"\u3042 = \"\u3000\""};
}

TEST(ReaderCipher, EncipherThenDecipherGivesTheTrimmedCommentReducedSource) {
  TestPlatform t;
  Lines lines = sampleScript();
  const std::u16string everyUnit = lines[7];
  ASSERT_TRUE(Encipher(t.p, lines, u"", u"", 1234).english.empty());
  EXPECT_EQ(CipherVersionOf(lines), 5);
  ASSERT_EQ(lines.size(), sampleScript().size() + 2);
  bool placeholder = false;
  for (size_t i = 2; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find_first_of(u"\r\n"), std::u16string::npos);
    placeholder |= lines[i].find(u"_<#") != std::u16string::npos;
  }
  EXPECT_TRUE(placeholder) << "the sample should exercise the placeholders";

  const DecipherResult r = Decipher(t.p, lines, u"");
  ASSERT_EQ(r.status, DecipherStatus::Deciphered);
  ASSERT_EQ(lines.size(), sampleScript().size());
  // A plain whole-line comment becomes "//" and 1 to 8 letters A to Y.
  ASSERT_GE(lines[0].size(), 3u);
  ASSERT_LE(lines[0].size(), 10u);
  EXPECT_EQ(lines[0].substr(0, 2), u"//");
  for (char16_t c : lines[0].substr(2)) EXPECT_TRUE(c >= u'A' && c <= u'Y');
  const Lines rest(lines.begin() + 1, lines.end());
  EXPECT_EQ(rest, (Lines{u"//_ExeVersion 1.0.0.1", u"x = 1", u"print \"a // b\"", u"", u"textblock T",
                         u"  body // kept\t", everyUnit, u"endtextblock", u"\u3042 = \"\u3000\""}));
}

TEST(ReaderCipher, AChangedCharacterFailsTheChecksumUnlessTheSumIsKept) {
  TestPlatform t;
  Lines enciphered = sampleScript();
  Encipher(t.p, enciphered, u"", u"", 99);

  Lines changed = enciphered;
  changed[4][0] = static_cast<char16_t>(changed[4][0] ^ 1);
  DecipherResult r = Decipher(t.p, changed, u"");
  EXPECT_EQ(r.status, DecipherStatus::Failed);
  EXPECT_EQ(r.error.english, GetCipherSecrets().damaged.english);
  EXPECT_TRUE(changed.empty());

  // +1 on one character and -1 on another keeps the sum: the checksum cannot see it.
  Lines balanced = enciphered;
  std::u16string& line = balanced[4];
  size_t up = 0, down = 1;
  while ((line[up] & 0xFF) == 0xFF) ++up;
  while (down == up || (line[down] & 0xFF) == 0) ++down;
  line[up] = static_cast<char16_t>(line[up] + 1);
  line[down] = static_cast<char16_t>(line[down] - 1);
  r = Decipher(t.p, balanced, u"");
  EXPECT_EQ(r.status, DecipherStatus::Deciphered);
  EXPECT_NE(balanced[2], u"x = 1");
}

TEST(ReaderCipher, MarkersAndHeaders) {
  TestPlatform t;
  const auto& s = GetCipherSecrets();
  struct Case {
    const char* what;
    Lines lines;
    DecipherStatus status;
  };
  const Case cases[] = {
      {"plain script", {u"PRINT 1"}, DecipherStatus::Plain},
      {"empty script", {}, DecipherStatus::Plain},
      {"four characters are no marker", {u"MQS0"}, DecipherStatus::Plain},
      {"six characters are no marker", {u"MQS0ZZ", u"1"}, DecipherStatus::Plain},
      {"unknown version", {u" MQS0Z ", u"12"}, DecipherStatus::Failed},
      {"marker without a header", {s.markers[4]}, DecipherStatus::Failed},
      {"header that is no number", {s.markers[4], u"12a3"}, DecipherStatus::Failed},
      {"version 3 needs the digit s0", {s.markers[2], u"7"}, DecipherStatus::Failed},
      {"empty enciphered script", {s.markers[4], u"00"}, DecipherStatus::Deciphered},
  };
  for (const auto& c : cases) {
    Lines lines = c.lines;
    const DecipherResult r = Decipher(t.p, lines, u"");
    EXPECT_EQ(r.status, c.status) << c.what;
    if (c.status == DecipherStatus::Plain) {
      EXPECT_EQ(lines, c.lines) << c.what;
    }
    if (c.status == DecipherStatus::Failed) {
      EXPECT_TRUE(lines.empty()) << c.what;
    }
  }
  Lines unknown{u"MQS0Z"};
  EXPECT_EQ(Decipher(t.p, unknown, u"C:\\x.mqs").error.english, s.unknownFormat.english + u": C:\\x.mqs");
}

TEST(ReaderCipher, ReadsTheOlderVersions) {
  TempDir dir;
  TestPlatform t;
  const std::vector<std::string> plain{"x = 1", "", "print \"hello, world\" + x", "for i = 0 to 9; next"};
  const Lines expected{u"x = 1", u"", u"print \"hello, world\" + x", u"for i = 0 to 9; next"};
  for (int version = 1; version <= 3; ++version) {
    for (unsigned s0 : {0u, 7u}) {
      const std::u16string path = dir.write("v" + std::to_string(version) + ".mqs", byteFormatFile(version, plain, s0));
      Lines lines;
      ASSERT_TRUE(ReadTextFile(t.p, path, lines).ok());
      EXPECT_EQ(CipherVersionOf(lines), version);
      const DecipherResult r = Decipher(t.p, lines, path);
      EXPECT_EQ(r.status, DecipherStatus::Deciphered) << version;
      EXPECT_EQ(lines, expected) << "version " << version << " s0 " << s0;
    }
  }
  // Version 4 is the text format under another marker.
  Lines v4(expected);
  Encipher(t.p, v4, u"", u"", 5);
  v4[0] = GetCipherSecrets().markers[3];
  EXPECT_EQ(Decipher(t.p, v4, u"").status, DecipherStatus::Deciphered);
  EXPECT_EQ(v4, expected);
  // The byte format cannot be read without its file.
  Lines noFile{GetCipherSecrets().markers[0], u"0"};
  EXPECT_EQ(Decipher(t.p, noFile, u"").status, DecipherStatus::Failed);
}

TEST(ReaderCipher, EncipheringAFileOntoItselfKeepsThePlainCopy) {
  TempDir dir;
  TestPlatform t;
  const std::string source = "x = 1 // one\r\nprint x\r\n";
  const std::u16string path = dir.write("s.mqs", source);
  Lines lines;
  ASSERT_TRUE(ReadTextFile(t.p, path, lines).ok());
  ASSERT_TRUE(Encipher(t.p, lines, path, path).english.empty());
  platform::ReadResult backup = t.files.readAll(dir.path("s.ORG"));
  ASSERT_EQ(backup.status, platform::ReadStatus::Ok);
  EXPECT_EQ(backup.bytes, source);

  // Already enciphered lines are left alone, and no copy is made of them.
  std::filesystem::remove(dir.fsPath("s.ORG"));
  const Lines before = lines;
  ASSERT_TRUE(Encipher(t.p, lines, path, path).english.empty());
  EXPECT_EQ(lines, before);
  EXPECT_FALSE(t.files.fileExists(dir.path("s.ORG")));

  EXPECT_EQ(BackupPathOf(u"C:\\a.b\\name.mqs"), u"C:\\a.b\\name.ORG");
  EXPECT_EQ(BackupPathOf(u"C:\\a.b\\name"), u"C:\\a.b\\name.ORG");
}

TEST(ReaderCipher, TheReaderDeciphersAndReportsDamage) {
  TempDir dir;
  for (const uint16_t language : {uint16_t{0x0409}, uint16_t{0x0411}}) {
    TestPlatform t(language);
    Lines plain{u"x = 1 // c", u"print x"};
    Encipher(t.p, plain, u"", u"", 7);
    const std::u16string good = dir.write("good.mqs", join(plain));
    TReadMqsFile reader(t.p);
    Lines lines;
    reader.creUscrptFil(lines, good);
    EXPECT_EQ(reader.ReadError, u"");
    EXPECT_EQ(lines, (Lines{u"PROCEDURE __MAIN__()", u"X = 1", u"PRINT X", u"FEND"}));

    Lines damaged = plain;
    damaged[3][0] = static_cast<char16_t>(damaged[3][0] ^ 4);
    const std::u16string bad = dir.write("bad.mqs", join(damaged));
    reader.creUscrptFil(lines, bad);
    const Message& m = GetCipherSecrets().damaged;
    EXPECT_EQ(reader.ReadError, m.in(language == 0x0411) + u": " + t.files.fullPath(bad));
    EXPECT_TRUE(lines.empty());

    const std::u16string unknown = dir.write("unknown.mqs", "MQS0Z\r\n123\r\n");
    reader.creUscrptFil(lines, unknown);
    EXPECT_EQ(reader.ReadError,
              GetCipherSecrets().unknownFormat.in(language == 0x0411) + u": " + t.files.fullPath(unknown));
  }
}

}  // namespace
}  // namespace maqo::engine
