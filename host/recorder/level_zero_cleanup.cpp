#include "host/recorder/level_zero_cleanup.h"

#include <optional>
#include <set>
#include <utility>

#include "host/recorder/key_names.h"
#include "host/recorder/script_line.h"
#include "platform/text_codec.h"

namespace maqo::host::recorder {
namespace {

using Lines = std::vector<std::u16string>;

constexpr double kClick = 0, kDown = 1, kUp = 2;

bool IsKind(std::u16string_view line, std::u16string_view kind) { return LineKind(line) == kind; }

// A BTN or KBD line read through the constants: its button or key, its state.
struct PressLine {
  std::u16string_view kind;
  double target = 0;
  double state = -1;
  ScriptLine parsed;
};

std::optional<PressLine> ReadPress(std::u16string_view line) {
  const std::u16string_view kind = LineKind(line);
  if (kind != u"BTN" && kind != u"KBD") return std::nullopt;
  PressLine press{kind, 0, -1, ParseScriptLine(line)};
  if (press.parsed.arguments.size() < 2) return std::nullopt;
  const auto target = ArgumentValue(press.parsed.arguments[0]);
  const auto state = ArgumentValue(press.parsed.arguments[1]);
  if (!target || !state) return std::nullopt;
  press.target = *target;
  press.state = *state;
  return press;
}

bool IsInputMethodKey(double key) { return key == 21 || key == 25 || key == 29 || key == 31; }

// Caps the last argument and keeps only the first `kept` arguments before it.
std::u16string TrimAndCap(std::u16string_view line, size_t kept, double cap) {
  ScriptLine parsed = ParseScriptLine(line);
  if (parsed.arguments.empty()) return std::u16string(line);
  std::u16string last = parsed.arguments.back();
  if (const auto value = ParseNumber(last); value && *value > cap) last = FormatNumber(cap);
  if (parsed.arguments.size() > kept + 1) parsed.arguments.resize(kept);
  else parsed.arguments.pop_back();
  parsed.arguments.push_back(std::move(last));
  return FormatScriptLine(parsed);
}

const char16_t* PauseFor(double duration) {
  if (duration > 400) return u"SLEEP(0.4)";
  if (duration > 200) return u"SLEEP(0.2)";
  if (duration > 100) return u"SLEEP(0.1)";
  if (duration > 50) return u"SLEEP(0.05)";
  if (duration > 20) return u"SLEEP(0.02)";
  return nullptr;
}

struct MovePoint {
  double x, y, duration;
};

std::optional<MovePoint> ReadMove(std::u16string_view line) {
  if (!IsKind(line, u"MMV")) return std::nullopt;
  const ScriptLine parsed = ParseScriptLine(line);
  if (parsed.arguments.size() < 3) return std::nullopt;
  const auto x = ParseNumber(parsed.arguments[0]);
  const auto y = ParseNumber(parsed.arguments[1]);
  const auto duration = ParseNumber(parsed.arguments.back());
  if (!x || !y || !duration) return std::nullopt;
  return MovePoint{*x, *y, *duration};
}

}  // namespace

Lines DropUnmatchedPresses(const Lines& lines) {
  // Walk from the end, remembering which keys and buttons are released later.
  std::set<std::pair<bool, double>> releasedLater;  // (is key, target)
  std::vector<bool> keep(lines.size(), true);
  for (size_t i = lines.size(); i-- > 0;) {
    const auto press = ReadPress(lines[i]);
    if (!press) continue;
    const bool key = press->kind == u"KBD";
    if (press->state == kUp) releasedLater.insert({key, press->target});
    else if (press->state == kDown && !(key && IsInputMethodKey(press->target)))
      keep[i] = releasedLater.count({key, press->target}) > 0;
  }
  Lines out;
  out.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (keep[i]) out.push_back(lines[i]);
  return out;
}

Lines PutWindowFirst(const Lines& lines) {
  Lines out = lines;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::u16string_view kind = LineKind(lines[i]);
    if (kind == u"ACW") break;
    if (kind != u"BTN") continue;
    for (size_t j = i + 1; j <= i + 4 && j + 1 < lines.size(); ++j) {
      if (IsKind(lines[j], u"ACW")) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(i), lines[j]);
        break;
      }
    }
    break;
  }
  return out;
}

Lines DropExtraMovements(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (const auto& line : lines)
    if (!IsKind(line, u"MMV")) out.push_back(line);
  while (out.size() >= 2 && BeginsWith(out.back(), u"ACW(")) out.pop_back();
  for (auto& line : out) {
    const std::u16string_view kind = LineKind(line);
    if (kind == u"BTN") line = TrimAndCap(line, 4, 300);
    else if (kind == u"KBD") line = TrimAndCap(line, 2, 40);
    else if (kind == u"ACW") line = TrimAndCap(line, 5, 100);
  }
  return out;
}

Lines DropMoveBetweenButtonAndWindow(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (IsKind(lines[i], u"MMV") && !out.empty() && IsKind(out.back(), u"BTN") && i + 1 < lines.size() &&
        IsKind(lines[i + 1], u"ACW"))
      continue;
    out.push_back(lines[i]);
  }
  return out;
}

