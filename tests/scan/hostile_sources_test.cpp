// Hostile sources: near-miss and repeated signatures. The engine must find exactly what the
// straightforward detectors find (every field read from the source, every walk walked to its
// end), on every hostile family and on random mixtures with unreadable parts, closing and the
// prefetcher; and it must read each source only a bounded number of times over, which is what
// keeps its cost linear (timing is the benchmark's business, not a test's).
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <set>

#include "stream/file_stream.h"
#include "scan/reference_detectors.h"
#include "support/scan_harness.h"
#include "synth/hostile_synth.h"
#include "synth/midi_synth.h"
#include "synth/mpeg_audio_synth.h"
#include "synth/quicktime_synth.h"
#include "synth/random_filler.h"
#include "synth/bitmap_synth.h"
#include "synth/smacker_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;
using synth::HostileKind;
using test::FailingStream;
using test::RecordingObserver;

// A source whose reads fail on chosen ranges, counting the bytes asked for.
class CountingStream : public FailingStream {
 public:
  using FailingStream::FailingStream;
  std::int64_t Read(void* buffer, std::int64_t count) override {
    if (count > 0) requested += count;
    return FailingStream::Read(buffer, count);
  }
  std::int64_t requested = 0;
};

struct Input {
  Input() = default;
  Input(ByteVector source, ScanOptions scan_options) : bytes(std::move(source)), options(scan_options) {}

  ByteVector bytes;
  ScanOptions options = ScanOptions::ClassicTypes();
  std::vector<std::pair<std::int64_t, std::int64_t>> bad;
  int close_at = 0;  // message round at which the program starts closing; 0 never
};

struct Result {
  bool threw = false;
  std::string error;
  bool cancelled = false;
  ClipCatalogue catalogue;
  std::vector<std::string> list_lines;
  int read_errors = 0;
  int rounds = 0;
  std::int64_t requested = 0;
};

std::unique_ptr<CountingStream> MakeStream(const Input& input) {
  auto stream = std::make_unique<CountingStream>(input.bytes);
  for (const auto& [begin, end] : input.bad) stream->FailRange(begin, end);
  return stream;
}

void CloseAt(RecordingObserver& observer, int round) {
  observer.on_messages = [&observer, round] { observer.closing = observer.closing || observer.message_rounds == round; };
}

// `footer_wait`: how far the scan goes on past a header before it reads on for a footer itself.
Result EngineScan(const Input& input, ScanState::FooterWait footer_wait = {}) {
  RecordingObserver observer;
  CloseAt(observer, input.close_at);
  ScanEngine engine(observer);
  engine.SetFooterWait(footer_wait);
  CountingStream* stream = nullptr;
  Result result;
  try {
    const ScanOutcome outcome = engine.StartAnalysis(
        [&] {
          auto made = MakeStream(input);
          stream = made.get();
          return made;
        },
        input.options);
    result.cancelled = outcome == ScanOutcome::kCancelled;
  } catch (const Error& error) {
    result.threw = true;
    result.error = error.what();
  }
  result.catalogue = engine.Catalogue();
  result.list_lines = observer.list_lines;
  result.read_errors = engine.ReadErrorCount();
  result.rounds = observer.message_rounds;
  result.requested = stream->requested;
  return result;
}

Result ReferenceScan(const Input& input) {
  RecordingObserver observer;
  CloseAt(observer, input.close_at);
  auto stream = MakeStream(input);
  const reference::Outcome outcome = reference::Scan(*stream, input.options, observer);
  return {outcome.threw, outcome.error, outcome.cancelled, outcome.catalogue, observer.list_lines, outcome.read_errors,
          observer.message_rounds, stream->requested};
}

