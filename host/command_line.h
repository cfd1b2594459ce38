// The host's command line: splitting the raw text into arguments, the start-up
// mode its first argument chooses, and the "file text" (a script name followed
// by parameters) that opening a script takes apart.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace maqo::host {

// How the program was asked to start.
enum class StartMode {
  Normal = 0,        // no arguments: the tool bar
  HandOverPlay = 1,  // /k file: a running instance loads and plays it
  RunAndExit = 2,    // file [params] or /NI file: run it and exit with its code
  HandOverLoad = 3,  // /l file: a running instance only loads it
  Convert = 9,       // /a file [output]: write the script as plain text
};

struct StartRequest {
  StartMode mode = StartMode::Normal;
  // The first non-switch argument, each later one appended after a CR (in
  // convert mode the later one is the output name instead).
  std::u16string fileText;
  std::u16string convertOutput;
  bool forceHidden = false;     // "/NI": always run without a visible window
  bool restartMarker = false;   // the restart's marker stopped the scan
  bool webRecorderTemp = false; // the web recorder's temporary script
};

// The marker a restarted instance finds on its command line.
inline constexpr char16_t kRestartMarker[] = u"MAQO_REBOOT_$2";

// Splits a command line the way the C runtime does: blanks separate
// arguments, double quotes group (and are removed), 2n backslashes before a
// quote give n backslashes and an open/close quote, 2n+1 give n and a literal
// quote; other backslashes are kept as they are.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// The start request the arguments (without the program's own name) ask for.
StartRequest ScanArguments(const std::vector<std::u16string>& args);

// A script name with what follows it, taken apart.
struct FileText {
  std::u16string fileName;                 // up to and including ".MQS", trimmed
  std::vector<std::u16string> parameters;  // the script's PARAM_STR
  int runCount = 1;                        // from a "-Rn" parameter
};

// Where the script name in a file text ends: after the first ".MQS" (any
// case) that is followed by the end, a blank, a CR or a double quote, so that
// a folder called "x.mqs.d" stays part of the name. A text without such a
// ".MQS" is all name (npos).
size_t ScriptNameEnd(std::u16string_view text);

// Takes a file text apart. Parameters are split at CR when the text came from
// a command line (each argument joined with a CR), else at blanks with double
// quotes grouping and removed. "-r"/"-R" followed by a number sets the run
// count instead of being a parameter. A name without ".MQS" gets that extension.
FileText ParseFileText(std::u16string_view text, bool splitAtCarriageReturns);

// A script name made absolute. Names with a drive or a leading separator are
// kept. When the name came from a command line with a switch (/k, /l, /NI,
// /a), ".\" and a bare relative name are taken in the current folder and
// "..\" in its parent; otherwise ".\" and "..\" count from the executable's
// folder (a launch-menu entry ".\sample\a.mqs") and other relative names
// from the current folder. "/" counts as "\". The result is not normalised.
std::u16string ResolveScriptName(std::u16string_view name, bool fromSwitchedCommandLine,
                                 std::u16string_view currentFolder, std::u16string_view executableFolder);

}  // namespace maqo::host
