// IFF file synthesizers.
#include "synth/iff_synth.h"

#include <cmath>

namespace rsf::synth {
namespace {

ByteVector Form(const std::string& type, const ByteVector& chunks) {
  ByteWriter body;
  body.Text(type).Append(chunks);
  return IffChunk("FORM", body.Take());
}

ByteVector Pattern(std::size_t count, std::uint8_t seed) {
  ByteVector bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 13);
  return bytes;
}

// The 80-bit extended number AIFF keeps its sample rate in.
ByteVector Extended(double value) {
  int exponent = 0;
  const double fraction = std::frexp(value, &exponent);  // value = fraction * 2^exponent, 0.5 <= fraction < 1
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  ByteWriter out;
  out.BE16(static_cast<std::uint16_t>(exponent - 1 + 16383));
  out.BE32(static_cast<std::uint32_t>(mantissa >> 32)).BE32(static_cast<std::uint32_t>(mantissa));
  return out.Take();
}

}  // namespace

ByteVector IffChunk(const std::string& id, const ByteVector& data) {
  ByteWriter out;
  out.Text(id).BE32(static_cast<std::uint32_t>(data.size())).Append(data);
  if (data.size() % 2 != 0) out.U8(0);
  return out.Take();
}

ByteVector AiffFile(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::uint32_t frames) {
  ByteWriter common;
  common.BE16(channels).BE32(frames).BE16(bits).Append(Extended(rate));
  ByteWriter sound;
  sound.BE32(0).BE32(0).Append(Pattern(std::size_t{frames} * channels * ((bits + 7u) / 8u), 1));
  ByteWriter chunks;
  chunks.Append(IffChunk("COMM", common.Take())).Append(IffChunk("SSND", sound.Take()));
  return Form("AIFF", chunks.Take());
}

ByteVector IlbmFile(std::uint16_t width, std::uint16_t height, std::uint8_t planes) {
  ByteWriter header;
  header.BE16(width).BE16(height).BE16(0).BE16(0).U8(planes).U8(0).U8(0).U8(0).BE16(0).U8(10).U8(11);
  header.BE16(width).BE16(height);
  const std::size_t row_bytes = (width + 15u) / 16u * 2u;
  ByteWriter chunks;
  chunks.Append(IffChunk("BMHD", header.Take()));
  chunks.Append(IffChunk("CMAP", Pattern(3u << planes, 7)));
  chunks.Append(IffChunk("BODY", Pattern(row_bytes * height * planes, 3)));
  return Form("ILBM", chunks.Take());
}

ByteVector Svx8File(std::uint16_t rate, std::uint32_t samples) {
  ByteWriter header;
  header.BE32(samples).BE32(0).BE32(32).BE16(rate).U8(1).U8(0).BE32(0x10000);
  ByteWriter chunks;
  chunks.Append(IffChunk("VHDR", header.Take())).Append(IffChunk("NAME", ByteVector{'t', 'o', 'n', 'e', 0}));
  chunks.Append(IffChunk("BODY", Pattern(samples, 5)));
  return Form("8SVX", chunks.Take());
}

ByteVector XmidiFile(std::uint16_t sequences, std::size_t event_bytes) {
  ByteWriter info;
  info.LE16(sequences);
  ByteWriter directory;
  directory.Append(Form("XDIR", IffChunk("INFO", info.Take())));
  ByteWriter forms;
  forms.Text("XMID");
  for (std::uint16_t i = 0; i < sequences; ++i) {
    ByteWriter chunks;
    chunks.Append(IffChunk("TIMB", ByteVector{1, 0, 0, 0})).Append(IffChunk("EVNT", Pattern(event_bytes + i, 9)));
    forms.Append(Form("XMID", chunks.Take()));
  }
  directory.Append(IffChunk("CAT ", forms.Take()));
  return directory.Take();
}

}  // namespace rsf::synth
