// WM_DROPFILES for a window that accepts dropped files without registering an
// OLE drop target. The message's HDROP is a global memory block that the
// receiver reads with DragQueryFile and frees with DragFinish, so it must be a
// block of the receiver's own process: for a window of another process it is
// allocated there, by that process's own GlobalAlloc.
#pragma once
#include <windows.h>

#include <string>

namespace maqo::platform {

enum class DropFilesPost {
  Posted,
  Unsupported,  // a process of another bitness: its memory cannot be prepared from here
  Failed,
};

struct DropFilesPostResult {
  DropFilesPost status = DropFilesPost::Posted;
  std::u16string error;
};

// Posts WM_DROPFILES with a copy of dropFiles (a DROPFILES block followed by
// its file list) to window.
DropFilesPostResult PostDropFilesMessage(HWND window, const std::string& dropFiles);

}  // namespace maqo::platform
