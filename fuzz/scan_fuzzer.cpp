// The whole scan over a source in memory, in normal mode and in MP3 mode. The input's first four
// bytes choose the run, the rest is the source:
//   byte 0  bit 0 MP3 mode, bit 1 ignore read errors, bits 2 and 3 both set: Hyperscan as the
//           signature matcher, checked against the portable one (else the portable one alone,
//           since building a Hyperscan database for every input would slow fuzzing), bits 4-5 where the bytes lie (alone; across the first window boundary; twice, a
//           window apart; followed by padding to two windows), bit 6 one unreadable byte range,
//           bit 7 the program starts closing at a message round
//   bytes 1-2  the enabled classic clip types, one bit each in dispatch order (little-endian);
//           bit 11 all the further types; bit 15 the precise rules
//   byte 3  the parameter of the placement, the unreadable range and the closing round
// Every run of the classic rules and types is checked against the straightforward detectors of the tests (every field read
// from the source, every walk walked to its end).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "scan/reference_detectors.h"
#include "scan/engine/scan_engine.h"
#include "scan/engine/scan_state.h"

namespace {

struct Run {
  std::vector<std::uint8_t> bytes;
  std::vector<rsf::fuzz::FlakySource::Range> bad;
  rsf::ScanOptions options;
  rsf::MatcherKind matcher = rsf::MatcherKind::kBest;
  int close_at = 0;
};

Run Decode(const std::uint8_t* data, std::size_t size) {
  Run run;
  const std::uint8_t flags = data[0];
  const auto types = static_cast<unsigned>(data[1] | data[2] << 8);
  const std::uint8_t parameter = data[3];
  const std::vector<std::uint8_t> payload(data + 4, data + size);

  run.options.mp3_mode = (flags & 1) != 0;
  run.options.ignore_read_errors = (flags & 2) != 0;
  run.matcher = (flags & 0x0C) == 0x0C ? rsf::MatcherKind::kBest : rsf::MatcherKind::kPortable;
  // One bit for each classic type in the table's order, bit 11 for all the further ones.
  int classic = 0;
  for (const rsf::ClipTypeRecord& type : rsf::ClipTypeTable())
    run.options.enabled[static_cast<std::size_t>(type.kind)] =
        type.group == rsf::ClipTypeGroup::kClassic ? ((types >> classic++) & 1) != 0 : (types & 0x0800) != 0;
  run.options.precise = (types & 0x8000) != 0;

  const auto step = static_cast<std::size_t>(rsf::kWindowStep);
  // Padding that starts no signature (zeros would be the MPEG-1 header's first byte everywhere,
  // and the fuzzer would spend its time comparing them).
  constexpr std::uint8_t kFiller = 0x20;
  switch ((flags >> 4) & 3) {
    case 0:
      run.bytes = payload;
      break;
    case 1:  // starting within the last 64 bytes before the second window
      run.bytes.assign(step - 32 + parameter % 64, kFiller);
      run.bytes.insert(run.bytes.end(), payload.begin(), payload.end());
      break;
    case 2:  // twice: walks and footer searches of the second copy meet what the first left
      run.bytes = payload;
      run.bytes.resize(step + parameter, kFiller);
      run.bytes.insert(run.bytes.end(), payload.begin(), payload.end());
      break;
    default:
      run.bytes = payload;
      run.bytes.resize(std::max(run.bytes.size(), 2 * step + parameter), kFiller);
      break;
  }
  if ((flags & 0x40) != 0 && !run.bytes.empty()) {
    const auto begin = static_cast<std::int64_t>((parameter * 977u) % run.bytes.size());
    run.bad.push_back({begin, begin + 1 + parameter % 97});
  }
  if ((flags & 0x80) != 0) run.close_at = 1 + parameter % 16;
  return run;
}

struct Result {
  bool threw = false;
  std::string error;
  bool cancelled = false;
  rsf::ClipCatalogue catalogue;
  int read_errors = 0;
  int rounds = 0;
};

Result ScanWithEngine(const Run& run, rsf::MatcherKind matcher) {
  rsf::fuzz::CountingObserver observer(run.close_at);
  rsf::ScanEngine engine(observer);
  engine.SetMatcherKind(matcher);
  Result result;
  try {
    const rsf::ScanOutcome outcome = engine.StartAnalysis(
        [&] { return std::make_unique<rsf::fuzz::FlakySource>(run.bytes, run.bad); }, run.options);
    result.cancelled = outcome == rsf::ScanOutcome::kCancelled;
  } catch (const rsf::Error& error) {
    result.threw = true;
    result.error = error.what();
  }
  result.catalogue = engine.Catalogue();
  result.read_errors = engine.ReadErrorCount();
  result.rounds = observer.rounds();
  RSF_FUZZ_CHECK(observer.listed() == result.catalogue.size());
  // The engine stays usable: another scan can start at once.
  RSF_FUZZ_CHECK(!engine.Running());
  return result;
}

Result ScanWithReference(const Run& run) {
  rsf::fuzz::CountingObserver observer(run.close_at);
  rsf::fuzz::FlakySource source(run.bytes, run.bad);
  const rsf::reference::Outcome outcome = rsf::reference::Scan(source, run.options, observer, rsf::MatcherKind::kPortable);
  return {outcome.threw, outcome.error, outcome.cancelled, outcome.catalogue, outcome.read_errors, observer.rounds()};
}

// `a` from the engine. Against the reference (`reference`), which searches each footer at once
// from its header: the engine meets a failure that search meets at once when its windows reach
// it, after as many rounds or more, or not at all when the program closes first; and a scan
// that closes keeps only the clips listed before the first one still waiting for its footer
// (searching it then could read on to the source end while the program closes).
void CheckSame(const Result& a, Result b, bool reference) {
  if (reference && a.cancelled && a.catalogue.size() < b.catalogue.size()) b.catalogue.resize(a.catalogue.size());
  if (!(reference && b.threw && a.cancelled)) {
    RSF_FUZZ_CHECK(a.threw == b.threw);
    RSF_FUZZ_CHECK(a.error == b.error);
    RSF_FUZZ_CHECK(a.cancelled == b.cancelled);
  }
  RSF_FUZZ_CHECK(a.read_errors == b.read_errors);
  RSF_FUZZ_CHECK(reference && b.threw ? a.rounds >= b.rounds : a.rounds == b.rounds);
  RSF_FUZZ_CHECK(a.catalogue.size() == b.catalogue.size());
  for (std::size_t i = 0; i < a.catalogue.size(); ++i) {
    RSF_FUZZ_CHECK(a.catalogue[i].StartOffset == b.catalogue[i].StartOffset);
    RSF_FUZZ_CHECK(a.catalogue[i].EndOffset == b.catalogue[i].EndOffset);
    RSF_FUZZ_CHECK(a.catalogue[i].Extension == b.catalogue[i].Extension);
    RSF_FUZZ_CHECK(a.catalogue[i].InfoText == b.catalogue[i].InfoText);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const Run run = Decode(data, size);
  const Result result = ScanWithEngine(run, run.matcher);

  const auto source_size = static_cast<std::int64_t>(run.bytes.size());
  for (const rsf::TFilestruct& clip : result.catalogue) {
    RSF_FUZZ_CHECK(clip.StartOffset >= 0);
    RSF_FUZZ_CHECK(clip.StartOffset <= clip.EndOffset);
    // No clip ever ends past the source end.
    RSF_FUZZ_CHECK(clip.EndOffset <= source_size);
  }
  // The reference detectors know the classic rules and types only.
  bool further = false;
  for (const rsf::ClipTypeRecord& type : rsf::ClipTypeTable())
    further = further || (type.group == rsf::ClipTypeGroup::kFurther && run.options.Enabled(type.kind));
  if (!run.options.precise && !further) CheckSame(result, ScanWithReference(run), true);
  if (run.matcher == rsf::MatcherKind::kBest) CheckSame(result, ScanWithEngine(run, rsf::MatcherKind::kPortable), false);
  return 0;
}
