// The image search's template pictures, loaded from BMP files once and kept
// for the run: an entry is reused while its file's time stamp is unchanged
// and reloaded when the file changed. Shared by all script threads under its
// own lock; emptied when a run ends.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/pixel_buffer.h"

namespace maqo::automation {

// The file a template name stands for: the extension of the last path
// component replaced by ".BMP" (added when it has none).
std::u16string TemplateFileName(std::u16string_view name);
// Where the extension of the path's last component starts (its dot), or npos
// when that component has none.
size_t ExtensionDot(std::u16string_view path);

enum class TemplateStatus { Ok, NotFound, NotBmp };

struct TemplateLoad {
  TemplateStatus status = TemplateStatus::NotFound;
  std::shared_ptr<const platform::PixelBuffer> picture;  // Ok only
};

class TemplateCache {
 public:
  // The picture of the BMP file path (already the file name to open).
  TemplateLoad load(platform::FileSystem& files, const std::u16string& path);
  void clear();
  // How many times a file was read and decoded since the cache was made.
  int fileReads() const;

 private:
  struct Entry {
    std::shared_ptr<const platform::PixelBuffer> picture;
    platform::FileStamp stamp;
  };
  mutable std::mutex lock_;
  std::map<std::u16string, Entry> entries_;  // by upper-cased full path
  int fileReads_ = 0;
};

}  // namespace maqo::automation
