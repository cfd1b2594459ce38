// KINDOFOS, CPUUSERATE, SENSOR, POFF, SOUND, DOSCMD and POWERSHELL against
// fakes of the system seams: what each builtin asks the system to do and what
// it makes of the answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "builtins/system_builtins.h"
#include "engine/eval/text_helpers.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using engine::ScriptValue;
using engine::VarType;
using testing::errorOf;
using testing::FakeBuiltinHost;
using testing::u8;

// ---- KINDOFOS ----

TEST(BuiltinKindOfOs, OsCodes) {
  const struct {
    unsigned major, minor;
    bool server;
    int code;
  } cases[] = {
      {4, 0, false, 11}, {5, 0, false, 12}, {5, 1, false, 13}, {5, 2, false, 14}, {6, 0, false, 20},
      {6, 0, true, 21},  {6, 1, false, 22}, {6, 1, true, 21},  {6, 2, false, 23}, {6, 2, true, 24},
      {6, 3, false, 25}, {6, 4, false, 26}, {7, 0, false, 32}, {10, 0, false, 30}, {10, 0, true, 30},
      {11, 2, false, 42},
  };
  for (const auto& c : cases) {
    platform::OsVersion v;
    v.major = c.major;
    v.minor = c.minor;
    v.server = c.server;
    EXPECT_EQ(OsCode(v), c.code) << c.major << "." << c.minor;
  }
}

TEST(BuiltinKindOfOs, Fields) {
  FakeBuiltinHost host;
  EXPECT_EQ(u8(errorOf([&] { host.run(u"KINDOFOS()"); }).english), "KINDOFOS needs Windows");
  host.info.version = platform::OsVersion{10, 0, 19045, 2, false};
  host.info.isWow64 = true;
  EXPECT_EQ(host.run(u"KINDOFOS()").toDouble(), 30);
  EXPECT_EQ(host.run(u"KINDOFOS(0)").toDouble(), 30);
  EXPECT_EQ(host.run(u"KINDOFOS(99)").toDouble(), 30);
  EXPECT_EQ(host.run(u"KINDOFOS(OS_WIN64)").booleanPayload(), -1);
  EXPECT_EQ(host.run(u"KINDOFOS(OS_MAJOR)").toDouble(), 10);
  EXPECT_EQ(host.run(u"KINDOFOS(OS_MINOR)").toDouble(), 0);
  EXPECT_EQ(host.run(u"KINDOFOS(OS_BUILDNUMBER)").toDouble(), 19045);
  EXPECT_EQ(host.run(u"KINDOFOS(OS_PLATFORM)").toDouble(), 2);
}

// ---- CPUUSERATE ----

TEST(BuiltinCpuUseRate, SamplesOverAnIntervalThenSinceTheLastSample) {
  FakeBuiltinHost host;
  host.info.times = {{800, 1000}, {850, 1100}, {850, 1200}};
  const int64_t start = host.clock.monotonicMs();
  EXPECT_EQ(host.run(u"CPUUSERATE()").toDouble(), 50);  // 50 idle of 100
  EXPECT_GE(host.clock.monotonicMs() - start, 600);
  // Within the next half second the last rate stands, without waiting.
  const int64_t again = host.clock.monotonicMs();
  EXPECT_EQ(host.run(u"CPUUSERATE()").toDouble(), 50);
  EXPECT_EQ(host.clock.monotonicMs(), again);
  host.clock.advance(1000);
  EXPECT_EQ(host.run(u"CPUUSERATE()").toDouble(), 100);  // no idle time since
  // The end of the run closes the query: the next call samples afresh.
  host.state.EndRun();
  host.info.times = {{0, 0}, {90, 100}};
  host.info.timesRead = 0;
  EXPECT_EQ(host.run(u"CPUUSERATE()").toDouble(), 10);
}

TEST(BuiltinCpuUseRate, UnreadableTimesGiveMinusOne) {
  FakeBuiltinHost host;
  EXPECT_EQ(host.run(u"CPUUSERATE()").toDouble(), -1);
}

// ---- SENSOR ----

