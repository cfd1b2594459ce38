// Dropping files onto a window with the shell and OLE. The drag runs on a
// thread of its own that initialises OLE for itself, so it works the same
// from the main script and from script threads, whatever COM apartment the
// caller is in; the caller waits for it (keeping its own messages flowing).
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/file_drop.h"
#include "platform/win32/win32_drop_files_message.h"
#include "platform/win32/win32_platform.h"

namespace maqo::platform {

namespace {

// The longest a drop may take: a target may show a dialog from its drop handler.
constexpr DWORD kDropLimitMs = 60000;

std::vector<wchar_t> mutableText(const std::u16string& text) {
  std::vector<wchar_t> out(text.begin(), text.end());
  out.push_back(L'\0');
  return out;
}

std::u16string failureText(HRESULT hr) { return lastErrorText(static_cast<unsigned long>(hr)); }

// The engine's drop source: the drop happens at once where the cursor is,
// unless a real left button is held (then the user's release drops).
class DropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
    if (escapePressed || (keyState & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
    if (keyState & MK_LBUTTON) return S_OK;
    return DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  LONG refs_ = 1;
};

// Releases a COM interface pointer when it goes out of scope.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
  T** out() { return &p; }
};

struct ItemIds {
  std::vector<LPITEMIDLIST> ids;
  ~ItemIds() {
    for (LPITEMIDLIST id : ids) CoTaskMemFree(id);
  }
};

// The shell's one data object for the files of a folder, as the folder itself
// provides it (the object a drag from a folder window carries).
DropResult makeDataObject(const FileDropRequest& request, IDataObject** data) {
  Held<IShellFolder> desktop;
  HRESULT hr = SHGetDesktopFolder(desktop.out());
  if (FAILED(hr)) return {DropStatus::Failed, failureText(hr)};
  ItemIds folderId;
  folderId.ids.push_back(nullptr);
  std::vector<wchar_t> folderText = mutableText(request.folder);
  hr = desktop.p->ParseDisplayName(nullptr, nullptr, folderText.data(), nullptr, &folderId.ids[0], nullptr);
  if (FAILED(hr)) return {DropStatus::NotParsed, request.folder + u": " + failureText(hr)};
  Held<IShellFolder> folder;
  hr = desktop.p->BindToObject(folderId.ids[0], nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.out()));
  if (FAILED(hr)) return {DropStatus::NotParsed, request.folder + u": " + failureText(hr)};
  ItemIds files;
  for (const std::u16string& name : request.files) {
    std::vector<wchar_t> text = mutableText(name);
    LPITEMIDLIST id = nullptr;
    hr = folder.p->ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &id, nullptr);
    if (FAILED(hr)) return {DropStatus::NotParsed, name + u": " + failureText(hr)};
    files.ids.push_back(id);
  }
  hr = folder.p->GetUIObjectOf(nullptr, static_cast<UINT>(files.ids.size()),
                               const_cast<LPCITEMIDLIST*>(reinterpret_cast<LPITEMIDLIST const*>(files.ids.data())),
                               IID_IDataObject, nullptr, reinterpret_cast<void**>(data));
  if (FAILED(hr)) return {DropStatus::NotParsed, request.folder + u": " + failureText(hr)};
  return {};
}

DropGeometry geometryOf(HWND window) {
  DropGeometry g;
  RECT windowRect{}, client{};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  g.clientOrigin = {origin.x, origin.y};
  g.clientWidth = client.right;
  g.clientHeight = client.bottom;
  g.windowTop = windowRect.top;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  g.virtualDesktop = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT bar{};
  if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr); taskbar && GetWindowRect(taskbar, &bar))
    g.taskbar = WindowRect{bar.left, bar.top, bar.right, bar.bottom};
  return g;
}

// How the window under the drop point takes dropped files: through the drop
// target it registered (OLE), or as WM_DROPFILES (it only accepts files).
enum class Route { Ole, DropFilesMessage };

struct DropTarget {
  Route route = Route::Ole;
  HWND window = nullptr;
};

DropTarget targetAt(POINT at) {
  HWND desktop = GetDesktopWindow();
  for (HWND w = WindowFromPoint(at); w && w != desktop; w = GetAncestor(w, GA_PARENT)) {
    // RegisterDragDrop leaves this property on the window.
    if (GetPropW(w, L"OleDropTargetInterface")) return {Route::Ole, w};
    if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return {Route::DropFilesMessage, w};
  }
  return {};
}

