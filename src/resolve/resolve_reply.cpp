#include "resolve/resolve_reply.h"

#include "resolve/decode_escapes.h"

namespace quorvane {

ResolvedFile ReadResolveReply(const Text& reply) {
  // The service writes `"member": "value", ` with one blank after the colon and the comma, so
  // name, address and MD5 are found only when another member follows them; the size ends at
  // its quote and is found anywhere.
  ResolvedFile resolved;
  resolved.responseText = reply;
  resolved.fileName = DecodeEscapes(TextBetween(reply, "\"name\": \"", "\", "));
  resolved.fileSize = TextBetween(reply, "\"size\": \"", "\"");
  resolved.downloadAddress = TextBetween(reply, "\"download\": \"", "\", ");
  resolved.fileMd5 = TextBetween(reply, "\"md5\": \"", "\", ");
  return resolved;
}

}  // namespace quorvane