TEST(BuiltinSensor, Readings) {
  FakeBuiltinHost host;
  using Kind = platform::SensorReading::Kind;
  host.sensors.readings[1] = {Kind::Boolean, 0, true, 0, {}};
  host.sensors.readings[15] = {Kind::Number, 21.5, false, 0, {}};
  host.sensors.readings[40] = {Kind::Unsigned, 0, false, 0xFFFFFFFFFFull, {}};
  host.sensors.readings[66] = {Kind::Text, 0, false, 0, u"Kyoto"};
  EXPECT_EQ(host.run(u"SENSOR(SNSR_BIOMETRIC_HUMANPRESENSE)").booleanPayload(), -1);
  EXPECT_EQ(host.run(u"SENSOR(SNSR_ENVIRONMENTAL_TEMPERATURE)").toDouble(), 21.5);
  const ScriptValue tag = host.run(u"SENSOR(SNSR_SCANNER_RFIDTAG)");
  EXPECT_EQ(tag.type(), VarType::UInt64);
  EXPECT_EQ(tag.integerPayload(), 0xFFFFFFFFFFll);
  EXPECT_EQ(host.run(u"SENSOR(SNSR_LOCATION_CITY)").toText(), u"Kyoto");
  EXPECT_TRUE(host.run(u"SENSOR(SNSR_LIGHT_LUX)").isEmpty());
  host.sensors.present = false;
  EXPECT_EQ(u8(errorOf([&] { host.run(u"SENSOR(1)"); }).english), "SENSOR needs Windows");
}

// ---- POFF ----

TEST(BuiltinPoff, Actions) {
  const struct {
    std::u16string_view call;
    std::vector<std::string> log;
    int exits;
  } cases[] = {
      {u"POFF(P_MONIPOWER)", {"privilege", "syscommand 61808 1"}, 0},
      {u"POFF(P_MONIPOWER2)", {"privilege", "syscommand 61808 2"}, 0},
      {u"POFF(P_MONIPOWER3)", {"privilege", "syscommand 61808 -1", "display"}, 0},
      {u"POFF(P_SCREENSAVE)", {"privilege", "syscommand 61760 0"}, 0},
      {u"POFF(P_SUSPEND)", {"privilege", "hibernate"}, 0},
      {u"POFF(P_SUSPEND2 + P_FORCE)", {"privilege", "suspend force"}, 0},
      {u"POFF(0)", {"privilege", "exit 9"}, 1},
      {u"POFF(P_POWEROFF)", {"privilege", "exit 9"}, 1},
      {u"POFF(P_SHUTDOWN)", {"privilege", "exit 1"}, 1},
      {u"POFF(P_REBOOT)", {"privilege", "exit 2"}, 1},
      {u"POFF(P_REBOOT + P_FORCE)", {"privilege", "exit 6"}, 1},
      {u"POFF(P_LOGOFF)", {"privilege", "exit 0"}, 1},
      {u"POFF(P_FORCE)", {"privilege", "exit 4"}, 1},
      {u"POFF(P_MONIPOWER + P_REBOOT)", {"privilege", "syscommand 61808 1"}, 0},
  };
  for (const auto& c : cases) {
    FakeBuiltinHost host;
    EXPECT_EQ(host.run(c.call).toText(), u"");
    EXPECT_EQ(host.power.log, c.log) << u8(c.call);
    EXPECT_EQ(host.exitRuns, c.exits) << u8(c.call);
    EXPECT_FALSE(host.restartRequested.has_value());
  }
}

TEST(BuiltinPoff, RestartOfTheHost) {
  FakeBuiltinHost host;
  host.power.present = false;  // needs no power control
  host.run(u"POFF(P_MAQO_REEXEC, 1)");
  EXPECT_EQ(host.exitRuns, 1);
  EXPECT_EQ(host.restartRequested, true);
  host.run(u"POFF(P_MAQO_REEXEC)");
  EXPECT_EQ(host.restartRequested, false);
  EXPECT_TRUE(host.power.log.empty());
}

TEST(BuiltinPoff, WithoutPowerControlItNeedsWindows) {
  FakeBuiltinHost host;
  host.power.present = false;
  const auto e = errorOf([&] { host.run(u"POFF(P_REBOOT)"); });
  EXPECT_EQ(u8(e.english), "POFF needs Windows");
  EXPECT_TRUE(e.catchable);
  EXPECT_EQ(host.exitRuns, 0);
}

// ---- SOUND ----

