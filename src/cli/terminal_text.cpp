#include "cli/terminal_text.h"

#include "text/code_page.h"

namespace quorvane {

void PrintLine(std::FILE* stream, const Text& text) {
  const std::string utf8 = Utf8FromCp936(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fputc('\n', stream);
}

void PrintError(const std::string& utf8Reason) {
  std::fprintf(stderr, "quorvane-cli: %s\n", utf8Reason.c_str());
}

void WriteBytes(std::FILE* stream, const Bytes& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

}  // namespace quorvane
