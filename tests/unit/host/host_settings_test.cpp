// The host's settings: file place, defaults written at start-up, the values
// read from it, and moving a settings file left beside the executable.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "builtins/ini_file.h"
#include "host/host_settings.h"
#include "host/settings_migration.h"
#include "platform/text_codec.h"

namespace maqo::host {
namespace {

TEST(HostSettings, FileNameAndFolder) {
  EXPECT_EQ(SettingsFileName(u"C:\\Tools\\MAQO.exe"), u"MAQO.INI");
  EXPECT_EQ(SettingsFileName(u"C:\\Tools\\run.me.exe"), u"run.me.INI");
  EXPECT_EQ(SettingsFileName(u"tool"), u"tool.INI");
  EXPECT_EQ(SettingsFolder(false, u"C:\\Tools", u"C:\\Users\\u\\AppData\\Roaming\\"),
            u"C:\\Users\\u\\AppData\\Roaming\\MAQO");
  EXPECT_EQ(SettingsFolder(true, u"C:\\Tools\\", u"C:\\Users\\u\\AppData\\Roaming"), u"C:\\Tools");
}

// The writes StartupSettingWrites asks for, applied to an INI in memory.
builtins::Lines applyStartupDefaults(builtins::Lines lines) {
  const auto writes = StartupSettingWrites(
      [&lines](std::u16string_view key) { return builtins::LookupIniValue(lines, kSettingsSection, key); }, 1920,
      1080);
  for (const auto& w : writes) builtins::SetIniValueInLines(lines, kSettingsSection, w.key, w.value);
  return lines;
}

TEST(HostSettings, EmptyFileGetsEveryDefault) {
  const builtins::Lines lines = applyStartupDefaults({});
  const struct {
    std::u16string key, value;
  } expected[] = {
      {u"Position", u"1520,880"}, {u"PlayHotKey", u"1,2"}, {u"StopHotKey", u"2,2"},   {u"RecHotKey", u"3,2"},
      {u"TrayHotKey", u"14,5"},   {u"LunchMenuHotKey", u"14,0"}, {u"MouseOrg", u"0"}, {u"NotMultiplex", u"0"},
      {u"NotActive", u"0"},       {u"StayOnTop", u"0"},    {u"LogLines", u"2000"},    {u"DefaultFont", u","},
  };
  for (const auto& e : expected) EXPECT_EQ(builtins::LookupIniValue(lines, u"SET", e.key), e.value) << utf16ToUtf8(e.key);
}

TEST(HostSettings, StoredValuesStayExceptTheOldLogLines) {
  const struct {
    std::u16string stored, expected;
  } cases[] = {{u"200", u"2000"}, {u" 200 ", u"2000"}, {u"201", u"201"}, {u"100000", u"100000"}, {u"20", u"20"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.stored));
    const builtins::Lines lines = applyStartupDefaults(
        {u"[SET]", u"LogLines=" + c.stored, u"StopHotKey=5,1", u"Position=10,20", u"[OTHER]", u"LogLines=200"});
    EXPECT_EQ(builtins::LookupIniValue(lines, u"SET", u"LogLines"), c.expected);
    EXPECT_EQ(builtins::LookupIniValue(lines, u"SET", u"StopHotKey"), u"5,1");
    EXPECT_EQ(builtins::LookupIniValue(lines, u"SET", u"Position"), u"10,20");
    EXPECT_EQ(builtins::LookupIniValue(lines, u"OTHER", u"LogLines"), u"200");
    EXPECT_EQ(builtins::LookupIniValue(lines, u"SET", u"PlayHotKey"), u"1,2");
  }
}

TEST(HostSettings, ReadingValues) {
  EXPECT_EQ(ParsePointSetting(u"-30, 40"), (SettingPoint{-30, 40}));
  EXPECT_EQ(ParsePointSetting(u"12"), (SettingPoint{12, 0}));
  EXPECT_EQ(ParsePointSetting(u"a,b"), (SettingPoint{0, 0}));
  EXPECT_TRUE(FirstFieldIsOne(u"1"));
  EXPECT_TRUE(FirstFieldIsOne(u" 1 ,0"));
  EXPECT_FALSE(FirstFieldIsOne(u"11"));
  EXPECT_FALSE(FirstFieldIsOne(u""));
  EXPECT_EQ(NumberSetting(u"-2"), -2);
  EXPECT_EQ(NumberSetting(u"x"), 0);
  EXPECT_EQ(ParseDialogFontSetting(u"Meiryo,10"), (DialogFontSetting{u"Meiryo", 10}));
  EXPECT_EQ(ParseDialogFontSetting(u","), (DialogFontSetting{u"", 0}));
  EXPECT_EQ(ParseDialogFontSetting(u"Tahoma"), (DialogFontSetting{u"Tahoma", 0}));
}

// Files in memory; copies can be made to fail or to come out short.
class MemoryFiles final : public MigrationFiles {
 public:
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> folders, undeletable;
  bool copyFails = false, copyTruncates = false;

