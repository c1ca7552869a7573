// Scan throughput next to plain reading of the same file through the same stream, measured in
// one run so that machine noise affects both alike.
//   scan_bench [--size-mib N] [--dir FOLDER]
// Writes a source of N MiB (default 256) with clips embedded in random filler, reads it once to
// warm the page cache, then times: plain reading in windows, a scan with the header-and-footer
// types, a scan with every type, and MP3 mode on random filler.
#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "scan/file_stream.h"
#include "scan/scan_engine.h"
#include "scan/scan_state.h"
#include "synth/container_synth.h"
#include "synth/jpeg_synth.h"
#include "synth/random_filler.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Writes `mib` MiB of random filler with a clip every ~1 MiB.
void WriteSource(const std::string& path, std::size_t mib) {
  std::ofstream out(path, std::ios::binary);
  const std::vector<rsf::synth::ByteVector> clips = {
      rsf::synth::JfifImage(320, 240, 1), rsf::synth::MpegProgramStream(60, 2), rsf::synth::InterplayMve(40, 3),
      rsf::synth::RealMediaFile(80, 4)};
  for (std::size_t i = 0; i < mib; ++i) {
    rsf::synth::ByteVector block = rsf::synth::RandomBytes(1 << 20, 1000 + i);
    const auto& clip = clips[i % clips.size()];
    std::copy(clip.begin(), clip.end(), block.begin() + 4096);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  }
}

double PlainRead(const std::string& path) {
  rsf::FileStream stream(path);
  std::vector<std::uint8_t> window(rsf::kWindowSize);
  const auto start = Clock::now();
  std::int64_t position = 0;
  const std::int64_t size = stream.Size();
  while (position < size) {
    stream.Seek(position);
    const std::int64_t count = std::min<std::int64_t>(rsf::kWindowSize, size - position);
    for (std::int64_t done = 0; done < count; done += rsf::kCopyPieceSize)
      stream.ReadBuffer(window.data() + done, std::min(rsf::kCopyPieceSize, count - done));
    position += rsf::kWindowStep;
  }
  return Seconds(start);
}

struct Quiet : rsf::ScanObserver {};

double Scan(const std::string& path, const rsf::ScanOptions& options, std::size_t& clips) {
  Quiet observer;
  rsf::ScanEngine engine(observer);
  const auto start = Clock::now();
  engine.StartAnalysis([&] { return std::make_unique<rsf::FileStream>(path); }, options);
  clips = engine.Catalogue().size();
  return Seconds(start);
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
  WriteSource(path, mib);
  PlainRead(path);  // warm the page cache
  const double megabytes = static_cast<double>(mib) * 1.048576;

  const double plain = PlainRead(path);
  fmt::print("source: {} MiB of random filler with {} clips\n", mib, mib);
  fmt::print("{:<38} {:>9.1f} MB/s\n", "plain read (63,488-byte windows)", megabytes / plain);

  auto report = [&](const char* name, const rsf::ScanOptions& options) {
    std::size_t clips = 0;
    const double seconds = Scan(path, options, clips);
    const double plain_now = PlainRead(path);
    fmt::print("{:<38} {:>9.1f} MB/s  ({} clips)  ratio to plain read {:.2f}\n", name, megabytes / seconds, clips,
               plain_now / seconds);
  };
  rsf::ScanOptions hefo;
  for (rsf::ClipKind kind : {rsf::ClipKind::kJPG, rsf::ClipKind::kMPG, rsf::ClipKind::kMVE, rsf::ClipKind::kRAM})
    hefo.enabled[static_cast<int>(kind)] = true;
  report("scan, header-and-footer types", hefo);
  report("scan, all eleven types", rsf::ScanOptions::AllTypes());
  rsf::ScanOptions mp3;
  mp3.mp3_mode = true;
  report("scan, MP3 mode (random filler)", mp3);
  std::remove(path.c_str());
  return 0;
}
