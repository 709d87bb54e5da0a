#include "resolve/safe_file_name.h"

#include <cstddef>

namespace quorvane {
namespace {

bool IsLeadByte(unsigned char b) {
  return b >= 0x81 && b <= 0xFE;
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

bool IsUnsafeAscii(unsigned char b) {
  return b < 0x20 || b == 0x7F || b == '/' || b == '\\';
}

}  // namespace

Text SafeFileName(const Text& name) {
  if (name == "." || name == "..") return {};
  // Walks by characters so that a second byte equal to "\" stays part of its character, but
  // only over well-formed pairs: a lead byte before an ASCII byte would otherwise shield a "/"
  // that the conversion to the desktop's encoding later sets free.
  Text safe;
  safe.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      safe += IsUnsafeAscii(b) ? '_' : name[i];
      ++i;
    } else if (IsLeadByte(b) && i + 1 < name.size() &&
               IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
      safe.append(name, i, 2);
      i += 2;
    } else {
      safe += '_';
      ++i;
    }
  }
  return safe;
}

}  // namespace quorvane
