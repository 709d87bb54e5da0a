#include "resolve/safe_file_name.h"

#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"

namespace quorvane {
namespace {

struct NameCase {
  std::string name;      // code page 936 bytes
  std::string expected;  // code page 936 bytes
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.name);
}

class SafeFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNameTest, StaysOneNameInsideTheFolder) {
  EXPECT_EQ(SafeFileName(GetParam().name), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeFileNameTest,
    ::testing::Values(NameCase{"report v2.zip", "report v2.zip"},
                      NameCase{"../../.profile", ".._.._.profile"}, NameCase{"/etc/x", "_etc_x"},
                      NameCase{"a\\b", "a_b"}, NameCase{".", ""}, NameCase{"..", ""},
                      NameCase{"...", "..."}, NameCase{"", ""}, NameCase{"a\tb\nc\x7f", "a_b_c_"},
                      // Whole characters stay, also one whose second byte is "\".
                      NameCase{Cp936FromUtf8("文件 淺.txt"), Cp936FromUtf8("文件 淺.txt")},
                      // A lead byte before "/" or at the end forms no character.
                      NameCase{"\x81/etc", "__etc"}, NameCase{"a\x80/b", "a__b"},
                      NameCase{"ab\xC4", "ab_"}));

TEST(SafeFileName, NeverGivesASeparatorInTheDesktopEncoding) {
  // Every lead byte before every ASCII byte: the converted name must hold no separator.
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int next = 0x01; next <= 0x7F; ++next) {
      const Text name = {static_cast<char>(lead), static_cast<char>(next)};
      const std::string utf8 = Utf8FromCp936(SafeFileName(name));
      EXPECT_EQ(utf8.find('/'), std::string::npos) << lead << " " << next;
      EXPECT_EQ(utf8.find('\\'), std::string::npos) << lead << " " << next;
    }
  }
}

}  // namespace
}  // namespace quorvane
