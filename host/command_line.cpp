#include "host/command_line.h"

#include <cstddef>

#include "engine/values/number_text.h"
#include "platform/letter_case.h"

namespace maqo::host {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

char16_t upper(char16_t c) { return platform::upperCaseLetter(c); }

bool containsUpper(std::u16string_view text, std::u16string_view needleUpper) {
  if (needleUpper.size() > text.size()) return false;
  for (size_t i = 0; i + needleUpper.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needleUpper.size() && upper(text[i + k]) == needleUpper[k]) ++k;
    if (k == needleUpper.size()) return true;
  }
  return false;
}

// "-R12" or "-r12": the run count; anything else is a parameter.
bool runCountParameter(std::u16string_view parameter, int& count) {
  if (parameter.size() < 3 || parameter[0] != u'-' || upper(parameter[1]) != u'R') return false;
  long long value = 0;
  for (size_t i = 2; i < parameter.size(); ++i) {
    if (parameter[i] < u'0' || parameter[i] > u'9') return false;
    value = value * 10 + (parameter[i] - u'0');
    if (value > 999999999) value = 999999999;  // the open dialog's own limit
  }
  count = value < 1 ? 1 : static_cast<int>(value);
  return true;
}

// Script parameters: blanks separate, double quotes group and are removed;
// backslashes are plain characters (a parameter "C:\dir\" stays a folder).
std::vector<std::u16string> splitParameters(std::u16string_view text) {
  std::vector<std::u16string> pieces;
  std::u16string piece;
  bool quoted = false, started = false;
  for (char16_t c : text) {
    if (c == u'"') {
      quoted = !quoted;
      started = true;
    } else if (!quoted && (isBlank(c) || c == u'\r' || c == u'\n')) {
      if (started) pieces.push_back(std::move(piece));
      piece.clear();
      started = false;
    } else {
      piece += c;
      started = true;
    }
  }
  if (started) pieces.push_back(std::move(piece));
  return pieces;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> args;
  size_t i = 0;
  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::u16string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
      if (line[i] == u'\\') {
        size_t slashes = 0;
        while (i < line.size() && line[i] == u'\\') ++slashes, ++i;
        if (i < line.size() && line[i] == u'"') {
          arg.append(slashes / 2, u'\\');
          if (slashes % 2 == 1) {
            arg += u'"';
            ++i;
          }
        } else {
          arg.append(slashes, u'\\');
        }
        continue;
      }
      if (line[i] == u'"') {
        // A doubled quote inside quotes is a literal quote.
        if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg += u'"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += line[i++];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

StartRequest ScanArguments(const std::vector<std::u16string>& args) {
  StartRequest request;
  size_t next = 0;
  if (!args.empty()) {
    const std::u16string& first = args[0];
    if (first == u"/k" || first == u"/K") {
      request.mode = StartMode::HandOverPlay;
      next = 1;
    } else if (first == u"/l" || first == u"/L") {
      request.mode = StartMode::HandOverLoad;
      next = 1;
    } else if (first == u"/NI" || first == u"/ni") {
      request.mode = StartMode::RunAndExit;
      request.forceHidden = true;
      next = 1;
    } else if (first == u"/a" || first == u"/A") {
      request.mode = StartMode::Convert;
      next = 1;
    }
  }
  bool haveFile = false;
  for (size_t i = next; i < args.size(); ++i) {
    if (args[i] == kRestartMarker) {
      request.restartMarker = true;
      break;
    }
    if (!haveFile) {
      request.fileText = args[i];
      haveFile = true;
      if (request.mode == StartMode::Normal) request.mode = StartMode::RunAndExit;
      if (containsUpper(args[i], u"WEBREC_$TEMP$.MQS")) request.webRecorderTemp = true;
    } else if (request.mode == StartMode::Convert) {
      if (request.convertOutput.empty()) request.convertOutput = args[i];
    } else {
      request.fileText += u'\r';
      request.fileText += args[i];
    }
  }
  return request;
}

size_t ScriptNameEnd(std::u16string_view text) {
  constexpr std::u16string_view kExtension = u".MQS";
  for (size_t i = 0; i + kExtension.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < kExtension.size() && upper(text[i + k]) == kExtension[k]) ++k;
    if (k < kExtension.size()) continue;
    const size_t end = i + kExtension.size();
    if (end == text.size() || text[end] == u' ' || text[end] == u'\r' || text[end] == u'"') return end;
  }
  return std::u16string_view::npos;
}

FileText ParseFileText(std::u16string_view text, bool splitAtCarriageReturns) {
  FileText result;
  const size_t end = ScriptNameEnd(text);
  std::u16string_view rest;
  if (end == std::u16string_view::npos) {
    // No ".MQS" ends a name: the first CR still separates command-line
    // parameters; the whole rest is the name and gets the extension.
    const size_t cr = splitAtCarriageReturns ? text.find(u'\r') : std::u16string_view::npos;
    std::u16string name(engine::trimControlAndSpace(text.substr(0, cr)));
    if (!containsUpper(name, u".MQS")) name += u".MQS";
    result.fileName = name;
    if (cr != std::u16string_view::npos) rest = text.substr(cr);
  } else {
    std::u16string name(engine::trimControlAndSpace(text.substr(0, end)));
    // A name given in quotes ("C:\a b.mqs" p) loses its opening quote.
    if (!name.empty() && name.front() == u'"') name = std::u16string(engine::trimControlAndSpace(std::u16string_view(name).substr(1)));
    result.fileName = name;
    rest = text.substr(end);
    if (!rest.empty() && rest.front() == u'"') rest.remove_prefix(1);
  }
  std::vector<std::u16string> pieces;
  if (splitAtCarriageReturns) {
    size_t start = 0;
    while (start <= rest.size()) {
      const size_t cr = rest.find(u'\r', start);
      const std::u16string_view piece = rest.substr(start, cr == std::u16string_view::npos ? rest.npos : cr - start);
      if (!piece.empty()) pieces.emplace_back(piece);
      if (cr == std::u16string_view::npos) break;
      start = cr + 1;
    }
  } else {
    pieces = splitParameters(rest);
  }
  for (auto& piece : pieces) {
    if (!runCountParameter(piece, result.runCount)) result.parameters.push_back(std::move(piece));
  }
  return result;
}

namespace {

std::u16string joinedPath(std::u16string_view folder, std::u16string_view rest) {
  std::u16string path(folder);
  while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
  return path + u"\\" + std::u16string(rest);
}

std::u16string_view parentFolder(std::u16string_view folder) {
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
  const size_t slash = folder.find_last_of(u"\\/");
  // A drive root ("C:") is its own parent.
  return slash == std::u16string_view::npos ? folder : folder.substr(0, slash);
}

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

std::u16string ResolveScriptName(std::u16string_view name, bool fromSwitchedCommandLine,
                                 std::u16string_view currentFolder, std::u16string_view executableFolder) {
  if (name.empty()) return std::u16string(name);
  const bool hasDrive = name.size() >= 2 && name[1] == u':';
  if (hasDrive || isSeparator(name[0])) return std::u16string(name);
  const std::u16string_view base = fromSwitchedCommandLine ? currentFolder : executableFolder;
  if (name.size() >= 2 && name[0] == u'.' && isSeparator(name[1])) return joinedPath(base, name.substr(2));
  if (name.size() >= 3 && name[0] == u'.' && name[1] == u'.' && isSeparator(name[2]))
    return joinedPath(parentFolder(base), name.substr(3));
  return joinedPath(currentFolder, name);
}

}  // namespace maqo::host
