// The single-instance test a start makes.
#include <gtest/gtest.h>

#include "host/instance_rule.h"

namespace maqo::host {
namespace {

TEST(HostInstanceRule, ModeAndNotMultiplexChooseTheMutexes) {
  using M = std::vector<std::u16string>;
  const M one = {kInstanceMutex}, two = {kInstanceMutex, kSecondInstanceMutex}, none = {};
  const struct {
    const char* label;
    StartMode mode;
    int notMultiplex;
    M mutexes;
    bool silent;
  } cases[] = {
      {"normal start, default", StartMode::Normal, 0, one, false},
      {"hand-over fallback starts as normal", StartMode::HandOverPlay, 0, one, false},
      {"load fallback starts as normal", StartMode::HandOverLoad, 0, one, false},
      {"run-and-exit beside a running host", StartMode::RunAndExit, 0, none, false},
      {"run-and-exit with 1", StartMode::RunAndExit, 1, one, false},
      {"silent refusal", StartMode::Normal, -1, one, true},
      {"two allowed", StartMode::Normal, 2, two, false},
      {"two allowed, silent, run-and-exit", StartMode::RunAndExit, -2, two, true},
      {"other numbers test nothing for run-and-exit", StartMode::RunAndExit, 5, none, false},
      {"other numbers keep the normal start's test", StartMode::Normal, 5, one, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const InstanceRule rule = InstanceRuleFor(c.mode, c.notMultiplex);
    EXPECT_EQ(rule.mutexes, c.mutexes);
    EXPECT_EQ(rule.silent, c.silent);
  }
}

}  // namespace
}  // namespace maqo::host
