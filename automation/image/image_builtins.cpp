// CHKIMG, PEEKCOLOR and SAVEIMG.
#include "automation/image/image_builtins.h"

#include <algorithm>
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/image/bmp_codec.h"
#include "automation/image/capture_area.h"
#include "automation/image/image_messages.h"
#include "automation/image/image_search.h"
#include "automation/image/image_session.h"
#include "automation/image/jpeg_writer.h"
#include "automation/image/template_cache.h"
#include "automation/input/input_builtins.h"
#include "automation/origin_settings.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation {

using engine::ScriptValue;
using platform::PixelBuffer;
using platform::WindowHandle;
using platform::WindowRect;

namespace {

constexpr int kTemplateRowLimit = 1081;
constexpr uint32_t kToleranceLimit = 0xFFFFFE;


// The call's context and screen capture; the "needs Windows" error where there is no screen.
struct ImageCall {
  AutomationContext automation;
  platform::ScreenCapture& capture;
};
ImageCall imageCall(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  platform::ScreenCapture& capture = currentScreenCapture();
  if (!capture.available()) throw builtins::messages::needsWindows(call.entry.name);
  return {context, capture};
}

// The clipboard's bitmap, asked up to 251 times 3 ms apart (another program
// may hold the clipboard open for a moment).
std::optional<PixelBuffer> clipboardPicture(ImageCall& c) {
  for (int attempt = 0; attempt < 251; ++attempt) {
    if (auto picture = c.capture.clipboardBitmap()) return picture;
    if (c.automation.stopRequested()) break;
    c.automation.platform.clock.sleepMs(3);
  }
  return std::nullopt;
}

// The caller's MOUSEORG origin window, 0 when none is set.
WindowHandle originWindow(ImageCall& c, const OriginSettings& origin) {
  if (origin.window == 0) return 0;
  return c.automation.session.ids.resolveWindow(origin.window, c.automation.desktop);
}

std::u16string upperExtension(std::u16string_view name) {
  const size_t dot = ExtensionDot(name);
  return dot == std::u16string_view::npos ? std::u16string() : AsciiUpper(name.substr(dot));
}

}  // namespace

