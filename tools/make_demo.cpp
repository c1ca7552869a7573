// Writes the demo source: a container of synthesized media clips in random filler, and a
// manifest listing where each clip lies.
#include <cstdio>
#include <fstream>

#include <fmt/format.h>

#include "synth/demo_source.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo OUTPUT\n");
    return 2;
  }
  const rsf::synth::DemoSource demo = rsf::synth::BuildDemoSource();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(demo.bytes.data()), static_cast<std::streamsize>(demo.bytes.size()));
  std::ofstream manifest(std::string(argv[1]) + ".clips");
  for (const auto& clip : demo.clips) manifest << fmt::format("{} {} {}\n", clip.extension, clip.start, clip.end);
  std::ofstream mp3_manifest(std::string(argv[1]) + ".mp3clips");
  for (const auto& clip : demo.mp3_clips) mp3_manifest << fmt::format("{} {} {}\n", clip.extension, clip.start, clip.end);
  return out && manifest ? 0 : 1;
}
