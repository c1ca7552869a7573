// Helpers for the Windows-only tests: child processes started the way a Windows shell starts
// them (from a UTF-16 command line, so names outside the ANSI code page survive) with their
// output captured, and UTF-8 paths.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rsf::test {

struct ChildResult {
  int status = -1;  // the exit code, -1 when the program could not be started
  std::string out, err;
};

// Runs `program` with `args` (UTF-8); each argument is quoted for CommandLineToArgvW. Standard
// output and standard error are read as bytes, without line-end translation.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args);

// UTF-8 text and file-system paths, both ways.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// `path` as Windows names it: absolute, with backslashes ("/work/x" under Wine becomes
// "Z:\work\x").
std::string WindowsPath(const std::string& path);

}  // namespace rsf::test
