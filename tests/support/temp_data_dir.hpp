// A fresh working directory with an empty Data/ folder for the life of a
// test; the previous working directory comes back afterwards.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDataDir {
 public:
  TempDataDir() {
    char pattern[] = "/tmp/winterhain-test-XXXXXX";
    m_root = mkdtemp(pattern);
    std::filesystem::create_directory(m_root / "Data");
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(m_root);
  }
  ~TempDataDir() {
    std::filesystem::current_path(m_previous);
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }
  TempDataDir(const TempDataDir&) = delete;
  TempDataDir& operator=(const TempDataDir&) = delete;

  // Path of a file in Data/, as the program names it ("Data/x.bmp").
  std::string Data(const std::string& name) const { return (m_root / "Data" / name).string(); }
  const std::filesystem::path& Root() const { return m_root; }

 private:
  std::filesystem::path m_root;
  std::filesystem::path m_previous;
};
