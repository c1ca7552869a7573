// RIFF synthesizers: WAVE and AVI.
#include "synth/riff_synth.h"

#include <array>
#include <stdexcept>

namespace rsf::synth {
namespace {

// Pattern bytes for payloads.
ByteVector Pattern(std::size_t count, std::uint64_t seed) {
  ByteVector out(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>((i * 37 + seed) % 251);
  return out;
}

ByteVector FourCC(std::string_view code) {
  if (code.size() > 4) throw std::invalid_argument("a codec code has at most 4 bytes");
  ByteVector out(code.begin(), code.end());
  out.resize(4, 0);
  return out;
}

// The coefficient pairs every Microsoft ADPCM file carries.
constexpr std::array<std::array<std::int16_t, 2>, 7> kMsAdpcmCoefficients = {
    {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}};

}  // namespace

ByteVector RiffChunk(std::string_view id, const ByteVector& data) {
  ByteWriter out;
  out.Text(id).LE32(static_cast<std::uint32_t>(data.size())).Append(data);
  if (data.size() % 2 != 0) out.U8(0);
  return out.Take();
}

ByteVector RiffFile(std::string_view form_type, const ByteVector& body) {
  ByteWriter out;
  out.Text("RIFF").LE32(0).Text(form_type).Append(body);
  if (out.size() % 2 != 0) out.U8(0);
  out.PatchLE32(4, static_cast<std::uint32_t>(out.size() - 8));
  return out.Take();
}

ByteVector PcmWave(std::uint32_t sample_rate, std::uint16_t channels, std::uint16_t bits_per_sample,
                   std::size_t frames) {
  const auto block_align = static_cast<std::uint16_t>(channels * ((bits_per_sample + 7) / 8));
  ByteWriter format;
  format.LE16(1).LE16(channels).LE32(sample_rate).LE32(sample_rate * block_align).LE16(block_align).LE16(bits_per_sample);
  ByteWriter body;
  body.Append(RiffChunk("fmt ", format.Take())).Append(RiffChunk("data", Pattern(frames * block_align, sample_rate)));
  return RiffFile("WAVE", body.Take());
}

ByteVector AdpcmWave(AdpcmKind kind, std::uint32_t sample_rate, std::uint16_t channels, std::size_t blocks) {
  if (channels == 0) throw std::invalid_argument("no channels");
  const std::uint16_t block_align = 256 * channels;
  // Each channel opens a block with a header (7 bytes Microsoft, 4 bytes IMA) holding one or
  // two samples; every further byte holds two 4-bit samples, channels interleaved.
  const std::uint16_t head = kind == AdpcmKind::kMicrosoft ? 7 : 4;
  const std::uint16_t head_samples = kind == AdpcmKind::kMicrosoft ? 2 : 1;
  const auto samples_per_block = static_cast<std::uint16_t>((block_align - head * channels) * 2 / channels + head_samples);
  const auto byte_rate =
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(sample_rate) * block_align / samples_per_block);

  ByteWriter format;
  format.LE16(kind == AdpcmKind::kMicrosoft ? 0x0002 : 0x0011).LE16(channels).LE32(sample_rate).LE32(byte_rate);
  format.LE16(block_align).LE16(4);
  if (kind == AdpcmKind::kMicrosoft) {
    format.LE16(4 + 4 * kMsAdpcmCoefficients.size()).LE16(samples_per_block).LE16(kMsAdpcmCoefficients.size());
    for (const auto& pair : kMsAdpcmCoefficients)
      format.LE16(static_cast<std::uint16_t>(pair[0])).LE16(static_cast<std::uint16_t>(pair[1]));
  } else {
    format.LE16(2).LE16(samples_per_block);
  }

  ByteWriter data;
  for (std::size_t block = 0; block < blocks; ++block) {
    for (std::uint16_t channel = 0; channel < channels; ++channel) {
      if (kind == AdpcmKind::kMicrosoft)
        data.U8(0).LE16(16).LE16(0).LE16(0);  // predictor 0, delta 16, two silent samples
      else
        data.LE16(0).U8(0).U8(0);  // silent sample, step index 0, reserved
    }
    data.Append(Pattern(block_align - head * channels, block));
  }
  ByteWriter fact;
  fact.LE32(static_cast<std::uint32_t>(blocks * samples_per_block));

  ByteWriter body;
  body.Append(RiffChunk("fmt ", format.Take())).Append(RiffChunk("fact", fact.Take()));
  body.Append(RiffChunk("data", data.Take()));
  return RiffFile("WAVE", body.Take());
}

ByteVector AviFile(const AviFields& fields) {
  const std::uint32_t frame_chunk = 8 + static_cast<std::uint32_t>((fields.frame_bytes + 1) / 2 * 2);
  const std::uint32_t fps = fields.micro_sec_per_frame == 0 ? 1 : 1000000 / fields.micro_sec_per_frame;

  ByteWriter avih;
  avih.LE32(fields.micro_sec_per_frame)
      .LE32(frame_chunk * fps)                 // max bytes per second
      .LE32(0)                                 // padding granularity
      .LE32(0x10)                              // has index
      .LE32(fields.frames)
      .LE32(0)  // initial frames
      .LE32(1)  // streams
      .LE32(frame_chunk)
      .LE32(static_cast<std::uint32_t>(fields.width))
      .LE32(static_cast<std::uint32_t>(fields.height))
      .Fill(16, 0);

  ByteWriter strh;
  strh.Text("vids")
      .Append(FourCC(fields.handler))
      .LE32(0)   // flags
      .LE16(0)   // priority
      .LE16(0)   // language
      .LE32(0)   // initial frames
      .LE32(fields.micro_sec_per_frame == 0 ? 1 : fields.micro_sec_per_frame)  // scale
      .LE32(1000000)                                                           // rate
      .LE32(0)   // start
      .LE32(fields.frames)
      .LE32(frame_chunk)
      .LE32(0xFFFFFFFF)  // quality: default
      .LE32(0)           // sample size
      .LE16(0)
      .LE16(0)
      .LE16(static_cast<std::uint16_t>(fields.width))
      .LE16(static_cast<std::uint16_t>(fields.height));

  ByteWriter strf;  // the frame format, a bitmap information header
  strf.LE32(40)
      .LE32(static_cast<std::uint32_t>(fields.width))
      .LE32(static_cast<std::uint32_t>(fields.height))
      .LE16(1)
      .LE16(24)
      .Append(FourCC(fields.handler))
      .LE32(static_cast<std::uint32_t>(fields.frame_bytes))
      .Fill(16, 0);

  ByteWriter strl;
  strl.Text("strl").Append(RiffChunk("strh", strh.Take())).Append(RiffChunk("strf", strf.Take()));
  ByteWriter hdrl;
  hdrl.Text("hdrl").Append(RiffChunk("avih", avih.Take())).Append(RiffChunk("LIST", strl.Take()));

  ByteWriter movi;
  ByteWriter index;
  movi.Text("movi");
  for (std::uint32_t frame = 0; frame < fields.frames; ++frame) {
    index.Text("00dc").LE32(0x10).LE32(static_cast<std::uint32_t>(movi.size())).LE32(
        static_cast<std::uint32_t>(fields.frame_bytes));
    movi.Append(RiffChunk("00dc", Pattern(fields.frame_bytes, frame)));
  }

  ByteWriter body;
  body.Append(RiffChunk("LIST", hdrl.Take())).Append(RiffChunk("LIST", movi.Take())).Append(RiffChunk("idx1", index.Take()));
  return RiffFile("AVI ", body.Take());
}

}  // namespace rsf::synth