  bool exists(const std::u16string& path) override { return files.count(path) != 0; }
  bool ensureFolder(const std::u16string& folder) override {
    folders.insert(folder);
    return true;
  }
  bool copyNew(const std::u16string& from, const std::u16string& to) override {
    if (files.count(to) || !files.count(from)) return false;
    if (copyFails) return false;
    files[to] = copyTruncates ? files[from].substr(0, files[from].size() / 2) : files[from];
    return true;
  }
  std::optional<std::string> read(const std::u16string& path) override {
    auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  bool remove(const std::u16string& path) override {
    if (undeletable.count(path)) return false;
    return files.erase(path) != 0;
  }
};

TEST(HostSettingsMigration, MovesOnlyAVerifiedCopy) {
  const std::u16string exe = u"C:\\Tools", user = u"C:\\AppData\\MAQO";
  const std::u16string oldIni = exe + u"\\MAQO.INI", oldLog = exe + u"\\MAQO.LOG", newIni = user + u"\\MAQO.INI";
  const struct {
    const char* label;
    bool userHasOne, besideExe, copyFails, copyTruncates, oldLocked;
    MigrationResult result;
    bool oldIniLeft, oldLogLeft, newIniIsOld;
  } cases[] = {
      {"moves and deletes the old log", false, true, false, false, false, MigrationResult::Moved, false, false, true},
      {"user file wins, nothing moves", true, true, false, false, false, MigrationResult::NothingToMove, true, true,
       false},
      {"none beside the executable", false, false, false, false, false, MigrationResult::NothingToMove, false, true,
       false},
      {"failed copy keeps both old files", false, true, true, false, false, MigrationResult::CopyFailed, true, true,
       false},
      {"short copy is taken back", false, true, false, true, false, MigrationResult::CopyFailed, true, true, false},
      {"old file locked: copy stays, log kept", false, true, false, false, true, MigrationResult::OldKept, true, true,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    MemoryFiles files;
    files.files[oldLog] = "log";
    if (c.besideExe) files.files[oldIni] = "[SET]\r\nLogLines=5000\r\n";
    if (c.userHasOne) files.files[newIni] = "[SET]\r\n";
    files.copyFails = c.copyFails;
    files.copyTruncates = c.copyTruncates;
    if (c.oldLocked) files.undeletable.insert(oldIni);
    EXPECT_EQ(MigrateSettingsBesideExecutable(files, u"MAQO.INI", exe, user), c.result);
    EXPECT_EQ(files.exists(oldIni), c.oldIniLeft);
    EXPECT_EQ(files.exists(oldLog), c.oldLogLeft);
    EXPECT_EQ(files.exists(newIni) && files.files[newIni] == "[SET]\r\nLogLines=5000\r\n", c.newIniIsOld);
    if (c.result == MigrationResult::CopyFailed) {
      EXPECT_FALSE(files.exists(newIni));
    }
  }
}

TEST(HostSettingsMigration, OtherNamesLeaveTheLogAlone) {
  MemoryFiles files;
  files.files[u"C:\\T\\tool.INI"] = "x";
  files.files[u"C:\\T\\MAQO.LOG"] = "log";
  EXPECT_EQ(MigrateSettingsBesideExecutable(files, u"tool.INI", u"C:\\T", u"C:\\U\\MAQO"), MigrationResult::Moved);
  EXPECT_TRUE(files.exists(u"C:\\T\\MAQO.LOG"));
  EXPECT_TRUE(files.exists(u"C:\\U\\MAQO\\tool.INI"));
  EXPECT_TRUE(files.folders.count(u"C:\\U\\MAQO"));
}

}  // namespace
}  // namespace maqo::host
