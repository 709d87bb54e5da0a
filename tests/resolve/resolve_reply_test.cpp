#include "resolve/resolve_reply.h"

#include <gtest/gtest.h>

#include "text/code_page.h"

namespace quorvane {
namespace {

TEST(ReadResolveReply, CutsEachFieldIndependently) {
  const Text reply =
      R"({"size": "77", "name": "\u6587\u4ef6.zip", "md5": "abc", "download": "http:\/\/h\/f", )"
      R"("x": "y"})";
  const ResolvedFile resolved = ReadResolveReply(reply);
  EXPECT_EQ(resolved.responseText, reply);
  EXPECT_EQ(resolved.fileName, Cp936FromUtf8("文件.zip"));
  EXPECT_EQ(resolved.fileSize, "77");
  EXPECT_EQ(resolved.fileMd5, "abc");
  EXPECT_EQ(resolved.downloadAddress, R"(http:\/\/h\/f)");  // only the name is decoded
}

TEST(ReadResolveReply, AValueWithoutItsEndRunsOnToTheNextEndMarker) {
  // The md5 is last, so its value runs to the comma after the download address.
  const ResolvedFile resolved =
      ReadResolveReply(R"({"md5": "abc"} tail "download": "u", "name": "n", "z": "")");
  EXPECT_EQ(resolved.fileMd5, R"(abc"} tail "download": "u)");
  EXPECT_EQ(resolved.downloadAddress, "u");
  EXPECT_EQ(resolved.fileName, "n");
  EXPECT_EQ(resolved.fileSize, "");
}

}  // namespace
}  // namespace quorvane
