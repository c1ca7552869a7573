// Scan throughput next to plain reading of the same file through the same stream, measured in
// one run so that machine noise affects both alike (medians of paired runs).
//   scan_bench [--size-mib N] [--dir FOLDER] [--container FILE]
// For each kind of source (random filler with clips of the classic types or of the further
// ones, random filler dense with "BM", MP3 runs back to back) writes N MiB (default 256), warms
// the page cache, and times plain reading in windows next to the scans that matter for it.
// --container adds a file of the user's (such as real media files laid into random filler).
#include <fmt/format.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_sources.h"
#include "bench_timing.h"

namespace {

using rsf::bench::Filler;
using rsf::bench::Median;
using rsf::bench::PlainRead;
using rsf::bench::Scan;
using rsf::bench::WriteSource;

}  // namespace

int main(int argc, char** argv) {
  std::size_t mib = 256;
  std::string dir = "/tmp";
  std::string container;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0) mib = std::stoul(argv[i + 1]);
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    if (std::strcmp(argv[i], "--container") == 0) container = argv[i + 1];
  }
  const std::string path = dir + "/rsf-bench-source.bin";
  const double megabytes = static_cast<double>(mib) * 1.048576;
  fmt::print("sources of {} MiB; every figure next to plain reading of the same file in the same run\n", mib);

  std::string source = path;
  double source_megabytes = megabytes;
  // Each figure is the median of kPairs scans, each timed next to a plain read right after it,
  // so that a moment of machine noise moves one pair and not the figure.
  constexpr int kPairs = 5;
  auto report = [&](const char* name, const rsf::ScanOptions& options) {
    std::size_t clips = 0;
    std::vector<double> scans, ratios;
    for (int pair = 0; pair < kPairs; ++pair) {
      const double seconds = Scan(source, options, clips);
      scans.push_back(seconds);
      ratios.push_back(PlainRead(source) / seconds);
    }
    fmt::print("{:<44} {:>9.1f} MB/s  ({} clips)  ratio to plain read {:.2f}\n", name,
               source_megabytes / Median(scans), clips, Median(ratios));
  };
  auto prepare = [&](Filler filler, const char* title) {
    WriteSource(path, mib, filler);
    PlainRead(path);  // warm the page cache
    fmt::print("\n{}\n{:<44} {:>9.1f} MB/s\n", title, "plain read (63,488-byte windows)", megabytes / PlainRead(path));
  };
  rsf::ScanOptions hefo;
  for (rsf::ClipKind kind : {rsf::ClipKind::kJPG, rsf::ClipKind::kMPG, rsf::ClipKind::kMVE, rsf::ClipKind::kRAM})
    hefo.enabled[static_cast<int>(kind)] = true;
  rsf::ScanOptions mp3;
  mp3.mp3_mode = true;

  prepare(Filler::kMixed, "random filler with clips of every classic type");
  report("scan, header-and-footer types", hefo);
  report("scan, all eleven types", rsf::ScanOptions::ClassicTypes());
  report("scan, all 24 types", rsf::ScanOptions::AllTypes());
  rsf::ScanOptions precise = rsf::ScanOptions::AllTypes();
  precise.precise = true;
  report("scan, precise rules, all 24 types", precise);
  report("scan, MP3 mode", mp3);
  prepare(Filler::kFurtherTypes, "random filler with clips of the further types");
  report("scan, all eleven types", rsf::ScanOptions::ClassicTypes());
  report("scan, all 24 types", rsf::ScanOptions::AllTypes());
  prepare(Filler::kBitmapDense, "random filler with \"BM\" every 64 bytes");
  report("scan, all eleven types", rsf::ScanOptions::ClassicTypes());
  prepare(Filler::kMp3Dense, "MP3 frame runs back to back");
  report("scan, MP3 mode", mp3);
  rsf::ScanOptions precise_mp3 = mp3;
  precise_mp3.precise = true;
  report("scan, MP3 mode, precise rules", precise_mp3);
  std::remove(path.c_str());

  if (!container.empty()) {
    source = container;
    FILE* file = std::fopen(container.c_str(), "rb");
    if (!file) return 1;
    std::fseek(file, 0, SEEK_END);
    source_megabytes = static_cast<double>(std::ftell(file)) / 1e6;
    std::fclose(file);
    PlainRead(source);
    fmt::print("\n{}\n{:<44} {:>9.1f} MB/s\n", container, "plain read (63,488-byte windows)",
               source_megabytes / PlainRead(source));
    report("scan, all eleven types", rsf::ScanOptions::ClassicTypes());
    report("scan, all 24 types", rsf::ScanOptions::AllTypes());
    rsf::ScanOptions real_media;
    real_media.enabled[static_cast<int>(rsf::ClipKind::kRAM)] = true;
    report("scan, RealMedia alone", real_media);
    report("scan, precise rules, all 24 types", precise);
  }
  return 0;
}
