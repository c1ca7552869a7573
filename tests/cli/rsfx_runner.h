// Runs rsfx in-process with its output captured, for the command-line tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/rsfx_app.h"

namespace rsf::cli {

struct Outcome {
  int status;
  std::string out, err;
};

inline std::string Slurp(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// rsfx with `args` (the program name is added); standard output and error as text.
inline Outcome Rsfx(std::vector<std::string> args) {
  args.insert(args.begin(), "rsfx");
  std::vector<const char*> argv;
  for (const auto& arg : args) argv.push_back(arg.c_str());
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = RsfxMain(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, Slurp(out), Slurp(err)};
}

}  // namespace rsf::cli
