// A file the capture tool writes its results to, opened before the frames
// are rendered so that a path it cannot write is refused at once.
#pragma once

#include <cstdio>
#include <string>

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens PATH for writing, creating it when missing, without touching what
  // an existing file holds yet. False with the system's reason in `error`.
  bool Open(const std::string& path, std::string& error);
  // Empties the file and returns a stream to write the result to.
  std::FILE* BeginWrite(std::string& error);
  // Flushes and closes the stream; false with the reason of the first failed
  // write in `error`.
  bool Finish(std::string& error);

 private:
  std::string m_path;
  int m_fd = -1;
  std::FILE* m_stream = nullptr;
  bool m_created = false;  // made by Open: removed again unless finished
  bool m_finished = false;
};
