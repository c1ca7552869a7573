// Tracker module synthesizers.
#include "synth/tracker_synth.h"

#include <algorithm>

namespace rsf::synth {
namespace {

// `text` in a field of `width` bytes, zero-padded.
void Field(ByteWriter& out, const std::string& text, std::size_t width) {
  out.Text(text.substr(0, width)).Fill(width - std::min(width, text.size()), 0);
}

void Data(ByteWriter& out, std::size_t count, std::uint8_t seed) {
  for (std::size_t i = 0; i < count; ++i) out.U8(static_cast<std::uint8_t>(seed + i * 7));
}

void PadTo(ByteWriter& out, std::size_t multiple) {
  while (out.size() % multiple != 0) out.U8(0);
}

}  // namespace

ByteVector ModFile(const ModFields& fields) {
  ByteWriter out;
  Field(out, fields.title, 20);
  std::size_t sample_bytes = 0;
  for (std::size_t i = 0; i < 31; ++i) {
    const std::uint16_t words = i < fields.sample_words.size() ? fields.sample_words[i] : 0;
    Field(out, words ? "sample " + std::to_string(i + 1) : "", 22);
    out.BE16(words).U8(0).U8(words ? 64 : 0).BE16(0).BE16(1);
    sample_bytes += 2u * words;
  }
  out.U8(static_cast<std::uint8_t>(fields.patterns)).U8(127);
  for (int i = 0; i < 128; ++i) out.U8(static_cast<std::uint8_t>(i < fields.patterns ? fields.patterns - 1 - i : 0));
  out.Text(fields.tag);
  Data(out, static_cast<std::size_t>(fields.patterns) * 64 * 4 * static_cast<std::size_t>(fields.channels), 3);
  Data(out, sample_bytes, 9);
  return out.Take();
}

ByteVector S3mFile(const S3mFields& fields) {
  const std::size_t instruments = fields.sample_lengths.size(), patterns = fields.pattern_data_sizes.size();
  const std::size_t orders = (patterns + 2) & ~std::size_t{1};  // even, ending in 255
  ByteWriter out;
  Field(out, fields.title, 28);
  out.U8(0x1A).U8(16).LE16(0).LE16(static_cast<std::uint16_t>(orders)).LE16(static_cast<std::uint16_t>(instruments));
  out.LE16(static_cast<std::uint16_t>(patterns)).LE16(0).LE16(0x1320).LE16(2).Text("SCRM");
  out.U8(64).U8(6).U8(125).U8(0xB0).U8(0).U8(0).Fill(8, 0).LE16(0);
  for (int c = 0; c < 32; ++c) out.U8(static_cast<std::uint8_t>(c < fields.channels ? c : 255));
  for (std::size_t i = 0; i < orders; ++i) out.U8(static_cast<std::uint8_t>(i < patterns ? i : 255));
  // Parapointers, filled in once the layout is known: instruments, then patterns, then data.
  const std::size_t table_at = out.size();
  out.Fill(2 * (instruments + patterns), 0);
  PadTo(out, 16);
  std::vector<std::size_t> instrument_at, pattern_at;
  for (std::size_t i = 0; i < instruments; ++i) {
    instrument_at.push_back(out.size());
    out.Fill(80, 0);
  }
  for (const std::size_t size : fields.pattern_data_sizes) {
    pattern_at.push_back(out.size());
    out.LE16(static_cast<std::uint16_t>(size + 2));
    Data(out, size, 5);
    PadTo(out, 16);
  }
  std::vector<std::size_t> data_at;
  for (std::size_t i = 0; i < instruments; ++i) {
    PadTo(out, 16);
    data_at.push_back(out.size());
    Data(out, fields.sample_lengths[i] * (fields.sixteen_bit ? 2 : 1), static_cast<std::uint8_t>(i));
  }
  ByteVector bytes = out.Take();
  auto put16 = [&](std::size_t at, std::size_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
  };
  for (std::size_t i = 0; i < instruments; ++i) {
    put16(table_at + 2 * i, instrument_at[i] / 16);
    ByteWriter record;
    record.U8(1);
    Field(record, "smp" + std::to_string(i) + ".raw", 12);
    const std::size_t paragraph = data_at[i] / 16;
    record.U8(static_cast<std::uint8_t>(paragraph >> 16)).LE16(static_cast<std::uint16_t>(paragraph));
    record.LE32(fields.sample_lengths[i]).LE32(0).LE32(0).U8(64).U8(0).U8(0).U8(fields.sixteen_bit ? 4 : 0);
    record.LE32(8363).Fill(12, 0);
    Field(record, "sample " + std::to_string(i), 28);
    record.Text("SCRS");
    std::copy(record.bytes().begin(), record.bytes().end(), bytes.begin() + static_cast<std::ptrdiff_t>(instrument_at[i]));
  }
  for (std::size_t i = 0; i < patterns; ++i) put16(table_at + 2 * (instruments + i), pattern_at[i] / 16);
  return bytes;
}

ByteVector XmFile(const XmFields& fields) {
  ByteWriter out;
  out.Text("Extended Module: ");
  Field(out, fields.name, 20);
  out.U8(0x1A);
  Field(out, "RSF synthesizer", 20);
  const auto patterns = static_cast<std::uint16_t>(fields.pattern_packed_sizes.size());
  out.LE16(0x0104).LE32(276).LE16(patterns).LE16(0).LE16(static_cast<std::uint16_t>(fields.channels)).LE16(patterns);
  out.LE16(static_cast<std::uint16_t>(fields.instruments.size())).LE16(1).LE16(6).LE16(125);
  for (int i = 0; i < 256; ++i) out.U8(static_cast<std::uint8_t>(i < patterns ? i : 0));
  for (const std::uint16_t packed : fields.pattern_packed_sizes) {
    out.LE32(9).U8(0).LE16(64).LE16(packed);
    for (std::uint16_t i = 0; i < packed; ++i) out.U8(0x80);
  }
  int n = 0;
  for (const std::vector<std::uint32_t>& samples : fields.instruments) {
    const std::size_t at = out.size();
    out.LE32(samples.empty() ? 29 : 263);
    Field(out, "instrument " + std::to_string(++n), 22);
    out.U8(0).LE16(static_cast<std::uint16_t>(samples.size()));
    if (samples.empty()) continue;
    out.LE32(40);
    while (out.size() < at + 263) out.U8(0);
    for (const std::uint32_t length : samples) {
      out.LE32(length).LE32(0).LE32(0).U8(64).U8(0).U8(0).U8(128).U8(0).U8(0);
      Field(out, "sample", 22);
    }
    for (const std::uint32_t length : samples) Data(out, length, static_cast<std::uint8_t>(n));
  }
  return out.Take();
}

ByteVector ItFile(const ItFields& fields) {
  const std::size_t patterns = fields.pattern_data_sizes.size(), samples = fields.sample_lengths.size();
  const auto instruments = static_cast<std::size_t>(fields.instruments);
  const std::size_t orders = patterns + 1;
  ByteWriter out;
  out.Text("IMPM");
  Field(out, fields.name, 26);
  out.LE16(0x1004).LE16(static_cast<std::uint16_t>(orders)).LE16(static_cast<std::uint16_t>(instruments));
  out.LE16(static_cast<std::uint16_t>(samples)).LE16(static_cast<std::uint16_t>(patterns)).LE16(0x0214).LE16(0x0214);
  out.LE16(0x0D).LE16(fields.message.empty() ? 0 : 1).U8(128).U8(48).U8(6).U8(125).U8(128).U8(0);
  const std::size_t message_fields_at = out.size();
  out.LE16(0).LE32(0).LE32(0);
  out.Fill(64, 32).Fill(64, 64);
  for (std::size_t i = 0; i < orders; ++i) out.U8(static_cast<std::uint8_t>(i < patterns ? i : 255));
  const std::size_t table_at = out.size();
  out.Fill(4 * (instruments + samples + patterns), 0);
  std::vector<std::size_t> offsets;
  const std::size_t message_at = out.size();
  out.Text(fields.message);
  for (std::size_t i = 0; i < instruments; ++i) {
    offsets.push_back(out.size());
    out.Text("IMPI").Fill(550, 0);
  }
  std::vector<std::size_t> sample_header_at;
  for (std::size_t i = 0; i < samples; ++i) {
    offsets.push_back(out.size());
    sample_header_at.push_back(out.size());
    out.Text("IMPS").Fill(76, 0);
  }
  for (const std::uint16_t size : fields.pattern_data_sizes) {
    offsets.push_back(size == 0 ? 0 : out.size());
    if (size == 0) continue;
    out.LE16(size).LE16(64).LE32(0);
    Data(out, size, 1);
  }
  std::vector<std::size_t> data_at;
  for (std::size_t i = 0; i < samples; ++i) {
    data_at.push_back(out.size());
    const bool compressed = fields.compressed_second && i == 1;
    if (!compressed) {
      Data(out, fields.sample_lengths[i], static_cast<std::uint8_t>(i));
      continue;
    }
    // One block of a 16-bit size per 32,768 8-bit samples.
    for (std::uint32_t left = fields.sample_lengths[i]; left > 0; left -= std::min<std::uint32_t>(left, 0x8000)) {
      const auto block = static_cast<std::uint16_t>(std::min<std::uint32_t>(left, 0x8000) / 3 + 1);
      out.LE16(block);
      Data(out, block, 11);
    }
  }
  ByteVector bytes = out.Take();
  auto put = [&](std::size_t at, std::uint64_t value, int width) {
    for (int k = 0; k < width; ++k) bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value >> (8 * k));
  };
  put(message_fields_at, fields.message.size(), 2);
  put(message_fields_at + 2, fields.message.empty() ? 0 : message_at, 4);
  for (std::size_t i = 0; i < offsets.size(); ++i) put(table_at + 4 * i, offsets[i], 4);
  for (std::size_t i = 0; i < samples; ++i) {
    const std::size_t at = sample_header_at[i];
    const bool compressed = fields.compressed_second && i == 1;
    bytes[at + 0x12] = static_cast<std::uint8_t>(compressed ? 0x09 : 0x01);
    put(at + 0x30, fields.sample_lengths[i], 4);
    put(at + 0x3C, 8363, 4);
    put(at + 0x48, data_at[i], 4);
  }
  return bytes;
}

}  // namespace rsf::synth
