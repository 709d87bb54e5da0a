#include "text/code_page.h"

#include <iconv.h>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

namespace quorvane {
namespace {

constexpr const char* kCodePage = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// One descriptor per direction and thread, opened at first use: opening one costs several
// times what converting a short text does, and a descriptor must not be shared between threads.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
  ~Descriptor() {
    if (descriptor_ != kNoDescriptor) iconv_close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  [[nodiscard]] iconv_t Get() const { return descriptor_; }

 private:
  iconv_t descriptor_;
};

// How many input bytes the sequence that iconv refused spans, so that it becomes one "?".
using RefusedLength = std::size_t (*)(const unsigned char* in, std::size_t left);

std::size_t RefusedUtf8(const unsigned char* in, std::size_t left) {
  std::size_t length = 1;
  if (in[0] >= 0xC2 && in[0] <= 0xDF) {
    length = 2;
  } else if (in[0] >= 0xE0 && in[0] <= 0xEF) {
    length = 3;
  } else if (in[0] >= 0xF0 && in[0] <= 0xF4) {
    length = 4;
  }
  // A broken sequence becomes one mark, and what follows it is kept.
  std::size_t spanned = 1;
  while (spanned < length && spanned < left && (in[spanned] & 0xC0) == 0x80) ++spanned;
  return spanned;
}

std::size_t RefusedCp936(const unsigned char* in, std::size_t left) {
  const bool lead = in[0] >= 0x81 && in[0] <= 0xFE;
  const bool trail = left >= 2 && in[1] >= 0x40 && in[1] <= 0xFE && in[1] != 0x7F;
  return lead && trail ? 2 : 1;
}

std::size_t RefusedUtf16(const unsigned char* in, std::size_t left) {
  char16_t units[2] = {};
  std::memcpy(units, in, left >= 4 ? 4 : 2);
  const bool pair = left >= 4 && units[0] >= 0xD800 && units[0] <= 0xDBFF && units[1] >= 0xDC00 &&
                    units[1] <= 0xDFFF;
  return pair ? 4 : 2;
}

// Converts the whole input; what cannot be converted becomes `replacement` and the conversion
// goes on after it. Only a missing converter gives the empty result.
std::string Convert(const Descriptor& descriptor, const void* input, std::size_t size,
                    std::string_view replacement, RefusedLength refusedLength) {
  const iconv_t cd = descriptor.Get();
  if (cd == kNoDescriptor) return {};
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(size * 2 + 16, '\0');
  std::size_t used = 0;
  char* in = static_cast<char*>(const_cast<void*>(input));
  std::size_t inLeft = size;
  while (inLeft > 0) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    used = static_cast<std::size_t>(outPtr - out.data());
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ: refused here; EINVAL: cut short at the end.
    const std::size_t skipped =
        errno == EINVAL ? inLeft : refusedLength(reinterpret_cast<unsigned char*>(in), inLeft);
    out.replace(used, replacement.size(), replacement);
    used += replacement.size();
    in += skipped;
    inLeft -= skipped;
  }
  out.resize(used);
  return out;
}

std::u16string ToU16(const std::string& bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  std::memcpy(units.data(), bytes.data(), units.size() * 2);
  return units;
}

constexpr std::string_view kQuestionMark = "?";
constexpr char16_t kQuestionMarkUnit = u'?';

}  // namespace

Text Cp936FromUtf8(std::string_view utf8) {
  thread_local const Descriptor descriptor(kCodePage, kUtf8);
  return Convert(descriptor, utf8.data(), utf8.size(), kQuestionMark, RefusedUtf8);
}

std::string Utf8FromCp936(const Text& text) {
  thread_local const Descriptor descriptor(kUtf8, kCodePage);
  return Convert(descriptor, text.data(), text.size(), kQuestionMark, RefusedCp936);
}

Text Cp936FromUtf16(std::u16string_view utf16) {
  thread_local const Descriptor descriptor(kCodePage, kUtf16);
  utf16 = utf16.substr(0, utf16.find(u'\0'));
  return Convert(descriptor, utf16.data(), utf16.size() * 2, kQuestionMark, RefusedUtf16);
}

std::u16string Utf16FromCp936(const Text& text) {
  thread_local const Descriptor descriptor(kUtf16, kCodePage);
  const std::string_view replacement(reinterpret_cast<const char*>(&kQuestionMarkUnit), 2);
  return ToU16(Convert(descriptor, text.data(), text.size(), replacement, RefusedCp936));
}

}  // namespace quorvane