ScriptValue Chkimg(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  const int64_t toleranceArg = call.integer(7);
  if (toleranceArg < 0 || toleranceArg > kToleranceLimit) throw image_messages::toleranceWrong();
  ImageCall c = imageCall(call, host);
  AutomationContext& a = c.automation;
  a.platform.clock.sleepMs(4);
  messagePause(a, 10);

  int wanted = static_cast<int>(std::clamp<int64_t>(call.integer(6), INT32_MIN, INT32_MAX));
  if (call.text(6).empty() || wanted == 0) wanted = 1;
  const bool findAll = wanted < 0;
  ScriptValue result = findAll ? ScriptValue::int32(0) : ScriptValue::builtinBool(false);
  engine::THensuFmt& frame = host.frame();
  frame.imageX = frame.imageY = kFailedCoordinate;
  host.globals().ResultArray(frame, u"ALL_IMG_X");
  host.globals().ResultArray(frame, u"ALL_IMG_Y");

  // The area, in screen coordinates, and where results are measured from.
  const OriginSettings origin = a.memory().origin;
  const WindowHandle originHandle = originWindow(c, origin);
  int x1, y1, x2, y2;
  CaptureRequest request;
  if (origin.window == 0) {
    const WindowRect desk = c.capture.virtualDesktop();
    x1 = optionalInt(call, 2).value_or(desk.left);
    y1 = optionalInt(call, 3).value_or(desk.top);
    x2 = optionalInt(call, 4).value_or(desk.right - 1);
    y2 = optionalInt(call, 5).value_or(desk.bottom - 1);
    if (x2 < x1) x2 = desk.right - 1;
    if (y2 < y1) y2 = desk.bottom - 1;
    request.x = x1, request.y = y1;
  } else {
    platform::Desktop& d = a.desktop;
    if (originHandle == 0 || !d.isWindow(originHandle) || d.isIconic(originHandle)) return result;
    const bool client = origin.mode >= kOriginClient;
    const std::optional<WindowRect> ref = ReferenceRect(d, originHandle, client);
    if (!ref || ref->width() <= 0 || ref->height() <= 0) return result;
    const int width = ref->width(), height = ref->height();
    x1 = std::max(optionalInt(call, 2).value_or(0), 0), y1 = std::max(optionalInt(call, 3).value_or(0), 0);
    x2 = std::max(optionalInt(call, 4).value_or(0), 0), y2 = std::max(optionalInt(call, 5).value_or(0), 0);
    if (x1 == 0 && x2 == 0) x2 = width - 1;
    if (y1 == 0 && y2 == 0) y2 = height - 1;
    if (x2 < x1) x2 = width - 1;
    if (y2 < y1) y2 = height - 1;
    x1 = std::min(x1, width - 1), x2 = std::min(x2, width - 1);
    y1 = std::min(y1, height - 1), y2 = std::min(y2, height - 1);
    request.window = originHandle;
    request.client = client;
    request.x = x1, request.y = y1;
    request.captureMode = origin.captureMode;
    if (request.captureMode == kCaptureAuto && call.integer(8) == 1) request.captureMode = kCaptureFore;
  }
  request.width = x2 - x1 + 1;
  request.height = y2 - y1 + 1;

  // The template.
  std::shared_ptr<const PixelBuffer> pattern;
  const std::u16string name = call.text(0);
  if (name.empty()) {
    std::optional<PixelBuffer> clip = clipboardPicture(c);
    if (!clip) return result;
    pattern = std::make_shared<const PixelBuffer>(std::move(*clip));
  } else {
    const std::u16string file = TemplateFileName(name);
    const TemplateLoad loaded = host.familyState().get<TemplateCache>().load(a.platform.files, file);
    if (loaded.status == TemplateStatus::NotFound) {
      if (host.onMainThread()) ReleaseInputLock(a.platform);
      host.confirmAbort(image_messages::notFound(file));
      return result;
    }
    if (loaded.status == TemplateStatus::NotBmp) throw image_messages::notBmp(file);
    pattern = loaded.picture;
  }
  if (pattern->height > kTemplateRowLimit) {
    host.confirmAbort(image_messages::templateTooLarge());
    return result;
  }

  const std::optional<PixelBuffer> screen = CaptureArea(a, c.capture, request);
  if (!screen) return result;
  if (pattern->width > screen->width || pattern->height > screen->height) return result;
  const int mode = call.integer(1) >= -1 && call.integer(1) <= 4 ? static_cast<int>(call.integer(1)) : 0;
  if (mode == -1 && pattern->width == 1 && pattern->height == 1) {
    frame.imageX = frame.imageY = 0;
    return findAll ? ScriptValue::int32(1) : ScriptValue::builtinBool(true);
  }

  const ImageSearchResult found =
      SearchImage(*screen, *pattern, {mode, static_cast<uint32_t>(toleranceArg), findAll ? 0 : wanted});
  if (found.hitListFull) {
    host.confirmAbort(findAll ? image_messages::hitLimit(kMaxImageHits)
                              : image_messages::searchFailed(u"the hit list is full"));
    return result;
  }
  if (found.hits.empty()) return result;
  // Positions in the captured area to script coordinates: plus the area's
  // top-left, which with an origin window is already relative to it.
  auto toScript = [&](std::pair<int, int> hit) { return std::pair{hit.first + x1, hit.second + y1}; };
  const auto [lastX, lastY] = toScript(found.hits.back());
  frame.imageX = lastX, frame.imageY = lastY;
  if (findAll) {
    for (const auto& hit : found.hits) {
      const auto [x, y] = toScript(hit);
      host.globals().ResultArray(frame, u"ALL_IMG_X", ScriptValue::int32(x));
      host.globals().ResultArray(frame, u"ALL_IMG_Y", ScriptValue::int32(y));
    }
    return ScriptValue::int32(static_cast<int32_t>(found.hits.size()));
  }
  return ScriptValue::builtinBool(found.hits.size() >= static_cast<size_t>(wanted));
}

ScriptValue Peekcolor(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  ImageCall c = imageCall(call, host);
  AutomationContext& a = c.automation;
  const int x = ClampedInt(call.number(0)), y = ClampedInt(call.number(1));
  const int form = ClampedInt(call.number(2));
  std::optional<uint32_t> rgb;
  if (call.integer(3) == 1) {
    // The point must lie inside the clipboard's bitmap, whatever the desktop's size.
    const std::optional<PixelBuffer> clip = clipboardPicture(c);
    if (!clip || x < 0 || y < 0 || x >= clip->width || y >= clip->height) return ScriptValue::int32(-1);
    rgb = clip->at(x, y);
  } else {
    const WindowRect desk = c.capture.virtualDesktop();
    if (x < desk.left || y < desk.top || x >= desk.right || y >= desk.bottom) return ScriptValue::int32(-1);
    const OriginSettings origin = a.memory().origin;
    CaptureRequest request;
    request.window = originWindow(c, origin);
    request.client = origin.mode >= kOriginClient;
    request.captureMode = origin.captureMode;
    request.x = x, request.y = y, request.width = 1, request.height = 1;
    if (origin.window != 0 && request.window == 0) return ScriptValue::int32(-1);
    for (int attempt = 0; attempt < 2 && !rgb; ++attempt) {
      if (attempt > 0) {
        a.platform.clock.sleepMs(200);
        messagePause(a, 80);
      }
      if (auto picture = CaptureArea(a, c.capture, request); picture && !picture->empty()) rgb = picture->at(0, 0);
    }
    if (!rgb) return ScriptValue::int32(-1);
  }
  const int32_t r = static_cast<int32_t>((*rgb >> 16) & 0xFF), g = static_cast<int32_t>((*rgb >> 8) & 0xFF),
                b = static_cast<int32_t>(*rgb & 0xFF);
  switch (form) {
    case 3: return ScriptValue::int32(r << 16 | g << 8 | b);  // COL_RGB
    case 4: return ScriptValue::int32(r);                     // COL_R
    case 5: return ScriptValue::int32(g);                     // COL_G
    case 6: return ScriptValue::int32(b);                     // COL_B
    default: return ScriptValue::int32(b << 16 | g << 8 | r);  // the Windows colour value 0x00BBGGRR
  }
}

