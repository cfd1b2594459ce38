// DOSCMD and SLEEP against the real system: the command interpreter of the
// build (cmd under Windows, /bin/sh elsewhere), its output, exit code and
// standard input, a large output, and waits that end on a stop request.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/system_services.h"
#include "tests/unit/builtins/builtins_fake_host.h"

namespace maqo::builtins {
namespace {

using engine::ScriptValue;
using testing::FakeBuiltinHost;
using testing::u8;

// The fake host with the build's real clock and system seams.
class RealSystemHost : public FakeBuiltinHost {
 public:
  platform::Platform realPlatform{platform::consolePlatform().clock, platform::consolePlatform().files,
                                  platform::consolePlatform().locale, ui};
  platform::Platform& platform() override { return realPlatform; }
  platform::SystemServices& system() override { return platform::systemServices(); }
  int64_t now() { return realPlatform.clock.monotonicMs(); }
};

std::u16string trimmed(std::u16string text) {
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

TEST(BuiltinProcess, CapturesTheOutputOfACommand) {
  RealSystemHost host;
  const ScriptValue out = host.run(u"DOSCMD(\"echo hello\")");
  EXPECT_EQ(u8(trimmed(out.toText())), "hello");
}

TEST(BuiltinProcess, ExitCodeMode) {
  RealSystemHost host;
  EXPECT_EQ(host.run(u"DOSCMD(\"exit 3\", 0, 0, 2)").toDouble(), 3);
  EXPECT_EQ(host.run(u"DOSCMD(\"exit 0\", 0, 0, 2)").toDouble(), 0);
}

TEST(BuiltinProcess, TheChildReadsEndOfFile) {
  RealSystemHost host;
  // A command that reads its standard input to the end; it would never end
  // if the input stayed open. The stop request is only a safety net.
  const int64_t start = host.now();
  host.stopWhen = [&] { return host.now() - start > 60000; };
#ifdef _WIN32
  const ScriptValue v = host.run(u"DOSCMD(\"findstr x\", 0, 0, 2)");
#else
  const ScriptValue v = host.run(u"DOSCMD(\"cat\", 0, 0, 2)");
#endif
  EXPECT_TRUE(v.isInteger()) << u8(v.toDisplayText());
  EXPECT_LT(host.now() - start, 60000);
}

TEST(BuiltinProcess, LargeOutputComesBackWhole) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "maqo_builtins_large_output.txt";
  const std::string line(99, 'x');
  {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < 101000; ++i) out << line << '\n';  // 10.1 MB
  }
  RealSystemHost host;
  const int64_t start = host.now();
  host.stopWhen = [&] { return host.now() - start > 120000; };
#ifdef _WIN32
  host.set(u"F", ScriptValue::string(utf8ToUtf16("type " + file.string())));
#else
  host.set(u"F", ScriptValue::string(utf8ToUtf16("cat '" + file.string() + "'")));
#endif
  const std::u16string text = host.run(u"DOSCMD(F)").toText();
  std::filesystem::remove(file);
  EXPECT_EQ(text.size(), 101000u * 100u);
  EXPECT_EQ(text.find(u"xx\nxx"), 97u);
  EXPECT_LT(host.now() - start, 120000);
}

TEST(BuiltinProcess, AStopRequestEndsTheWait) {
  RealSystemHost host;
  const int64_t start = host.now();
  host.stopWhen = [&] { return host.now() - start > 300; };
#ifdef _WIN32
  // About seven seconds of pings.
  host.run(u"DOSCMD(\"ping -n 8 127.0.0.1\")");
#else
  host.run(u"DOSCMD(\"sleep 7\")");
#endif
  EXPECT_LT(host.now() - start, 3500);
  EXPECT_GT(host.ui.pumps, 0);  // messages kept flowing while it waited
}

TEST(BuiltinProcess, SleepEndsEarlyOnAStopRequestFromAnotherThread) {
  RealSystemHost host;
  std::atomic<bool> stop{false};
  host.stopWhen = [&] { return stop.load(); };
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    stop = true;
  });
  const int64_t start = host.now();
  host.run(u"SLEEP(2)");
  stopper.join();
  EXPECT_LT(host.now() - start, 1500);
}

TEST(BuiltinRealSystem, MachineFacts) {
  RealSystemHost host;
  const double rate = host.run(u"CPUUSERATE()").toDouble();
  EXPECT_GE(rate, 0);
  EXPECT_LE(rate, 100);
  BuiltinNames real(host.realPlatform, platform::systemServices().info);
  engine::THensuFmt frame;
#ifdef _WIN32
  EXPECT_GE(host.run(u"KINDOFOS()").toDouble(), 11);
  EXPECT_TRUE(host.run(u"SENSOR(SNSR_LIGHT_LUX)").isEmpty());  // no sensor here
  EXPECT_FALSE(real.value(u"GET_WIN_DIR", frame)->toText().empty());
  EXPECT_FALSE(real.value(u"GET_SYS_DIR", frame)->toText().empty());
  EXPECT_GE(real.value(u"G_SCREEN_W", frame)->toDouble(), 0);
  EXPECT_GE(real.value(u"G_SCREEN_C", frame)->toDouble(), 0);
  EXPECT_TRUE(real.value(u"G_MOUSE_X", frame).has_value());
#else
  for (std::u16string_view call : {u"KINDOFOS()", u"SENSOR(1)", u"POFF(P_REBOOT)", u"SOUND(\"x.wav\")"}) {
    const auto e = testing::errorOf([&] { host.run(call); });
    EXPECT_EQ(u8(e.english), u8(call.substr(0, call.find(u'('))) + " needs Windows");
    EXPECT_TRUE(e.catchable);
  }
  for (std::u16string_view name : {u"GET_WIN_DIR", u"GET_SYS_DIR", u"G_SCREEN_W", u"G_MOUSE_X"})
    EXPECT_EQ(u8(testing::errorOf([&] { real.value(name, frame); }).english), u8(name) + " needs Windows");
#endif
  EXPECT_FALSE(real.value(u"GET_APPDATA_DIR", frame)->toText().empty());
}

}  // namespace
}  // namespace maqo::builtins
