// make_disc_image: a mixed-mode disc image from an ISO 9660 file system and raw audio.
//   make_disc_image NAME ISO [AUDIO...]
// writes NAME.bin (the file system as Mode 1 sectors of 2352 bytes, then each AUDIO file's
// 16-bit little-endian stereo samples at 44,100 Hz padded with silence to whole sectors) and
// NAME.cue, the sheet that lays them out as track 1 and tracks 2, 3, ...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "synth/cd_sector_synth.h"

namespace {

bool ReadAll(const char* path, rsf::synth::ByteVector& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_disc_image NAME ISO [AUDIO...]\n");
    return 2;
  }
  const std::string name = argv[1];
  rsf::synth::ByteVector iso;
  if (!ReadAll(argv[2], iso)) {
    std::fprintf(stderr, "make_disc_image: cannot read %s\n", argv[2]);
    return 1;
  }
  rsf::synth::ByteVector image = rsf::synth::RawDataTrack(iso);
  std::vector<std::int64_t> starts;
  for (int i = 3; i < argc; ++i) {
    rsf::synth::ByteVector samples;
    if (!ReadAll(argv[i], samples)) {
      std::fprintf(stderr, "make_disc_image: cannot read %s\n", argv[i]);
      return 1;
    }
    starts.push_back(static_cast<std::int64_t>(image.size() / 2352));
    samples.resize((samples.size() + 2351) / 2352 * 2352, 0);
    image.insert(image.end(), samples.begin(), samples.end());
  }
  const std::string bin = name + ".bin";
  const std::size_t slash = bin.find_last_of('/');
  std::ofstream bin_file(bin, std::ios::binary);
  bin_file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  std::ofstream sheet(name + ".cue", std::ios::binary);
  sheet << rsf::synth::MixedModeCueSheet(slash == std::string::npos ? bin : bin.substr(slash + 1), "MODE1/2352", starts);
  bin_file.close();
  sheet.close();
  if (!bin_file || !sheet) {
    std::fprintf(stderr, "make_disc_image: cannot write %s.bin and %s.cue\n", name.c_str(), name.c_str());
    return 1;
  }
  return 0;
}
