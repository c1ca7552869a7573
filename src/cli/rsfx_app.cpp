// rsfx: option parsing with CLI11, then one scan (and for `extract` one extraction) through the
// core, printed as text or as one JSON object; or the list of CD drive entries (`drives`).
#include "cli/rsfx_app.h"

#include <fmt/format.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "base/product.h"
#include "cd/cd_mode.h"
#include "cd/raw_image_stream.h"
#include "cli/command_boundary.h"
#include "cli/console_observer.h"
#include "cli/option_parsing.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/extraction/extraction.h"
#include "scan/engine/scan_engine.h"

namespace rsf::cli {
namespace {

struct Request {
  std::string source;
  std::string cd_entry;  // a drive entry as `rsfx drives` lists it, in place of SOURCE
  bool from_cd = false;
  std::string types = ClassicTypeNames();
  bool mp3 = false;
  bool ignore_read_errors = false;
  bool precise = false;
  bool json = false;
  std::string target;
  std::string only;
};

void AddScanOptions(CLI::App& command, Request& request) {
  command.add_option("SOURCE", request.source, "File to scan");
  command.add_option("--cd", request.cd_entry, "Scan the disc in this drive (an entry of 'rsfx drives') instead of a file");
  command.add_option("--types", request.types,
                     "Comma-separated clip types (default: the classic eleven): " + KnownTypeNames() + ", or all");
  command.add_flag("--mp3", request.mp3, "MP3 mode: look for runs of MPEG audio frames only");
  command.add_flag("--ignore-read-errors", request.ignore_read_errors, "Count unreadable parts and go on");
  command.add_flag("--precise", request.precise,
                   "Precise boundaries: delimit each clip by walking its own structure, and leave out clips that lie "
                   "inside a clip already listed (default: the classic rules)");
  command.add_flag("--json", request.json, "Print the result as one JSON object");
}

nlohmann::json ScanJson(const Request& request, const ScanEngine& engine) {
  nlohmann::json clips = nlohmann::json::array();
  const ClipCatalogue& catalogue = engine.Catalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    const TFilestruct& clip = catalogue[i];
    nlohmann::json entry = {{"number", i + 1},
                            {"type", std::string(TypeNameOf(clip))},
                            {"extension", clip.Extension},
                            {"start", clip.StartOffset},
                            {"end", clip.EndOffset},
                            {"info", clip.InfoText}};
    // Only the precise rules leave an end open; other reports stay as they were.
    if (clip.OpenEnd) entry["open_end"] = true;
    clips.push_back(std::move(entry));
  }
  nlohmann::json report = {{"source", request.from_cd ? request.cd_entry : request.source},
                            {"size", engine.Source() ? engine.Source()->Size() : 0},
                            {"precise", request.precise},
                            {"read_errors", engine.ReadErrorCount()},
                            {"clips", clips}};
  // Disc images alone say which tracks were read; other reports stay as they were.
  if (!engine.TracksRead().empty()) report["tracks_read"] = engine.TracksRead();
  return report;
}

void PrintClips(std::FILE* out, const ScanEngine& engine) {
  const ClipCatalogue& catalogue = engine.Catalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    fmt::print(out, "{}\n", ListLine(i + 1, TypeNameOf(catalogue[i]), catalogue[i]));
    for (const std::string& line : ClipDetailLines(catalogue[i]))
      if (!line.empty()) fmt::print(out, "    {}\n", line);
  }
}

