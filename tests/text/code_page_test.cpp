#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"

namespace quorvane {
namespace {

TEST(CodePageTest, Utf8RoundTripsThroughCp936) {
  const std::string utf8 = "下载完毕 a.txt €";
  const Text text = Cp936FromUtf8(utf8);
  EXPECT_EQ(text, "\xCF\xC2\xD4\xD8\xCD\xEA\xB1\xCF a.txt \x80");
  EXPECT_EQ(Utf8FromCp936(text), utf8);
  EXPECT_EQ(Cp936FromUtf8(""), "");
  EXPECT_EQ(Utf8FromCp936(""), "");
}

TEST(CodePageTest, WhatCannotBeConvertedBecomesAQuestionMark) {
  const struct {
    std::string utf8;
    Text expected;
  } fromUtf8[] = {
      {"a😀b", "a?b"},
      {"한글", "??"},
      {"a\xFF"
       "b",
       "a?b"},
      {"a\xE4\xB8"
       "b",
       "a?b"},  // a broken sequence keeps what follows it
      {"a\xE4\xB8", "a?"},
  };
  for (const auto& c : fromUtf8) EXPECT_EQ(Cp936FromUtf8(c.utf8), c.expected) << c.utf8;

  const struct {
    Text text;
    std::string expected;
  } toUtf8[] = {
      {"\xFF", "?"},
      {"a\xB0", "a?"},  // cut short at the end
      {"\x81\x30z", "?0z"},
      {"\xA1\xA1x", "　x"},
  };
  for (const auto& c : toUtf8) EXPECT_EQ(Utf8FromCp936(c.text), c.expected) << c.text;
}

TEST(CodePageTest, LongTextsGrowTheOutput) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "€中a";
  const Text text = Cp936FromUtf8(utf8);
  EXPECT_EQ(text.size(), 5000u * 4);
  EXPECT_EQ(Utf8FromCp936(text), utf8);
  EXPECT_EQ(Utf16FromCp936(text).size(), 5000u * 3);
}

TEST(CodePageTest, Utf16RoundTripsAndEndsAtTheFirstNul) {
  const std::u16string utf16 = u"下载 €x";
  const Text text = Cp936FromUtf16(utf16);
  EXPECT_EQ(text, Cp936FromUtf8("下载 €x"));
  EXPECT_EQ(Utf16FromCp936(text), utf16);
  EXPECT_EQ(Cp936FromUtf16(std::u16string(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(Cp936FromUtf16(std::u16string(u"\0cd", 3)), "");
  EXPECT_EQ(Cp936FromUtf16(u""), "");
  EXPECT_EQ(Utf16FromCp936(""), u"");
}

TEST(CodePageTest, Utf16UnconvertibleUnitsBecomeQuestionMarks) {
  EXPECT_EQ(Cp936FromUtf16(u"a😀b"), "a?b");  // one mark for the whole surrogate pair
  EXPECT_EQ(Cp936FromUtf16(std::u16string{u'a', char16_t{0xD800}, u'b'}), "a?b");
  EXPECT_EQ(Cp936FromUtf16(std::u16string{u'a', char16_t{0xDC00}}), "a?");
  EXPECT_EQ(Utf16FromCp936("a\xFF"
                           "b"),
            u"a?b");
  EXPECT_EQ(Utf16FromCp936("a\xB0"), u"a?");
}

}  // namespace
}  // namespace quorvane
