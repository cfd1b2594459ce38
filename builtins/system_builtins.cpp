#include "builtins/system_builtins.h"

#include <cmath>

#include "builtins/builtin_messages.h"
#include "builtins/builtin_state.h"
#include "builtins/constants.h"
#include "builtins/time_builtins.h"
#include "engine/eval/text_helpers.h"
#include "platform/special_folders.h"
#include "platform/system_services.h"
#include "platform/text_codec.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

ScriptValue emptyText() { return ScriptValue::string(u""); }

// POFF's action bits.
constexpr int64_t kForce = 8, kPowerOff = 16, kShutdown = 32, kReboot = 64, kLogOff = 128, kSuspend = 256,
                  kSuspend2 = 512, kMonitorLow = 1024, kMonitorOff = 2048, kMonitorOn = 4096, kScreenSave = 8192,
                  kRestartHost = 16384;
// ExitWindowsEx flags.
constexpr unsigned kEwxLogOff = 0, kEwxShutdown = 1, kEwxReboot = 2, kEwxForce = 4, kEwxPowerOff = 8;
constexpr unsigned kScMonitorPower = 0xF170, kScScreenSave = 0xF140;

}  // namespace

// ---- KINDOFOS ----

int OsCode(const platform::OsVersion& v) {
  const int major = static_cast<int>(v.major), minor = static_cast<int>(v.minor);
  if (major <= 5) return major + 7 + (major == 5 ? minor : 0);
  if (major <= 9) {
    if (major == 6) {
      switch (minor) {
        case 0:
          return v.server ? 21 : 20;
        case 1:
          return v.server ? 21 : 22;
        case 2:
          return v.server ? 24 : 23;
        case 3:
          return 25;
        default:
          break;
      }
    }
    return 10 * major - 40 + minor + 2;
  }
  return 10 * major - 70 + minor;
}

ScriptValue KindOfOsBuiltin(BuiltinCall& call, BuiltinHost& host) {
  platform::SystemInfo& info = host.system().info;
  const std::optional<platform::OsVersion> version = info.osVersion();
  if (!version) throw messages::needsWindows(u"KINDOFOS");
  switch (call.integer(0)) {
    case 1:
      return ScriptValue::builtinBool(info.wow64());
    case 2:
      return ScriptValue::int32(static_cast<int32_t>(version->major));
    case 3:
      return ScriptValue::int32(static_cast<int32_t>(version->minor));
    case 4:
      return ScriptValue::int32(static_cast<int32_t>(version->build));
    case 5:
      return ScriptValue::int32(static_cast<int32_t>(version->platformId));
    default:
      return ScriptValue::int32(OsCode(*version));
  }
}

// ---- CPUUSERATE ----

ScriptValue CpuUseRateBuiltin(BuiltinCall&, BuiltinHost& host) {
  platform::Platform& p = host.platform();
  platform::SystemInfo& info = host.system().info;
  const int rate = StateOf(host).cpu.rate([&] { return info.processorTimes(); },
                                                [&](int ms) { platform::sleepPumping(p, ms, [&] { return host.stopRequested(); }); },
                                                [&] { return p.clock.monotonicMs(); });
  return ScriptValue::int32(rate);
}

// ---- SENSOR ----

ScriptValue SensorBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const int64_t kind = call.integer(0);
  const platform::SensorReading reading =
      host.system().sensors.read(kind < 0 || kind > 1000 ? -1 : static_cast<int>(kind));
  using Kind = platform::SensorReading::Kind;
  switch (reading.kind) {
    case Kind::Unsupported:
      throw messages::needsWindows(u"SENSOR");
    case Kind::None:
      return ScriptValue();
    case Kind::Number:
      return ScriptValue::number(reading.number);
    case Kind::Boolean:
      return ScriptValue::builtinBool(reading.flag);
    case Kind::Unsigned:
      return ScriptValue::integer(engine::VarType::UInt64, static_cast<int64_t>(reading.unsignedValue));
    case Kind::Text:
      return ScriptValue::string(reading.text);
  }
  return ScriptValue();
}

// ---- POFF ----

