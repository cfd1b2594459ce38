// Power and session control for POFF: hibernate and suspend, monitor power and
// the screen saver, and ending the session.
#pragma once
#include <cstdint>

namespace maqo::platform {

class PowerControl {
 public:
  virtual ~PowerControl() = default;
  // False where this system offers none of it (the builtin then reports that).
  virtual bool available() = 0;
  // Enables the shutdown privilege for the process.
  virtual bool enableShutdownPrivilege() = 0;
  // Hibernates (suspend false) or suspends (suspend true) the system.
  virtual bool setSuspendState(bool suspend, bool force) = 0;
  // Posts WM_SYSCOMMAND with the command and parameter to all top-level windows.
  virtual void broadcastSysCommand(unsigned command, intptr_t parameter) = 0;
  // Declares that the display is needed (keeps or turns the monitors on).
  virtual void requireDisplay() = 0;
  // Ends the session with the ExitWindowsEx flags (0: log off).
  virtual bool exitSession(unsigned flags) = 0;
};

}  // namespace maqo::platform