Lines MovesToPauses(const Lines& lines, const ScreenRect& desktop) {
  size_t lastMove = lines.size();
  for (size_t i = lines.size(); i-- > 0;)
    if (IsKind(lines[i], u"MMV")) {
      lastMove = i;
      break;
    }
  Lines out;
  out.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto move = i == lastMove ? std::nullopt : ReadMove(lines[i]);
    if (!move) {
      out.push_back(lines[i]);
      continue;
    }
    if (move->duration == 0) continue;
    const bool onDesktop = move->x >= desktop.left && move->x < desktop.right && move->y >= desktop.top &&
                           move->y < desktop.bottom;
    if (!onDesktop) {
      if (const char16_t* pause = PauseFor(move->duration)) out.push_back(pause);
      continue;
    }
    if (move->duration < 20 && i + 1 < lines.size()) {
      const auto next = ReadMove(lines[i + 1]);
      if (next && next->x == move->x && next->y == move->y) continue;
    }
    out.push_back(lines[i]);
  }
  return out;
}

namespace {

// The press line written as a click of the same target.
std::u16string AsClick(const PressLine& down) {
  ScriptLine click = down.parsed;
  click.arguments[1] = u"CLICK";
  return FormatScriptLine(click);
}

// Each DOWN line of `kind` directly followed by the UP line of the same
// target, where pairs(down, up) agrees, becomes one CLICK line.
template <typename PairTest>
Lines MergePressPairs(const Lines& lines, std::u16string_view kind, PairTest pairs) {
  Lines out;
  out.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto down = ReadPress(lines[i]);
    if (down && down->kind == kind && down->state == kDown && i + 1 < lines.size()) {
      const auto up = ReadPress(lines[i + 1]);
      if (up && up->kind == kind && up->state == kUp && up->target == down->target && pairs(*down, *up)) {
        out.push_back(AsClick(*down));
        ++i;
        continue;
      }
    }
    out.push_back(lines[i]);
  }
  return out;
}

}  // namespace

Lines MergeKeyClicks(const Lines& lines) {
  return MergePressPairs(lines, u"KBD", [](const PressLine&, const PressLine&) { return true; });
}

Lines MendLostReleases(const Lines& lines) {
  Lines out = lines;
  // Walk from the end, remembering the state of the next BTN line.
  std::optional<double> nextButtonState;
  for (size_t i = lines.size(); i-- > 0;) {
    if (!IsKind(lines[i], u"BTN")) continue;
    const auto press = ReadPress(lines[i]);
    const std::optional<double> state = press ? std::optional<double>(press->state) : std::nullopt;
    if (state == kDown && nextButtonState == kDown) {
      out[i] = AsClick(*press);
    }
    nextButtonState = state;
  }
  return out;
}

Lines MergeButtonClicks(const Lines& lines) {
  // Pressed and released at one point, and held for less than 500 ms.
  return MergePressPairs(lines, u"BTN", [](const PressLine& down, const PressLine& up) {
    const auto& d = down.parsed.arguments;
    const auto& u = up.parsed.arguments;
    if (d.size() < 5 || u.size() < 5) return false;
    const auto held = ParseNumber(u.back());
    return ParseNumber(d[2]) == ParseNumber(u[2]) && ParseNumber(d[3]) == ParseNumber(u[3]) && held && *held < 500;
  });
}

Lines RepeatWindowAfterDrag(const Lines& lines) {
  Lines out;
  out.reserve(lines.size() + lines.size() / 4);
  for (size_t i = 0; i < lines.size(); ++i) {
    out.push_back(lines[i]);
    if (BeginsWith(lines[i], u"BTN(LEFT,UP,") && i > 0 && BeginsWith(lines[i - 1], u"ACW(0,") &&
        !(i + 1 < lines.size() && BeginsWith(lines[i + 1], u"ACW(0,")))
      out.push_back(lines[i - 1]);
  }
  return out;
}

Lines MendInputMethodKeys(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (const auto& line : lines) {
    const ScriptLine parsed = ParseScriptLine(line);
    const std::u16string first = parsed.arguments.empty() ? u"" : asciiUpper(Trim(parsed.arguments[0]));
    if (first == u"VK_OEM_AUTO") continue;
    if (parsed.kind == u"KBD" && first == u"VK_OEM_ENLW") out.push_back(u"KBD(VK_KANJI,CLICK,20)");
    else out.push_back(line);
  }
  return out;
}

Lines CleanUpLevelZero(Lines lines, const LevelZeroCleanupOptions& options) {
  lines = DropUnmatchedPresses(lines);
  lines = PutWindowFirst(lines);
  if (options.dropExtraMovements) lines = DropExtraMovements(lines);
  lines = DropMoveBetweenButtonAndWindow(lines);
  lines = MovesToPauses(lines, options.virtualDesktop);
  lines = MergeKeyClicks(lines);
  lines = MendLostReleases(lines);
  lines = MergeButtonClicks(lines);
  lines = RepeatWindowAfterDrag(lines);
  lines = MendInputMethodKeys(lines);
  return lines;
}

}  // namespace maqo::host::recorder
