#include "engine/reader/script_reader.h"

#include <algorithm>
#include <map>
#include <vector>

#include "engine/reader/line_normaliser.h"
#include "engine/reader/reader_messages.h"
#include "engine/reader/reader_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

using namespace reader_text;

namespace {

// A failure that ends the read with a message.
struct ReadFailed {
  Message message;
};

constexpr size_t kNone = static_cast<size_t>(-1);

// The folder part of a path in backslash form, without the last "\".
std::u16string folderOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

// The procedure a CALLed file becomes: its folder with parentheses turned
// full-width (so the call's own argument list stays the only one), then its name.
std::u16string procedureNameOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'\\');
  std::u16string folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
  for (auto& c : folder) {
    if (c == u'(') c = u'\uFF08';
    else if (c == u')') c = u'\uFF09';
  }
  return folder + path.substr(slash == std::u16string::npos ? 0 : slash + 1);
}

// Position of "CALL " outside quotes at the start of the line or after a space
// or ";". One pass, so a long line costs no more than its length.
size_t findCall(std::u16string_view line) {
  constexpr std::u16string_view kCall = u"CALL ";
  bool quoted = false;
  for (size_t pos = 0; pos < line.size(); ++pos) {
    if (line[pos] == u'"') {
      quoted = !quoted;
    } else if (!quoted && (pos == 0 || line[pos - 1] == u' ' || line[pos - 1] == u';') &&
               line.substr(pos, kCall.size()) == kCall) {
      return pos;
    }
  }
  return std::u16string::npos;
}

// Where a trailing argument list "(...)" of a CALL target begins, or npos. Only
// a group that closes at the very end counts, so "C:\TOOLS (X86)\SUB" has none.
size_t argumentListStart(std::u16string_view target) {
  if (target.empty() || target.back() != u')') return std::u16string::npos;
  bool quoted = false;
  int depth = 0;
  size_t open = std::u16string::npos;
  for (size_t i = 0; i < target.size(); ++i) {
    const char16_t c = target[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(') {
      if (depth == 0) open = i;
      ++depth;
    } else if (c == u')' && depth > 0) {
      --depth;
    }
  }
  return depth == 0 && open != std::u16string::npos && open > 0 ? open : std::u16string::npos;
}

// One file of the script as it lies in the flat list.
struct Segment {
  size_t start;         // the procedure header
  size_t lastPhysical;  // the last line that came from the file, or kNone
  std::u16string baseFolder;
};

}  // namespace

// The state of one creUscrptFil.
class MqsReadPass {
 public:
  MqsReadPass(TReadMqsFile& reader, Lines& lines) : r_(reader), p_(reader.platform_), lines_(lines), norm_(&modules_) {}

  bool run(const std::u16string& path) {
    std::u16string base;
    if (!path.empty() && p_.files.fileExists(path)) {
      const std::u16string full = p_.files.fullPath(path);
      // The stamp is taken before the read: a change during the read then shows next time.
      const auto stamp = p_.files.stamp(full);
      readScriptFile(full, lines_);
      noteStamp(full, stamp);
      base = asciiUpper(folderOf(withBackslashes(full)));
    } else {
      changed_ = true;  // the host's own text has no stamp to compare
      base = asciiUpper(withBackslashes(p_.files.currentDirectory()));
    }
    appendFile(lines_, u"__MAIN__", base, true);
    processLines();
    return changed_;
  }

  std::map<std::u16string, platform::FileStamp> stamps;

