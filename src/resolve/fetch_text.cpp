#include "resolve/fetch_text.h"

#include "fetch/fetch_page.h"

namespace quorvane {

Text FetchText(HttpClient& client, const Text& url) {
  return BytesToText(FetchPage(client, url));
}

}  // namespace quorvane
