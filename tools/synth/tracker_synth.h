// Tracker modules built in memory: ProTracker MOD, ScreamTracker 3 S3M, FastTracker 2 XM and
// Impulse Tracker IT files with the patterns and samples asked for, laid out as their trackers
// write them (the S3M in 16-byte paragraphs, the IT with its offset tables).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

struct ModFields {
  std::string tag = "M.K.";  // decides the channel count as trackers read it
  int channels = 4;
  int patterns = 2;
  std::vector<std::uint16_t> sample_words = {100, 0, 37};  // of the 31, in words; the rest empty
  std::string title = "RSF module";
};
ByteVector ModFile(const ModFields& fields = {});

struct S3mFields {
  int channels = 4;
  std::vector<std::size_t> pattern_data_sizes = {64, 120};
  std::vector<std::uint32_t> sample_lengths = {500, 81};  // one sample instrument each
  bool sixteen_bit = false;
  std::string title = "RSF S3M";
};
ByteVector S3mFile(const S3mFields& fields = {});

struct XmFields {
  int channels = 6;
  std::vector<std::uint16_t> pattern_packed_sizes = {64, 0, 200};
  // Sample lengths (bytes) per instrument; an empty list is an instrument without samples.
  std::vector<std::vector<std::uint32_t>> instruments = {{300, 22}, {}, {1000}};
  std::string name = "RSF XM";
};
ByteVector XmFile(const XmFields& fields = {});

struct ItFields {
  std::vector<std::uint16_t> pattern_data_sizes = {80, 0, 33};  // 0: an empty pattern (offset 0)
  std::vector<std::uint32_t> sample_lengths = {400, 1200};
  int instruments = 2;
  bool compressed_second = true;  // the second sample in IT 2.14 compressed blocks
  std::string message = "made by rsf";
  std::string name = "RSF IT";
};
ByteVector ItFile(const ItFields& fields = {});

}  // namespace rsf::synth
