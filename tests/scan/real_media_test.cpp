// Bitmap, AVI, WAVE and QuickTime files made at test time by ffmpeg, and Bink, Smacker and
// MIDI files from the synthesizers, embedded in random filler across window boundaries: each
// must be found with its exact boundaries, extract byte for byte, open in ffprobe and carry the
// information text that agrees with what ffprobe reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scan/extraction/extraction.h"
#include "stream/memory_stream.h"
#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/bink_synth.h"
#include "synth/midi_synth.h"
#include "synth/random_filler.h"
#include "synth/smacker_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::ReadWholeFile;
using test::TempDir;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Runs a shell command with its output in `out`; true when it exited with 0 and wrote nothing
// to standard error.
bool Run(const std::string& command, const TempDir& dir, std::string* out = nullptr) {
  const std::string out_path = dir.File("run.out");
  const std::string err_path = dir.File("run.err");
  const int status = std::system((command + " >" + Quoted(out_path) + " 2>" + Quoted(err_path)).c_str());
  const ByteVector err = ReadWholeFile(err_path);
  const ByteVector output = ReadWholeFile(out_path);
  if (out) out->assign(output.begin(), output.end());
  if (!err.empty()) ADD_FAILURE() << command << ":\n" << std::string(err.begin(), err.end());
  return status == 0 && err.empty();
}

