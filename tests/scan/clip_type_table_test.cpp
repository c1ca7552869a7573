// The clip-type table against the detectors it drives: every signature a detector asks the
// index for is one its record registers (a missing one would rebuild the index during the scan),
// and the names and places front ends read from it tell the types apart.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/detector_dispatch.h"
#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"
#include "synth/iff_synth.h"
#include "synth/more_media_synth.h"
#include "synth/picture_synth.h"
#include "synth/tracker_synth.h"

namespace rsf {
namespace {

// Every signature of every record, some of them across a window boundary, then the demo source
// (the classic types) and a clip of each further type, so that detectors reach the requests
// they make only for a candidate, and last each demo clip stretched beyond a window by filler
// in its middle, for the requests made only for an end that lies in a later window.
std::vector<std::uint8_t> EverySignatureAndClip() {
  std::vector<std::uint8_t> bytes;
  const auto append_all = [&] {
    for (const ClipTypeRecord& type : ClipTypeTable())
      for (const bool precise : {false, true})
        for (const std::string_view signature : type.Rules(precise).signatures) {
          bytes.insert(bytes.end(), 13, 0xEE);
          bytes.insert(bytes.end(), signature.begin(), signature.end());
        }
  };
  append_all();
  bytes.resize(static_cast<std::size_t>(kWindowSize) - 7, 0xEE);
  append_all();
  const synth::DemoSource demo = synth::BuildDemoSource();
  bytes.insert(bytes.end(), demo.bytes.begin(), demo.bytes.end());
  for (const std::vector<std::uint8_t>& clip :
       {synth::VocFile(11025, 8, 1, 3000), synth::XmidiFile(3), synth::ModFile(), synth::S3mFile(), synth::XmFile(),
        synth::ItFile(), synth::GifFile(20, 10, 2), synth::PngFile(30, 20), synth::OggVorbisFile(22050, 2, 3),
        synth::FlicFile(32, 24, 3, true), synth::AiffFile(22050, 1, 16, 500), synth::IlbmFile(40, 20, 4),
        synth::Svx8File(8363, 700)}) {
    bytes.insert(bytes.end(), 13, 0xEE);
    bytes.insert(bytes.end(), clip.begin(), clip.end());
  }
  for (const synth::PlacedClip& clip : demo.clips) {
    const auto middle = clip.bytes.begin() + static_cast<std::ptrdiff_t>(clip.bytes.size() / 2);
    bytes.insert(bytes.end(), clip.bytes.begin(), middle);
    bytes.insert(bytes.end(), static_cast<std::size_t>(kWindowSize), 0xEE);
    bytes.insert(bytes.end(), middle, clip.bytes.end());
  }
  return bytes;
}

// The signatures asked for beyond those registered up front, in a scan that runs the engine's
// registration and dispatch over every window.
// `expect_clips`: the source holds clips of the enabled types (a build without libjpeg has no
// JPEG images to lay into it).
std::vector<std::string> UnregisteredSignatures(const std::vector<std::uint8_t>& bytes, const ScanOptions& options,
                                                bool expect_clips = true) {
  MemoryStream source(bytes);
  test::RecordingObserver observer;
  ClipCatalogue catalogue;
  int read_errors = 0;
  ScanState state(source, options, observer, catalogue, read_errors);
  RegisterSignatures(state, options);
  source.Seek(0);
  while (source.Position() < state.SourceSize()) {
    state.ReadWindow();
    state.SaveWindow();
    RunDetectors(state, options);
    state.AdvanceWindow();
  }
  state.ListClipsAtSourceEnd();
  if (expect_clips) {
    EXPECT_FALSE(catalogue.empty());
  }
  return state.UnregisteredSignatures();
}

TEST(ClipTypeTable, EveryDetectorAsksOnlyForTheSignaturesItsRecordRegisters) {
  const std::vector<std::uint8_t> bytes = EverySignatureAndClip();
  bool demo_has_jpegs = false;
  for (const synth::PlacedClip& clip : synth::BuildDemoSource().clips) demo_has_jpegs |= clip.extension == ".jpg";
  for (const bool precise : {false, true}) {
    for (const ClipTypeRecord& type : ClipTypeTable()) {
      SCOPED_TRACE(std::string(type.name) + (precise ? " (precise)" : " (classic)"));
      ScanOptions options;
      options.enabled[static_cast<std::size_t>(type.kind)] = true;
      options.precise = precise;
      // A type whose clips come from the source's layout finds none in bytes alone.
      const bool expect_clips = type.origin == ClipOrigin::kSignatures && (type.kind != ClipKind::kJPG || demo_has_jpegs);
      EXPECT_EQ(UnregisteredSignatures(bytes, options, expect_clips),
                std::vector<std::string>{});
    }
    SCOPED_TRACE(precise ? "MP3 mode (precise)" : "MP3 mode (classic)");
    ScanOptions mp3;
    mp3.mp3_mode = true;
    mp3.precise = precise;
    EXPECT_EQ(UnregisteredSignatures(bytes, mp3), std::vector<std::string>{});
  }
}

// What front ends tell the types by: the command line's names, the list's extensions and
// the check boxes' places must each name one type. A type whose clips come from the source's
// layout (CD audio tracks, written as WAVE files) shares an extension and is told by its entries.
TEST(ClipTypeTable, NamesExtensionsAndPlacesAreEachOneTypes) {
  std::set<std::string_view> names, extensions;
  std::set<std::tuple<ClipTypeGroup, int, int>> places;
  for (const ClipTypeRecord& type : ClipTypeTable()) {
    SCOPED_TRACE(type.name);
    EXPECT_TRUE(names.insert(type.name).second);
    const bool by_signatures = type.origin == ClipOrigin::kSignatures;
    if (by_signatures) {
      EXPECT_TRUE(extensions.insert(type.extension).second);
    }
    EXPECT_TRUE(places.insert({type.group, type.row, type.column}).second);
    EXPECT_TRUE(type.row >= 0 && type.row < 4 && type.column >= 0 && type.column < 4);
    EXPECT_EQ(ClipKindFromName(type.name), type.kind);
    if (by_signatures) {
      EXPECT_EQ(TypeNameForExtension(type.extension), type.type_name);
    }
    EXPECT_EQ(&ClipTypeOf(type.kind), &type);
    for (const bool precise : {false, true}) {
      EXPECT_EQ(type.Rules(precise).detector != nullptr, by_signatures);
      EXPECT_EQ(type.Rules(precise).signatures.empty(), !by_signatures);
    }
  }
  TFilestruct track{0, ".wav", 2352, {}, false, 2};
  EXPECT_EQ(TypeNameOf(track), kCdTrackTypeName);
  track.AudioTrack = 0;
  EXPECT_EQ(TypeNameOf(track), kWavType.TypeName);
  EXPECT_EQ(ClipTypeOf(ClipKind::kCDA).origin, ClipOrigin::kSource);
  EXPECT_FALSE(extensions.contains(kMp3Extension));
  EXPECT_EQ(TypeNameForExtension(kMp3Extension), kMp3TypeName);
  EXPECT_EQ(ClipKindFromName("all"), std::nullopt);
}

}  // namespace
}  // namespace rsf