 private:
  void processLines() {
    size_t seg = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (seg + 1 < segments_.size() && i >= segments_[seg + 1].start) ++seg;
      if (i == segments_[seg].start) norm_.startFile();
      const Segment current = segments_[seg];
      LineNormaliser::Result n = norm_.normalise(lines_[i], i == current.lastPhysical);
      if (!n.verbatim) {
        recordConst(n.text);
        handleCalls(n.text, current.baseFolder);
      }
      lines_[i] = std::move(n.text);
    }
  }

  // Wraps a file's lines as the procedure name and puts them at the end of the
  // flat list (for the main file, the list is the file).
  void appendFile(Lines& fileLines, const std::u16string& name, const std::u16string& baseFolder, bool isMain) {
    LineNormaliser scan;
    size_t found = kNone;
    for (size_t k = 0; k < fileLines.size(); ++k) {
      const LineNormaliser::Result n = scan.normalise(fileLines[k]);
      if (n.verbatim) continue;
      const std::u16string word = FirstWord(n.text);
      if (word == u"FUNCTION" || word == u"PROCEDURE" || word == u"MODULE" || word == u"CLASS") {
        found = k;
        break;
      }
      if (word == u"FEND") throw ReadFailed{reader_messages::FendMisplaced()};
    }
    const size_t physical = fileLines.size();
    size_t fend = found == kNone ? physical : found;
    fileLines.insert(fileLines.begin() + static_cast<std::ptrdiff_t>(fend), u"FEND");
    fileLines.insert(fileLines.begin(), u"PROCEDURE " + name + u"()");
    ++fend;
    // The last line the file itself holds: skip the inserted FEND when it ends the list.
    size_t last = kNone;
    if (physical > 0) last = fileLines.size() - 1 == fend ? fend - 1 : fileLines.size() - 1;

    if (!isMain) {
      // The modules of an included file are met where it is CALLed.
      LineNormaliser numbering(&modules_);
      for (size_t k = 1; k < fileLines.size(); ++k)
        if (k != fend) numbering.normalise(fileLines[k]);
    }
    const size_t start = isMain ? 0 : lines_.size();
    if (!isMain) lines_.insert(lines_.end(), fileLines.begin(), fileLines.end());
    segments_.push_back({start, last == kNone ? kNone : start + last, baseFolder});
  }

  void readScriptFile(const std::u16string& path, Lines& out) {
    Lines read;
    const TextReadResult t = engine::ReadTextFile(p_, path, read);
    if (t.status == platform::ReadStatus::NotFound) throw ReadFailed{reader_messages::FileNotFound(path)};
    if (!t.ok()) throw ReadFailed{reader_messages::Unreadable(path, t.error)};
    const DecipherResult d = engine::Decipher(p_, read, path);
    if (!d.ok()) throw ReadFailed{d.error};
    out = std::move(read);
  }

  void noteStamp(const std::u16string& path, const std::optional<platform::FileStamp>& stamp) {
    if (!stamp) {
      changed_ = true;
      return;
    }
    const std::u16string canonical = p_.files.canonicalPath(path);
    if (r_.ScriptTimestamps.differs(canonical, *stamp)) changed_ = true;
    stamps[canonical] = *stamp;
  }

  // The first constant of a CONST line, kept for CALL paths that use it.
  void recordConst(const std::u16string& line) {
    if (line.compare(0, 6, u"CONST ") != 0) return;
    const size_t eq = line.find(u'=', 6);
    if (eq == std::u16string::npos) return;
    const std::u16string name = TrimScript(std::u16string_view(line).substr(6, eq - 6));
    if (name.empty() || r_.ReaderConsts.count(name)) return;
    std::u16string text = TrimScript(std::u16string_view(line).substr(eq + 1));
    const size_t comma = FindOutsideQuotes(text, u",");
    const size_t semi = FindOutsideQuotes(text, u";");
    const size_t cut = std::min(comma, semi);
    if (cut != std::u16string::npos) text = TrimScript(std::u16string_view(text).substr(0, cut));
    const ReaderConstResult v = r_.EvalReaderConst(text);
    r_.ReaderConsts[name] = v.failed ? ReaderConstValue{text, true} : ReaderConstValue{v.value, v.isString};
  }

  // Rewrites every CALL of the line (also in the statements after it) into a
  // call of the CALLed file's procedure, reading the file the first time.
  // Each CALL's target ends at the next ";" and the statements after it are
  // looked at in turn, without recursion or copies of the rest of the line,
  // so a line of any length and any number of CALLs is handled in one pass.
  void handleCalls(std::u16string& line, const std::u16string& baseFolder) {
    std::u16string_view rest = line;
    std::u16string rewritten;
    bool changed = false;
    for (;;) {
      const std::u16string first = FirstWord(rest);
      if (first == u"DEF_DLL" || first == u"TEXTBLOCK") break;
      const size_t pos = findCall(rest);
      if (pos == std::u16string::npos) break;
      const std::u16string_view after = TrimScriptView(rest.substr(pos + 5));
      const size_t semi = FindOutsideQuotes(after, u";");
      const std::u16string target = TrimScript(after.substr(0, semi));
      rewritten.append(rest.substr(0, pos + 5));
      rewritten += callTarget(target, baseFolder);
      changed = true;
      rest = semi == std::u16string::npos ? std::u16string_view() : TrimScriptView(after.substr(semi + 1));
      if (rest.empty()) break;
      rewritten += u';';
    }
    if (!changed) return;
    rewritten.append(rest);
    line = std::move(rewritten);
  }

  // The procedure call that replaces a CALL target (with its argument list).
  std::u16string callTarget(const std::u16string& target, const std::u16string& baseFolder) {
    const size_t argsAt = argumentListStart(target);
    const std::u16string args = argsAt == std::u16string::npos ? std::u16string() : target.substr(argsAt);
    std::u16string file = TrimScript(std::u16string_view(target).substr(0, argsAt));
    if (file.find(u'"') != std::u16string::npos) {
      const ReaderConstResult v = r_.EvalReaderConst(file);
      if (v.failed) {
        Message m = reader_messages::CallSyntax(target);
        if (!v.problem.empty()) m.english += u" (" + v.problem + u")";
        throw ReadFailed{m};
      }
      file = TrimScript(v.value);
    }
    file = asciiUpper(withBackslashes(file));
    if (file.empty()) throw ReadFailed{reader_messages::CallSyntax(target)};
    const size_t slash = file.rfind(u'\\');
    if (file.find(u".MQS", slash == std::u16string::npos ? 0 : slash) == std::u16string::npos) file += u".MQS";
    const std::u16string full = resolve(file, baseFolder);
    // A path met before during this read is the file included then; the file
    // system is not asked again (a line may CALL one file many times).
    if (auto seen = byPath_.find(full); seen != byPath_.end()) return seen->second + args;
    if (!p_.files.fileExists(full)) throw ReadFailed{reader_messages::FileNotFound(full)};

    // One file reached two ways is the same file: it is read once and every
    // CALL of it calls the procedure named at the first meeting.
    const std::u16string canonical = p_.files.canonicalPath(full);
    auto known = included_.find(canonical);
    if (known != included_.end()) {
      byPath_.emplace(full, known->second);
      return known->second + args;
    }
    const std::u16string name = procedureNameOf(full);
    included_.emplace(canonical, name);
    byPath_.emplace(full, name);
    const auto stamp = p_.files.stamp(full);
    Lines fileLines;
    readScriptFile(full, fileLines);
    noteStamp(full, stamp);
    appendFile(fileLines, name, folderOf(full), false);
    return name + args;
  }

  // A relative path is taken relative to the folder of the file that CALLs it;
  // "." and ".." are resolved. The result is upper case with "\" separators.
  std::u16string resolve(const std::u16string& path, const std::u16string& baseFolder) {
    const bool absolute = (!path.empty() && path[0] == u'\\') || (path.size() >= 2 && path[1] == u':');
    const std::u16string joined = absolute ? path : baseFolder + u"\\" + path;
    return asciiUpper(withBackslashes(p_.files.fullPath(joined)));
  }

  TReadMqsFile& r_;
  platform::Platform& p_;
  Lines& lines_;
  ModuleNumbers modules_;
  LineNormaliser norm_;
  std::vector<Segment> segments_;
  std::map<std::u16string, std::u16string> included_;  // canonical path -> procedure name
  std::map<std::u16string, std::u16string> byPath_;    // resolved path as CALLed -> procedure name
  bool changed_ = false;
};

