#include "host/recorder/recording_session.h"

namespace maqo::host::recorder {

RecordingSession::RecordingSession(LevelOneSurroundings& surroundings, RecordingSettings settings)
    : surroundings_(surroundings), settings_(std::move(settings)) {
  if (settings_.level <= 0)
    levelZero_ = std::make_unique<LevelZeroConverter>(surroundings_, settings_.own, settings_.relativePositions);
  else
    levelOne_ = std::make_unique<LevelOneConverter>(
        surroundings_, LevelOneOptions{settings_.level, settings_.own.stopForm, settings_.japanese});
}

size_t RecordingSession::poll(const RecordReader& read) {
  const bool levelZero = levelZero_ != nullptr;
  size_t count = 0;
  while (count < kMaxRecordsPerPoll) {
    const std::u16string text = read();
    if (text.empty()) break;
    ++count;
    const auto record = ParseEventRecord(text, levelZero);
    if (!record) continue;  // malformed: no line
    if (levelZero) levelZero_->convert(*record, lines_);
    else levelOne_->convert(*record, lines_);
  }
  return count;
}

std::vector<std::u16string> RecordingSession::stop() {
  if (levelZero_) {
    LevelZeroCleanupOptions options;
    options.dropExtraMovements = settings_.dropExtraMovements;
    options.virtualDesktop = surroundings_.virtualDesktop();
    return CleanUpLevelZero(std::move(lines_), options);
  }
  return FinishLevelOne(std::move(lines_), settings_.own.recordingCaption);
}

}  // namespace maqo::host::recorder
