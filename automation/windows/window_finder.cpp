#include "automation/windows/window_finder.h"

#include <algorithm>
#include <array>
#include <utility>

namespace maqo::automation {

using platform::WindowHandle;

std::u16string TrimControl(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return std::u16string(text.substr(begin, end - begin));
}

std::u16string AsciiUpper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

std::u16string ReadTitle(AutomationContext& context, WindowHandle h) {
  if (const std::u16string* name = context.session.ownName(h)) return *name;
  if (!context.mainThread) {
    // A script thread must not send a message to the user-interface thread's windows.
    if (context.session.isOwnWindow(h)) return {};
    if (!context.desktop.isWindow(h)) return {};
  }
  return context.desktop.title(h);
}

namespace {

bool isIgnoredClass(const std::u16string& cls) {
  return cls == u"IME" || cls == u"CSPTHREADTASK WINDOW" || cls == u"CSPNOTIFY NOTIFY WINDOW";
}

bool isHiddenHelperPair(const std::u16string& title, const std::u16string& cls) {
  static const std::array<std::pair<std::u16string_view, std::u16string_view>, 7> pairs{{
      {u"SYSFADER", u"SYSFADER"},
      {u"DDE SERVER WINDOW", u"OLEDDEWNDCLASS"},
      {u"MCI COMMAND HANDLING WINDOW", u"#43"},
      {u"", u"WORKERW"},
      {u"", u"RUNDLL"},
      {u"", u"AUTO-SUGGEST DROPDOWN"},
      {u"GDI+ WINDOW", u"GDI+ HOOK WINDOW CLASS"},
  }};
  return std::any_of(pairs.begin(), pairs.end(), [&](const auto& p) { return p.first == title && p.second == cls; });
}

// True when the window belongs in the list (title and class are its normalised forms).
bool admit(AutomationContext& context, WindowHandle h, const std::u16string& title, const std::u16string& cls) {
  platform::Desktop& d = context.desktop;
  if (isIgnoredClass(cls)) return false;
  const bool visible = d.isVisible(h);
  if (title.empty()) {
    if (!visible && d.parent(h) != 0) return false;
    if (cls == u"SYSSHADOW" || cls == u"MS_WINNOTE") return false;
    const auto rect = d.windowRect(h);
    if (!rect || rect->width() == 0 || rect->height() == 0) return false;
  }
  if (!visible) {
    if (!d.isEnabled(h)) return false;
    if (d.owner(h) != 0 && !d.hasChild(h)) return false;
    if (isHiddenHelperPair(title, cls)) return false;
    if (title == u"MSP PNP NOTIFICATION WINDOW") return false;
  }
  return cls != u"THINTWINDOW" && cls != u"TOOLTIPS_CLASS32";
}

}  // namespace

TenumParm EnumerateWindows(AutomationContext& context, WindowHandle parent) {
  TenumParm list;
  const std::vector<WindowHandle> all =
      parent == 0 ? context.desktop.topLevelWindows() : context.desktop.descendants(parent);
  for (WindowHandle h : all) {
    if (context.stopRequested()) break;
    if (context.session.isOwnWindow(h)) continue;
    std::u16string cls = AsciiUpper(TrimControl(context.desktop.className(h)));
    if (isIgnoredClass(cls)) continue;
    std::u16string title = AsciiUpper(TrimControl(ReadTitle(context, h)));
    if (!admit(context, h, title, cls)) continue;
    list.handles.push_back(h);
    list.titles.push_back(std::move(title));
    list.classes.push_back(std::move(cls));
  }
  return list;
}

bool TitleEqual(platform::Desktop& desktop, const std::u16string& window, const std::u16string& searched) {
  if (window == searched) return true;
  return desktop.halfWidth(window) == desktop.halfWidth(searched);
}

bool TitlePartial(platform::Desktop& desktop, const std::u16string& window, const std::u16string& searched) {
  if (searched.empty()) return false;
  if (window.find(searched) != std::u16string::npos) return true;
  return desktop.halfWidth(window).find(desktop.halfWidth(searched)) != std::u16string::npos;
}

namespace {

bool ofClass(const std::u16string& windowClass, const std::u16string& searched) {
  return searched.empty() || windowClass.starts_with(searched);
}

WindowHandle findByProcess(AutomationContext& context, const TenumParm& list, uint32_t processId) {
  platform::Desktop& d = context.desktop;
  auto nonEmpty = [&](WindowHandle h) {
    const auto r = d.windowRect(h);
    return r && r->width() > 0 && r->height() > 0;
  };
  WindowHandle sized = 0, any = 0;
  for (WindowHandle h : list.handles) {
    if (d.processId(h) != processId) continue;
    if (any == 0) any = h;
    if (!nonEmpty(h)) continue;
    if (d.isVisible(h)) return h;
    if (sized == 0) sized = h;
  }
  return sized != 0 ? sized : any;
}

enum class Scope { Foreground, Visible, All };

}  // namespace

WindowHandle FindTopLevel(AutomationContext& context, const std::u16string& title, const std::u16string& className,
                          uint32_t processId) {
  const TenumParm list = EnumerateWindows(context, 0);
  if (processId != 0) return findByProcess(context, list, processId);
  platform::Desktop& d = context.desktop;

  auto search = [&](Scope scope, bool partial) -> WindowHandle {
    for (size_t k = 0; k < list.size(); ++k) {
      const WindowHandle h = list.handles[k];
      if (!ofClass(list.classes[k], className)) continue;
      if (scope == Scope::Foreground && (h != d.foreground() || !d.isVisible(h))) continue;
      if (scope == Scope::Visible && !d.isVisible(h)) continue;
      if (partial ? TitlePartial(d, list.titles[k], title) : TitleEqual(d, list.titles[k], title)) return h;
    }
    return 0;
  };
  static constexpr std::array<std::pair<Scope, bool>, 6> tiers{{{Scope::Foreground, false},
                                                                {Scope::Visible, false},
                                                                {Scope::Foreground, true},
                                                                {Scope::Visible, true},
                                                                {Scope::All, false},
                                                                {Scope::All, true}}};
  for (const auto& [scope, partial] : tiers)
    if (WindowHandle h = search(scope, partial)) return h;
  if (className.empty()) return 0;
  if (title == kNoTitle) {
    for (size_t k = 0; k < list.size(); ++k)
      if (ofClass(list.classes[k], className) && list.titles[k].empty()) return list.handles[k];
  } else if (title.empty()) {
    for (size_t k = 0; k < list.size(); ++k)
      if (ofClass(list.classes[k], className)) return list.handles[k];
  }
  return 0;
}

WindowHandle FindChild(AutomationContext& context, WindowHandle parent, const std::u16string& text) {
  const TenumParm list = EnumerateWindows(context, parent);
  const std::u16string searched = AsciiUpper(text);
  platform::Desktop& d = context.desktop;
  static constexpr std::array<std::pair<Scope, bool>, 6> tiers{{{Scope::Foreground, false},
                                                                {Scope::Visible, false},
                                                                {Scope::All, false},
                                                                {Scope::Foreground, true},
                                                                {Scope::Visible, true},
                                                                {Scope::All, true}}};
  for (const auto& [scope, partial] : tiers) {
    for (size_t k = 0; k < list.size(); ++k) {
      const WindowHandle h = list.handles[k];
      if (scope == Scope::Foreground && (h != d.foreground() || !d.isVisible(h))) continue;
      if (scope == Scope::Visible && !d.isVisible(h)) continue;
      if (partial ? TitlePartial(d, list.titles[k], searched) : TitleEqual(d, list.titles[k], searched)) return h;
    }
  }
  return 0;
}

WindowHandle ClimbToTopLevel(AutomationContext& context, WindowHandle h, bool stopAtMdiChild) {
  platform::Desktop& d = context.desktop;
  for (int step = 0; step < 100 && h != 0; ++step) {
    if (stopAtMdiChild && d.isMdiChild(h)) break;
    if (context.session.inVisibleCache(h, context.now())) break;
    const WindowHandle up = d.parent(h);
    if (up == 0) break;
    const auto rect = d.windowRect(up);
    if (!rect || (rect->width() <= 0 || rect->height() <= 0)) break;
    h = up;
  }
  return h;
}

}  // namespace maqo::automation
