#include "cli/interruptible_request.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

// Records the waits and aborts that reach the real request object.
class WaitRecorder : public HttpRequest {
 public:
  void Open(const Text&, const Text&, bool) override {}
  void SetRequestHeader(const Text&, const Text&) override {}
  void Send() override {}
  int ReadyState() override { return 1; }
  void WaitForResponse(int milliseconds) override { waits.push_back(milliseconds); }
  void Abort() override { ++aborts; }
  int Status() override { return 0; }
  Text StatusText() override { return {}; }
  Bytes ResponseBody() override { return {}; }
  Text GetResponseHeader(const Text&) override { return {}; }

  std::vector<int> waits;
  int aborts = 0;
};

struct Doubles {
  std::shared_ptr<WaitRecorder> inner = std::make_shared<WaitRecorder>();
  bool interrupted = false;
  int givenUp = 0;

  InterruptibleRequest Make(std::chrono::milliseconds grace) {
    return InterruptibleRequest(
        inner, [this] { return interrupted; }, [this] { ++givenUp; }, grace);
  }
};

TEST(InterruptibleRequest, WaitsAsAskedUntilInterrupted) {
  Doubles doubles;
  InterruptibleRequest request = doubles.Make(std::chrono::seconds(60));

  request.WaitForResponse(1000);
  request.Abort();

  EXPECT_EQ(doubles.inner->waits, std::vector<int>{1000});
  EXPECT_EQ(doubles.inner->aborts, 1);
  EXPECT_EQ(doubles.givenUp, 0);
}

TEST(InterruptibleRequest, AfterInterruptWaitsOnlyWithinTheGraceThenGivesUp) {
  Doubles doubles;
  InterruptibleRequest request = doubles.Make(std::chrono::milliseconds(50));
  doubles.interrupted = true;

  request.WaitForResponse(1000);
  ASSERT_EQ(doubles.inner->waits.size(), 1u);
  EXPECT_LE(doubles.inner->waits[0], 50);
  EXPECT_EQ(doubles.givenUp, 0);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (doubles.givenUp == 0 && std::chrono::steady_clock::now() < deadline) {
    request.WaitForResponse(1000);
  }
  EXPECT_EQ(doubles.givenUp, 1);
  for (int wait : doubles.inner->waits) {
    EXPECT_LE(wait, 50);
  }
}

TEST(InterruptibleRequest, WithoutGraceGivesUpAtTheFirstWait) {
  Doubles doubles;
  InterruptibleRequest request = doubles.Make(std::chrono::milliseconds(0));
  doubles.interrupted = true;

  request.WaitForResponse(1000);

  EXPECT_TRUE(doubles.inner->waits.empty());
  EXPECT_EQ(doubles.givenUp, 1);
}

}  // namespace
}  // namespace quorvane