bool OnPath(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// The first stream's fields as ffprobe reports them ("width" -> "64").
std::map<std::string, std::string> Probe(const std::string& path, const TempDir& dir) {
  std::string out;
  std::map<std::string, std::string> fields;
  if (!Run("ffprobe -v error -select_streams 0 -show_entries "
           "stream=width,height,r_frame_rate,sample_rate,channels,bits_per_sample -of default=nw=1 " +
               Quoted(path),
           dir, &out))
    return fields;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals != std::string::npos && !fields.count(line.substr(0, equals)))
      fields[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return fields;
}

// Frames per second as whole number, from ffprobe's "num/den".
std::string WholeRate(const std::string& rate) {
  const auto slash = rate.find('/');
  if (slash == std::string::npos) return rate;
  const long den = std::stol(rate.substr(slash + 1));
  return den == 0 ? "0" : std::to_string(std::stol(rate.substr(0, slash)) / den);
}

struct Media {
  std::string name;       // for messages
  std::string extension;  // the catalogue's
  ByteVector clip;        // the bytes the scan must find
  bool probe = true;      // ffprobe knows the format
  std::vector<std::string> info_lines;  // expected leading lines of the information text
  int bits_per_pixel = 0;  // bitmaps: written by the encoder, not reported by ffprobe
};

bool HasEncoder(const std::string& encoders, const std::string& name) {
  return encoders.find(" " + name + " ") != std::string::npos;
}

// Offset of the top-level atom of type `type` in a QuickTime file, or npos.
std::size_t TopLevelAtom(const ByteVector& file, std::string_view type) {
  std::size_t at = 0;
  while (FitsIn(file.size(), at, 8)) {
    if (MatchesAt(file, at + 4, type)) return at;
    const std::uint32_t size = ReadBE32(file, at).value_or(0);
    if (size < 8) break;
    at += size;
  }
  return std::string::npos;
}

// One ffmpeg output: its own lavfi input, output options and file.
struct Encoding {
  std::string input, options, file;
  Media media;
};

std::vector<Media> MakeMedia(const TempDir& dir) {
  std::string encoders;
  Run("ffmpeg -hide_banner -encoders", dir, &encoders);
  std::vector<Encoding> encodings;

  struct AviCodec {
    std::string codec, options;
    int rate;
  };
  for (const AviCodec& avi : std::vector<AviCodec>{{"mpeg4", "", 10},
                                                    {"mjpeg", "", 25},
                                                    {"rawvideo", "-pix_fmt bgr24", 10},
                                                    {"msvideo1", "-pix_fmt rgb555le", 15},
                                                    {"cinepak", "", 12}}) {
    if (!HasEncoder(encoders, avi.codec)) continue;
    const std::string rate = std::to_string(avi.rate);
    encodings.push_back({"testsrc=size=64x48:duration=1:rate=" + rate, "-frames:v 10 -c:v " + avi.codec + " " + avi.options,
                         avi.codec + ".avi", {avi.codec, ".avi", {}, true, {"FPS : " + rate, "大小 : 64 x 48"}}});
  }

  struct WaveCodec {
    std::string codec;
    int sample_rate, channels;
  };
  for (const WaveCodec& wave : std::vector<WaveCodec>{
           {"pcm_s16le", 22050, 2}, {"pcm_u8", 11025, 1}, {"adpcm_ms", 22050, 1}, {"adpcm_ima_wav", 44100, 2}}) {
    if (!HasEncoder(encoders, wave.codec)) continue;
    encodings.push_back({"sine=frequency=440:sample_rate=" + std::to_string(wave.sample_rate) + ":duration=0.2",
                         "-ac " + std::to_string(wave.channels) + " -c:a " + wave.codec, wave.codec + ".wav",
                         {wave.codec, ".wav", {}, true, {}}});
  }

  struct BitmapFormat {
    std::string pix_fmt;
    int bits;
    int width, height;
  };
  for (const BitmapFormat& bmp : std::vector<BitmapFormat>{{"bgra", 32, 64, 48},
                                                          {"bgr24", 24, 33, 17},
                                                          {"rgb565le", 16, 64, 48},
                                                          {"rgb555le", 16, 21, 13},
                                                          {"pal8", 8, 31, 20},
                                                          {"monob", 1, 45, 30}}) {
    const std::string width = std::to_string(bmp.width), height = std::to_string(bmp.height);
    encodings.push_back({"testsrc=size=" + width + "x" + height + ":duration=1:rate=1", "-frames:v 1 -pix_fmt " + bmp.pix_fmt,
                         bmp.pix_fmt + ".bmp",
                         {bmp.pix_fmt, ".bmp", {}, true, {"大小 : " + width + " x " + height}, bmp.bits}});
  }
  // The movie atom first; ffmpeg puts an ftyp atom before it, which the clip does not include.
  encodings.push_back({"testsrc=size=64x48:duration=1:rate=10", "-frames:v 10 -c:v mpeg4 -movflags +faststart", "movie.mov",
                       {"mov", ".qt", {}, true, {}}});

  // One ffmpeg run for all of them: starting the program costs more than encoding these. Every
  // input is finite, or ffmpeg would go on reading it after its output has its frames.
  std::string command = (OnPath("timeout") ? "timeout 120 " : "") + std::string("ffmpeg -nostdin -v error -y");
  for (const Encoding& encoding : encodings) command += " -f lavfi -i " + encoding.input;
  for (std::size_t i = 0; i < encodings.size(); ++i)
    command += " -map " + std::to_string(i) + " " + encodings[i].options + " " + Quoted(dir.File(encodings[i].file));
  EXPECT_TRUE(Run(command, dir));

  std::vector<Media> media;
  for (Encoding& encoding : encodings) {
    ByteVector bytes = ReadWholeFile(dir.File(encoding.file));
    EXPECT_FALSE(bytes.empty()) << encoding.file;
    if (bytes.empty()) continue;
    if (encoding.media.extension == ".qt") {
      const std::size_t moov = TopLevelAtom(bytes, "moov");
      EXPECT_LT(moov, TopLevelAtom(bytes, "mdat"));
      if (moov == std::string::npos) continue;
      bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(moov));
    }
    encoding.media.clip = std::move(bytes);
    media.push_back(std::move(encoding.media));
  }

  media.push_back({"bink", ".bik", synth::BinkFile({.frames = 12, .frame_bytes = 700}), true, {}});
  // ffprobe has no MIDI reader, and its Smacker decoder wants real Huffman trees.
  media.push_back({"smacker", ".smk", synth::SmackerFile({.frame_sizes = {3001, 2000, 1502, 2803}, .trees_size = 256}),
                   false, {}});
  media.push_back({"midi", ".mid", synth::MidiFile({.track_data_sizes = {40, 900, 4000}}), false, {}});
  return media;
}