ScriptValue PoffBuiltin(BuiltinCall& call, BuiltinHost& host) {
  platform::PowerControl& power = host.system().power;
  platform::Platform& p = host.platform();
  int64_t action = call.integer(0);
  const int64_t option = call.integer(1);
  const bool restartOnly = (action & kRestartHost) != 0 &&
                           (action & (kSuspend | kSuspend2 | kMonitorLow | kMonitorOff | kMonitorOn | kScreenSave |
                                      kForce | kPowerOff | kShutdown | kReboot | kLogOff)) == 0;
  if (!restartOnly && !power.available()) throw messages::needsWindows(u"POFF");
  if (power.available()) power.enableShutdownPrivilege();

  if (action & (kSuspend | kSuspend2)) {
    MessagePause(p, 50);
    power.setSuspendState((action & kSuspend) == 0, (action & kForce) != 0);
    for (int i = 0; i < 6; ++i) {
      p.clock.sleepMs(20);
      MessagePause(p, 20);
    }
    return emptyText();
  }
  if (action & kMonitorLow) {
    power.broadcastSysCommand(kScMonitorPower, 1);
    return emptyText();
  }
  if (action & kMonitorOff) {
    power.broadcastSysCommand(kScMonitorPower, 2);
    return emptyText();
  }
  if (action & kMonitorOn) {
    power.broadcastSysCommand(kScMonitorPower, -1);
    power.requireDisplay();
    return emptyText();
  }
  if (action & kScreenSave) {
    power.broadcastSysCommand(kScScreenSave, 0);
    return emptyText();
  }
  if (action & kRestartHost) {
    host.exitRun();
    host.requestRestart(option != 0);
  }
  if (action == 0) action = kPowerOff;
  unsigned flags = 0;
  if (action & kForce) flags |= kEwxForce;
  if (action & kPowerOff) flags |= kEwxShutdown | kEwxPowerOff;
  if (action & kShutdown) flags |= kEwxShutdown;
  if (action & kReboot) flags |= kEwxReboot;
  const bool logOff = (action & kLogOff) != 0;
  if (flags != 0 || logOff) {
    host.exitRun();
    power.exitSession(flags != 0 ? flags : kEwxLogOff);
  }
  return emptyText();
}

// ---- SOUND ----

namespace {

std::u16string joinPath(const std::u16string& folder, std::u16string_view name) {
  std::u16string path = folder;
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  path.append(name);
  return path;
}

// The file a sound name stands for: an existing file; the name with
// "%SYSTEMROOT%" replaced by the Windows folder; the file in the Windows
// folder's MEDIA folder; an event sound of that name (when a table is given).
std::optional<std::u16string> findSoundFile(std::u16string_view upperName, platform::FileSystem& files,
                                            const BuiltinState::SoundTable* table) {
  const std::u16string name(upperName);
  if (files.fileExists(name)) return name;
  const std::u16string windows = platform::specialFolderPath(platform::SpecialFolder::Windows);
  if (!windows.empty()) {
    if (name.find(u"%SYSTEMROOT%") != std::u16string::npos) {
      const std::u16string replaced = engine::ReplaceAll(name, u"%SYSTEMROOT%", windows);
      if (files.fileExists(replaced)) return replaced;
    }
    const std::u16string media = joinPath(joinPath(windows, u"MEDIA"), name);
    if (files.fileExists(media)) return media;
  }
  if (table != nullptr)
    for (const auto& [event, file] : table->entries)
      if (!event.empty() && engine::UpperCase(event) == name) return file;
  return std::nullopt;
}

void loadEventSounds(BuiltinState::SoundTable& table, platform::SoundDevice& device, platform::FileSystem& files) {
  if (table.loaded) return;
  table.loaded = true;
  for (const platform::EventSound& sound : device.eventSounds()) {
    const std::u16string file = engine::UpperCase(engine::TrimView(sound.file));
    if (file.empty()) continue;
    const std::optional<std::u16string> found = findSoundFile(file, files, nullptr);
    if (!found) continue;
    std::u16string name = sound.application == u".DEFAULT" ? sound.event : sound.application + u"\\" + sound.event;
    table.entries.emplace_back(std::move(name), *found);
  }
  // One empty entry keeps an empty table from being scanned again.
  if (table.entries.empty()) table.entries.emplace_back();
}

}  // namespace

ScriptValue SoundBuiltin(BuiltinCall& call, BuiltinHost& host) {
  platform::SoundDevice& device = host.system().sound;
  platform::Platform& p = host.platform();
  std::u16string name = call.text(0);
  if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') name = name.substr(1, name.size() - 2);
  if (engine::UpperCase(name) == u"BEEP") {
    for (int i = 0; i < 2; ++i) {
      if (device.available())
        device.tone(800, 200);
      else
        p.ui.beep();
    }
    return emptyText();
  }
  if (name.empty()) {
    if (device.available()) device.close();
    return emptyText();
  }
  if (!device.available()) throw messages::needsWindows(u"SOUND");

  const std::u16string upperName = engine::UpperCase(engine::TrimView(name));
  std::u16string file;
  {
    BuiltinState::SoundTable& table = StateOf(host).sounds;
    std::lock_guard guard(table.lock);
    loadEventSounds(table, device, p.files);
    file = findSoundFile(upperName, p.files, &table).value_or(upperName);
  }
  const int64_t choice = call.integer(2);
  if (!device.play(file, choice > 0 ? static_cast<int>(choice) : 0)) {
    device.defaultBeep();
    return emptyText();
  }
  if (call.integer(1) != 0) {
    while (!host.stopRequested()) {
      p.clock.sleepMs(40);
      MessagePause(p, 10);
      if (!device.playing()) {
        device.close();
        break;
      }
    }
  }
  return emptyText();
}

// ---- DOSCMD and POWERSHELL ----

