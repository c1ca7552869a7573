// Windows test helpers. Child processes run through CreateProcessW, with both output pipes
// drained at once so that a program writing much to one of them cannot block on the other.
#include "windows/windows_harness.h"

#include <windows.h>

#include <filesystem>
#include <thread>

namespace rsf::test {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

// Quotes one argument so that CommandLineToArgvW gives it back unchanged: backslashes are
// doubled only where they precede a quote.
std::wstring Quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

std::string Drain(HANDLE pipe) {
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string WindowsPath(const std::string& path) {
  return Utf8FromPath(std::filesystem::absolute(PathFromUtf8(path)).make_preferred());
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args) {
  std::wstring command_line = Quoted(Wide(WindowsPath(program)));
  for (const std::string& arg : args) command_line += L" " + Quoted(Wide(arg));

  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out_read = nullptr, out_write = nullptr, err_read = nullptr, err_write = nullptr;
  ChildResult result;
  if (!CreatePipe(&out_read, &out_write, &inheritable, 0)) return result;
  if (!CreatePipe(&err_read, &err_write, &inheritable, 0)) {
    CloseHandle(out_read);
    CloseHandle(out_write);
    return result;
  }
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  // The child holds its own copies of the write ends; ours must go for the reads to end.
  CloseHandle(out_write);
  CloseHandle(err_write);
  if (started) {
    std::thread err_reader([&] { result.err = Drain(err_read); });
    result.out = Drain(out_read);
    err_reader.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.status = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(out_read);
  CloseHandle(err_read);
  return result;
}

}  // namespace rsf::test
