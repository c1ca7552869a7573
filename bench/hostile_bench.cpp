// Hostile sources against plain reading of the same file, measured in one run: sources made of
// near-miss and repeated signatures must scan within a small factor of random data of the same
// size, and their cost must grow linearly with the size.
//   hostile_bench [--size-mib N]... [--dir FOLDER] [--only NAME-PART]
// Without --size-mib the sizes are 32 and 256 MiB. For every size and every hostile kind the
// source is written to a file, its page cache warmed, and plain reading in windows timed next
// to the scan (all eleven types under both rule sets, or MP3 mode for the kinds MP3 mode is
// hostile to) and next to the same scan of random data of the same size.
#include <fmt/format.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "synth/hostile_synth.h"
#include "synth/random_filler.h"

namespace {

using rsf::bench::PlainRead;
using rsf::bench::Scan;

void WriteFile(const std::string& path, const rsf::synth::ByteVector& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Measured {
  double plain_mbps;
  double scan_mbps;
  std::size_t clips;
};

Measured Measure(const std::string& path, const rsf::synth::ByteVector& bytes, const rsf::ScanOptions& options) {
  WriteFile(path, bytes);
  const double megabytes = static_cast<double>(bytes.size()) / 1e6;
  PlainRead(path);  // warm the page cache
  Measured result{};
  result.plain_mbps = megabytes / PlainRead(path);
  result.scan_mbps = megabytes / Scan(path, options, result.clips);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::size_t> sizes;
  std::string dir = "/tmp";
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0) sizes.push_back(std::stoul(argv[i + 1]));
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  }
  if (sizes.empty()) sizes = {32, 256};
  const std::string path = dir + "/rsf-hostile-bench.bin";

  rsf::ScanOptions mp3;
  mp3.mp3_mode = true;
  const rsf::ScanOptions all = rsf::ScanOptions::ClassicTypes();
  rsf::ScanOptions precise = all;
  precise.precise = true;

  fmt::print("{:<52} {:>8} {:>11} {:>11} {:>11} {:>8} {:>9}\n", "source", "MiB", "plain MB/s", "scan MB/s",
             "random MB/s", "clips", "vs random");
  for (const std::size_t mib : sizes) {
    const std::size_t size = mib << 20;
    const rsf::synth::ByteVector random = rsf::synth::RandomBytes(size, 77);
    const Measured random_all = Measure(path, random, all);
    const Measured random_mp3 = Measure(path, random, mp3);
    const Measured random_precise = Measure(path, random, precise);
    fmt::print("{:<52} {:>8} {:>11.0f} {:>11.0f} {:>11} {:>8} {:>9}\n", "random data, all eleven types", mib,
               random_all.plain_mbps, random_all.scan_mbps, "", random_all.clips, "");
    fmt::print("{:<52} {:>8} {:>11.0f} {:>11.0f} {:>11} {:>8} {:>9}\n", "random data, MP3 mode", mib,
               random_mp3.plain_mbps, random_mp3.scan_mbps, "", random_mp3.clips, "");
    fmt::print("{:<52} {:>8} {:>11.0f} {:>11.0f} {:>11} {:>8} {:>9}\n", "random data, all types, precise", mib,
               random_precise.plain_mbps, random_precise.scan_mbps, "", random_precise.clips, "");
    for (const rsf::synth::HostileKind kind : rsf::synth::kHostileKinds) {
      const std::string name(rsf::synth::HostileName(kind));
      if (!only.empty() && name.find(only) == std::string::npos) continue;
      const rsf::synth::ByteVector bytes = rsf::synth::HostileSource(kind, size);
      auto report = [&](const std::string& label, const rsf::ScanOptions& options, const Measured& baseline) {
        const Measured hostile = Measure(path, bytes, options);
        fmt::print("{:<52} {:>8} {:>11.0f} {:>11.0f} {:>11.0f} {:>8} {:>8.2f}x\n", label, mib, hostile.plain_mbps,
                   hostile.scan_mbps, baseline.scan_mbps, hostile.clips, baseline.scan_mbps / hostile.scan_mbps);
      };
      if (kind != rsf::synth::HostileKind::kMp3FailAtFourth) {
        report(name + ", all types", all, random_all);
        report(name + ", precise", precise, random_precise);
      }
      if (rsf::synth::HostileForMp3Mode(kind)) report(name + ", MP3 mode", mp3, random_mp3);
      std::fflush(stdout);
    }
  }
  std::remove(path.c_str());
  return 0;
}
