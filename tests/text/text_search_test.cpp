#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "text/text.h"

namespace quorvane {
namespace {

// B0 41 is one two-byte character whose second byte is the letter A.
constexpr const char* kWideA = "\xB0\x41";

struct FindCase {
  Text text;
  Text pattern;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindTextTest, FindsByCharactersFromStart) {
  const FindCase cases[] = {
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", 4, false, 6},  // counted from the start of the whole text
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", 7, false, -1},
      {"abc", "abcd", 0, false, -1},
      {"abc", "", 0, false, 1},
      {"abc", "", 3, false, 1},  // 1, not the start position
      {"abc", "", 4, false, -1},
      {"", "", 0, false, -1},
      {"", "a", 0, false, -1},
      {Text(kWideA) + "A", "A", 0, false, 3},  // never inside a two-byte character
      {Text(kWideA) + "aa", "aa", 0, false, 3},
      {Text(kWideA) + "aab", "aab", 0, false, 3},
      {"ab\xB0", "\xB0", 0, false, -1},  // a first byte with nothing after it ends the walk
      {"ab\xB0", "b\xB0", 0, false, 2},
      {"\xB0\x41\x41", "A", 2, false, 2},  // the walk begins wherever start says
      {"xABC", "abc", 0, true, 2},
      {"xABC", "abc", 0, false, -1},
      {"\xB0\x41", "\xB0\x61", 0, true, 1},  // second bytes fold too when comparing
      {"aabaabaaab", "aaab", 0, false, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.pattern, c.start, c.ignoreCase), c.expected)
        << "text \"" << c.text << "\" pattern \"" << c.pattern << "\" start " << c.start;
  }
}

struct ReverseCase {
  Text text;
  Text pattern;
  std::optional<int> start;
  int expected;
};

TEST(FindTextReverseTest, FindsLastOccurrenceWhollyBeforeStart) {
  const ReverseCase cases[] = {
      {"a.b.c", ".", std::nullopt, 4},
      {"a.b.c", ".", 4, 2},
      {"a.b.c", ".", 5, 4},
      {"a.b.c", ".", 2, -1},
      {"a.b.c", ".", 1, -1},
      {"a.b.c", ".", -3, -1},
      {"a.b.c", ".", 100, 4},
      {"a.b.c", "", 2, 1},
      {"a.b.c", "", 1, -1},
      {"", "", std::nullopt, -1},
      {"abab", "ab", 4, 1},  // the occurrence at 3 does not lie wholly before 4
      {"aaa", "aa", std::nullopt, 2},
      {"\xB0..", ".", std::nullopt, 3},
      {"\xB0.", ".", std::nullopt, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.pattern, c.start), c.expected)
        << "text \"" << c.text << "\" start " << c.start.value_or(-99);
  }
  EXPECT_EQ(FindTextReverse("xABx", "ab", std::nullopt, true), 2);
}

TEST(FindTextReverseTest, SteppingBackVisitsEveryOccurrence) {
  const Text text = "a.b\xB0.c.d";
  std::vector<int> found;
  for (int p = FindTextReverse(text, "."); p != -1; p = FindTextReverse(text, ".", p)) {
    found.push_back(p);
  }
  EXPECT_EQ(found, (std::vector<int>{7, 2}));
}

struct ReplaceCase {
  Text text;
  Text find;
  Text replacement;
  int start;
  std::optional<int> count;
  bool caseSensitive;
  Text expected;
};

TEST(ReplaceTextTest, ReplacesLeftToRight) {
  const ReplaceCase cases[] = {
      {"a-b-c", "-", "", 1, std::nullopt, false, "abc"},
      {"a-b-c", "-", "+", 1, 1, false, "a+b-c"},
      {"a-b-c", "-", "+", 3, std::nullopt, false, "a-b+c"},
      {"a-b-c", "-", "+", -2, std::nullopt, false, "a+b+c"},
      {"a-b-c", "-", "+", 6, std::nullopt, false, "a-b-c"},
      {"a-b-c", "-", "+", 1, 0, false, "a-b-c"},
      {"a-b-c", "-", "+", 1, -1, false, "a+b+c"},  // a negative count means all
      {"a-b-c", "", "+", 1, std::nullopt, false, "a-b-c"},
      {"", "-", "+", 1, std::nullopt, false, ""},
      {"aa", "a", "aa", 1, std::nullopt, false, "aaaa"},  // replacements are not searched again
      {"aaa", "aa", "b", 1, std::nullopt, false, "ba"},
      {"Set-Cookie: a", "set-cookie", "X", 1, std::nullopt, false, "X: a"},
      {"Set-Cookie: a", "set-cookie", "X", 1, std::nullopt, true, "Set-Cookie: a"},
      {Text(kWideA) + "A", "A", "x", 1, std::nullopt, true, Text(kWideA) + "x"},
      {"\xB0", "\xB0", "x", 1, std::nullopt, true, "\xB0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement, c.start, c.count, c.caseSensitive),
              c.expected)
        << "text \"" << c.text << "\" find \"" << c.find << "\"";
  }
}

TEST(ReplaceTextTest, DefaultsDeleteEveryOccurrenceRegardlessOfCase) {
  EXPECT_EQ(ReplaceText("aXbxc", "x"), "abc");
}

struct SplitCase {
  Text text;
  Text delimiter;
  std::optional<int> maxCount;
  TextArray expected;
};

TEST(SplitTextTest, CutsAtDelimitersByCharacters) {
  const SplitCase cases[] = {
      {"", ",", std::nullopt, {}},
      {"abc", ",", std::nullopt, {"abc"}},
      {"a,,b,", ",", std::nullopt, {"a", "", "b"}},  // a trailing delimiter adds nothing
      {",a", ",", std::nullopt, {"", "a"}},
      {",,", ",", std::nullopt, {"", ""}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {"a", "b", "c"}},
      {"a,b", "", std::nullopt, {"a,b"}},
      {"a::b:c", "::", std::nullopt, {"a", "b:c"}},
      {"\xB0,x,y", ",", std::nullopt, {"\xB0,x", "y"}},
      {"a\r\nb\r\n", "\r\n", std::nullopt, {"a", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maxCount), c.expected)
        << "text \"" << c.text << "\"";
  }
  EXPECT_EQ(SplitText("a,b"), (TextArray{"a", "b"}));
}

TEST(TextArrayTest, AppendItemAddsACopyAtTheEnd) {
  TextArray items = SplitText("a,b");
  Text added = "c";
  AppendItem(items, added);
  added = "changed";
  EXPECT_EQ(ItemCount(items), 3);
  EXPECT_EQ(items.back(), "c");
}

}  // namespace
}  // namespace quorvane
