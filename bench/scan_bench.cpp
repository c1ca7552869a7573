// Scan throughput next to plain reading of the same file through the same stream, measured in
// one run so that machine noise affects both alike.
//   scan_bench [--size-mib N] [--dir FOLDER]
// For each kind of source (random filler with clips, random filler dense with "BM", MP3 runs
// back to back) writes N MiB (default 256), warms the page cache, and times plain reading in
// windows next to the scans that matter for that source.
#include <fmt/format.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "synth/container_synth.h"
#include "synth/demo_media.h"
#include "synth/mp3_demo_media.h"
#include "synth/jpeg_synth.h"
#include "synth/random_filler.h"

namespace {

using rsf::bench::PlainRead;
using rsf::bench::Scan;

enum class Filler { kMixed, kBitmapDense, kMp3Dense };

// Writes `mib` MiB: random filler with a clip of every type every ~1 MiB (mixed), random
// filler with "BM" every 64 bytes (bitmap-dense), or MP3 frame runs back to back (MP3-dense).
void WriteSource(const std::string& path, std::size_t mib, Filler filler) {
  std::ofstream out(path, std::ios::binary);
  std::vector<rsf::synth::ByteVector> clips = {
      rsf::synth::JfifImage(320, 240, 1), rsf::synth::MpegProgramStream(60, 2), rsf::synth::InterplayMve(40, 3),
      rsf::synth::RealMediaFile(80, 4)};
  for (auto& clip : rsf::synth::ExtraDemoClips(7)) clips.push_back(std::move(clip));
  const std::vector<rsf::synth::ByteVector> mp3s = rsf::synth::Mp3DemoClips();
  for (std::size_t i = 0; i < mib; ++i) {
    rsf::synth::ByteVector block = rsf::synth::RandomBytes(1 << 20, 1000 + i);
    if (filler == Filler::kMixed) {
      std::size_t at = 4096;
      for (std::size_t k = 0; k < 3; ++k) {
        const auto& clip = clips[(i * 3 + k) % clips.size()];
        if (at + clip.size() > block.size()) break;
        std::copy(clip.begin(), clip.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
        at += clip.size() + 5000;
      }
    } else if (filler == Filler::kBitmapDense) {
      for (std::size_t at = 0; at + 2 <= block.size(); at += 64) block[at] = 'B', block[at + 1] = 'M';
    } else {
      std::size_t at = 0;
      for (std::size_t k = 0;; ++k) {
        const auto& clip = mp3s[k % mp3s.size()];
        if (at + clip.size() > block.size()) break;
        std::copy(clip.begin(), clip.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
        at += clip.size() + 16;
      }
    }
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t mib = 256;
  std::string dir = "/tmp";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0) mib = std::stoul(argv[i + 1]);
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
  }
  const std::string path = dir + "/rsf-bench-source.bin";
  const double megabytes = static_cast<double>(mib) * 1.048576;
  fmt::print("sources of {} MiB; every figure next to plain reading of the same file in the same run\n", mib);

  auto report = [&](const char* name, const rsf::ScanOptions& options) {
    std::size_t clips = 0;
    const double seconds = Scan(path, options, clips);
    const double plain_now = PlainRead(path);
    fmt::print("{:<44} {:>9.1f} MB/s  ({} clips)  ratio to plain read {:.2f}\n", name, megabytes / seconds, clips,
               plain_now / seconds);
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

  prepare(Filler::kMixed, "random filler with clips of every type");
  report("scan, header-and-footer types", hefo);
  report("scan, all eleven types", rsf::ScanOptions::AllTypes());
  report("scan, MP3 mode", mp3);
  prepare(Filler::kBitmapDense, "random filler with \"BM\" every 64 bytes");
  report("scan, all eleven types", rsf::ScanOptions::AllTypes());
  prepare(Filler::kMp3Dense, "MP3 frame runs back to back");
  report("scan, MP3 mode", mp3);
  std::remove(path.c_str());
  return 0;
}