// The reference searches for each footer at once, through the scan's later windows; the engine
// learns of a footer beyond the header's window when the scan's window gets there, and lists
// nothing behind that header before. So a failure that the search meets at once the engine meets
// some rounds later, or not at all when the program closes first; and a scan that closes keeps the
// clips listed up to the first one still waiting: searching its footer then could read on to the
// source end while the program closes. (The footer searches of earlier versions read
// stretches of their own and counted the unreadable pieces they met once more; a footer is now the
// one the scan's own windows show, and each unreadable piece is counted where the scan reads it.)
void ExpectSame(Result actual, Result expected) {
  if (actual.cancelled && actual.catalogue.size() < expected.catalogue.size()) {
    expected.catalogue.resize(actual.catalogue.size());
    expected.list_lines.resize(std::min(expected.list_lines.size(), actual.catalogue.size()));
  }
  if (!(expected.threw && actual.cancelled)) {
    EXPECT_EQ(actual.threw, expected.threw);
    EXPECT_EQ(actual.error, expected.error);
    EXPECT_EQ(actual.cancelled, expected.cancelled);
  }
  EXPECT_EQ(actual.read_errors, expected.read_errors);
  if (expected.threw)
    EXPECT_GE(actual.rounds, expected.rounds);
  else
    EXPECT_EQ(actual.rounds, expected.rounds);
  EXPECT_EQ(actual.list_lines, expected.list_lines);
  ASSERT_EQ(actual.catalogue.size(), expected.catalogue.size());
  for (std::size_t i = 0; i < actual.catalogue.size(); ++i) {
    SCOPED_TRACE("clip " + std::to_string(i));
    EXPECT_EQ(actual.catalogue[i].StartOffset, expected.catalogue[i].StartOffset);
    EXPECT_EQ(actual.catalogue[i].EndOffset, expected.catalogue[i].EndOffset);
    EXPECT_EQ(actual.catalogue[i].Extension, expected.catalogue[i].Extension);
    EXPECT_EQ(actual.catalogue[i].InfoText, expected.catalogue[i].InfoText);
  }
}

ScanOptions OptionsFor(HostileKind kind) {
  ScanOptions options = ScanOptions::ClassicTypes();
  options.mp3_mode = synth::HostileForMp3Mode(kind);
  return options;
}

// --- every hostile family gives what the plain detectors give, reading it a few times at most ---

class HostileFamilyTest : public ::testing::TestWithParam<HostileKind> {};

TEST_P(HostileFamilyTest, FindsWhatThePlainDetectorsFind) {
  for (const std::size_t size : {std::size_t{9000}, std::size_t{300000}}) {
    SCOPED_TRACE("size " + std::to_string(size));
    Input input(synth::HostileSource(GetParam(), size, 3), OptionsFor(GetParam()));
    ExpectSame(EngineScan(input), ReferenceScan(input));
    if (GetParam() == HostileKind::kAllFF) {  // 0xFF bytes in normal mode too
      input.options.mp3_mode = false;
      ExpectSame(EngineScan(input), ReferenceScan(input));
    }
  }
}

