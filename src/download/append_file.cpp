#include "download/append_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string>

#include "text/code_page.h"

namespace quorvane {

bool AppendFile::Open(const Text& path) {
  Close();
  const std::string name = Utf8FromCp936(path);
  const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    return false;
  }
  struct stat status {};
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 || ::fstat(descriptor, &status) != 0) {
    ::close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  length_ = static_cast<std::int64_t>(status.st_size);
  return true;
}

bool AppendFile::Append(const Bytes& bytes) {
  if (descriptor_ < 0) {
    return false;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(descriptor_, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    // A write that makes no progress would loop for ever; it counts as a failure.
    if (n <= 0) {
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return true;
}

void AppendFile::Close() {
  if (descriptor_ >= 0) {
    // Closing the last descriptor releases the lock.
    ::close(descriptor_);
    descriptor_ = -1;
  }
}

}  // namespace quorvane
