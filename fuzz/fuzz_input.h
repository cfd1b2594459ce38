// What every fuzz target shares: an input read as a script file's bytes, a
// user interface that shows nothing, and the way a target reports a finding.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace maqo::fuzz {

// The input as the reader decodes a script file's bytes: a UTF-16 LE or UTF-8
// mark, else UTF-8 when valid with a multi-byte sequence, else the ANSI code
// page. So any bytes give text, and "FF FE" inputs reach every UTF-16 code
// unit, lone surrogates included.
std::u16string DecodeInput(const uint8_t* data, size_t size, platform::Locale& locale);

// A clock on which every wait passes at once: sleeping moves it forward by the
// time slept. Script threads share it, so it is atomic.
class InstantClock final : public platform::Clock {
 public:
  int64_t monotonicMs() override { return now_.load(std::memory_order_relaxed); }
  void sleepMs(int ms) override { now_.fetch_add(ms > 0 ? ms : 0, std::memory_order_relaxed); }

 private:
  std::atomic<int64_t> now_{1000};
};

// A user interface that shows nothing. Output is counted and dropped, so a
// script that prints in a loop does not pile up memory. What it is asked to
// show is watched for internal exceptions: the engine shows them with the
// name of the operation they broke out of in front ("pplay:", "UScrCall:",
// "creUscrptFil:", "Analysis:"), and for any input each one is a fault of the
// engine, except running out of memory, which a script can always ask for.
class QuietUi final : public platform::UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string&) override { note(text); }
  void errorDialog(const std::u16string& message) override { note(message); }
  void printLine(const std::u16string& text) override { shownUnits += text.size(); }
  void beep() override {}
  void pumpMessages() override {}

  void clear() {
    internalFailure.clear();
    shownUnits = 0;
  }

  // The first message that reported an internal exception, or empty.
  std::u16string internalFailure;
  uint64_t shownUnits = 0;

 private:
  void note(const std::u16string& text);
};

// Reports a fault the sanitizers cannot see (a broken promise of an interface,
// an internal exception turned into a message) and aborts, so libFuzzer
// records the input as a crash.
[[noreturn]] void Finding(std::string_view what, std::u16string_view detail = {});

// True when text begins with prefix.
inline bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace maqo::fuzz
