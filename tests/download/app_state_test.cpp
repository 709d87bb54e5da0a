#include "shell/app_state.h"

#include <gtest/gtest.h>

#include <memory>

#include "fake_request.h"

namespace quorvane::testing {
namespace {

// Records, when the downloader lets it go, which resolve results were already released.
class WatchedRequest : public FakeRequest {
 public:
  WatchedRequest(FakeClock& clock, bool& addressGone, bool& replyGone)
      : FakeRequest(clock), addressGone_(addressGone), replyGone_(replyGone) {}
  ~WatchedRequest() override {
    addressGone_ = Globals().resolvedFile.downloadAddress.empty();
    replyGone_ = Globals().resolvedFile.responseText.empty();
  }

 private:
  bool& addressGone_;
  bool& replyGone_;
};

TEST(AppState, ReleaseGlobalsFreesEverythingInItsOrder) {
  auto clock = std::make_shared<FakeClock>();
  bool addressGone = false;
  bool replyGone = true;
  int requestsMade = 0;
  CreateDownloader(
      [&]() -> std::shared_ptr<HttpRequest> {
        ++requestsMade;
        return std::make_shared<WatchedRequest>(*clock, addressGone, replyGone);
      },
      clock);
  ASSERT_NE(Globals().downloader, nullptr);
  EXPECT_FALSE(Globals().downloader->initialised());
  EXPECT_EQ(requestsMade, 0);
  ASSERT_TRUE(Globals().downloader->Initialise(nullptr, nullptr));
  Globals().resolvedFile = {"http://host/a.zip", "{reply}", "a.zip", "900", "md5"};

  ReleaseGlobals();

  // The address goes before the downloader, the other four after it.
  EXPECT_TRUE(addressGone);
  EXPECT_FALSE(replyGone);
  EXPECT_EQ(Globals().downloader, nullptr);
  const ResolvedFile& released = Globals().resolvedFile;
  EXPECT_EQ(released.downloadAddress, "");
  EXPECT_EQ(released.responseText, "");
  EXPECT_EQ(released.fileName, "");
  EXPECT_EQ(released.fileSize, "");
  EXPECT_EQ(released.fileMd5, "");

  ReleaseGlobals();
  EXPECT_EQ(Globals().downloader, nullptr);
}

}  // namespace
}  // namespace quorvane::testing