TEST_P(HostileFamilyTest, ReadsTheSourceOnlyAFewTimesOver) {
  // The bytes asked of the source grow with its size, not with its square: walks are not walked
  // twice, footers not searched twice, the Smacker table not summed past the source end; under
  // the classic rules, and under the precise ones with the further types too.
  for (const bool precise : {false, true}) {
    for (const std::size_t size : {std::size_t{1} << 20, std::size_t{4} << 20}) {
      SCOPED_TRACE((precise ? "precise, size " : "size ") + std::to_string(size));
      Input input(synth::HostileSource(GetParam(), size, 5), OptionsFor(GetParam()));
      if (precise && !input.options.mp3_mode) input.options = ScanOptions::AllTypes();
      input.options.precise = precise;
      const Result result = EngineScan(input);
      EXPECT_FALSE(result.threw) << result.error;
      EXPECT_LE(result.requested, 8 * static_cast<std::int64_t>(size));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, HostileFamilyTest, ::testing::ValuesIn(synth::kHostileKinds),
                         [](const ::testing::TestParamInfo<HostileKind>& info) {
                           std::string name(synth::HostileName(info.param));
                           std::string out;
                           for (char c : name)
                             if (std::isalnum(static_cast<unsigned char>(c))) out += c;
                           return out;
                         });

TEST(HostileSourcesTest, HostileFamiliesHoldTheirCandidates) {
  // The families are what they claim: the walking ones hold clips to walk, the near misses none.
  const auto clips = [](HostileKind kind) {
    return EngineScan(Input(synth::HostileSource(kind, 300000, 3), OptionsFor(kind))).catalogue;
  };
  const ClipCatalogue moov = clips(HostileKind::kMoovChain);
  ASSERT_GE(moov.size(), 30u);
  for (const TFilestruct& clip : moov) EXPECT_EQ(clip.EndOffset, 300000) << "every chain runs to the end";
  EXPECT_GE(clips(HostileKind::kMidiChain).size(), 30u);
  EXPECT_GE(clips(HostileKind::kSmackerHugeCounts).size(), 60u);
  EXPECT_TRUE(clips(HostileKind::kHeadersWithoutFooter).empty());
  EXPECT_TRUE(clips(HostileKind::kPlausibleBitmaps).empty());
  EXPECT_TRUE(clips(HostileKind::kMp3FailAtFourth).empty());
  for (const HostileKind kind : {HostileKind::kJpegScansIntoOneRun, HostileKind::kMpegPacksWithoutPacket}) {
    Input input(synth::HostileSource(kind, 300000, 3), OptionsFor(kind));
    input.options.precise = true;
    EXPECT_TRUE(EngineScan(input).catalogue.empty()) << synth::HostileName(kind);
  }
}

// --- footer searches beyond the window: the first footer, wherever their reads end ---

TEST(HostileSourcesTest, FooterSearchesFindTheFirstFooterWhereverTheirReadsEnd) {
  // JPEG footers across the ends of the stretches that the footer searches beyond the first
  // window read (the JPEG search's own, and the MPEG search's, stepping otherwise) and across
  // the end of a scan window, and the same with an unreadable piece in the way: each header
  // ends at its first footer.
  const ByteVector jpeg = ByteWriter().U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").U8(0).Take();
  const ByteVector mpeg = ByteWriter().BE32(0x000001BA).Fill(8, 0x44).BE32(0x000001BB).Take();
  const ByteVector footer = ByteWriter().U8(0xFF).U8(0xD9).Take();
  auto put = [](ByteVector& out, std::int64_t at, const ByteVector& what) {
    std::copy(what.begin(), what.end(), out.begin() + at);
  };
  const std::int64_t jpeg_reads = kWindowSize - 1, mpeg_reads = kWindowSize - 3;  // where they start and step
  for (std::int64_t shift = -3; shift <= 2; ++shift) {
    for (const bool unreadable : {false, true}) {
      SCOPED_TRACE("shift " + std::to_string(shift) + (unreadable ? ", unreadable pieces" : ""));
      const std::int64_t first = 3 * jpeg_reads + kWindowSize - 1 + shift, second = 5 * mpeg_reads + kWindowSize - 1 + shift;
      const std::int64_t third = 7 * kWindowStep + kWindowSize - 1 + shift;
      Input input(ByteVector(600000, 0x11), ScanOptions::ClassicTypes());
      put(input.bytes, 100, jpeg);
      put(input.bytes, 300, mpeg);
      put(input.bytes, first, footer);
      put(input.bytes, 260000, jpeg);
      put(input.bytes, second, footer);
      put(input.bytes, 390000, ByteWriter().BE32(0x000001B9).Take());
      put(input.bytes, 450000, jpeg);
      put(input.bytes, third, footer);
      if (unreadable) input.bad = {{150000, 150100}};
      input.options.ignore_read_errors = true;
      const Result result = EngineScan(input);
      std::vector<std::pair<std::int64_t, std::int64_t>> clips;
      for (const TFilestruct& clip : result.catalogue) clips.emplace_back(clip.StartOffset, clip.EndOffset);
      EXPECT_EQ(clips, (std::vector<std::pair<std::int64_t, std::int64_t>>{
                           {100, first + 2}, {300, 390004}, {260000, second + 2}, {450000, third + 2}}));
      ExpectSame(result, ReferenceScan(input));
    }
  }
  // A footer in the part of a window that the scan could not read is not seen, however the
  // footer itself reads; the next one the scan sees ends the clip.
  for (const bool ignored : {true, false}) {
    Input input(ByteVector(400000, 0x11), ScanOptions::ClassicTypes());
    put(input.bytes, 100, jpeg);
    put(input.bytes, 2 * kWindowStep + 44, footer);  // in the window whose first piece fails
    put(input.bytes, 300000, footer);
    input.bad = {{150000, 150100}};
    input.options.ignore_read_errors = ignored;
    const Result result = EngineScan(input);
    ExpectSame(result, ReferenceScan(input));
    ASSERT_EQ(result.catalogue.size(), ignored ? 1u : 0u);
    if (ignored) {
      EXPECT_EQ(result.catalogue[0].EndOffset, 300002);
    }
    EXPECT_EQ(result.read_errors, ignored ? 1 : 0);
  }
}

TEST(HostileSourcesTest, ClosingLeavesOutTheClipsStillWaitingForAFooter) {
  // Fuzzer findings: an MVE header whose footer lies a window on, and the program closing at the
  // first message round, where the reference lists the clip its search at the header ended; with
  // a piece that cannot be read between them and read errors not ignored, the reference meets
  // the error at once. The engine keeps the clips listed before the waiting one (the bitmap,
  // found first in its window) and closes.
  const ByteVector header = ByteWriter().Text(kMveHeader).Take(), footer = ByteWriter().Text(kMveFooter).Take();
  const ByteVector bitmap = synth::BitmapFile(5, 4, 8, 2);
  for (const bool unreadable : {false, true}) {
    for (const std::int64_t footer_at : {kWindowStep + 500, 3 * kWindowStep + 17}) {
      SCOPED_TRACE(std::to_string(footer_at) + (unreadable ? ", unreadable piece" : ""));
      Input input(ByteVector(static_cast<std::size_t>(4 * kWindowStep), 0x20), ScanOptions::ClassicTypes());
      std::copy(header.begin(), header.end(), input.bytes.begin() + 1000);
      std::copy(bitmap.begin(), bitmap.end(), input.bytes.begin() + 30000);
      std::copy(footer.begin(), footer.end(), input.bytes.begin() + footer_at);
      if (unreadable) input.bad = {{kWindowStep + 100, kWindowStep + 140}};
      input.close_at = 1;
      const Result result = EngineScan(input);
      ExpectSame(result, ReferenceScan(input));
      EXPECT_TRUE(result.cancelled);
      EXPECT_EQ(result.catalogue.size(), 1u);
    }
  }
}

TEST(HostileSourcesTest, AnEarlyEndKeepsTheOpenClipsFoundSoFar) {
  // Under the precise rules a program stream without an end code has an open end and waits for
  // the clips after it; closing, or a read error ending the scan, lists it and those behind it.
  ByteWriter stream;
  for (int i = 0; i < 3; ++i)
    stream.BE32(0x000001BA).U8(0x21).U8(0).U8(0x01).U8(0).U8(0x01).U8(0x80).U8(0).U8(0x01).BE32(0x000001E0).BE16(20).Fill(20, 7);
  const ByteVector bitmap = synth::BitmapFile(5, 4, 8, 2);
  for (const bool read_error : {false, true}) {
    SCOPED_TRACE(read_error ? "read error" : "closing");
    Input input(ByteVector(static_cast<std::size_t>(4 * kWindowStep), 0x20), test::OnlyTypes({ClipKind::kMPG, ClipKind::kBMP}));
    input.options.precise = true;
    std::copy(stream.bytes().begin(), stream.bytes().end(), input.bytes.begin() + 500);
    std::copy(bitmap.begin(), bitmap.end(), input.bytes.begin() + 20000);
    if (read_error) input.bad = {{kWindowStep + 100, kWindowStep + 140}};
    else input.close_at = 1;
    const Result result = EngineScan(input);
    EXPECT_EQ(result.threw, read_error);
    ASSERT_EQ(result.catalogue.size(), 2u);
    EXPECT_EQ(result.catalogue[0].Extension, ".bmp");  // bitmaps are looked for first in a window
    EXPECT_EQ(result.catalogue[1].StartOffset, 500);
    EXPECT_EQ(result.catalogue[1].EndOffset, 500 + static_cast<std::int64_t>(stream.size()));
    EXPECT_TRUE(result.catalogue[1].OpenEnd);
  }
}

// --- walks that meet: the memo answers exactly what a walk would ---

TEST(HostileSourcesTest, WalksJoiningAChainAnywhereEndWhereItEnds) {
  // Many moov atoms and MIDI headers leading into one chain at every link, some links broken
  // by a foreign atom or chunk, so that walks joining behind a break end elsewhere than walks
  // joining before it.
  ByteWriter qt, midi;
  for (int link = 0; link < 400; ++link) {
    qt.BE32(8).Text(link % 97 == 50 ? "junk" : "free");
    midi.Text(link % 89 == 40 ? "XXXX" : "MTrk").BE32(0);
  }
  for (const bool quicktime : {true, false}) {
    const ByteVector& chain = quicktime ? qt.bytes() : midi.bytes();
    ByteVector source(200000, 0);
    const std::size_t chain_at = 150000;
    std::copy(chain.begin(), chain.end(), source.begin() + static_cast<std::ptrdiff_t>(chain_at));
    std::mt19937 rng(7);
    for (std::size_t at = 100; at + 30 < chain_at; at += 700) {
      const std::size_t target = chain_at + 8 * (rng() % 400);
      const ByteVector head = quicktime ? ByteWriter().BE32(static_cast<std::uint32_t>(target - at)).Text("moov").Take()
                                        : ByteWriter().Text("MThd").BE32(6).BE16(0).BE16(1).BE16(96).Text("MTrk")
                                              .BE32(static_cast<std::uint32_t>(target - at - 22)).Take();
      std::copy(head.begin(), head.end(), source.begin() + static_cast<std::ptrdiff_t>(at));
    }
    Input input(source, test::OnlyTypes({quicktime ? ClipKind::kQT : ClipKind::kMID}));
    const Result expected = ReferenceScan(input);
    ASSERT_GE(expected.catalogue.size(), 50u);
    std::set<std::int64_t> ends;
    for (const TFilestruct& clip : expected.catalogue) ends.insert(clip.EndOffset);
    EXPECT_GE(ends.size(), 4u) << "walks end at every break";
    ExpectSame(EngineScan(input), expected);
  }
}

TEST(HostileSourcesTest, SmackerSumStopsOnlyWhereNothingCanChange) {
  // 9,000 frame sizes, all 0 but one as large as the source, in the second block of 4,096
  // sizes. Readable, the clip runs to the source end (and the sum need not go on). With a byte
  // of that block unreadable, the block ends the sum before it, large size and all: no early end
  // may count it, and the clip ends behind its tables.
  constexpr std::size_t kAt = 60000;  // the header in the first window, the table reaching into the second
  constexpr std::uint32_t kFrames = 9000;
  ByteWriter header;
  header.Text("SMK2").LE32(64).LE32(48).LE32(kFrames).LE32(static_cast<std::uint32_t>(-6667)).Fill(32, 0).LE32(0).Fill(48, 0);
  ASSERT_EQ(header.size(), 104u);
  for (std::uint32_t frame = 0; frame < kFrames; ++frame) header.LE32(frame == 5000 ? 0x40000000u : 0u);
  ByteVector source(200000, 0);
  std::copy(header.bytes().begin(), header.bytes().end(), source.begin() + kAt);
  for (const bool unreadable : {false, true}) {
    SCOPED_TRACE(unreadable ? "unreadable block" : "readable");
    Input input(source, test::OnlyTypes({ClipKind::kSMK}));
    input.options.ignore_read_errors = true;
    const std::int64_t table = kAt + 104;
    if (unreadable) input.bad.push_back({table + 4 * 8000, table + 4 * 8000 + 1});
    const Result expected = ReferenceScan(input);
    ASSERT_EQ(expected.catalogue.size(), 1u);
    EXPECT_EQ(expected.catalogue[0].EndOffset, unreadable ? table + 5 * kFrames : 200000);
    ExpectSame(EngineScan(input), expected);
  }
}

// --- random mixtures of everything, with unreadable parts and closing ---

Input RandomMixture(std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto below = [&](std::uint32_t n) { return static_cast<std::size_t>(rng() % n); };
  Input input;
  const std::size_t size = 20000 + below(200000);
  input.bytes = synth::RandomBytes(size, seed);
  for (int piece = static_cast<int>(below(6)); piece > 0; --piece) {
    const auto kind = synth::kHostileKinds[below(std::size(synth::kHostileKinds))];
    const ByteVector part = synth::HostileSource(kind, 2000 + below(40000), seed + static_cast<std::uint32_t>(piece));
    const std::size_t at = below(static_cast<std::uint32_t>(size));
    std::copy_n(part.begin(), std::min(part.size(), size - at), input.bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  for (int clip = static_cast<int>(below(4)); clip > 0; --clip) {
    ByteVector bytes;
    switch (below(6)) {
      case 0: bytes = synth::QuicktimeMovie({{"mdat", below(3000)}, {"free", below(50)}}); break;
      case 1: bytes = synth::MidiFile({}); break;
      case 2: {
        synth::SmackerFields fields;
        fields.frame_sizes = {static_cast<std::uint32_t>(below(5000)), 8, 12};
        bytes = synth::SmackerFile(fields);
        break;
      }
      // Headers whose footers lie wherever the random bytes put them, often windows on.
      case 4: bytes = ByteWriter().U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").Take(); break;
      case 5: bytes = ByteWriter().BE32(0x000001BA).Fill(8, 0).BE32(0x000001BB).Take(); break;
      default: bytes = synth::MpegFrameRun({}, 5 + below(20)); break;
    }
    const std::size_t at = below(static_cast<std::uint32_t>(size));
    std::copy_n(bytes.begin(), std::min(bytes.size(), size - at), input.bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  input.options.mp3_mode = below(3) == 0;
  input.options.ignore_read_errors = below(2) == 0;
  if (below(2) == 0) {
    const auto begin = static_cast<std::int64_t>(below(static_cast<std::uint32_t>(size)));
    input.bad.push_back({begin, begin + 1 + static_cast<std::int64_t>(below(3000))});
  }
  if (below(5) == 0) input.close_at = 1 + static_cast<int>(below(30));
  return input;
}

TEST(HostileSourcesTest, RandomMixturesFindWhatThePlainDetectorsFind) {
  int with_clips = 0, with_errors = 0;
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Input input = RandomMixture(seed);
    const Result expected = ReferenceScan(input);
    ExpectSame(EngineScan(input), expected);
    {
      SCOPED_TRACE("footers searched for one window on");
      ExpectSame(EngineScan(input, {1, 1e9}), expected);
    }
    with_clips += expected.catalogue.empty() ? 0 : 1;
    with_errors += expected.threw || expected.read_errors > 0 ? 1 : 0;
  }
  // The mixtures exercise what they are meant to.
  EXPECT_GE(with_clips, 12);
  EXPECT_GE(with_errors, 5);
}

TEST(HostileSourcesTest, FilesScannedWithReadAheadFindWhatThePlainDetectorsFind) {
  // A real file, so the background read-ahead of windows takes part.
  test::TempDir dir;
  for (const HostileKind kind : synth::kHostileKinds) {
    SCOPED_TRACE(std::string(synth::HostileName(kind)));
    const ByteVector bytes = synth::HostileSource(kind, 400000, 9);
    test::WriteWholeFile(dir.File("hostile.bin"), bytes);
    RecordingObserver observer;
    ScanEngine engine(observer);
    engine.StartAnalysis([&] { return std::make_unique<FileStream>(dir.File("hostile.bin")); }, OptionsFor(kind));
    Result actual;
    actual.catalogue = engine.Catalogue();
    actual.list_lines = observer.list_lines;
    actual.rounds = observer.message_rounds;
    ExpectSame(actual, ReferenceScan(Input(bytes, OptionsFor(kind))));
  }
}

}  // namespace
}  // namespace rsf
