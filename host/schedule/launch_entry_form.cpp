#include "host/schedule/launch_entry_form.h"

#include "engine/eval/text_helpers.h"

namespace maqo::host::schedule {

LaunchEntryForm LoadLaunchEntryForm(int n, const LaunchSettingReader& read) {
  LaunchEntryForm form;
  const std::u16string title = read(LaunchKey(u'T', n)), target = read(LaunchKey(u'S', n));
  if (title.empty() && target.empty()) return form;
  form.separateProcess = read(LaunchKey(u'P', n)) == u"1";
  bool anyChild = false;
  // A row with a target but no title still makes a submenu, as the menu shows it.
  for (int m = 1; m <= kLaunchEntries && !anyChild; ++m)
    anyChild = !read(LaunchChildKey(u'T', n, m)).empty() || !read(LaunchChildKey(u'S', n, m)).empty();
  form.title = title;
  if (!anyChild) {
    form.kind = LaunchEntryKind::File;
    form.target = target;
    return form;
  }
  form.kind = LaunchEntryKind::Submenu;
  for (int m = 1; m <= kLaunchEntries; ++m) form.rows[m - 1] = {read(LaunchChildKey(u'T', n, m)), read(LaunchChildKey(u'S', n, m))};
  return form;
}

std::vector<LaunchSettingWrite> SaveLaunchEntryForm(int n, const LaunchEntryForm& form) {
  std::vector<LaunchSettingWrite> writes;
  for (int m = 1; m <= kLaunchEntries; ++m) {
    writes.push_back({LaunchChildKey(u'T', n, m), std::nullopt});
    writes.push_back({LaunchChildKey(u'S', n, m), std::nullopt});
  }
  const std::u16string flag = form.separateProcess ? u"1" : u"0";
  switch (form.kind) {
    case LaunchEntryKind::None:
      for (const char16_t letter : {u'T', u'S', u'P'}) writes.push_back({LaunchKey(letter, n), std::nullopt});
      break;
    case LaunchEntryKind::File:
      writes.push_back({LaunchKey(u'T', n), engine::Trim(form.title)});
      writes.push_back({LaunchKey(u'S', n), engine::Trim(form.target)});
      writes.push_back({LaunchKey(u'P', n), flag});
      break;
    case LaunchEntryKind::Submenu: {
      const std::u16string name = engine::Trim(form.title);
      writes.push_back({LaunchKey(u'T', n), name.empty() ? u">>" : name});
      writes.push_back({LaunchKey(u'S', n), std::u16string()});
      writes.push_back({LaunchKey(u'P', n), flag});
      for (int m = 1; m <= kLaunchEntries; ++m) {
        const std::u16string title = engine::Trim(form.rows[m - 1].title);
        const std::u16string target = engine::Trim(form.rows[m - 1].target);
        if (title.empty() && target.empty()) continue;
        writes.push_back({LaunchChildKey(u'T', n, m), title});
        writes.push_back({LaunchChildKey(u'S', n, m), target});
      }
      break;
    }
  }
  return writes;
}

}  // namespace maqo::host::schedule
