// INI files: sections of "key=value" lines, read and changed by the
// READINI family and by the host's settings. Section names and keys compare
// without regard to case; blank lines are ignored. Files are rewritten whole
// through WriteTextFile (a temporary file replaces the old one).
#pragma once
#include <string>
#include <string_view>

#include "builtins/text_file_writer.h"
#include "platform/platform.h"

namespace maqo::builtins {

// What the INI routines need to know about the host application.
struct IniHostSettings {
  // The host's settings file (an empty INI file argument names it). When
  // empty, "MAQO.INI" in the executable's folder.
  std::u16string settingsFile;
  // Running as a stand-alone program that carries its script.
  bool exeMode = false;
  // Exe mode with the no-INI-writes flag: writes to the settings file are
  // skipped unless forced.
  bool noIniWrites = false;
  // The current script's file name (the main window's caption): READINI and
  // its siblings default to it with the extension ".INI".
  std::u16string scriptFile;
};

// Process-wide, set by the host (and by the run driver for the script file).
void SetIniHostSettings(IniHostSettings settings);
IniHostSettings GetIniHostSettings();

// The file argument of READINI, WRITEINI and DELETEINI as they pass it on: an
// empty one becomes the script's name with ".INI" (outside exe mode); a name
// without "." gets ".INI".
std::u16string IniFileArgument(std::u16string_view file, const IniHostSettings& settings);

// A full path for an INI file name: empty is the settings file; a bare name
// lies in the current folder (upper-cased); ".\" and "..\" are taken from the
// current folder; anything else is used as given.
std::u16string ResolveIniPath(platform::Platform& p, std::u16string_view file);

// The value of key in section, or the empty text (missing file, section or
// key). A value enclosed in double quotes loses them (quoted tells so).
std::u16string ReadIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                            std::u16string_view file, bool* quoted = nullptr);

// Sets key=value in section, creating the section or the file as needed. The
// file keeps its encoding unless the new text needs Unicode (an ANSI file then
// becomes UTF-8 without mark). False when nothing was written: the file exists
// but cannot be read (it is never rewritten from an empty copy), the write
// failed, or writes to the settings file are switched off and force is not set.
bool WriteIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                   std::u16string_view value, bool force, std::u16string_view file);

// Deletes key from section; an empty key deletes the section's header and
// entries (blank lines stay). False when the file is missing or unreadable,
// nothing matched, or the write failed.
bool DeleteIniValue(platform::Platform& p, std::u16string_view section, std::u16string_view key,
                    std::u16string_view file);

// The same on lines in memory.
std::u16string LookupIniValue(const Lines& lines, std::u16string_view section, std::u16string_view key,
                              bool* quoted = nullptr);
void SetIniValueInLines(Lines& lines, std::u16string_view section, std::u16string_view key,
                        std::u16string_view value);
bool DeleteIniValueInLines(Lines& lines, std::u16string_view section, std::u16string_view key);

}  // namespace maqo::builtins