ScriptValue Saveimg(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  ImageCall c = imageCall(call, host);
  AutomationContext& a = c.automation;
  const int64_t id = call.integer(1);
  const int quality = ClampedInt(call.number(7));
  const bool jpeg = quality >= 1 && quality <= 100;
  if (jpeg && !JpegAvailable()) throw image_messages::jpegUnavailable();

  CaptureRequest request;
  const WindowRect desk = c.capture.virtualDesktop();
  request.x = optionalInt(call, 2).value_or(id == 0 ? desk.left : 0);
  request.y = optionalInt(call, 3).value_or(id == 0 ? desk.top : 0);
  request.width = optionalInt(call, 4);
  request.height = optionalInt(call, 5);
  if (request.width && *request.width <= 0) request.width.reset();
  if (request.height && *request.height <= 0) request.height.reset();
  const int clientFlag = ClampedInt(call.number(6));
  request.client = clientFlag == 1 || clientFlag == 3;
  request.captureMode = ClampedInt(call.number(8));
  messagePause(a, 2);
  if (id != 0) {
    request.window = a.session.ids.handleOf(id, true, a.desktop);
    if (request.window == 0) return ScriptValue::empty();
  }
  std::optional<PixelBuffer> picture = CaptureArea(a, c.capture, request);
  if (!picture) return ScriptValue::empty();
  // A window asked to paint itself may draw late the first time: keep a second take.
  if (request.window != 0 && request.captureMode != kCaptureFore)
    if (auto again = CaptureArea(a, c.capture, request)) picture = std::move(again);

  std::u16string name = call.text(0);
  while (!name.empty() && name.back() == u'.') name.pop_back();
  if (name.empty() && !call.text(0).empty()) return ScriptValue::empty();
  if (call.text(0).empty()) {
    for (int attempt = 0; attempt < 252; ++attempt) {
      if (c.capture.setClipboardBitmap(*picture)) return ScriptValue::empty();
      if (a.stopRequested()) return ScriptValue::empty();
      a.platform.clock.sleepMs(3);
      messagePause(a, 2);
    }
    host.confirmAbort(image_messages::saveFailed(name));
    return ScriptValue::empty();
  }

  const std::u16string extension = upperExtension(name);
  std::string bytes;
  if (jpeg) {
    if (extension != u".JPG" && extension != u".JPE" && extension != u".JPEG") name += u".jpg";
    std::optional<std::string> encoded = WriteJpeg(*picture, quality);
    if (!encoded) {
      host.confirmAbort(image_messages::saveFailed(name));
      return ScriptValue::empty();
    }
    bytes = std::move(*encoded);
  } else {
    if (extension != u".BMP") name += u".bmp";
    const int depth = quality == -32 || quality == -24 || quality == -16 || quality == -8 || quality == -4 || quality == -1
                          ? -quality
                          : 24;
    bytes = WriteBmp(*picture, depth);
  }
  for (int attempt = 0; attempt < 18; ++attempt) {
    if (a.platform.files.writeAllReplacing(name, bytes).empty()) return ScriptValue::empty();
    if (a.stopRequested()) break;
    a.platform.clock.sleepMs(100);
    messagePause(a, 2);
  }
  host.confirmAbort(image_messages::saveFailed(name));
  return ScriptValue::empty();
}

std::span<const builtins::NamedBuiltin> ImageBuiltins() {
  static const builtins::NamedBuiltin table[] = {
      {u"CHKIMG", &Chkimg}, {u"PEEKCOLOR", &Peekcolor}, {u"SAVEIMG", &Saveimg}};
  return table;
}

void RegisterImageBuiltins(engine::BuiltinLibrary& library) {
  for (const builtins::NamedBuiltin& b : ImageBuiltins()) library.implement(b.name, b.function);
  // Templates are kept for one run only; a new run reads the files afresh.
  library.addRunHooks(nullptr, [](engine::RunHookContext& run) {
    if (TemplateCache* cache = run.state.find<TemplateCache>()) cache->clear();
  });
}

}  // namespace maqo::automation
