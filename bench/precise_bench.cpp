// The precise rules next to the classic ones and plain reading of the same file, measured in one
// run, and how exactly each rule set gives back real media.
//   precise_bench [--size-mib N] [--dir FOLDER] [--media FOLDER]
// First random filler with clips of every type (N MiB, default 256): plain reading, then the
// scans of all types and of MP3 mode under both rule sets. Then a container of real media (the
// files of FOLDER, or those scripts/real-media.sh makes): every file laid into random filler
// again and again up to N/4 MiB, scanned under both rule sets; a file counts as given back when
// a clip starts and ends exactly where it lies.
#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench_sources.h"
#include "bench_timing.h"

namespace {

using rsf::bench::Clock;
using rsf::bench::PlainRead;
using rsf::bench::Seconds;
using rsf::synth::ByteVector;

rsf::ClipCatalogue ScanCatalogue(const std::string& path, const rsf::ScanOptions& options, double& seconds) {
  rsf::bench::QuietObserver observer;
  rsf::ScanEngine engine(observer);
  const auto start = Clock::now();
  engine.StartAnalysis([&] { return std::make_unique<rsf::FileStream>(path); }, options);
  seconds = Seconds(start);
  return engine.Catalogue();
}

std::map<std::string, ByteVector> ReadMedia(const std::string& folder) {
  std::map<std::string, ByteVector> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = ByteVector(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

struct Placed {
  std::string name;
  std::int64_t start;
  std::int64_t end;
};

// Every file again and again in random filler, gaps of 1,000 to 70,000 bytes, up to `size` bytes.
std::vector<Placed> WriteContainer(const std::string& path, const std::map<std::string, ByteVector>& files,
                                   std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<Placed> placed;
  std::int64_t at = 0;
  for (std::uint64_t round = 0; static_cast<std::size_t>(at) < size; ++round) {
    std::uint64_t k = 0;
    for (const auto& [name, bytes] : files) {
      const ByteVector gap = rsf::synth::RandomBytes(1000 + (round * 7919 + k * 104729) % 69000, round * 1000 + k);
      out.write(reinterpret_cast<const char*>(gap.data()), static_cast<std::streamsize>(gap.size()));
      at += static_cast<std::int64_t>(gap.size());
      placed.push_back({name, at, at + static_cast<std::int64_t>(bytes.size())});
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      at += static_cast<std::int64_t>(bytes.size());
      ++k;
    }
  }
  const ByteVector tail = rsf::synth::RandomBytes(5000, 99);
  out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
  return placed;
}

using Spans = std::set<std::pair<std::int64_t, std::int64_t>>;

Spans SpansOf(const rsf::ClipCatalogue& catalogue) {
  Spans spans;
  for (const rsf::TFilestruct& clip : catalogue) spans.emplace(clip.StartOffset, clip.EndOffset);
  return spans;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t mib = 256;
  std::string dir = "/tmp";
  std::string media;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0) mib = std::stoul(argv[i + 1]);
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    if (std::strcmp(argv[i], "--media") == 0) media = argv[i + 1];
  }
  const std::string path = dir + "/rsf-precise-bench.bin";

  rsf::ScanOptions classic = rsf::ScanOptions::ClassicTypes();
  rsf::ScanOptions precise = classic;
  precise.precise = true;
  rsf::ScanOptions classic_mp3;
  classic_mp3.mp3_mode = true;
  rsf::ScanOptions precise_mp3 = classic_mp3;
  precise_mp3.precise = true;

  const auto timed = [&](const std::string& title, double megabytes) {
    PlainRead(path);  // warm the page cache
    const double plain = PlainRead(path);
    fmt::print("\n{}\n{:<36} {:>9.1f} MB/s\n", title, "plain read", megabytes / plain);
    struct Run {
      const char* name;
      const rsf::ScanOptions* options;
    };
    std::vector<rsf::ClipCatalogue> catalogues;
    for (const Run run : {Run{"classic, all types", &classic}, Run{"precise, all types", &precise},
                          Run{"classic, MP3 mode", &classic_mp3}, Run{"precise, MP3 mode", &precise_mp3}}) {
      double seconds = 0;
      catalogues.push_back(ScanCatalogue(path, *run.options, seconds));
      fmt::print("{:<36} {:>9.1f} MB/s  ratio to plain read {:.2f}  ({} clips)\n", run.name, megabytes / seconds,
                 plain / seconds, catalogues.back().size());
      std::fflush(stdout);
    }
    return catalogues;
  };

  fmt::print("every figure next to plain reading of the same file in the same run\n");
  rsf::bench::WriteSource(path, mib, rsf::bench::Filler::kMixed);
  timed(fmt::format("random filler with clips of every type, {} MiB", mib), static_cast<double>(mib) * 1.048576);

  if (media.empty()) {
    media = dir + "/rsf-precise-media";
    std::filesystem::remove_all(media);
    const std::string command = "'" RSF_SOURCE_DIR "/scripts/real-media.sh' '" + media + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) fmt::print("scripts/real-media.sh failed\n");
  }
  const std::map<std::string, ByteVector> files = ReadMedia(media);
  if (files.empty()) {
    fmt::print("no real media in {}\n", media);
    return 1;
  }
  const std::vector<Placed> placed = WriteContainer(path, files, (mib << 20) / 4);
  const double container_mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  const auto catalogues =
      timed(fmt::format("container of {} real media files ({} placed), {:.1f} MB", files.size(), placed.size(), container_mb),
            container_mb);

  // catalogues: classic, precise, classic MP3, precise MP3.
  std::vector<Spans> spans;
  for (const rsf::ClipCatalogue& catalogue : catalogues) spans.push_back(SpansOf(catalogue));
  std::map<std::string, std::pair<int, int>> by_file;  // given back: classic, precise
  std::map<std::string, int> placed_count;
  int classic_whole = 0, precise_whole = 0;
  for (const Placed& file : placed) {
    const bool mp3 = file.name.ends_with(".mp3");
    const bool c = spans[mp3 ? 2 : 0].count({file.start, file.end}) > 0;
    const bool p = spans[mp3 ? 3 : 1].count({file.start, file.end}) > 0;
    if (!p && std::getenv("RSF_EXPLAIN")) {
      for (const rsf::TFilestruct& clip : catalogues[mp3 ? 3 : 1])
        if (clip.StartOffset < file.end && clip.EndOffset > file.start)
          fmt::print("{} [{}, {}): clip {} [{}, {})\n", file.name, file.start, file.end, clip.Extension, clip.StartOffset,
                     clip.EndOffset);
    }
    by_file[file.name].first += c;
    by_file[file.name].second += p;
    ++placed_count[file.name];
    classic_whole += c;
    precise_whole += p;
  }
  fmt::print("\n{:<28} {:>8} {:>8} {:>8}\n", "file given back whole", "placed", "classic", "precise");
  for (const auto& [name, counts] : by_file)
    fmt::print("{:<28} {:>8} {:>8} {:>8}\n", name, placed_count[name], counts.first, counts.second);
  const double total = static_cast<double>(placed.size());
  fmt::print("{:<28} {:>8} {:>7.1f}% {:>7.1f}%\n", "all", placed.size(), 100.0 * classic_whole / total,
             100.0 * precise_whole / total);
  std::remove(path.c_str());
  return 0;
}