// Clip starts around the ends of successive windows: before the shared 40 bytes, inside them
// (so that headers are cut by the window's end), and just behind them.
std::vector<synth::PlacedClip> Place(const std::vector<Media>& media, std::size_t& source_size) {
  const std::int64_t offsets_to_window_end[] = {-50, -39, -33, -21, -12, -7, -3, -1, 1, 4, 9};
  std::vector<synth::PlacedClip> placed;
  std::int64_t free_from = 0;
  std::int64_t window = 0;
  for (std::size_t i = 0; i < media.size(); ++i) {
    const std::int64_t offset = offsets_to_window_end[i % std::size(offsets_to_window_end)];
    std::int64_t start = 0;
    do start = window++ * kWindowStep + kWindowSize + offset;
    while (start < free_from + 100);
    const auto end = start + static_cast<std::int64_t>(media[i].clip.size());
    placed.push_back({media[i].extension, start, end, media[i].clip});
    free_from = end;
  }
  source_size = static_cast<std::size_t>(free_from + 3000);
  return placed;
}

TEST(LengthFieldRealMediaTest, FoundExtractedAndDescribedAsFfprobeSeesThem) {
#ifdef _WIN32
  GTEST_SKIP() << "real media are made by the host's ffmpeg and ffprobe, which a Windows build does not run";
#endif
  if (!OnPath("ffmpeg") || !OnPath("ffprobe")) GTEST_SKIP() << "ffmpeg and ffprobe are needed";
  const TempDir dir;
  const std::vector<Media> media = MakeMedia(dir);
  std::size_t source_size = 0;
  const std::vector<synth::PlacedClip> placed = Place(media, source_size);
  const ByteVector source = synth::EmbedClips(source_size, placed, 7);

  const auto result = test::ScanBytes(source);
  MemoryStream stream(source);
  ExtractionObserver quiet;
  const std::string prefix = dir.File("clip");
  ASSERT_EQ(ExtractClips(&stream, result.catalogue, std::vector<bool>(result.catalogue.size(), true), prefix, quiet),
            ExtractionOutcome::kDone);

  for (std::size_t i = 0; i < media.size(); ++i) {
    const Media& item = media[i];
    SCOPED_TRACE(item.name + " at " + std::to_string(placed[i].start));
    std::size_t index = result.catalogue.size();
    for (std::size_t k = 0; k < result.catalogue.size(); ++k)
      if (result.catalogue[k].StartOffset == placed[i].start && result.catalogue[k].Extension == item.extension) index = k;
    ASSERT_LT(index, result.catalogue.size()) << "not found";
    const TFilestruct& clip = result.catalogue[index];
    EXPECT_EQ(clip.EndOffset, placed[i].end);

    const std::string path = ClipFileName(prefix, index, item.extension);
    EXPECT_TRUE(ReadWholeFile(path) == item.clip) << "extracted bytes differ";
    for (const std::string& line : item.info_lines) EXPECT_NE(clip.InfoText.find(line), std::string::npos) << clip.InfoText;
    if (!item.probe) continue;

    auto probed = Probe(path, dir);
    if (item.extension == ".avi") {
      EXPECT_EQ(clip.InfoText.substr(0, clip.InfoText.find('\r')), "FPS : " + WholeRate(probed["r_frame_rate"]));
      EXPECT_NE(clip.InfoText.find("大小 : " + probed["width"] + " x " + probed["height"]), std::string::npos);
    } else if (item.extension == ".wav") {
      const std::string channels = probed["channels"] == "1" ? "单声" : probed["channels"] == "2" ? "立体声" : "?";
      EXPECT_EQ(clip.InfoText.substr(0, clip.InfoText.find('\r')),
                probed["sample_rate"] + " Hz " + probed["bits_per_sample"] + " Bit " + channels);
    } else if (item.extension == ".bmp") {
      EXPECT_EQ(clip.InfoText,
                "大小 : " + probed["width"] + " x " + probed["height"] + "\r\nBPP : " + std::to_string(item.bits_per_pixel));
    } else {  // the movie and the Bink file: 64 x 48 at 10 frames a second
      EXPECT_EQ(probed["width"] + " x " + probed["height"] + " at " + probed["r_frame_rate"], "64 x 48 at 10/1");
    }
  }
}

}  // namespace
}  // namespace rsf
