#include "output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
std::string Reason() { return std::strerror(errno); }
}  // namespace

OutputFile::~OutputFile() {
  if (m_stream)
    std::fclose(m_stream);
  else if (m_fd >= 0)
    close(m_fd);
  // A file this run made but never completed holds nothing worth keeping.
  if (m_created && !m_finished) unlink(m_path.c_str());
}

bool OutputFile::Open(const std::string& path, std::string& error) {
  m_path = path;
  m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  m_created = m_fd >= 0;
  if (m_fd < 0 && errno == EEXIST) m_fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (m_fd < 0) error = Reason();
  return m_fd >= 0;
}

std::FILE* OutputFile::BeginWrite(std::string& error) {
  struct stat info {};
  // Only a regular file is emptied: a device or a pipe is written as it is.
  if (fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode) && ftruncate(m_fd, 0) != 0) {
    error = Reason();
    return nullptr;
  }
  m_stream = fdopen(m_fd, "wb");
  if (!m_stream) error = Reason();
  return m_stream;
}

bool OutputFile::Finish(std::string& error) {
  // A write that failed earlier left errno as it found the fault, and the
  // stream's error flag set; fflush reports a failure of the last buffer.
  const bool flushed = !std::ferror(m_stream) && std::fflush(m_stream) == 0;
  if (!flushed) error = Reason();
  const bool closed = std::fclose(m_stream) == 0;
  if (flushed && !closed) error = Reason();
  m_stream = nullptr;
  m_fd = -1;
  m_finished = flushed && closed;
  return m_finished;
}
