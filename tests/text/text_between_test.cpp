#include <gtest/gtest.h>

#include "text/code_page.h"
#include "text/text.h"

namespace quorvane {
namespace {

struct BetweenCase {
  Text text;
  Text startMarker;
  Text endMarker;
  int start;
  bool ignoreCase;
  Text expected;
};

TEST(TextBetweenTest, CutsBetweenTheFirstStartMarkerAndTheNextEndMarker) {
  const Text quote = Cp936FromUtf8("#引号");
  const Text reply = R"({"name":"a.txt","size":"12"})";
  const BetweenCase cases[] = {
      {reply, quote + "name" + quote + ":" + quote, quote, 0, false, "a.txt"},
      {reply, R"("size":")", R"(")", 0, false, "12"},
      {reply, R"("md5":")", R"(")", 0, false, ""},
      {reply, R"("size":")", "}}", 0, false, ""},
      {"a[]b", "[", "]", 0, false, ""},
      {"a[1]b[2]", "[", "]", 0, false, "1"},
      {"a[1]b[2]", "[", "]", 4, false, "2"},
      {"<x<y>", "<", ">", 0, false, "x<y"},
      {"aaa", "aa", "a", 0, false, ""},
      {"aXa", "a", "a", 0, false, "X"},
      {"NAME=x;", "name=", ";", 0, true, "x"},
      {"NAME=x;", "name=", ";", 0, false, ""},
      {"key=", "key=", ";", 0, false, ""},
      // B0 22 is one character: its second byte is not a quote.
      {"\xB0\"x\"y\"", "\"", "\"", 0, false, "y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker, c.start, c.ignoreCase), c.expected)
        << "text " << c.text << " start marker " << c.startMarker;
  }
}

}  // namespace
}  // namespace quorvane
