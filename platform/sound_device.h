// Sound output for SOUND: a player for sound files, tones and the default
// system beep, and the system's event-sound settings.
#pragma once
#include <string>
#include <vector>

namespace maqo::platform {

// One event sound the user has set: application key (".DEFAULT" for the
// system's own events), event key and the file as the setting holds it.
struct EventSound {
  std::u16string application;
  std::u16string event;
  std::u16string file;
};

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // False where this system has no player (the builtin then reports that).
  virtual bool available() = 0;
  // Opens the file and starts playing it on the wave output device (0: the
  // default device). False when it could not be opened or played.
  virtual bool play(const std::u16string& file, int device) = 0;
  // True while the sound started by play is still playing.
  virtual bool playing() = 0;
  // Stops and closes the player.
  virtual void close() = 0;
  // A tone of hz for ms (blocks for that time).
  virtual void tone(int hz, int ms) = 0;
  // The system's default beep.
  virtual void defaultBeep() = 0;
  virtual std::vector<EventSound> eventSounds() = 0;
};

}  // namespace maqo::platform
