// The terminal read under a dialog: a stop request ends a wait on input that
// never comes, and the lines that do come are read one at a time.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/dialog_windows.h"

namespace maqo::platform {
namespace {

// Standard input replaced by a pipe the test writes, for the test's lifetime.
class PipedStandardInput {
 public:
  PipedStandardInput() {
    EXPECT_EQ(::pipe(ends_), 0);
    saved_ = ::dup(STDIN_FILENO);
    ::dup2(ends_[0], STDIN_FILENO);
  }
  ~PipedStandardInput() {
    closeWriter();
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
    ::close(ends_[0]);
  }
  void write(const std::string& text) { ASSERT_EQ(::write(ends_[1], text.data(), text.size()), ssize_t(text.size())); }
  void closeWriter() {
    if (ends_[1] >= 0) ::close(ends_[1]);
    ends_[1] = -1;
  }

 private:
  int ends_[2] = {-1, -1};
  int saved_ = -1;
};

TEST(TerminalAnswerTest, StopRequestEndsAWaitForALineThatNeverComes) {
  PipedStandardInput input;
  int checks = 0;
  const TerminalAnswer answer = readTerminalAnswer([&] { return ++checks == 3; }, 0);
  EXPECT_EQ(answer.end, TerminalAnswer::End::Stopped);
  EXPECT_EQ(checks, 3) << "the wait goes on checking between slices until the stop";
}

TEST(TerminalAnswerTest, LinesAreReadOneAtATimeThenEndOfInput) {
  PipedStandardInput input;
  input.write("first\r\nsecond\nthird");
  input.closeWriter();
  const DialogStopCheck never = [] { return false; };
  for (const std::u16string expected : {u"first", u"second", u"third"}) {
    const TerminalAnswer answer = readTerminalAnswer(never, 0);
    EXPECT_EQ(answer.end, TerminalAnswer::End::Line);
    EXPECT_EQ(answer.line, expected);
  }
  EXPECT_EQ(readTerminalAnswer(never, 0).end, TerminalAnswer::End::EndOfInput);
}

}  // namespace
}  // namespace maqo::platform
#endif  // standard input is polled alike on every POSIX system; Windows has its own read
