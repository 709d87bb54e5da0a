#pragma once

#include "text/text.h"

namespace quorvane {

// The result of the last resolve. Every resolve writes all five fields, so a field the reply
// lacks becomes empty instead of keeping an older value. An empty download address means that
// nothing has been resolved.
struct ResolvedFile {
  Text downloadAddress;
  Text responseText;
  Text fileName;
  Text fileSize;
  Text fileMd5;
};

}  // namespace quorvane