TEST(BuiltinSound, BeepStopAndPlay) {
  FakeBuiltinHost host;
  host.run(u"SOUND(\"beep\")");
  EXPECT_EQ(host.sound.log, (std::vector<std::u16string>{u"tone 800 200", u"tone 800 200"}));
  host.sound.log.clear();
  host.run(u"SOUND(\"\")");
  EXPECT_EQ(host.sound.log, std::vector<std::u16string>{u"close"});
  // A name that is no file and no event sound is played as it stands, upper-cased.
  host.run(u"SOUND(\" chimes.wav \", 0, 2)");
  ASSERT_EQ(host.sound.played.size(), 1u);
  EXPECT_EQ(u8(host.sound.played[0].first), "CHIMES.WAV");
  EXPECT_EQ(host.sound.played[0].second, 2);
}

TEST(BuiltinSound, WaitsUntilTheSoundEnds) {
  FakeBuiltinHost host;
  host.sound.playingPolls = 5;
  const int64_t start = host.clock.monotonicMs();
  host.run(u"SOUND(\"x.wav\", 1)");
  EXPECT_EQ(host.sound.playingPolls, 0);
  EXPECT_EQ(host.clock.monotonicMs() - start, 6 * 40);
  EXPECT_EQ(host.sound.log.back(), u"close");
  // A stop request ends the wait.
  host.sound.playingPolls = 1000000;
  host.stopWhen = [&] { return host.clock.monotonicMs() - start > 1000; };
  host.run(u"SOUND(\"x.wav\", 1)");
  EXPECT_GT(host.sound.playingPolls, 0);
}

TEST(BuiltinSound, FailureBeepsAndReportsNothing) {
  FakeBuiltinHost host;
  host.sound.playOk = false;
  EXPECT_EQ(host.run(u"SOUND(\"missing.wav\")").toText(), u"");
  EXPECT_EQ(host.sound.log, std::vector<std::u16string>{u"beep"});
}

TEST(BuiltinSound, EventSoundsAreLoadedOnce) {
  FakeBuiltinHost host;
  // Only settings whose file exists enter the table; none here.
  host.sound.events = {{u".DEFAULT", u"SystemAsterisk", u"c:\\no\\such.wav"}};
  host.run(u"SOUND(\"SystemAsterisk\")");
  host.run(u"SOUND(\"SystemAsterisk\")");
  EXPECT_EQ(host.sound.eventScans, 1);
  EXPECT_EQ(u8(host.sound.played.back().first), "SYSTEMASTERISK");
}

TEST(BuiltinSound, EventSoundNamesFindTheirFiles) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "maqo_event_sound.wav";
  std::ofstream(file) << "RIFF";
  FakeBuiltinHost host;
  const std::u16string path = utf8ToUtf16(file.string());
  host.sound.events = {{u".DEFAULT", u"SystemAsterisk", path}, {u"Explorer", u"Navigating", path}};
  host.run(u"SOUND(\"systemasterisk\")");
  host.run(u"SOUND(\"EXPLORER\\NAVIGATING\")");
  std::filesystem::remove(file);
  ASSERT_EQ(host.sound.played.size(), 2u);
  // The table keeps the file as the system found it (the upper-cased setting).
  EXPECT_EQ(u8(engine::UpperCase(host.sound.played[0].first)), u8(engine::UpperCase(path)));
  EXPECT_EQ(u8(engine::UpperCase(host.sound.played[1].first)), u8(engine::UpperCase(path)));
}

TEST(BuiltinSound, WithoutAPlayerItNeedsWindows) {
  FakeBuiltinHost host;
  host.sound.present = false;
  EXPECT_EQ(u8(errorOf([&] { host.run(u"SOUND(\"x.wav\")"); }).english), "SOUND needs Windows");
  host.run(u"SOUND(\"BEEP\")");  // the console beep instead
  EXPECT_EQ(host.ui.beeps, 2);
}

// ---- DOSCMD ----

TEST(BuiltinDosCmd, CommandText) {
  EXPECT_EQ(u8(DosCommandText(u"  dir  ")), "dir");
  EXPECT_EQ(u8(DosCommandText(u"echo a\r\n\r\n  echo b  \r\n")), "\"echo a & echo b\"");
  EXPECT_EQ(u8(DosCommandText(u"\"\"c:\\a b\\x.exe\" arg\"")), "\"\"c:\\a b\\x.exe\" arg\"");
}

