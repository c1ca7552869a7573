// MP3 mode on real encoder output: files made at test time by ffmpeg with libmp3lame, embedded
// in random filler, must be found with their exact boundaries, extract byte for byte, open in
// ffprobe without error and be described as ffprobe describes them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scan/extraction/extraction.h"
#include "stream/memory_stream.h"
#include "scan/engine/scan_engine.h"
#include "support/scan_harness.h"
#include "synth/random_filler.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::RecordingObserver;
using test::TempDir;

struct Encoding {
  std::string name;
  int sample_rate;
  int channels;
  std::string rate_control;  // ffmpeg options: constant or variable bitrate
  bool vbr;
  bool joint_stereo;
  bool id3v1;
};

// Standard output of a shell command (standard error joined to it); exit status in `status`.
std::string Shell(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) {
    status = -1;
    return output;
  }
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  status = pclose(pipe);
  return output;
}

bool OnPath(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// Length of the ID3 version 2 tag at the start of `file`, 0 when there is none: a 10-byte header
// whose size field holds 7 bits per byte, and a 10-byte footer when flag bit 4 is set.
std::size_t Id3v2Length(const ByteVector& file) {
  if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return 0;
  std::size_t size = 0;
  for (int i = 6; i < 10; ++i) size = (size << 7) | (file[static_cast<std::size_t>(i)] & 0x7Fu);
  return 10 + size + ((file[5] & 0x10) ? 10 : 0);
}

// One second of a tone, without Xing frame, so the file is nothing but frames and, when asked
// for, an ID3 version 1 tag. ffmpeg writes the version 1 tag only together with a version 2 tag
// at the front; that one is cut off, since an MP3 clip starts at its first frame.
ByteVector Encode(const TempDir& dir, const Encoding& encoding) {
  const std::string path = dir.File(encoding.name + ".mp3");
  std::ostringstream command;
  command << "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=523:sample_rate=" << encoding.sample_rate
          << ":duration=1 -ac " << encoding.channels << " -c:a libmp3lame " << encoding.rate_control
          << " -joint_stereo " << (encoding.joint_stereo ? 1 : 0) << " -write_xing 0";
  if (encoding.id3v1) {
    command << " -id3v2_version 3 -write_id3v1 1 -metadata title=" << encoding.name << " -metadata artist=RSF";
  } else {
    command << " -id3v2_version 0 -write_id3v1 0";
  }
  command << " " << path;
  int status = 0;
  const std::string output = Shell(command.str(), status);
  EXPECT_EQ(status, 0) << output;
  ByteVector file = test::ReadWholeFile(path);
  file.erase(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(Id3v2Length(file)));
  test::WriteWholeFile(path, file);
  EXPECT_TRUE(!file.empty() && file[0] == 0xFF) << encoding.name << " does not start with a frame";
  return file;
}

// ffprobe's key=value lines for `entries`; an error message in the output fails the test.
std::map<std::string, std::string> Probe(const std::string& path, const std::string& entries) {
  int status = 0;
  const std::string output =
      Shell("ffprobe -v error -select_streams a:0 -show_entries " + entries + " -of default=nw=1 " + path, status);
  EXPECT_EQ(status, 0) << output;
  std::map<std::string, std::string> values;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    EXPECT_NE(equals, std::string::npos) << "ffprobe: " << line;
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

// Size in bytes of the `index`-th packet (from 0), that is of the frame with that number.
int PacketSize(const std::string& path, int index) {
  int status = 0;
  const std::string output =
      Shell("ffprobe -v error -select_streams a:0 -show_entries packet=size -of csv=p=0 " + path, status);
  std::istringstream lines(output);
  std::string line;
  for (int i = 0; i <= index; ++i) std::getline(lines, line);
  return std::atoi(line.c_str());
}

// The value after `label` on its line of an information text.
std::string InfoValue(const std::string& info, const std::string& label) {
  const std::size_t at = info.find(label);
  if (at == std::string::npos) return "(missing)";
  const std::size_t from = at + label.size();
  return info.substr(from, info.find("\r\n", from) - from);
}

TEST(Mp3RealMediaTest, EncoderOutputIsFoundExtractedAndDescribed) {
#ifdef _WIN32
  GTEST_SKIP() << "real media are made by the host's ffmpeg and ffprobe, which a Windows build does not run";
#endif
  if (!OnPath("ffmpeg") || !OnPath("ffprobe")) GTEST_SKIP() << "ffmpeg and ffprobe are needed";
  const std::vector<Encoding> encodings = {
      {"cbr44stereo", 44100, 2, "-b:a 128k", false, true, true},
      {"vbr44stereo", 44100, 2, "-q:a 4", true, true, false},
      {"cbr22mono", 22050, 1, "-b:a 32k", false, false, true},
      {"vbr22stereo", 22050, 2, "-q:a 6", true, false, true},
      {"cbr8mono", 8000, 1, "-b:a 16k", false, false, false},
      {"vbr8mono", 8000, 1, "-q:a 2", true, false, true},
  };
  TempDir dir;

  // Each file sits between zero bytes, so no filler byte can continue its run or precede it
  // as a frame of its own; the filler elsewhere is random.
  constexpr std::int64_t kGuard = 64;
  std::vector<synth::PlacedClip> placed;
  std::int64_t offset = 3000;
  for (const Encoding& encoding : encodings) {
    ByteVector file = Encode(dir, encoding);
    ASSERT_FALSE(file.empty()) << encoding.name;
    ByteVector guarded(static_cast<std::size_t>(kGuard), 0);
    guarded.insert(guarded.end(), file.begin(), file.end());
    guarded.resize(guarded.size() + kGuard, 0);
    const auto length = static_cast<std::int64_t>(guarded.size());
    placed.push_back({".mp3", offset, offset + length, std::move(guarded)});
    offset += length + 20011;
  }
  const ByteVector source = synth::EmbedClips(static_cast<std::size_t>(offset), placed, 7);

  RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOptions options;
  options.mp3_mode = true;
  ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(source); }, options),
            ScanOutcome::kFinished);
  const ClipCatalogue& catalogue = engine.Catalogue();
  ASSERT_EQ(catalogue.size(), encodings.size());

  ExtractionObserver quiet;
  const std::string prefix = dir.File("found");
  ASSERT_EQ(ExtractClips(engine.Source(), catalogue, std::vector<bool>(catalogue.size(), true), prefix, quiet),
            ExtractionOutcome::kDone);

  for (std::size_t i = 0; i < encodings.size(); ++i) {
    const Encoding& encoding = encodings[i];
    SCOPED_TRACE(encoding.name);
    const ByteVector original = test::ReadWholeFile(dir.File(encoding.name + ".mp3"));
    const std::int64_t start = placed[i].start + kGuard;
    EXPECT_EQ(catalogue[i].StartOffset, start);
    EXPECT_EQ(catalogue[i].EndOffset, start + static_cast<std::int64_t>(original.size()));

    const std::string extracted = ClipFileName(prefix, i, ".mp3");
    EXPECT_EQ(test::ReadWholeFile(extracted), original);
    const auto stream = Probe(extracted, "stream=sample_rate,channels,bit_rate");

    const std::string& info = catalogue[i].InfoText;
    EXPECT_EQ(InfoValue(info, "频率      :"), stream.at("sample_rate") + " hz");
    const std::string mode = InfoValue(info, "模式      :");
    if (stream.at("channels") == "1") {
      EXPECT_EQ(mode, "单声");
    } else {
      EXPECT_EQ(stream.at("channels"), "2");
      EXPECT_EQ(mode, encoding.joint_stereo ? "Joint Stereo" : "立体声");
    }
    const int bitrate = std::atoi(InfoValue(info, "比特率  : ").c_str());
    if (!encoding.vbr) {
      EXPECT_EQ(std::to_string(bitrate * 1000), stream.at("bit_rate"));
    } else {
      // The text shows the fourth frame's bitrate: that frame's length as ffprobe counts it
      // follows from it, give or take the padding byte.
      const int per_kbit = encoding.sample_rate == 44100 ? 144000 : 72000;
      const int length = per_kbit * bitrate / encoding.sample_rate;
      const int packet = PacketSize(extracted, 3);
      EXPECT_TRUE(packet == length || packet == length + 1) << "bitrate " << bitrate << ", packet " << packet;
    }
    if (encoding.id3v1) {
      EXPECT_EQ(InfoValue(info, "标题    : "), encoding.name);
      EXPECT_EQ(InfoValue(info, "艺术家  : "), "RSF");
    } else {
      EXPECT_EQ(info.find("标题"), std::string::npos);
    }
  }
}

