// Escape decoding, the reply's field cutting and the file-name guard on arbitrary input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resolve/decode_escapes.h"
#include "resolve/resolve_reply.h"
#include "resolve/safe_file_name.h"
#include "text/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  const Text text = BytesToText(Bytes(data, data + size));

  const Text decoded = DecodeEscapes(text);
  if (decoded.find('\0') != Text::npos) __builtin_trap();

  const ResolvedFile resolved = ReadResolveReply(text);
  if (resolved.responseText != text) __builtin_trap();

  // Whatever the name, the file it names must stay directly inside the chosen folder.
  for (const Text& name : {text, decoded, resolved.fileName}) {
    const std::string utf8 = Utf8FromCp936(SafeFileName(name));
    if (utf8.find('/') != std::string::npos || utf8 == "." || utf8 == "..") __builtin_trap();
  }
  return 0;
}
