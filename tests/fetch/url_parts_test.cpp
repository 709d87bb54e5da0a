#include "fetch/url_parts.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorvane {
namespace {

struct UrlCase {
  Text url;
  Text host;
  Text hostWithPort;
  int port;
  Text path;
};

TEST(UrlPartsTest, SplitsHostPortAndPath) {
  const UrlCase cases[] = {
      {"HTTP://Sub.Host.example:8080/A/b?x=1", "sub.host.example", "sub.host.example:8080", 8080,
       "/A/b?x=1"},
      {"HTTPS://Host.example", "host.example", "host.example", 443, "/"},
      {"https://host.example/", "host.example", "host.example", 443, "/"},
      {"host.example/x", "host.example", "host.example", 80, "/x"},
      {"host.example:8080/x", "host.example", "host.example:8080", 8080, "/x"},
      {"https://host.example:/", "host.example", "host.example:", 0, "/"},
      {"http://host.example:abc/", "host.example", "host.example:abc", 0, "/"},
      // The host runs to the first "/", so a query without a path stays in it.
      {"http://host.example?q=1", "host.example?q=1", "host.example?q=1", 80, "/"},
      // Without a scheme the first "http://" anywhere counts, even in the query.
      {"host.example/?u=http://x/", "x", "x", 80, "/?u=http://x/"},
      // The path is found after the first occurrence of the host, in any letter case.
      {"http://Example/EXAMPLE/Path", "example", "example", 80, "/EXAMPLE/Path"},
      {"", "", "", 80, "/"},
      {"http://", "", "", 80, "//"},
      // Another scheme is read as a host without a scheme: "ftp" with an empty port.
      {"ftp://host.example/a", "ftp", "ftp:", 0, "//host.example/a"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url), c.host);
    EXPECT_EQ(UrlHost(c.url, false, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

struct HostCase {
  Text url;
  bool mainDomainOnly;
  bool keepPort;
  std::optional<int> levels;
  Text host;
};

TEST(UrlPartsTest, CutsTheHostToItsMainDomainOrToLevels) {
  const HostCase cases[] = {
      {"http://a.b.host.example/", true, false, std::nullopt, "host.example"},
      {"http://localhost/", true, false, std::nullopt, "localhost"},
      {"sub.host.example:8080", true, true, std::nullopt, "host.example:8080"},
      {"sub.host.example:8080", true, false, std::nullopt, "host.example"},
      {"https://a.b.host.example/", true, false, std::nullopt, "host.example"},
      {"a.b.host.example", false, false, 0, "host.example"},
      {"a.b.host.example", true, false, 0, "example"},
      {"a.b.host.example", false, false, 1, "b.host.example"},
      {"a.b.host.example", true, false, 1, "host.example"},
      {"a.b.host.example", false, false, 2, "a.b.host.example"},
      {"a.b.host.example", true, false, 2, "b.host.example"},
      {"a.b.host.example", false, false, 3, "a.b.host.example"},
      {"a.b.host.example", true, false, 3, "a.b.host.example"},
      {"a.b.host.example", false, false, -5, "host.example"},
      {"a.b.host.example", true, false, 2147483647, "a.b.host.example"},
      {"HTTPS://A.B.Host.Example:8443/x.y/z", false, true, 0, "host.example:8443"},
      {"HTTPS://A.B.Host.Example:8443/x.y/z", false, false, 0, "host.example"},
      // A dot in the last character is never counted.
      {"a.b.host.", false, false, 0, "b.host."},
      // Given levels remove the scheme wherever it stands and append no "/"; without them the
      // "http://" inside the query picks the host.
      {"host.example?u=http://x.y", false, false, 0, "example?u=x.y"},
      {"host.example?u=http://x.y", false, false, std::nullopt, "x.y"},
      {"", false, false, 0, ""},
      {"", true, false, 1, ""},
  };
  for (const HostCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url << " main=" << c.mainDomainOnly << " levels="
                                    << (c.levels ? std::to_string(*c.levels) : "none"));
    EXPECT_EQ(UrlHost(c.url, c.mainDomainOnly, c.keepPort, c.levels), c.host);
  }
}

}  // namespace
}  // namespace quorvane
