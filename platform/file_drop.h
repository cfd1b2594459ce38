// Dropping files onto a window the way a user's drag-and-drop from the shell
// does it: the shell builds one data object for the files, the window comes to
// the front, the cursor goes to the drop point and a drag-and-drop loop drops
// the object there at once. A window that registered a drop target gets it
// through that target; one that only accepts dropped files (WS_EX_ACCEPTFILES)
// gets WM_DROPFILES. The win32 build does this with the shell and OLE; the
// native build has no shell (available() is false); tests use the fake of
// platform/fake/fake_file_drop.h.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::platform {

struct DropPoint {
  int x = 0, y = 0;
  bool operator==(const DropPoint&) const = default;
};

struct FileDropRequest {
  WindowHandle target = 0;
  // The folder the files lie in (a full path) and their names in it.
  std::u16string folder;
  std::vector<std::u16string> files;
  // The drop point in the target's client area; none: the client area's centre.
  std::optional<DropPoint> clientPoint;
  // The host's main window, told that the left button is up before the drag
  // starts (0: there is none).
  WindowHandle hostWindow = 0;
};

enum class DropStatus {
  Dropped,
  Outside,     // the client point lies beyond the client area: nothing was done
  NotParsed,   // the shell could not parse the folder or a file name
  Failed,      // bringing forward, moving the cursor or the drag failed
};

struct DropResult {
  DropStatus status = DropStatus::Dropped;
  std::u16string error;  // the system's description for NotParsed and Failed
};

class FileDropper {
 public:
  virtual ~FileDropper() = default;
  // False where there is no shell to drop with (the native build).
  virtual bool available() = 0;
  // Parses the names into one data object, brings the target to the front,
  // and drops the object at the drop point (see DropScreenPoint). The cursor
  // is put back where it was afterwards.
  virtual DropResult drop(const FileDropRequest& request) = 0;
};

// The build's dropper.
FileDropper& systemFileDropper();

// ---- where the drop lands: the same arithmetic on every build ----

struct DropGeometry {
  DropPoint clientOrigin;  // the client area's top left on the screen
  int clientWidth = 0, clientHeight = 0;
  int windowTop = 0;  // the window's top edge on the screen
  WindowRect virtualDesktop;
  std::optional<WindowRect> taskbar;
};

// The screen point of a drop at clientPoint (the client area's centre, halves
// rounded toward zero, when none), or nothing when the point lies beyond the
// client area's width or height. The point is kept on the virtual desktop, and
// off a taskbar at the bottom of the desktop when the window starts above it
// (a drop there would land on the taskbar).
std::optional<DropPoint> DropScreenPoint(const DropGeometry& geometry, std::optional<DropPoint> clientPoint);

}  // namespace maqo::platform
