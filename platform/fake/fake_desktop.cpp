#include "platform/fake/fake_desktop.h"

#include <stdexcept>

namespace maqo::platform {

WindowHandle FakeDesktop::add(FakeWindow window) {
  if (window.handle == 0) window.handle = next_ += 0x10;
  windows_.push_back(std::move(window));
  return windows_.back().handle;
}

FakeWindow* FakeDesktop::find(WindowHandle h) {
  for (FakeWindow& w : windows_)
    if (w.handle == h && w.exists) return &w;
  return nullptr;
}

FakeWindow& FakeDesktop::window(WindowHandle h) {
  for (FakeWindow& w : windows_)
    if (w.handle == h) return w;
  throw std::out_of_range("no such fake window");
}

std::vector<WindowHandle> FakeDesktop::topLevelWindows() {
  ++enumerations;
  std::vector<WindowHandle> out;
  for (const FakeWindow& w : windows_)
    if (w.exists && w.parent == 0) out.push_back(w.handle);
  return out;
}

std::vector<WindowHandle> FakeDesktop::descendants(WindowHandle parent) {
  std::vector<WindowHandle> out;
  for (const FakeWindow& w : windows_) {
    if (!w.exists || w.parent != parent) continue;
    out.push_back(w.handle);
    for (WindowHandle below : descendants(w.handle)) out.push_back(below);
  }
  return out;
}

bool FakeDesktop::isVisible(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w && w->visible;
}
bool FakeDesktop::isEnabled(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w && w->enabled;
}
bool FakeDesktop::isIconic(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w && w->iconic;
}
bool FakeDesktop::isZoomed(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w && w->zoomed;
}
std::u16string FakeDesktop::title(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w ? w->title.substr(0, 300) : std::u16string();
}
std::u16string FakeDesktop::className(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w ? w->className.substr(0, 300) : std::u16string();
}
WindowHandle FakeDesktop::parent(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w ? w->parent : 0;
}
WindowHandle FakeDesktop::owner(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w ? w->owner : 0;
}
bool FakeDesktop::hasChild(WindowHandle h) {
  for (const FakeWindow& w : windows_)
    if (w.exists && w.parent == h) return true;
  return false;
}
std::optional<WindowRect> FakeDesktop::windowRect(WindowHandle h) {
  const FakeWindow* w = find(h);
  if (!w) return std::nullopt;
  return w->rect;
}
std::optional<WindowRect> FakeDesktop::clientRect(WindowHandle h) {
  const FakeWindow* w = find(h);
  if (!w) return std::nullopt;
  // A 4-pixel frame and a 20-pixel caption.
  return WindowRect{0, 0, w->rect.width() - 8, w->rect.height() - 24};
}
std::optional<std::pair<int, int>> FakeDesktop::clientOrigin(WindowHandle h) {
  const FakeWindow* w = find(h);
  if (!w) return std::nullopt;
  return std::pair{w->rect.left + 4, w->rect.top + 20};
}
bool FakeDesktop::isMdiChild(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w && w->mdiChild;
}
uint32_t FakeDesktop::processId(WindowHandle h) {
  const FakeWindow* w = find(h);
  return w ? w->processId : 0;
}
bool FakeDesktop::respondsWithin(WindowHandle h, int) {
  const FakeWindow* w = find(h);
  return w && !w->busy;
}

std::u16string FakeDesktop::halfWidth(const std::u16string& text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= 0xFF01 && c <= 0xFF5E)
      c = static_cast<char16_t>(c - 0xFF01 + 0x21);
    else if (c == 0x3000)
      c = u' ';
  }
  return out;
}

void FakeDesktop::show(WindowHandle h, ShowCommand command) {
  shows.emplace_back(h, command);
  FakeWindow* w = find(h);
  if (!w) return;
  switch (command) {
    case ShowCommand::Hide: w->visible = false; break;
    case ShowCommand::Show: w->visible = true; break;
    case ShowCommand::Minimize: w->visible = true; w->iconic = true; w->zoomed = false; break;
    case ShowCommand::ShowMaximized: w->visible = true; w->zoomed = true; w->iconic = false; break;
    case ShowCommand::ShowNormal: w->visible = true; w->zoomed = false; w->iconic = false; break;
  }
}

void FakeDesktop::setPosition(WindowHandle h, ZPlacement z, int x, int y, int width, int height, PositionFlags flags) {
  moves.push_back({h, z, x, y, width, height, flags});
  FakeWindow* w = find(h);
  if (!w) return;
  if (!flags.noMove) {
    const int wd = w->rect.width(), ht = w->rect.height();
    w->rect = {x, y, x + wd, y + ht};
  }
  if (!flags.noSize) {
    w->rect.right = w->rect.left + width;
    w->rect.bottom = w->rect.top + height;
  }
}

bool FakeDesktop::postMessage(WindowHandle h, uint32_t message, uint32_t wParam, uint32_t lParam) {
  if (!find(h)) return false;
  posts.push_back({h, message, wParam, lParam});
  return true;
}

void FakeDesktop::bringForward(WindowHandle h) {
  broughtForward.push_back(h);
  if (foregroundFollows && find(h)) foregroundWindow = h;
}

void FakeDesktop::setForegroundLockTimeout(uint32_t ms) {
  lockTimeouts.push_back(ms);
  lockTimeout = ms;
}

std::optional<int> FakeDesktop::monitorOf(WindowHandle h) {
  auto it = monitorIndex.find(h);
  if (it == monitorIndex.end()) return std::nullopt;
  return it->second;
}

namespace {

class FakeProcess final : public StartedProcess {
 public:
  explicit FakeProcess(FakeProgram program) : program_(std::move(program)) {}
  uint32_t processId() override { return program_.processId; }
  IdleWait waitForInputIdle(int) override { return program_.consoleProgram ? IdleWait::Failed : IdleWait::Idle; }
  bool waitForExit(int) override {
    if (program_.runPolls < 0) return false;
    if (program_.runPolls == 0) return true;
    --program_.runPolls;
    return false;
  }
  std::optional<uint32_t> exitCode() override { return program_.exitCode; }

 private:
  FakeProgram program_;
};

}  // namespace

std::unique_ptr<StartedProcess> FakeDesktop::startProcess(const ProcessStart& start) {
  starts.push_back(start);
  auto it = programs.find(start.commandLine);
  if (it == programs.end()) return nullptr;
  for (FakeWindow w : it->second.windows) {
    w.processId = it->second.processId;
    add(std::move(w));
  }
  return std::make_unique<FakeProcess>(it->second);
}

ProcessBitness FakeDesktop::processBitness(uint32_t processId) {
  auto it = bitness.find(processId);
  return it == bitness.end() ? ProcessBitness::Unknown : it->second;
}

std::u16string FakeDesktop::processPath(uint32_t processId) {
  auto it = paths.find(processId);
  return it == paths.end() ? std::u16string() : it->second;
}

}  // namespace maqo::platform
