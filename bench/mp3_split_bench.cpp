// How MP3 mode gives back separately encoded files packed back to back, as game speech is kept,
// and that it never cuts a continuous stream, on the corpus bench/mp3-split-corpus.sh makes:
//   mp3_split_bench --corpus FOLDER
// Printed, for the classic and the precise rules: how many of the corpus's clips come out
// byte-exact (a clip that starts and ends where the file does) from their concatenation, and how
// many clips start inside a file; for the precise rules also which evidence ended each file that
// came out whole (a tag, a change of version, layer or sampling frequency, an encoder's header
// frame, the bit reservoir); then the untagged libshine files back to back (nothing tells them
// apart: only cuts inside a file count), and the continuous streams one by one (every clip past
// the first is a false split). The scan runs over the bytes in memory, so the figures depend
// on the corpus alone.
#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "clipinfo/maldomp3.h"
#include "scan/detectors/mp3/layer3_side_info.h"
#include "stream/memory_stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct File {
  std::string name;
  Bytes bytes;
  std::int64_t start = 0;
  std::int64_t end = 0;
};

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<File> Concatenate(std::vector<File> files, Bytes& joined) {
  for (File& file : files) {
    file.start = static_cast<std::int64_t>(joined.size());
    joined.insert(joined.end(), file.bytes.begin(), file.bytes.end());
    file.end = static_cast<std::int64_t>(joined.size());
  }
  return files;
}

std::vector<std::pair<std::int64_t, std::int64_t>> ScanSpans(const Bytes& bytes, bool precise) {
  rsf::ScanOptions options;
  options.mp3_mode = true;
  options.precise = precise;
  rsf::bench::QuietObserver observer;
  rsf::ScanEngine engine(observer);
  engine.StartAnalysis([&] { return std::make_unique<rsf::MemoryStream>(bytes); }, options);
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  for (const rsf::TFilestruct& clip : engine.Catalogue()) spans.emplace_back(clip.StartOffset, clip.EndOffset);
  return spans;
}

// The offset of a file's first frame: behind an ID3v2 tag when one leads.
std::size_t FirstFrame(const Bytes& file) {
  if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return 0;
  std::size_t size = 0;
  for (std::size_t i = 6; i < 10; ++i) size = (size << 7) | (file[i] & 0x7Fu);
  return 10 + size + ((file[5] & 0x10) ? 10 : 0);
}

std::uint32_t HeaderAt(const Bytes& file, std::size_t at) {
  return at + 4 <= file.size() ? (std::uint32_t{file[at]} << 24) | (std::uint32_t{file[at + 1]} << 16) |
                                     (std::uint32_t{file[at + 2]} << 8) | file[at + 3]
                               : 0;
}

// What ended `file` where `next` begins: the evidence the precise rules had there.
std::string EvidenceBetween(const File& file, const File& next) {
  const Bytes& a = file.bytes;
  const Bytes& b = next.bytes;
  if (FirstFrame(b) > 0 || (a.size() >= 128 && a[a.size() - 128] == 'T' && a[a.size() - 127] == 'A' && a[a.size() - 126] == 'G'))
    return "a tag";
  constexpr std::uint32_t kStreamBits = 0x001E0C00;
  const std::uint32_t first = HeaderAt(b, FirstFrame(b));
  if ((HeaderAt(a, FirstFrame(a)) & kStreamBits) != (first & kStreamBits)) return "a change of version, layer or rate";
  const auto shape = rsf::DecodeMP3FrameShape(first);
  const std::size_t at = FirstFrame(b);
  const auto facts = rsf::ReadLayer3Frame(first, shape.FrameLength,
                                          rsf::Bytes(b.data() + at, std::min<std::size_t>(b.size() - at, 64)));
  if (facts && facts->header_frame) return "an encoder's header frame";
  return "the bit reservoir";
}

struct Outcome {
  int exact = 0;
  int cuts_inside = 0;
  std::map<std::string, int> evidence;
};

Outcome Judge(const std::vector<File>& files, const std::vector<std::pair<std::int64_t, std::int64_t>>& spans) {
  std::set<std::pair<std::int64_t, std::int64_t>> found(spans.begin(), spans.end());
  std::set<std::int64_t> starts;
  for (const File& file : files) starts.insert(file.start);
  Outcome outcome;
  for (const auto& [start, end] : spans) outcome.cuts_inside += starts.count(start) ? 0 : 1;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!found.count({files[i].start, files[i].end})) continue;
    ++outcome.exact;
    if (i + 1 < files.size()) ++outcome.evidence[EvidenceBetween(files[i], files[i + 1])];
  }
  return outcome;
}

std::vector<File> ReadFolder(const fs::path& folder) {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(folder)) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  std::vector<File> files;
  for (const fs::path& path : paths) files.push_back({path.filename().string(), ReadAll(path)});
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path corpus;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--corpus") corpus = argv[i + 1];
  if (corpus.empty() || !fs::exists(corpus / "clips.txt")) {
    fmt::print(stderr, "usage: mp3_split_bench --corpus FOLDER (made by bench/mp3-split-corpus.sh FOLDER)\n");
    return 2;
  }

  std::vector<File> clips;
  std::ifstream list(corpus / "clips.txt");
  for (std::string line; std::getline(list, line);) {
    const std::string name = line.substr(0, line.find(' '));
    clips.push_back({name, ReadAll(corpus / "clips" / name)});
  }
  Bytes joined;
  clips = Concatenate(std::move(clips), joined);
  fmt::print("{} separately encoded clips back to back, {} bytes\n", clips.size(), joined.size());
  for (const bool precise : {false, true}) {
    const Outcome outcome = Judge(clips, ScanSpans(joined, precise));
    fmt::print("  {:8} rules: {} of {} byte-exact ({:.1f} %), {} clips start inside a file\n",
               precise ? "precise" : "classic", outcome.exact, clips.size(), 100.0 * outcome.exact / clips.size(),
               outcome.cuts_inside);
    if (precise)
      for (const auto& [kind, count] : outcome.evidence) fmt::print("    ended by {}: {}\n", kind, count);
  }

  Bytes untagged;
  const std::vector<File> shine = Concatenate(ReadFolder(corpus / "untagged-shine"), untagged);
  const auto shine_spans = ScanSpans(untagged, true);
  fmt::print("{} untagged libshine clips back to back: {} clips, {} start inside a file\n", shine.size(),
             shine_spans.size(), Judge(shine, shine_spans).cuts_inside);

  int false_splits = 0;
  std::vector<File> streams = ReadFolder(corpus / "streams");
  fmt::print("{} continuous streams, precise rules:\n", streams.size());
  for (const File& stream : streams) {
    const auto spans = ScanSpans(stream.bytes, true);
    const bool whole = spans.size() == 1 && spans[0].first == 0;
    false_splits += static_cast<int>(spans.size()) - 1;
    fmt::print("  {:40} {:>9} bytes: {} clip{}{}\n", stream.name, stream.bytes.size(), spans.size(),
               spans.size() == 1 ? "" : "s", whole ? "" : " (not whole)");
  }
  fmt::print("false splits in the streams: {}\n", false_splits);
  return 0;
}