TReadMqsFile::TReadMqsFile(platform::Platform& platform)
    : Folders(PlatformReaderFolders(platform)), platform_(platform) {}

bool TReadMqsFile::creUscrptFil(Lines& lines, const std::u16string& path) {
  ReaderConsts.clear();
  ReadError.clear();
  const bool japanese = platform_.locale.japanese();
  try {
    MqsReadPass read(*this, lines);
    const bool changed = read.run(path);
    ScriptTimestamps.replace(std::move(read.stamps));
    return changed;
  } catch (const ReadFailed& f) {
    ReadError = f.message.in(japanese);
  } catch (const std::exception& e) {
    ReadError = reader_messages::Exception(utf8ToUtf16(e.what())).in(japanese);
  }
  // Nothing of a failed read may run, and the next read must check everything again.
  lines.clear();
  ScriptTimestamps.clear();
  return true;
}

TextReadResult TReadMqsFile::ReadTextFile(const std::u16string& path, Lines& lines) {
  return engine::ReadTextFile(platform_, path, lines);
}

DecipherResult TReadMqsFile::Decipher(Lines& lines, const std::u16string& path) {
  return engine::Decipher(platform_, lines, path);
}

Message TReadMqsFile::Encipher(Lines& lines, const std::u16string& source, const std::u16string& output) {
  return engine::Encipher(platform_, lines, source, output);
}

ReaderConstResult TReadMqsFile::EvalReaderConst(std::u16string_view text) const {
  return engine::EvalReaderConst(text, ReaderConsts, Folders);
}

}  // namespace maqo::engine