// Separately encoded files back to back, as game speech is packed, and one long stream. Under the
// precise rules each file comes out whole where the encoder leaves evidence of a new start (a
// header frame, the bit reservoir starting over), files that leave none stay one run, and a
// continuous stream is never cut.
struct BackToBack {
  std::string name;
  std::string encoder;  // ffmpeg options
  int files;
  double seconds;  // of the first file; each next one is 0.4 s longer
  bool split;      // whether every file comes out on its own
};
void PrintTo(const BackToBack& row, std::ostream* out) { *out << row.name; }

class Mp3BackToBackTest : public testing::TestWithParam<BackToBack> {};

TEST_P(Mp3BackToBackTest, EveryFileWholeOrOneRunNeverCutInside) {
#ifdef _WIN32
  GTEST_SKIP() << "real media are made by the host's ffmpeg, which a Windows build does not run";
#endif
  if (!OnPath("ffmpeg")) GTEST_SKIP() << "ffmpeg is needed";
  const BackToBack& row = GetParam();
  TempDir dir;
  ByteVector source;
  std::vector<std::int64_t> starts;
  for (int i = 0; i < row.files; ++i) {
    // A voice-like tone gliding and swelling, with a little noise: different in every file.
    const std::string path = dir.File(std::to_string(i) + ".mp3");
    std::ostringstream command;
    command << "ffmpeg -nostdin -v error -y -f lavfi -i \"aevalsrc=exprs='0.4*sin(2*PI*(" << 140 + 37 * i
            << "+60*sin(2*PI*3*t))*t)*(0.6+0.4*sin(2*PI*" << 3 + i % 4 << "*t))+0.05*(random(0)-0.5)':s=22050:d="
            << row.seconds + 0.4 * i << "\" " << row.encoder << " -id3v2_version 0 " << path;
    int status = 0;
    const std::string output = Shell(command.str(), status);
    ASSERT_EQ(status, 0) << output;
    const ByteVector file = test::ReadWholeFile(path);
    starts.push_back(static_cast<std::int64_t>(source.size()));
    source.insert(source.end(), file.begin(), file.end());
  }
  starts.push_back(static_cast<std::int64_t>(source.size()));

  for (const bool precise : {false, true}) {
    SCOPED_TRACE(precise ? "precise rules" : "classic rules");
    RecordingObserver observer;
    ScanEngine engine(observer);
    ScanOptions options;
    options.mp3_mode = true;
    options.precise = precise;
    ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(source); }, options),
              ScanOutcome::kFinished);
    std::vector<std::int64_t> ends = {0};
    for (const TFilestruct& clip : engine.Catalogue()) {
      EXPECT_EQ(clip.StartOffset, ends.back()) << "the clips follow one another";
      ends.push_back(clip.EndOffset);
    }
    if (precise && row.split) {
      EXPECT_EQ(ends, starts);
    } else {
      // One run over all the files, as the frames tell nothing apart.
      EXPECT_EQ(ends, (std::vector<std::int64_t>{0, starts.back()}));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Encodes, Mp3BackToBackTest,
    testing::Values(BackToBack{"lame_cbr_16k_11025_mono_bare", "-ar 11025 -ac 1 -c:a libmp3lame -b:a 16k -write_xing 0", 6, 0.6, true},
                    BackToBack{"lame_vbr_22050_stereo_bare", "-ar 22050 -ac 2 -c:a libmp3lame -q:a 6 -write_xing 0", 5, 0.8, true},
                    BackToBack{"lame_cbr_32k_16000_with_xing", "-ar 16000 -ac 1 -c:a libmp3lame -b:a 32k", 5, 0.5, true},
                    BackToBack{"shine_64k_with_xing", "-ar 44100 -ac 2 -c:a libshine -b:a 64k", 4, 0.7, true},
                    BackToBack{"shine_48k_bare", "-ar 44100 -ac 1 -c:a libshine -b:a 48k -write_xing 0", 4, 0.7, false},
                    BackToBack{"lame_one_long_stream", "-ar 44100 -ac 2 -c:a libmp3lame -b:a 128k -write_xing 0", 1, 40, false}),
    [](const testing::TestParamInfo<BackToBack>& info) { return info.param.name; });

}  // namespace
}  // namespace rsf
