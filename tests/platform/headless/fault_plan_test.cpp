// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/fault_plan.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/error.h"

namespace velmora::headless {
namespace {

using Call = PlatformCall;

// The position in `calls` of the call that raised, and whether more did.
struct Outcome {
  std::optional<std::size_t> failedAt;
  int failures = 0;
};

Outcome MakeCalls(FaultPlan& plan, const std::vector<Call>& calls) {
  Outcome outcome;
  for (std::size_t at = 0; at < calls.size(); ++at) {
    try {
      plan.Enter(calls[at]);
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), kErrDeviceUnavailable);
      if (!outcome.failedAt) outcome.failedAt = at;
      ++outcome.failures;
    }
  }
  return outcome;
}

TEST(FaultPlan, FailsTheNthCallOfAKindOrOfAnyKindOnce) {
  const std::vector<Call> calls = {Call::kListFolder, Call::kReadFile, Call::kListFolder, Call::kTypeOf,
                                   Call::kListFolder};
  struct Case {
    int n;
    std::optional<Call> kind;
    std::optional<std::size_t> failedAt;
  };
  const Case cases[] = {
      {1, std::nullopt, 0},   {4, std::nullopt, 3},      {6, std::nullopt, std::nullopt},
      {2, Call::kListFolder, 2}, {3, Call::kListFolder, 4}, {1, Call::kTypeOf, 3},
      {1, Call::kKill, std::nullopt},
  };
  for (const Case& c : cases) {
    FaultPlan plan;
    plan.FailNthCall(c.n, kErrDeviceUnavailable, c.kind);
    const Outcome outcome = MakeCalls(plan, calls);
    const auto label = std::to_string(c.n) + (c.kind ? " " + std::string(NameOf(*c.kind)) : " of any kind");
    EXPECT_EQ(outcome.failedAt, c.failedAt) << label;
    EXPECT_EQ(outcome.failures, c.failedAt ? 1 : 0) << label;
    EXPECT_EQ(plan.fired(), c.failedAt.has_value()) << label;
    EXPECT_EQ(plan.count(Call::kListFolder), 3) << "every call is counted, the failing one too";
  }
}

TEST(FaultPlan, CountsEveryCallAndFailsOnlyTheArrangedOneOnce) {
  FaultPlan plan;
  plan.FailNthCall(2, kErrDiskFull);
  plan.Enter(PlatformCall::kDir);
  EXPECT_FALSE(plan.fired());
  try {
    plan.Enter(PlatformCall::kKill);
    ADD_FAILURE() << "the second call did not fail";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), kErrDiskFull);
  }
  EXPECT_TRUE(plan.fired());
  plan.Enter(PlatformCall::kKill);

  plan.FailNthCall(1, kErrDeviceIo, PlatformCall::kReadFile);
  plan.Enter(PlatformCall::kDir);
  EXPECT_THROW(plan.Enter(PlatformCall::kReadFile), Error);
  EXPECT_EQ(plan.count(PlatformCall::kDir), 2);
  EXPECT_EQ(plan.count(PlatformCall::kKill), 2);
  EXPECT_EQ(plan.count(PlatformCall::kReadFile), 1);
}

}  // namespace
}  // namespace velmora::headless
