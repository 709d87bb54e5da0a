#include "resolve/decode_escapes.h"

#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"

namespace quorvane {
namespace {

struct DecodeCase {
  const char* what;
  std::string input;     // UTF-8, converted to code page 936 before decoding
  std::string expected;  // UTF-8
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.what;
}

class DecodeEscapesTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeEscapesTest, DecodesAsTheLiteralAndUnescapeWould) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(DecodeEscapes(Cp936FromUtf8(c.input)), Cp936FromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeEscapesTest,
    ::testing::Values(
        DecodeCase{"unicode escapes become code page 936", R"(\u6587\u4ef6.zip)", "文件.zip"},
        DecodeCase{"upper-case hex digits", R"(\u6587\u4EF6)", "文件"},
        DecodeCase{"plain text unchanged", "报告 (final) v2.txt", "报告 (final) v2.txt"},
        DecodeCase{"empty", "", ""}, DecodeCase{"apostrophe survives", "it's", "it's"},
        DecodeCase{"right single quotation mark becomes apostrophe", "a\u2019b", "a'b"},
        DecodeCase{"escaped right single quotation mark too", R"(a\u2019b)", "a'b"},
        DecodeCase{"CR LF survives", "a\r\nb", "a\r\nb"},
        DecodeCase{"CR LF stand-in in the text becomes CR LF", "a{$}b", "a\r\nb"},
        DecodeCase{"leading lone CR dropped", "\rab", "ab"},
        DecodeCase{"leading CR LF kept", "\r\nab", "\r\nab"},
        DecodeCase{"lone LF invalidates", "a\nb", ""},
        DecodeCase{"lone CR after the first byte invalidates", "a\rb", ""},
        DecodeCase{"a second CR after the dropped one invalidates", "\r\rab", ""},
        DecodeCase{"percent with two hex digits", "100%25", "100%"},
        DecodeCase{"percent forms", "%41%4a%u4e2d%", "AJ中%"},
        DecodeCase{"backslash-u without four hex digits", R"(\u12.txt)", "%u12.txt"},
        DecodeCase{"backslash-u with non-hex digits", R"(\uZZZZ)", "%uZZZZ"},
        DecodeCase{"%00 ends the result", "ab%00cd", "ab"},
        DecodeCase{"escaped U+0000 ends the result", R"(ab\u0000cd)", "ab"},
        DecodeCase{"unpaired backslash at the end", R"(abc\)", ""},
        DecodeCase{"paired backslash at the end", R"(abc\\)", R"(abc\)"},
        DecodeCase{"JSON escapes", R"(\/\"\\)", R"(/"\)"},
        DecodeCase{"character escapes", R"(\t\b\x41\q)", "\t\bAq"},
        DecodeCase{"malformed hex escape keeps the letter", R"(\x4g)", "x4g"},
        DecodeCase{"octal escapes take at most three digits up to 377", R"(\101\1010\477)",
                   "AA0'7"},
        DecodeCase{"octal zero ends the result", R"(a\08)", "a"},
        DecodeCase{"a second byte equal to backslash starts no escape", "淺u0041", "淺u0041"}));

}  // namespace
}  // namespace quorvane
