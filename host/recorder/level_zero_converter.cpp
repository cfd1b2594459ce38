#include "host/recorder/level_zero_converter.h"

#include "host/recorder/key_names.h"
#include "host/recorder/script_line.h"

namespace maqo::host::recorder {
namespace {

struct ButtonMessage {
  int message;
  int button;  // 0 left, 1 right, 2 middle
  const char16_t* name;
  bool down;
};

constexpr ButtonMessage kButtonMessages[] = {
    {513, 0, u"LEFT", true},    {514, 0, u"LEFT", false},   {516, 1, u"RIGHT", true},
    {517, 1, u"RIGHT", false},  {519, 2, u"MIDDLE", true},  {520, 2, u"MIDDLE", false},
};

constexpr int kMouseMove = 512;
constexpr std::uint32_t kStartQuietMs = 100;

}  // namespace

LevelZeroConverter::LevelZeroConverter(WindowInformation& windows, RecorderOwnWindows own, bool relativePositions)
    : windows_(windows), own_(std::move(own)), relative_(relativePositions), previousEventTime_(windows.tickCount()) {}

void LevelZeroConverter::convert(const EventRecord& record, std::vector<std::u16string>& lines) {
  if (record.kind != RecordKind::Key && record.kind != RecordKind::Mouse) return;
  std::u16string line;
  bool down = false;
  bool mouse = false;
  ScreenPoint point{record.x, record.y};
  if (record.kind == RecordKind::Key) {
    const int key = record.virtualKey;
    const bool tracked = key >= 0 && key < static_cast<int>(keyDown_.size());
    line = u"KBD(" + KeyName(key);
    if (IsKeyDownMessage(record.message)) {
      line += u",DOWN";
      if (tracked) keyDown_[key] = true;
      down = true;
    } else {
      line += tracked && keyDown_[key] ? u",UP" : u",CLICK";
      if (tracked) keyDown_[key] = false;
    }
    point = windows_.cursorPosition();
  } else if (record.message == kMouseMove) {
    line = u"MMV(";
    mouse = true;
  } else {
    for (const ButtonMessage& button : kButtonMessages) {
      if (button.message != record.message) continue;
      line = std::u16string(u"BTN(") + button.name;
      if (button.down) {
        line += u",DOWN,";
        buttonDown_[button.button] = true;
        down = true;
      } else {
        line += buttonDown_[button.button] ? u",UP," : u",CLICK,";
        buttonDown_[button.button] = false;
      }
      mouse = true;
      // Clicks on the stop form stop the recording; they are not part of it.
      if (const auto stopForm = own_.stopForm ? windows_.facts(own_.stopForm) : std::nullopt)
        if (stopForm->rect.contains(record.x, record.y)) line.clear();
      break;
    }
  }
  if (down) wentDown_ = true;

  const std::uint32_t now = windows_.tickCount();
  if (!started_) {
    const auto mainWindow = own_.main ? windows_.facts(own_.main) : std::nullopt;
    const bool insideMain = mainWindow && mainWindow->rect.contains(point.x, point.y);
    const bool quietLongEnough = now - previousEventTime_ > kStartQuietMs;
    previousEventTime_ = now;
    if (insideMain || !(down || quietLongEnough)) return;
    started_ = true;
  }
  previousEventTime_ = now;

  if (down) addWindowLineIfMoved(lines);
  if (!line.empty()) {
    if (mouse) line += mousePosition(record.x, record.y, lines);
    line += u"," + record.duration + u")";
    lines.push_back(std::move(line));
  }
  if (!down) addWindowLineIfMoved(lines);
}

std::u16string LevelZeroConverter::mousePosition(int x, int y, std::vector<std::u16string>& lines) {
  if (relative_ && mouseOrigin_) {
    if (const auto origin = windows_.facts(*mouseOrigin_)) mouseOriginRect_ = origin->rect;
    if (mouseOriginRect_) {
      x -= mouseOriginRect_->left;
      y -= mouseOriginRect_->top;
    } else {
      lines.push_back(u"MOUSEORG(0)");
      mouseOrigin_.reset();
    }
  }
  return FormatNumber(x) + u"," + FormatNumber(y);
}

void LevelZeroConverter::addWindowLineIfMoved(std::vector<std::u16string>& lines) {
  const WindowHandle window = windows_.foregroundWindow();
  const auto facts = windows_.facts(window);
  const auto title = UsableWindowTitle(window, facts, own_);
  if (!title) return;
  if (lastWindow_ == window && facts->rect.left == lastWindowRect_.left && facts->rect.top == lastWindowRect_.top)
    return;
  addWindowLine(window, *facts, *title, lines);
}

void LevelZeroConverter::addWindowLine(WindowHandle window, const WindowFacts& facts, const std::u16string& title,
                                       std::vector<std::u16string>& lines) {
  const ScreenRect& rect = facts.rect;
  const bool sameWindow = lastWindow_ == window;
  int width = rect.width(), height = rect.height();
  if (sameWindow && width == lastWindowRect_.width() && height == lastWindowRect_.height()) width = height = 0;
  const bool byIdentity = !sameWindow || (wentDown_ && width != 0);
  const std::u16string place = u"," + FormatNumber(rect.left) + u"," + FormatNumber(rect.top) + u"," +
                               FormatNumber(width) + u"," + FormatNumber(height) + u",0)";
  if (byIdentity) {
    const std::u16string id = GetIdCall(title, facts.className);
    lines.push_back(u"ACW(" + id + place);
    if (relative_) {
      lines.push_back(u"MOUSEORG(" + id + u")");
      mouseOrigin_ = window;
      mouseOriginRect_ = rect;
    }
  } else {
    lines.push_back(u"ACW(0" + place);
  }
  lastWindow_ = window;
  lastWindowRect_ = rect;
  wentDown_ = false;
}

}  // namespace maqo::host::recorder
