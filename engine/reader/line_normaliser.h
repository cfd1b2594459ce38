// Line normalisation of script source: one physical line in, one line out.
// Comments go, continued lines are joined onto the last line of the group (the
// lines before it become empty, so line numbers stay), white space and letter
// case are normalised outside strings, TEXTBLOCK bodies pass through verbatim
// and modules are numbered in the order they are met.
#pragma once
#include <map>
#include <string>

namespace maqo::engine {

// Module name -> number, shared by every file of one read.
using ModuleNumbers = std::map<std::u16string, int>;

class LineNormaliser {
 public:
  // With modules, MODULE and CLASS lines get their module's number appended.
  explicit LineNormaliser(ModuleNumbers* modules = nullptr) : modules_(modules) {}

  struct Result {
    std::u16string text;
    bool verbatim = false;   // a TEXTBLOCK body line, returned as read
  };

  // Normalises the next line. lastOfFile marks the last physical line of a
  // file: a "_" there ends the pending continuation instead of carrying it on.
  Result normalise(const std::u16string& line, bool lastOfFile = false);

  // A new file starts: no TEXTBLOCK is open and nothing is pending.
  void startFile();

  bool inTextBlock() const { return textBlock_; }

 private:
  std::u16string finishLine(const std::u16string& trimmed);
  void numberModule(std::u16string& line);

  ModuleNumbers* modules_;
  bool textBlock_ = false;
  bool pending_ = false;
  std::u16string pendingText_;
};

}  // namespace maqo::engine
