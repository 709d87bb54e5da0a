#include "fetch/cookie_merge.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct MergeCase {
  const char* what;
  Text cookies;
  Text newCookies;
  Text merged;
  Text newCookiesAfter;
};

TEST(CookieMergeTest, MergesNewCookiesIntoOldOnes) {
  const MergeCase cases[] = {
      {"new items first, then the old ones not replaced", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1",
       "b=3;c=4"},
      {"a deleted cookie drops the old one too", "a=1; b=2", "b=deleted", "a=1", "b=deleted"},
      {"an old deleted item is dropped", "a=1;b=deleted", "", "a=1", ""},
      {"no new cookies", "a=1 ;  b=2", "", "a=1; b=2", ""},
      {"spaces inside values go", "a=x y", "b=p q", "b=pq; a=xy", "b=pq"},
      {"repeated new items stay once", "", "a=1;a=1", "a=1", "a=1;a=1"},
      {"same name, other text: both new ones stay, the old one goes", "a=0", "a=1; a=2", "a=1; a=2",
       "a=1;a=2"},
      {"of two old items with one name the first is kept", "a=1; a=2; b=1", "", "a=1; b=1", ""},
      {"names keep their letter case", "SID=1", "sid=2", "sid=2; SID=1", "sid=2"},
      {"an item without = is its own name", "flag; a=1", "flag", "flag; a=1", "flag"},
      {"an empty old piece is carried once", "a=1;;b=2;;c=3", "", "a=1; ; b=2; c=3", ""},
      {"an empty old piece is dropped when new cookies have one", "a=1;;b=2", "c=3;;",
       "c=3; ; a=1; b=2", "c=3;;"},
      {"a value that merely contains deleted stays", "a=deletedx", "", "a=deletedx", ""},
      {"a full-width space is a space too", "a=1\xA1\xA1;b=2", "", "a=1; b=2", ""},
      {"both empty", "", "", "", ""},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.what);
    Text cookies = c.cookies;
    Text newCookies = c.newCookies;
    const Text returned = MergeCookies(cookies, newCookies);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(returned, c.merged);
    EXPECT_EQ(newCookies, c.newCookiesAfter);
  }
}

TEST(CookieMergeTest, NamesAndLookups) {
  EXPECT_EQ(CookieName(" a =1=2"), "a");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_TRUE(CookieNameExists({"x=1", "a=2"}, "a"));
  EXPECT_FALSE(CookieNameExists({"x=1", "A=2"}, "a"));
  EXPECT_FALSE(CookieNameExists({}, ""));
  EXPECT_TRUE(CookieNameExists({""}, ""));

  EXPECT_EQ(IndexOfText({"a", "", "b", "b"}, "b"), 3);
  EXPECT_EQ(IndexOfText({"a", "", "b"}, ""), 2);
  EXPECT_EQ(IndexOfText({"a"}, "A"), -1);
}

TEST(CookieMergeTest, JoinUniqueKeepsFirstAppearances) {
  EXPECT_EQ(JoinUnique("b; a; b; c; a", "; "), "b; a; c");
  EXPECT_EQ(JoinUnique("a;;b;;", ";"), "a;;b");
  EXPECT_EQ(JoinUnique("", "; "), "");
  EXPECT_EQ(JoinUnique("a--a", "--"), "a");
  // An empty separator leaves the text whole.
  EXPECT_EQ(JoinUnique("abab", ""), "abab");
}

}  // namespace
}  // namespace quorvane