TEST(BuiltinDosCmd, CaptureExitCodeAndNoCapture) {
  FakeBuiltinHost host;
  host.commands.result.output = std::string("hello\0x\r\n", 9);
  EXPECT_EQ(u8(host.run(u"DOSCMD(\"echo hello\")").toText()), "[console]hello x\r\n");
  const platform::CommandRequest& first = host.commands.requests.back();
  EXPECT_EQ(u8(first.windowsCommandLine), "CMD /C \"echo hello\"");
  EXPECT_EQ(u8(first.shellCommand), "echo hello");
  EXPECT_TRUE(first.capture);
  EXPECT_TRUE(first.captureErrors);
  EXPECT_FALSE(first.waitLimitMs.has_value());
  EXPECT_EQ(first.show, platform::WindowShow::Hidden);

  host.commands.result.exitCode = 3;
  const ScriptValue code = host.run(u"DOSCMD(\"exit 3\", 0, 0, 2)");
  EXPECT_EQ(code.type(), VarType::Int32);
  EXPECT_EQ(code.integerPayload(), 3);

  // Unicode output: the bytes are UTF-16.
  host.commands.result.output = std::string("h\0i\0", 4);
  EXPECT_EQ(host.run(u"DOSCMD(\"x\", 0, 0, 1)").toText(), u"hi");
  EXPECT_EQ(u8(host.commands.requests.back().windowsCommandLine), "CMD /U/C x");

  // A wait or a shown window: no capture, the empty text.
  EXPECT_EQ(host.run(u"DOSCMD(\"x\", 5000)").toText(), u"");
  EXPECT_FALSE(host.commands.requests.back().capture);
  EXPECT_EQ(host.commands.requests.back().waitLimitMs, 5000);
  EXPECT_EQ(host.run(u"DOSCMD(\"x\", 0, 1)").toText(), u"");
  EXPECT_EQ(host.commands.requests.back().show, platform::WindowShow::Normal);
}

TEST(BuiltinDosCmd, Errors) {
  FakeBuiltinHost host;
  for (std::u16string_view call : {u"DOSCMD(\"x\", -1)", u"DOSCMD(\"x\", 4294967296)"})
    EXPECT_TRUE(errorOf([&] { host.run(call); }).english.starts_with(u"KansuCall:")) << u8(call);
  host.commands.result = {};
  host.commands.result.error = u"no cmd";
  const auto e = errorOf([&] { host.run(u"DOSCMD(\"x\")"); });
  EXPECT_EQ(u8(e.english), "DOSCMD: the command could not be started: no cmd");
  EXPECT_TRUE(e.catchable);
}

// ---- POWERSHELL ----

TEST(BuiltinPowerShell, EncodedCommandAndOutput) {
  FakeBuiltinHost host;
  host.commands.result.output = "\xEF\xBB\xBFline1\nline2\r\n\xC3\xA9";
  const ScriptValue out = host.run(u"POWERSHELL(\"Get-Date\")");
  EXPECT_EQ(u8(out.toText()), "line1\r\nline2\r\n\xC3\xA9");
  const platform::CommandRequest& r = host.commands.requests.back();
  // "Get-Date" as UTF-16 little-endian, in Base64.
  EXPECT_EQ(u8(r.windowsCommandLine), "powershell -EncodedCommand RwBlAHQALQBEAGEAdABlAA==");
  EXPECT_EQ(u8(r.requiredProgram), "pwsh");
  EXPECT_FALSE(r.captureErrors);
  EXPECT_TRUE(r.wait);

  host.commands.result.output = "[Console]::OutputEncoding=[Text.Encoding]::UTF8;ok";
  EXPECT_EQ(host.run(u"POWERSHELL(\"x\", 0, 0, 3)").toText(), u"ok");
  EXPECT_EQ(u8(host.commands.requests.back().windowsCommandLine),
            "powershell [Console]::OutputEncoding=[Text.Encoding]::UTF8;x");

  EXPECT_EQ(host.run(u"POWERSHELL(\"x\", 1)").toText(), u"");
  EXPECT_FALSE(host.commands.requests.back().wait);
  EXPECT_FALSE(host.commands.requests.back().capture);
  host.run(u"POWERSHELL(\"x\", 0, 2)");
  EXPECT_EQ(host.commands.requests.back().show, platform::WindowShow::Minimized);
}

TEST(BuiltinBase64, Encoding) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xFF\xFE", "//4="}};
  for (const auto& c : cases) EXPECT_EQ(Base64(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace maqo::builtins
