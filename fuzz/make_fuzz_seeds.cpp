// Writes the seed corpora of the fuzz targets, one folder per target, from the project's own
// media synthesizers: every clip type in normal mode (alone, across a window boundary, twice),
// MP3 runs with and without a tag in MP3 mode, small hostile sources, clip headers for the
// information functions, option texts for rsfx, and a few operation lists for the CD targets.
//   make_fuzz_seeds OUTPUT-FOLDER
#include <fmt/format.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "synth/bink_synth.h"
#include "synth/bitmap_synth.h"
#include "synth/container_synth.h"
#include "synth/hostile_synth.h"
#include "synth/iff_synth.h"
#include "synth/midi_synth.h"
#include "synth/more_media_synth.h"
#include "synth/mp3_demo_media.h"
#include "synth/mpeg_audio_synth.h"
#include "synth/picture_synth.h"
#include "synth/quicktime_synth.h"
#include "synth/random_filler.h"
#include "synth/riff_synth.h"
#include "synth/smacker_synth.h"
#include "synth/tracker_synth.h"
#ifdef RSF_HAVE_JPEG
#include "synth/jpeg_synth.h"
#endif

namespace {

using rsf::synth::ByteVector;
namespace fs = std::filesystem;

class Corpus {
 public:
  Corpus(const fs::path& root, const std::string& target) : folder_(root / target) { fs::create_directories(folder_); }
  void Add(const ByteVector& bytes) {
    std::ofstream out(folder_ / fmt::format("seed-{:03}", next_++), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void Add(std::uint8_t first, const ByteVector& rest) {
    ByteVector bytes{first};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    Add(bytes);
  }
  void AddText(std::uint8_t first, std::string_view text) { Add(first, ByteVector(text.begin(), text.end())); }

 private:
  fs::path folder_;
  int next_ = 0;
};

ByteVector Head(const ByteVector& bytes, std::size_t count) {
  return ByteVector(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size())));
}

// The scan target's four option bytes before a payload.
ByteVector ScanInput(std::uint8_t flags, std::uint16_t types, std::uint8_t parameter, const ByteVector& payload) {
  ByteVector bytes{flags, static_cast<std::uint8_t>(types & 0xFF), static_cast<std::uint8_t>(types >> 8), parameter};
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

std::vector<ByteVector> NormalModeClips() {
  using namespace rsf::synth;
  std::vector<ByteVector> clips = {
      BitmapFile(8, 6, 24),
      BitmapFile(5, -3, 8),
      AviFile({100000, 3, 16, 12, "MJPG", 16}),
      PcmWave(22050, 2, 16, 40),
      AdpcmWave(AdpcmKind::kIma, 8000, 1, 2),
      MpegProgramStream(3, 1),
      InterplayMve(3, 2),
      RealMediaFile(4, 3),
      BinkFile({}),
      SmackerFile({}),
      QuicktimeMovie({{"mdat", 64}, {"free", 8}}),
      QuicktimeMovie({{"mdat", 32, AtomSize::k64Bit}, {"wide", 0, AtomSize::kToEnd}}),
      QuicktimeMovie({{"mdat", 32}}, false),
      MidiFile({}),
      MidiFile({1, 96, {4, 20, 8}, 1}),
  };
#ifdef RSF_HAVE_JPEG
  clips.push_back(JfifImage(16, 16, 1, 50));
#endif
  return clips;
}

std::vector<ByteVector> FurtherTypeClips() {
  using namespace rsf::synth;
  return {VocFile(8000, 8, 1, 300), XmidiFile(2, 10), ModFile({.patterns = 1, .sample_words = {20}}), S3mFile(),
          XmFile({.pattern_packed_sizes = {10}, .instruments = {{30}, {}}}), ItFile({.sample_lengths = {50, 40}}),
          GifFile(8, 4, 2), PngFile(6, 3), OggVorbisFile(8000, 1, 2), FlicFile(8, 8, 2, false), AiffFile(8000, 1, 8, 40),
          IlbmFile(16, 4, 2), Svx8File(8000, 60)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fmt::print(stderr, "usage: make_fuzz_seeds OUTPUT-FOLDER\n");
    return 2;
  }
  const fs::path root = argv[1];
  constexpr std::uint16_t kAllTypes = 0x07FF;
  constexpr std::uint16_t kPrecise = 0x8000;
  constexpr std::uint16_t kFurtherTypes = 0x0800;

  Corpus scan(root, "scan_fuzzer");
  std::uint8_t parameter = 0;
  for (const ByteVector& clip : NormalModeClips()) {
    ByteVector framed = rsf::synth::RandomBytes(37, parameter);
    framed.insert(framed.end(), clip.begin(), clip.end());
    const ByteVector tail = rsf::synth::RandomBytes(19, parameter + 100);
    framed.insert(framed.end(), tail.begin(), tail.end());
    scan.Add(ScanInput(0x00, kAllTypes, parameter, framed));
    scan.Add(ScanInput(0x10, kAllTypes, static_cast<std::uint8_t>(parameter * 5), clip));  // across the boundary
    scan.Add(ScanInput(0x2C, kAllTypes, parameter, clip));                                 // twice, both matchers
    scan.Add(ScanInput(0x42, kAllTypes, parameter, framed));                               // a bad range, ignored
    scan.Add(ScanInput(0x10, kAllTypes | kPrecise, parameter, clip));                      // the precise rules
    ++parameter;
  }
  for (const ByteVector& clip : FurtherTypeClips()) {
    scan.Add(ScanInput(0x00, kFurtherTypes, parameter, clip));
    scan.Add(ScanInput(0x10, kFurtherTypes | kPrecise, parameter, clip));  // across the boundary
    ++parameter;
  }
  for (const ByteVector& clip : rsf::synth::Mp3DemoClips()) {
    scan.Add(ScanInput(0x01, 0, parameter, Head(clip, 6000)));
    scan.Add(ScanInput(0x11, 0, parameter, Head(clip, 3000)));
    scan.Add(ScanInput(0x81, 0, parameter, Head(clip, 3000)));  // closing during the frame walk
    ++parameter;
  }
  for (const rsf::synth::HostileKind kind : rsf::synth::kHostileKinds) {
    const ByteVector source = rsf::synth::HostileSource(kind, 2048, parameter);
    scan.Add(ScanInput(rsf::synth::HostileForMp3Mode(kind) ? 0x01 : 0x00, kAllTypes, parameter, source));
    scan.Add(ScanInput(0x20, kAllTypes, parameter, source));
    scan.Add(ScanInput(0x00, kAllTypes | kPrecise, parameter++, source));
  }

  Corpus info(root, "clip_info_fuzzer");
  const ByteVector avi = rsf::synth::AviFile({});
  const ByteVector wave = rsf::synth::PcmWave(44100, 2, 16, 10);
  const ByteVector adpcm = rsf::synth::AdpcmWave(rsf::synth::AdpcmKind::kMicrosoft, 22050, 2, 1);
  info.Add(0, Head(avi, 255));
  info.Add(0, Head(rsf::synth::AviFile({0, 1, 320, 240, "IV32", 8}), 255));
  info.Add(1, Head(wave, 40));
  info.Add(1, Head(adpcm, 40));
  info.Add(2, Head(rsf::synth::BitmapFile(640, 480, 24), 35));
  info.Add(2, Head(rsf::synth::BitmapFile(4, -4000, 1), 35));
  info.Add(3, rsf::synth::MpegHeaderBytes({}));
  info.Add(3, ByteVector{0xFF, 0xFB, 0x90, 0x64});
  info.Add(3, ByteVector{0xFF, 0xE2, 0x14, 0x02});
  rsf::synth::Id3v1Fields tag;
  tag.title = "\xD6\xD0\xCE\xC4";
  tag.track = 3;
  tag.genre = 17;
  info.Add(4, rsf::synth::Id3v1Tag(tag));
  for (std::string_view code : {"IV32", "cvid", "MJPG", "DIVX", "Y8\xA0\xA0", "IAN "}) info.AddText(5, code);
  info.Add(6, ByteVector{0x00, 0x55});
  info.Add(6, ByteVector{0xFF, 0xFE});
  info.Add(7, ByteVector{0, 0, 0, 125});

  Corpus options(root, "rsfx_options_fuzzer");
  options.AddText(0, "qt,bmp,avi,wav,jpg,mpg,mve,ram,bik,smk,mid");
  options.AddText(0, "mid,qt");
  options.AddText(0, "all");
  options.AddText(0, "gif,8svx,it");
  options.AddText(0, "");
  options.AddText(0, "bmp,,x");
  options.AddText(1, "2,5-7");
  options.AddText(1, "1-999999");
  options.AddText(1, "3-2,0");

  Corpus cd(root, "cd_stream_fuzzer");
  Corpus requests(root, "aspi_request_fuzzer");
  for (std::uint64_t seed = 1; seed <= 8; ++seed) {
    cd.Add(rsf::synth::RandomBytes(24 + seed * 8, seed));
    requests.Add(rsf::synth::RandomBytes(24 + seed * 8, seed + 50));
  }
  return 0;
}