std::u16string DosCommandText(std::u16string_view command) {
  std::u16string rest(engine::TrimView(command));
  std::u16string joined;
  size_t from = 0;
  while (from <= rest.size()) {
    size_t end = rest.find(u"\r\n", from);
    if (end == std::u16string::npos) end = rest.size();
    const std::u16string_view line = engine::TrimView(std::u16string_view(rest).substr(from, end - from));
    if (!line.empty()) {
      if (!joined.empty()) joined += u" & ";
      joined.append(line);
    }
    from = end + 2;
  }
  if (!joined.starts_with(u"\"\"") && joined.find(u' ') != std::u16string::npos) joined = u"\"" + joined + u"\"";
  return joined;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = uint8_t(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= uint8_t(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

namespace {

std::u16string withoutNul(std::u16string text) {
  for (char16_t& c : text)
    if (c == 0) c = u' ';
  return text;
}

std::u16string fromUtf16Le(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
  return text;
}

std::string toUtf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

void failedToStart(std::u16string_view builtin, const platform::CommandResult& result) {
  throw engine::ScriptError(messages::cat(builtin, u": the command could not be started: ", result.error),
                            messages::cat(builtin, u": コマンドを開始できません: ", result.error));
}

platform::CommandRequest waitingRequest(BuiltinHost& host) {
  platform::CommandRequest request;
  request.stop = [&host] { return host.stopRequested(); };
  request.pump = [&host] { host.platform().ui.pumpMessages(); };
  return request;
}

constexpr std::u16string_view kUtf8OutputPrefix = u"[Console]::OutputEncoding=[Text.Encoding]::UTF8;";

}  // namespace

ScriptValue DosCmdBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string command = DosCommandText(call.text(0));
  const double wait = call.number(1);
  if (wait < 0 || wait > 4294967295.0)
    throw messages::callFailure(u"DOSCMD: the wait must be 0 to 4294967295", u"DOSCMD: 待ち時間は 0 から 4294967295 です");
  const int64_t show = call.integer(2);
  const int64_t options = call.integer(3);

  platform::CommandRequest request = waitingRequest(host);
  request.windowsCommandLine = ((options & 1) ? u"CMD /U/C " : u"CMD /C ") + command;
  // Other systems run the lines through the POSIX shell, one after another.
  std::u16string shell(engine::TrimView(call.text(0)));
  request.shellCommand = engine::ReplaceAll(shell, u"\r\n", u"\n");
  request.capture = wait == 0 && show == 0;
  request.show = show == 0 ? platform::WindowShow::Hidden : platform::WindowShow::Normal;
  if (wait != 0) request.waitLimitMs = static_cast<int64_t>(wait);

  platform::CommandRunner& runner = host.system().commands;
  const platform::CommandResult result = runner.run(request);
  if (!result.started) failedToStart(u"DOSCMD", result);
  if (!request.capture) return emptyText();
  if (options & 2) return result.finished ? ScriptValue::integer(engine::VarType::Int32, result.exitCode) : emptyText();
  std::u16string text = (options & 1) ? fromUtf16Le(result.output) : runner.decodeConsoleOutput(result.output);
  return ScriptValue::string(withoutNul(std::move(text)));
}

ScriptValue PowerShellBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const bool capture = call.integer(1) == 0 && call.integer(2) == 0;
  const int64_t options = call.integer(3);
  const int64_t show = call.integer(2);
  std::u16string command = call.text(0);
  const bool utf8Prefix = (options & 2) != 0 && capture;
  if (utf8Prefix) command = std::u16string(kUtf8OutputPrefix) + command;
  if ((options & 1) == 0) {
    const std::string encoded = Base64(toUtf16Le(command));
    command = u"-EncodedCommand " + std::u16string(encoded.begin(), encoded.end());
  }

  platform::CommandRequest request = waitingRequest(host);
  request.windowsCommandLine = u"powershell " + command;
  request.shellCommand = u"pwsh " + command;
  request.requiredProgram = u"pwsh";
  request.capture = capture;
  request.captureErrors = false;
  request.show = show == 0 ? platform::WindowShow::Hidden
                           : show == 2 ? platform::WindowShow::Minimized : platform::WindowShow::Normal;
  request.wait = call.integer(1) == 0;

  const platform::CommandResult result = host.system().commands.run(request);
  if (!result.started) failedToStart(u"POWERSHELL", result);
  if (!capture) return emptyText();

  std::u16string text = isUtf8WithMultibyte(result.output) ? utf8ToUtf16(result.output)
                                                            : host.platform().locale.decodeAnsi(result.output);
  text = withoutNul(std::move(text));
  if (utf8Prefix) text = engine::ReplaceAll(text, kUtf8OutputPrefix, u"");
  std::u16string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) lines += u'\r';
    lines += text[i];
  }
  if (!lines.empty() && lines.front() == u'\uFEFF') lines.erase(0, 1);
  return ScriptValue::string(std::move(lines));
}

}  // namespace maqo::builtins
