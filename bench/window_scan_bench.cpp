// The desktop program's scan next to rsfx's on the same page-cached file, in one run: the window
// (offscreen, or on the display when there is one) scans through its own action, with its
// real observer, status bar and list; rsfx runs in-process with its output thrown away.
//   window_scan_bench [--size-mib N] [--dir FOLDER] [--rounds R]
// Prints the time of each and the ratio window / rsfx (the best of R rounds each, alternating).
#include <fmt/format.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_sources.h"
#include "bench_timing.h"
#include "cli/rsfx_app.h"
#include "ui/services/form_services.h"
#include "ui/windows/main_form.h"
#include "ui/program.h"

namespace {

using rsf::bench::Clock;
using rsf::bench::Seconds;

double WindowScan(rsf::ui::TfrmMainForm& form, const std::string& path) {
  form.edtSourceFile->setText(QString::fromStdString(path));
  const auto start = Clock::now();
  form.StartAnalysis->trigger();
  return Seconds(start);
}

double RsfxScan(const std::string& path) {
  std::FILE* sink = std::fopen("/dev/null", "w");
  const char* argv[] = {"rsfx", "scan", path.c_str()};
  const auto start = Clock::now();
  rsf::cli::RsfxMain(3, argv, sink, sink);
  const double seconds = Seconds(start);
  std::fclose(sink);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::size_t mib = 1024;
  std::string dir = "/tmp";
  int rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0) mib = std::stoul(argv[i + 1]);
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::stoi(argv[i + 1]));
  }
  const std::string path = dir + "/rsf-window-bench-source.bin";
  rsf::bench::WriteSource(path, mib, rsf::bench::Filler::kMixed);
  rsf::bench::PlainRead(path);  // warm the page cache

  rsf::ui::FormServices services = rsf::ui::FormServices::Platform();
  rsf::ui::Program program(services, {});
  program.MainForm().show();
  QApplication::processEvents();

  double window = 1e9, rsfx = 1e9, plain = 1e9;
  for (int round = 0; round < rounds; ++round) {
    plain = std::min(plain, rsf::bench::PlainRead(path));
    rsfx = std::min(rsfx, RsfxScan(path));
    window = std::min(window, WindowScan(program.MainForm(), path));
  }
  fmt::print("{} MiB of random filler with clips, {} clips; best of {} rounds\n", mib,
             program.MainForm().Engine().Catalogue().size(), rounds);
  fmt::print("plain read      {:7.3f} s\n", plain);
  fmt::print("rsfx scan       {:7.3f} s\n", rsfx);
  fmt::print("window scan     {:7.3f} s   window / rsfx = {:.2f}\n", window, window / rsfx);
  std::remove(path.c_str());
  return 0;
}