int Run(const Request& request, bool extract, std::FILE* out, std::FILE* err) {
  std::string error;
  const auto enabled = ParseTypeList(request.types, error);
  if (!enabled) {
    fmt::print(err, "rsfx: {}\n", error);
    return kExitUsageError;
  }
  std::optional<std::set<std::size_t>> only;
  if (!request.only.empty() && !(only = ParseClipNumbers(request.only, error))) {
    fmt::print(err, "rsfx: {}\n", error);
    return kExitUsageError;
  }
  ScanOptions options;
  options.enabled = *enabled;
  options.mp3_mode = request.mp3;
  options.ignore_read_errors = request.ignore_read_errors;
  options.precise = request.precise;

  ConsoleObserver observer(isatty(fileno(err)) ? err : nullptr);
  ScanEngine engine(observer);
  const ScanOutcome outcome = engine.StartAnalysis(
      [&]() -> std::unique_ptr<SourceStream> {
        if (request.from_cd) return OpenCdSource(request.cd_entry, NTDeviceMode());
        return OpenSourceFile(request.source);
      },
      options);
  if (outcome == ScanOutcome::kNoDisc) {
    fmt::print(err, "{}\n", kNoDiscWarning);
    return kExitRuntimeError;
  }
  if (!request.json) {
    PrintClips(out, engine);
    fmt::print(out, "{}\n", observer.Activity());
  }
  nlohmann::json files = nlohmann::json::array();
  if (extract) {
    std::vector<bool> ticked(engine.Catalogue().size(), !only);
    if (only)
      for (std::size_t number : *only)
        if (number <= ticked.size()) ticked[number - 1] = true;
    const ExtractionOutcome result =
        ExtractClips(engine.Source(), engine.Catalogue(), ticked, request.target, observer);
    if (result == ExtractionOutcome::kNothingTicked) {
      fmt::print(err, "{}\n", kNothingTickedWarning);
      return kExitRuntimeError;
    }
    for (std::size_t i = 0; i < ticked.size(); ++i)
      if (ticked[i]) files.push_back(ClipFileName(request.target, i, engine.Catalogue()[i].Extension));
    if (!request.json) {
      for (const auto& file : files) fmt::print(out, "{}\n", file.get<std::string>());
      fmt::print(out, "{}\n", kExtractionDoneText);
    }
  }
  if (request.json) {
    nlohmann::json report = ScanJson(request, engine);
    if (extract) report["files"] = files;
    fmt::print(out, "{}\n", report.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  }
  return kExitOk;
}

// The drive entries of CD mode, one a line; without any, the warning CD mode would show.
int ListDrives(std::FILE* out, std::FILE* err) {
  const CdDriveDiscovery found = DiscoverCdDrives(NTDeviceMode());
  if (!found.warning.empty()) {
    fmt::print(err, "{}\n", found.warning);
    return kExitRuntimeError;
  }
  for (const std::string& entry : found.entries) fmt::print(out, "{}\n", entry);
  return kExitOk;
}

int RsfxCommand(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  CLI::App app{"rsfx - finds media clips inside files and copies them out", "rsfx"};
  app.require_subcommand(1);
  app.set_version_flag("--version", VersionLine("rsfx"), "Print the product name, version and build");
  // CLI11 reads "/name" as an option on Windows; rsfx takes only "--name", so a path such as
  // /data/demo.bin (Wine) stays a path. Subcommands inherit this setting.
  app.allow_windows_style_options(false);
  Request request;
  CLI::App* scan = app.add_subcommand("scan", "List the clips found in SOURCE");
  AddScanOptions(*scan, request);
  CLI::App* extract = app.add_subcommand("extract", "Write the clips of SOURCE to PREFIX<number><extension>");
  AddScanOptions(*extract, request);
  extract->add_option("--target", request.target, "Target prefix: folder and file-name stem")->required();
  extract->add_option("--only", request.only, "Clip numbers and ranges to extract, e.g. 2,5-7");
  CLI::App* drives = app.add_subcommand("drives", "List the CD drive entries that --cd accepts");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    fmt::print(out, "{}", app.help());
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    fmt::print(out, "{}\n", VersionLine("rsfx"));
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    fmt::print(out, "{}", app.help("", CLI::AppFormatMode::All));
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    fmt::print(err, "rsfx: {}\n", e.what());
    fmt::print(err, "Run 'rsfx --help' for usage.\n");
    return kExitUsageError;
  }
  if (drives->parsed()) return ListDrives(out, err);
  CLI::App* command = extract->parsed() ? extract : scan;
  if ((command->count("SOURCE") > 0) == (command->count("--cd") > 0)) {
    fmt::print(err, "rsfx: {}: give either SOURCE or --cd ENTRY\n", command->get_name());
    fmt::print(err, "Run 'rsfx --help' for usage.\n");
    return kExitUsageError;
  }
  request.from_cd = command->count("--cd") > 0;
  return Run(request, extract->parsed(), out, err);
}

}  // namespace

int RsfxMain(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  return RunCommand(err, [&] { return RsfxCommand(argc, argv, out, err); });
}

}  // namespace rsf::cli
