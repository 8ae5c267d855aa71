// Writes the BMP fuzzer's seed pictures into a folder:
//   make_corpus DIR
#include <cstdio>
#include <filesystem>

#include "fuzz/bmp_corpus.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  std::error_code error;
  std::filesystem::create_directories(argv[1], error);
  if (error) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  for (const bmpcorpus::Seed& seed : bmpcorpus::Seeds()) {
    const std::string path = std::string(argv[1]) + "/" + seed.name;
    if (!testbmp::WriteFile(path, seed.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
