#include "platform/win32/win32_drop_files_message.h"

#include <psapi.h>

#include <cstring>
#include <optional>

#include "platform/win32/win32_platform.h"

namespace maqo::platform {

namespace {

// How long a helper thread in the receiving process may take.
constexpr DWORD kRemoteCallLimitMs = 5000;

DropFilesPostResult failure(DWORD error) { return {DropFilesPost::Failed, lastErrorText(error)}; }

// A handle that closes itself.
struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h) CloseHandle(h);
  }
};

bool sameBitness(HANDLE process) {
  BOOL self = FALSE, other = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &self) || !IsWow64Process(process, &other)) return false;
  return self == other;
}

// Where a function of a system DLL loaded here lies in the other process: the
// same offset from the start of the same-named module there.
std::optional<uintptr_t> remoteAddressOf(HANDLE process, const void* local) {
  HMODULE localModule = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(local), &localModule))
    return std::nullopt;
  wchar_t localName[MAX_PATH];
  if (!GetModuleBaseNameW(GetCurrentProcess(), localModule, localName, MAX_PATH)) return std::nullopt;
  HMODULE modules[1024];
  DWORD bytes = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return std::nullopt;
  const DWORD count = bytes / sizeof(HMODULE) < 1024 ? bytes / sizeof(HMODULE) : 1024;
  for (DWORD i = 0; i < count; ++i) {
    wchar_t name[MAX_PATH];
    if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, localName) == 0)
      return reinterpret_cast<uintptr_t>(modules[i]) +
             (reinterpret_cast<uintptr_t>(local) - reinterpret_cast<uintptr_t>(localModule));
  }
  return std::nullopt;
}

// Runs a function of one pointer-sized argument on a new thread of the other
// process and gives its 32-bit result.
std::optional<DWORD> callInProcess(HANDLE process, uintptr_t function, uintptr_t argument, bool& stillRunning) {
  Handle thread{CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                   reinterpret_cast<void*>(argument), 0, nullptr)};
  stillRunning = false;
  if (!thread.h) return std::nullopt;
  if (WaitForSingleObject(thread.h, kRemoteCallLimitMs) != WAIT_OBJECT_0) {
    stillRunning = true;
    return std::nullopt;
  }
  DWORD result = 0;
  if (!GetExitCodeThread(thread.h, &result)) return std::nullopt;
  return result;
}

#if defined(__i386__)
// GlobalAlloc(GPTR, size) in the other process, through a few instructions put
// there for the call (GlobalAlloc takes two arguments, a thread start routine
// one): push size; push GPTR; mov eax, GlobalAlloc; call eax; ret 4. A fixed
// block's handle is its address, so the data can be written straight into it.
std::optional<uintptr_t> allocateIn(HANDLE process, uint32_t size, std::u16string& error) {
  const std::optional<uintptr_t> globalAlloc =
      remoteAddressOf(process, reinterpret_cast<const void*>(&GlobalAlloc));
  if (!globalAlloc) {
    error = u"the receiving process's GlobalAlloc was not found";
    return std::nullopt;
  }
  unsigned char code[] = {0x68, 0, 0, 0, 0, 0x6A, GPTR, 0xB8, 0, 0, 0, 0, 0xFF, 0xD0, 0xC2, 0x04, 0x00};
  const uint32_t target = static_cast<uint32_t>(*globalAlloc);
  std::memcpy(code + 1, &size, 4);
  std::memcpy(code + 8, &target, 4);
  void* remoteCode = VirtualAllocEx(process, nullptr, sizeof code, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (!remoteCode) {
    error = lastErrorText(GetLastError());
    return std::nullopt;
  }
  std::optional<DWORD> block;
  bool stillRunning = false;
  if (WriteProcessMemory(process, remoteCode, code, sizeof code, nullptr)) {
    FlushInstructionCache(process, remoteCode, sizeof code);
    block = callInProcess(process, reinterpret_cast<uintptr_t>(remoteCode), 0, stillRunning);
  }
  if (!block) error = stillRunning ? u"the receiving process did not run the allocation" : lastErrorText(GetLastError());
  // A call that never ended may still be running the code: it stays.
  if (!stillRunning) VirtualFreeEx(process, remoteCode, 0, MEM_RELEASE);
  if (block && *block == 0) {
    error = u"the receiving process has no memory for the file list";
    return std::nullopt;
  }
  if (!block) return std::nullopt;
  return static_cast<uintptr_t>(*block);
}
#else
std::optional<uintptr_t> allocateIn(HANDLE, uint32_t, std::u16string& error) {
  error = u"preparing another process's memory is built for 32-bit only";
  return std::nullopt;
}
#endif

void freeIn(HANDLE process, uintptr_t block) {
  if (const std::optional<uintptr_t> globalFree = remoteAddressOf(process, reinterpret_cast<const void*>(&GlobalFree))) {
    bool stillRunning = false;
    callInProcess(process, *globalFree, block, stillRunning);
  }
}

DropFilesPostResult postInThisProcess(HWND window, const std::string& dropFiles) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dropFiles.size());
  if (!block) return failure(GetLastError());
  void* to = GlobalLock(block);
  std::memcpy(to, dropFiles.data(), dropFiles.size());
  GlobalUnlock(block);
  if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
    const DWORD error = GetLastError();
    GlobalFree(block);
    return failure(error);
  }
  return {};
}

}  // namespace

DropFilesPostResult PostDropFilesMessage(HWND window, const std::string& dropFiles) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return failure(GetLastError());
  if (processId == GetCurrentProcessId()) return postInThisProcess(window, dropFiles);

  Handle process{OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                 PROCESS_VM_READ | PROCESS_VM_WRITE,
                             FALSE, processId)};
  if (!process.h) return failure(GetLastError());
  if (!sameBitness(process.h)) return {DropFilesPost::Unsupported, u"the receiving process has another bitness"};
  std::u16string error;
  const std::optional<uintptr_t> block = allocateIn(process.h, static_cast<uint32_t>(dropFiles.size()), error);
  if (!block) return {DropFilesPost::Failed, error};
  if (!WriteProcessMemory(process.h, reinterpret_cast<void*>(*block), dropFiles.data(), dropFiles.size(), nullptr) ||
      !PostMessageW(window, WM_DROPFILES, static_cast<WPARAM>(*block), 0)) {
    const DWORD code = GetLastError();
    freeIn(process.h, *block);
    return failure(code);
  }
  // The receiver owns the block now: DragFinish frees it.
  return {};
}

}  // namespace maqo::platform
