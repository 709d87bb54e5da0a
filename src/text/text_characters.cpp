#include <cstddef>

#include "text/case_folding.h"
#include "text/character_walk.h"
#include "text/text.h"

namespace quorvane {

Text TrimSpaces(const Text& text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t space = SpaceWidth(text, begin);
    if (space == 0) break;
    begin += space;
  }
  std::size_t end = begin;
  for (std::size_t offset = begin; offset < text.size();) {
    const std::size_t space = SpaceWidth(text, offset);
    offset += space > 0 ? space : CharacterWidth(text, offset);
    if (space == 0) end = offset;
  }
  return text.substr(begin, end - begin);
}

Text RemoveSpaces(const Text& text) {
  Text kept;
  kept.reserve(text.size());
  std::size_t runStart = 0;
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t space = SpaceWidth(text, offset);
    if (space > 0) {
      kept.append(text, runStart, offset - runStart);
      offset += space;
      runStart = offset;
    } else {
      offset += CharacterWidth(text, offset);
    }
  }
  kept.append(text, runStart);
  return kept;
}

Text ToLowerCase(const Text& text) {
  Text lower(text);
  for (std::size_t offset = 0; offset < lower.size();) {
    const std::size_t width = CharacterWidth(lower, offset);
    if (width == 1) lower[offset] = FoldAsciiCase(lower[offset]);
    offset += width;
  }
  return lower;
}

}  // namespace quorvane
