// The precise rules next to the classic ones and plain reading of the same file, measured in one
// run, and how exactly each rule set gives back real media.
//   precise_bench [--size-mib N] [--dir FOLDER] [--media FOLDER] [--keep]
// First random filler with clips of the classic types (N MiB, default 256): plain reading, then the
// scans of all types and of MP3 mode under both rule sets. Then a container of real media: the
// files of FOLDER, or those that scripts/real-media.sh makes with Debian's encoders and
// scripts/debian-media.sh takes from Debian's packages. Every file is placed three times: free
// in random filler, across a window boundary, and back to back behind the file before it; forms
// that carry no end of their own (a WAVE written to a pipe) always have a file right behind
// them, as nothing else could end them. The container is scanned with every type under both
// rule sets (MP3 files in MP3 mode); a placement counts as given back when a clip starts and
// ends exactly where it lies. Printed: the share given back per type, and the placements whose
// start the classic rules list but the precise rules do not (placements that lie inside a clip
// of the precise rules with a proven end aside). --keep leaves the container in FOLDER; its size
// is what the media make it (about three times theirs).
#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench_sources.h"
#include "bench_timing.h"

namespace {

using rsf::bench::Clock;
using rsf::bench::PlainRead;
using rsf::bench::Seconds;
using rsf::synth::ByteVector;

rsf::ClipCatalogue ScanCatalogue(const std::string& path, const rsf::ScanOptions& options, double& seconds) {
  rsf::bench::QuietObserver observer;
  rsf::ScanEngine engine(observer);
  const auto start = Clock::now();
  engine.StartAnalysis([&] { return std::make_unique<rsf::FileStream>(path); }, options);
  seconds = Seconds(start);
  return engine.Catalogue();
}

std::map<std::string, ByteVector> ReadMedia(const std::string& folder) {
  std::map<std::string, ByteVector> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = ByteVector(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

struct Placed {
  std::string name;
  std::int64_t start;
  std::int64_t end;
  const char* how;
};

// Forms that nothing inside them ends: they are placed with a file right behind them.
bool CarriesNoEnd(const std::string& name) { return name.find("streamed") != std::string::npos; }

// Every file three times: free (a gap of 1,000 to 70,000 random bytes before it), starting 1 to
// 39 bytes before the end of a scan window, and back to back behind the file before it.
std::vector<Placed> WriteContainer(const std::string& path, const std::map<std::string, ByteVector>& files) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<Placed> placed;
  std::int64_t at = 0;
  bool glued = false;  // the file before carries no end: this one follows it at once
  auto write = [&](const ByteVector& bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    at += static_cast<std::int64_t>(bytes.size());
  };
  for (int round = 0; round < 3; ++round) {
    std::uint64_t k = 0;
    for (const auto& [name, bytes] : files) {
      const char* how = round == 0 ? "free" : round == 1 ? "window boundary" : "back to back";
      if (glued) {
        how = "back to back";
      } else if (round == 0) {
        write(rsf::synth::RandomBytes(1000 + (k * 104729) % 69000, round * 1000 + k));
      } else if (round == 1) {
        // The end of a scan window at least 1,000 bytes on, less 1 to 39 bytes: the file's first
        // bytes lie in the 40 that window shares with the next one.
        const std::int64_t window_end = ((at + 1000) / rsf::kWindowStep + 1) * rsf::kWindowStep + rsf::kWindowSize;
        const std::int64_t start = window_end - 1 - static_cast<std::int64_t>(k % 39);
        write(rsf::synth::RandomBytes(static_cast<std::size_t>(start - at), round * 1000 + k));
      }
      placed.push_back({name, at, at + static_cast<std::int64_t>(bytes.size()), how});
      write(bytes);
      glued = CarriesNoEnd(name);
      ++k;
    }
  }
  write(rsf::synth::RandomBytes(5000, 99));
  return placed;
}

using Spans = std::set<std::pair<std::int64_t, std::int64_t>>;

Spans SpansOf(const rsf::ClipCatalogue& catalogue) {
  Spans spans;
  for (const rsf::TFilestruct& clip : catalogue) spans.emplace(clip.StartOffset, clip.EndOffset);
  return spans;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t mib = 256;
  std::string dir = "/tmp";
  std::string media;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--keep") == 0) keep = true;
    else if (has_value && std::strcmp(argv[i], "--size-mib") == 0) mib = std::stoul(argv[++i]);
    else if (has_value && std::strcmp(argv[i], "--dir") == 0) dir = argv[++i];
    else if (has_value && std::strcmp(argv[i], "--media") == 0) media = argv[++i];
  }
  const std::string path = dir + "/rsf-precise-bench.bin";

  rsf::ScanOptions classic = rsf::ScanOptions::ClassicTypes();
  rsf::ScanOptions precise = classic;
  precise.precise = true;
  rsf::ScanOptions classic_mp3;
  classic_mp3.mp3_mode = true;
  rsf::ScanOptions precise_mp3 = classic_mp3;
  precise_mp3.precise = true;

  const auto timed = [&](const std::string& title, double megabytes) {
    PlainRead(path);  // warm the page cache
    const double plain = PlainRead(path);
    fmt::print("\n{}\n{:<36} {:>9.1f} MB/s\n", title, "plain read", megabytes / plain);
    struct Run {
      const char* name;
      const rsf::ScanOptions* options;
    };
    std::vector<rsf::ClipCatalogue> catalogues;
    for (const Run run : {Run{"classic, all types", &classic}, Run{"precise, all types", &precise},
                          Run{"classic, MP3 mode", &classic_mp3}, Run{"precise, MP3 mode", &precise_mp3}}) {
      double seconds = 0;
      catalogues.push_back(ScanCatalogue(path, *run.options, seconds));
      fmt::print("{:<36} {:>9.1f} MB/s  ratio to plain read {:.2f}  ({} clips)\n", run.name, megabytes / seconds,
                 plain / seconds, catalogues.back().size());
      std::fflush(stdout);
    }
    return catalogues;
  };

  fmt::print("every figure next to plain reading of the same file in the same run\n");
  rsf::bench::WriteSource(path, mib, rsf::bench::Filler::kMixed);
  timed(fmt::format("random filler with clips of every type, {} MiB", mib), static_cast<double>(mib) * 1.048576);

  if (media.empty()) {
    media = dir + "/rsf-precise-media";
    std::filesystem::remove_all(media);
    for (const char* script : {"real-media.sh", "debian-media.sh"}) {
      const std::string command = std::string("'" RSF_SOURCE_DIR "/scripts/") + script + "' '" + media + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) fmt::print("scripts/{} failed\n", script);
    }
  }
  const std::map<std::string, ByteVector> files = ReadMedia(media);
  if (files.empty()) {
    fmt::print("no real media in {}\n", media);
    return 1;
  }
  const std::vector<Placed> placed = WriteContainer(path, files);
  const double container_mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  fmt::print("\ncontainer of {} real media files ({} placed), {:.1f} MB\n", files.size(), placed.size(), container_mb);
  // Every type under both rule sets, and MP3 mode for the MP3 files.
  rsf::ScanOptions all = rsf::ScanOptions::AllTypes();
  rsf::ScanOptions all_precise = all;
  all_precise.precise = true;
  std::vector<rsf::ClipCatalogue> catalogues;
  for (const rsf::ScanOptions* options : {&all, &all_precise, &classic_mp3, &precise_mp3}) {
    double seconds = 0;
    catalogues.push_back(ScanCatalogue(path, *options, seconds));
    fmt::print("{:<36} {:>9.1f} MB/s  ({} clips)\n",
               std::string(options->precise ? "precise" : "classic") + (options->mp3_mode ? ", MP3 mode" : ", all types"),
               container_mb / seconds, catalogues.back().size());
  }