// The data object's file list as WM_DROPFILES carries it: a DROPFILES block
// with the point in the receiving window's client area.
std::optional<std::string> dropFilesBlock(IDataObject* data, HWND window, POINT at, std::u16string& error) {
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  const HRESULT hr = data->GetData(&format, &medium);
  if (FAILED(hr)) {
    error = failureText(hr);
    return std::nullopt;
  }
  std::optional<std::string> block;
  const SIZE_T size = GlobalSize(medium.hGlobal);
  if (const void* from = GlobalLock(medium.hGlobal)) {
    if (size >= sizeof(DROPFILES)) block = std::string(static_cast<const char*>(from), size);
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  if (!block) {
    error = u"the shell gave no file list to drop";
    return std::nullopt;
  }
  DROPFILES header;
  std::memcpy(&header, block->data(), sizeof header);
  POINT client = at;
  ScreenToClient(window, &client);
  header.pt = client;
  header.fNC = FALSE;
  std::memcpy(block->data(), &header, sizeof header);
  return block;
}

DropResult dropOnThisThread(const FileDropRequest& request) {
  Held<IDataObject> data;
  if (DropResult made = makeDataObject(request, data.out()); made.status != DropStatus::Dropped) return made;

  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.target));
  systemDesktop().bringForward(request.target);
  const std::optional<DropPoint> at = DropScreenPoint(geometryOf(window), request.clientPoint);
  if (!at) return {DropStatus::Outside, {}};

  POINT saved{};
  const bool haveSaved = GetCursorPos(&saved) != FALSE;
  if (!SetCursorPos(at->x, at->y)) return {DropStatus::Failed, lastErrorText(GetLastError())};
  if (request.hostWindow != 0) {
    // The host's own window must not go on believing its button is down.
    HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.hostWindow));
    const LPARAM point = static_cast<LPARAM>((static_cast<uint32_t>(at->y) << 16) | (static_cast<uint32_t>(at->x) & 0xFFFF));
    PostMessageW(host, WM_MOUSEMOVE, MK_LBUTTON, point);
    PostMessageW(host, WM_LBUTTONUP, 0, point);
  }
  DropResult result;
  const POINT point{at->x, at->y};
  const DropTarget target = targetAt(point);
  bool viaOle = target.route == Route::Ole;
  if (!viaOle) {
    std::u16string error;
    if (const std::optional<std::string> block = dropFilesBlock(data.p, target.window, point, error)) {
      const DropFilesPostResult posted = PostDropFilesMessage(target.window, *block);
      // The memory of a process of another bitness cannot be prepared from
      // here: the drag loop is tried instead, as a user's drag would be.
      viaOle = posted.status == DropFilesPost::Unsupported;
      if (posted.status == DropFilesPost::Failed) result = {DropStatus::Failed, posted.error};
    } else {
      result = {DropStatus::Failed, error};
    }
  }
  if (viaOle) {
    DropSource* source = new DropSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data.p, source, DROPEFFECT_COPY, &effect);
    source->Release();
    if (FAILED(hr)) result = {DropStatus::Failed, failureText(hr)};
  }
  if (haveSaved) SetCursorPos(saved.x, saved.y);
  return result;
}

// One drop, shared by the waiting caller and the drop thread (which may
// outlive a caller that gave up waiting).
struct DropJob {
  FileDropRequest request;
  DropResult result;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~DropJob() {
    if (done) CloseHandle(done);
  }
};

void runDropJob(std::shared_ptr<DropJob> job) {
  const HRESULT init = OleInitialize(nullptr);
  if (FAILED(init)) {
    job->result = {DropStatus::Failed, failureText(init)};
  } else {
    job->result = dropOnThisThread(job->request);
    OleUninitialize();
  }
  SetEvent(job->done);
}

class Win32FileDropper final : public FileDropper {
 public:
  bool available() override { return true; }

  DropResult drop(const FileDropRequest& request) override {
    auto job = std::make_shared<DropJob>();
    if (!job->done) return {DropStatus::Failed, lastErrorText(GetLastError())};
    job->request = request;
    try {
      std::thread(runDropJob, job).detach();
    } catch (const std::exception&) {
      return {DropStatus::Failed, u"no thread could be started for the drop"};
    }
    const DWORD start = GetTickCount();
    for (;;) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= kDropLimitMs)
        return {DropStatus::Failed, u"the drop did not end within 60 seconds"};
      const DWORD wait = MsgWaitForMultipleObjects(1, &job->done, FALSE, kDropLimitMs - spent, QS_ALLINPUT);
      if (wait == WAIT_OBJECT_0) return job->result;
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
};

}  // namespace

FileDropper& systemFileDropper() {
  static Win32FileDropper dropper;
  return dropper;
}

}  // namespace maqo::platform
