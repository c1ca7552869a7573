// Test media folders and the filler container.
#include "support/test_media.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/random_filler.h"

namespace rsf::test {
namespace fs = std::filesystem;

MediaFiles ScriptMedia(const std::string& script, const std::string& folder_name, const std::string& arguments) {
  const char* data = std::getenv("RSF_TEST_DATA");
  const fs::path root = data ? fs::path(data) : fs::temp_directory_path() / "rsf-test-data";
  const fs::path folder = root / folder_name;
  std::error_code error;
  if (!fs::is_directory(folder)) {
    fs::create_directories(root, error);
    const fs::path making = root / (folder_name + ".making-" + std::to_string(std::random_device()()));
    const std::string command = "'" RSF_SOURCE_DIR "/" + script + "' '" + making.string() + "' " + arguments + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) fs::rename(making, folder, error);  // fails if another made it first
    fs::remove_all(making, error);
  }
  MediaFiles files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
  return files;
}

std::vector<std::uint8_t> LayIntoFiller(const std::vector<std::pair<std::string, const std::vector<std::uint8_t>*>>& files,
                                        std::vector<Embedded>& placed, bool last_at_end) {
  std::vector<std::uint8_t> bytes = synth::RandomBytes(100, 5);
  int k = 0;
  for (const auto& [name, file] : files) {
    // Start a few bytes before a window boundary, or at a plain random gap.
    const std::int64_t boundary = (static_cast<std::int64_t>(bytes.size()) / kWindowStep + 1) * kWindowStep;
    const std::int64_t gap =
        k % 2 == 0 ? boundary - (k % 7) * 3 - 2 - static_cast<std::int64_t>(bytes.size()) : 1000 + 37 * k;
    const std::vector<std::uint8_t> filler = synth::RandomBytes(static_cast<std::size_t>(std::max<std::int64_t>(gap, 50)), 100 + k);
    bytes.insert(bytes.end(), filler.begin(), filler.end());
    placed.push_back({name, static_cast<std::int64_t>(bytes.size()), static_cast<std::int64_t>(bytes.size() + file->size())});
    bytes.insert(bytes.end(), file->begin(), file->end());
    ++k;
  }
  if (last_at_end) return bytes;
  const std::vector<std::uint8_t> tail = synth::RandomBytes(5000, 999);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  pclose(pipe);
  return output;
}

}  // namespace rsf::test
