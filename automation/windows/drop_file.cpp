#include "automation/windows/drop_file.h"

#include <atomic>
#include <cmath>

#include "automation/builtin_support.h"
#include "builtins/array_argument.h"
#include "builtins/file_messages.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"
#include "engine/values/reference_text.h"

namespace maqo::automation {

using builtins::ArrayArgumentAccess;
using builtins::IsPlainReference;
using builtins::MissingName;
namespace file_messages = builtins::file_messages;

namespace {

using engine::ScriptValue;

std::atomic<platform::FileDropper*> installedDropper{nullptr};

// The values of the hash table a plain name stands for (local, then global);
// false when the name is no hash table.
bool appendHashTableValues(BuiltinHost& host, std::u16string_view text, std::vector<std::u16string>& out) {
  if (!IsPlainReference(text)) return false;
  const engine::ReferenceParts parts = engine::splitReference(text);
  if (parts.indexed || host.globals().ResolveArrayArgument(text, host.frame(), true).slot >= 0) return false;
  const int local = host.frame().hashTables.find(parts.name);
  if (local >= 0) {
    const engine::TUZHash& table = host.frame().hashTables.table(local);
    for (size_t i = 0; i < table.count(); ++i) out.push_back(table.valueAt(i).toDisplayText());
    return true;
  }
  const int global = host.globals().ResolveGlobal(parts.name, host.frame(), engine::GlobalKind::HashTable);
  if (global < 0) return false;
  host.globals().withGlobals([&](engine::THensuFmt& g) {
    const engine::TUZHash& table = g.hashTables.table(global);
    for (size_t i = 0; i < table.count(); ++i) out.push_back(table.valueAt(i).toDisplayText());
  });
  return true;
}

// A drop coordinate: a number that fits a 32-bit integer (a fraction is cut off).
int32_t dropCoordinate(std::u16string_view text) {
  const double value = engine::numberTextValue(text, engine::NumberTextMode::Loose, false);
  if (!(value >= INT32_MIN && value <= INT32_MAX)) throw file_messages::dropPointTooLarge();
  return static_cast<int32_t>(std::trunc(value));
}

bool isDropCoordinate(std::u16string_view text) {
  return engine::isNumberText(text, engine::NumberTextMode::Loose, false);
}

}  // namespace

std::vector<std::u16string> ExpandToList(BuiltinHost& host, std::span<const std::u16string> texts, bool keepEmpty) {
  std::vector<std::u16string> out;
  for (const std::u16string& text : texts) {
    if (appendHashTableValues(host, text, out)) continue;
    const ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, text, MissingName::Evaluate);
    if (!access.isArray()) {
      out.push_back(access.value().toDisplayText());
      continue;
    }
    for (const ScriptValue& element : access.read()) out.push_back(element.toDisplayText());
  }
  if (!keepEmpty) std::erase_if(out, [](const std::u16string& t) { return t.empty(); });
  return out;
}

std::optional<DropEntries> ReadDropEntries(const std::vector<std::u16string>& entries) {
  DropEntries drop;
  size_t next = 0;
  if (entries.size() >= 2 && isDropCoordinate(entries[0]) && isDropCoordinate(entries[1])) {
    const platform::DropPoint point{dropCoordinate(entries[0]), dropCoordinate(entries[1])};
    if (point.x < 0 || point.y < 0) return std::nullopt;
    drop.point = point;
    next = 2;
  }
  if (next < entries.size()) drop.folder = entries[next++];
  for (; next < entries.size(); ++next) {
    std::u16string file = engine::Trim(entries[next]);
    if (!file.empty()) drop.files.push_back(std::move(file));
  }
  return drop;
}

platform::FileDropper& CurrentFileDropper() {
  platform::FileDropper* installed = installedDropper.load();
  return installed ? *installed : platform::systemFileDropper();
}

ScopedFileDropper::ScopedFileDropper(platform::FileDropper& dropper) : previous_(installedDropper.exchange(&dropper)) {}

ScopedFileDropper::~ScopedFileDropper() { installedDropper.store(previous_); }

ScriptValue DropFileBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const ScriptValue nothing = ScriptValue::string(u"");
  AutomationContext context = desktopContext(call, host);
  platform::Desktop& desktop = context.desktop;
  const platform::WindowHandle window = context.session.ids.handleOf(call.integer(0), false, desktop);
  if (window == 0 || !desktop.isWindow(window) || !desktop.isVisible(window)) return nothing;
  if (desktop.isIconic(window)) {
    desktop.show(window, platform::ShowCommand::Show);
    desktop.show(window, platform::ShowCommand::ShowNormal);
  }

  std::vector<std::u16string> entries{call.text(1)};
  std::vector<std::u16string> raw;
  for (int i = 2; i < call.count(); ++i) raw.push_back(call.text(i));
  for (std::u16string& entry : ExpandToList(host, raw, true)) entries.push_back(std::move(entry));
  std::optional<DropEntries> drop = ReadDropEntries(entries);
  // Nothing to drop: a negative point, or no file names at all.
  if (!drop || drop->files.empty()) return nothing;

  platform::FileDropRequest request;
  request.target = window;
  request.folder = host.platform().files.fullPath(drop->folder.empty() ? host.platform().files.currentDirectory()
                                                                        : drop->folder);
  request.files = std::move(drop->files);
  request.clientPoint = drop->point;
  request.hostWindow = context.session.own.mainWindow.handle;
  const platform::DropResult result = CurrentFileDropper().drop(request);
  switch (result.status) {
    case platform::DropStatus::Dropped:
    case platform::DropStatus::Outside: return nothing;
    case platform::DropStatus::NotParsed: throw file_messages::dropNamesNotParsed(result.error);
    case platform::DropStatus::Failed: throw file_messages::dropFailed(result.error);
  }
  return nothing;
}

}  // namespace maqo::automation
