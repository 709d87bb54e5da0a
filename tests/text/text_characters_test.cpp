#include <gtest/gtest.h>

#include "text/text.h"

namespace quorvane {
namespace {

constexpr const char* kWideSpace = "\xA1\xA1";

struct SpaceCase {
  Text text;
  Text trimmed;
  Text removed;
};

TEST(SpacesTest, BothSpacesGoNothingElse) {
  const Text w = kWideSpace;
  const SpaceCase cases[] = {
      {"  a b  ", "a b", "ab"},
      {w + "a" + w + "b" + w, "a" + w + "b", "ab"},
      {"\ta\r\n", "\ta\r\n", "\ta\r\n"},
      {" " + w + " ", "", ""},
      {"", "", ""},
      // B0 A1 is a character: only the A1 A1 after it is a space.
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1", "\xB0\xA1"},
      {w + "\xA1", "\xA1", "\xA1"},
      {"a\xA1", "a\xA1", "a\xA1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimSpaces(c.text), c.trimmed) << "text \"" << c.text << "\"";
    EXPECT_EQ(RemoveSpaces(c.text), c.removed) << "text \"" << c.text << "\"";
  }
}

TEST(ToLowerCaseTest, FoldsOnlyOneByteLetters) {
  EXPECT_EQ(ToLowerCase("AbC-Z\xB0\x41xY"), "abc-z\xB0\x41xy");
  EXPECT_EQ(ToLowerCase("A\xC1"), "a\xC1");
  EXPECT_EQ(ToLowerCase(""), "");
}

}  // namespace
}  // namespace quorvane
