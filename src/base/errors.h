// The error types that cross module boundaries. Their texts are what the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace rsf {

// Base of every error the program reports to the user with its own text.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A read that delivered fewer bytes than asked for. The only error a scan may count and skip.
class StreamReadError : public Error {
 public:
  StreamReadError() : Error("数据流读取错误") {}
};

class StreamWriteError : public Error {
 public:
  StreamWriteError() : Error("数据流写入错误") {}
};

// "<what> <path>", and on a second line why, in the system's words, when that is known.
class FileError : public Error {
 public:
  FileError(const std::string& what, const std::string& path, const std::string& reason)
      : Error(reason.empty() ? what + " " + path : what + " " + path + "\n" + reason), reason_(reason) {}
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

class FileCreateError : public FileError {
 public:
  explicit FileCreateError(const std::string& path, const std::string& reason = {})
      : FileError("不能创建文件", path, reason) {}
};

class FileOpenError : public FileError {
 public:
  explicit FileOpenError(const std::string& path, const std::string& reason = {})
      : FileError("不能打开文件", path, reason) {}
};

}  // namespace rsf