  // catalogues: classic, precise, classic MP3, precise MP3.
  std::vector<Spans> spans;
  std::vector<std::set<std::int64_t>> starts(catalogues.size());
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    spans.push_back(SpansOf(catalogues[i]));
    for (const rsf::TFilestruct& clip : catalogues[i]) starts[i].insert(clip.StartOffset);
  }
  auto type_of = [](const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension.empty() ? std::string("(none)") : extension;
  };
  // Inside a clip of the precise rules with a proven end (a thumbnail in its picture): not lost.
  auto nested = [](const rsf::ClipCatalogue& catalogue, const Placed& file) {
    return std::any_of(catalogue.begin(), catalogue.end(), [&](const rsf::TFilestruct& clip) {
      return !clip.OpenEnd && clip.StartOffset <= file.start && clip.EndOffset >= file.end &&
             (clip.StartOffset != file.start || clip.EndOffset != file.end);
    });
  };
  struct Counts {
    int placed = 0, classic = 0, precise = 0;
  };
  std::map<std::string, Counts> by_type;
  Counts total;
  int lost = 0;
  // MPEG audio by its first bytes (a tag or a frame), whatever the name says.
  auto mp3_file = [&](const std::string& name) {
    const ByteVector& bytes = files.at(name);
    return bytes.size() > 3 && ((bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') ||
                                (bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0));
  };
  for (const Placed& file : placed) {
    const bool mp3 = mp3_file(file.name);
    const std::size_t c = mp3 ? 2 : 0, p = mp3 ? 3 : 1;
    const bool classic_whole = spans[c].count({file.start, file.end}) > 0;
    const bool precise_whole = spans[p].count({file.start, file.end}) > 0;
    // A name that says MP3 over other bytes (some packages name WAVE files so) is shown apart.
    const std::string type = type_of(file.name) == ".mp3" && !mp3 ? ".mp3 (not MP3)" : type_of(file.name);
    Counts& counts = by_type[type];
    for (Counts* into : {&counts, &total}) {
      ++into->placed;
      into->classic += classic_whole;
      into->precise += precise_whole;
    }
    if (starts[c].count(file.start) && !starts[p].count(file.start) && !nested(catalogues[p], file)) {
      ++lost;
      fmt::print("lost by the precise rules: {} at {} ({})\n", file.name, file.start, file.how);
    }
    if (!precise_whole && std::getenv("RSF_EXPLAIN")) {
      fmt::print("{} [{}, {}) {}:", file.name, file.start, file.end, file.how);
      for (const rsf::TFilestruct& clip : catalogues[p])
        if (clip.StartOffset < file.end && clip.EndOffset > file.start)
          fmt::print(" {} [{:+}, {:+}){}", clip.Extension, clip.StartOffset - file.start, clip.EndOffset - file.end,
                     clip.OpenEnd ? " open" : "");
      fmt::print("\n");
    }
  }
  fmt::print("\n{:<10} {:>7} {:>16} {:>16}\n", "given back", "placed", "classic", "precise");
  auto row = [](const std::string& name, const Counts& counts) {
    const double n = counts.placed;
    fmt::print("{:<10} {:>7} {:>8} {:>6.1f}% {:>8} {:>6.1f}%\n", name, counts.placed, counts.classic,
               100.0 * counts.classic / n, counts.precise, 100.0 * counts.precise / n);
  };
  for (const auto& [type, counts] : by_type) row(type, counts);
  row("all", total);
  fmt::print("placements the classic rules list at their start and the precise rules lose: {}\n", lost);
  if (!keep) std::remove(path.c_str());
  return 0;
}
