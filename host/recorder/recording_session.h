// One recording from start to stop, without the recording library itself:
// each poll drains the queued records through the converter of the level,
// and the stop runs the clean-up of that level. The host supplies the record
// reader (the library's Read_Rec) and the window facts.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/recorder/level_one_converter.h"
#include "host/recorder/level_zero_cleanup.h"
#include "host/recorder/level_zero_converter.h"

namespace maqo::host::recorder {

struct RecordingSettings {
  int level = 0;                      // RecLevel
  bool relativePositions = false;     // MouseOrg = "1"
  bool dropExtraMovements = false;    // NotExtraMovRec = "1"
  RecorderOwnWindows own;
  bool japanese = false;
};

// The next queued record, or an empty text when none is queued.
using RecordReader = std::function<std::u16string()>;

class RecordingSession {
 public:
  // Level 0 needs only the window facts; level 1 and above the surroundings.
  RecordingSession(LevelOneSurroundings& surroundings, RecordingSettings settings);

  // Reads records until an empty one comes. A reader that never runs dry is
  // cut off after kMaxRecordsPerPoll records so the user interface keeps
  // running; the rest is read by the next poll. Returns the records read.
  size_t poll(const RecordReader& read);

  // The cleaned-up recording; the session is done after this.
  std::vector<std::u16string> stop();

  const std::vector<std::u16string>& lines() const { return lines_; }

  static constexpr size_t kMaxRecordsPerPoll = 100000;

 private:
  LevelOneSurroundings& surroundings_;
  RecordingSettings settings_;
  std::unique_ptr<LevelZeroConverter> levelZero_;
  std::unique_ptr<LevelOneConverter> levelOne_;
  std::vector<std::u16string> lines_;
};

}  // namespace maqo::host::recorder
