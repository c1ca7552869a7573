// Hostile-source synthesizer.
#include "synth/hostile_synth.h"

#include <algorithm>

#include "base/crc32.h"
#include "synth/random_filler.h"

namespace rsf::synth {
namespace {

// Candidates of the walking types stand this far apart, so the sources hold a few thousand clips
// per 32 MiB, not millions: what costs is the walk behind each of them.
constexpr std::size_t kWalkCandidateSpacing = 4096;

void Put(ByteVector& out, std::size_t at, const ByteVector& bytes) {
  if (at >= out.size()) return;
  const std::size_t count = std::min(bytes.size(), out.size() - at);
  std::copy_n(bytes.begin(), count, out.begin() + static_cast<std::ptrdiff_t>(at));
}

// Breaks every footer of the header-and-footer types that the filler holds by chance.
void ScrubFooters(ByteVector& bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) bytes[i + 1] = 0xD8;
    if (i + 3 < bytes.size()) {
      if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && bytes[i + 3] == 0xB9) bytes[i + 3] = 0xB8;
      if (bytes[i] == 'I' && bytes[i + 1] == 'N' && bytes[i + 2] == 'D' && bytes[i + 3] == 'X') bytes[i + 3] = 'Y';
      if (bytes[i] == 0x04 && bytes[i + 1] == 0 && bytes[i + 2] == 0x06 && bytes[i + 3] == 0) bytes[i + 2] = 0x07;
    }
  }
}

ByteVector HeadersWithoutFooter(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const ByteVector jpeg = ByteWriter().U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").U8(0).Take();
  const ByteVector mpeg = ByteWriter().BE32(0x000001BA).Fill(8, 0x44).BE32(0x000001BB).Take();
  const ByteVector mve = ByteWriter().Text("Interplay MVE File").U8(0x1A).U8(0).U8(0x1A).U8(0).Take();
  const ByteVector real = ByteWriter().Text(".RMF").Fill(14, 0).Text("PROP").Take();
  const ByteVector* headers[] = {&jpeg, &mpeg, &mve, &real};
  std::size_t k = 0;
  for (std::size_t at = 100; at < size; at += 200 + (k * 7) % 50, ++k) Put(out, at, *headers[k % 4]);
  ScrubFooters(out);
  return out;
}

// The first half holds candidates every 4 KiB, each leading into the chain that fills the
// second half, at scattered points of it, so remembering only where a walk started is not enough.
struct ChainLayout {
  std::size_t chain_start;
  std::size_t chain_links;  // links of `link` bytes each
  std::size_t Target(std::size_t candidate, std::size_t link) const {
    return chain_start + link * ((candidate * 7919) % std::max<std::size_t>(chain_links, 1));
  }
};

ChainLayout LayOutChain(std::size_t size, std::size_t link) {
  const std::size_t chain_start = (size / 2) / link * link;
  return {chain_start, (size - chain_start) / link};
}

ByteVector MoovChain(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  constexpr std::size_t kLink = 8;
  const ChainLayout chain = LayOutChain(size, kLink);
  for (std::size_t i = 0; i < chain.chain_links; ++i) Put(out, chain.chain_start + i * kLink, ByteWriter().BE32(8).Text("free").Take());
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(chain.chain_start + chain.chain_links * kLink), out.end(), 0);
  std::size_t candidate = 0;
  for (std::size_t at = 64; at + 8 <= chain.chain_start; at += kWalkCandidateSpacing, ++candidate) {
    const auto atom_size = static_cast<std::uint32_t>(chain.Target(candidate, kLink) - at);
    Put(out, at, ByteWriter().BE32(atom_size).Text("moov").Take());
  }
  return out;
}

ByteVector MidiChain(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  constexpr std::size_t kLink = 8;
  const ChainLayout chain = LayOutChain(size, kLink);
  for (std::size_t i = 0; i < chain.chain_links; ++i) Put(out, chain.chain_start + i * kLink, ByteWriter().Text("MTrk").BE32(0).Take());
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(chain.chain_start + chain.chain_links * kLink), out.end(), 0);
  std::size_t candidate = 0;
  for (std::size_t at = 64; at + 22 <= chain.chain_start; at += kWalkCandidateSpacing, ++candidate) {
    // Header chunk, then one track chunk whose length jumps into the chain.
    const std::size_t after_first_chunk = at + 22;
    const auto length = static_cast<std::uint32_t>(chain.Target(candidate, kLink) - after_first_chunk);
    Put(out, at, ByteWriter().Text("MThd").BE32(6).BE16(1).BE16(1).BE16(96).Text("MTrk").BE32(length).Take());
  }
  return out;
}

ByteVector SmackerHugeCounts(std::size_t size) {
  ByteVector out(size, 0);
  std::size_t candidate = 0;
  for (std::size_t at = 0; at + 104 <= size; at += kWalkCandidateSpacing, ++candidate) {
    // Every other candidate claims 2^31 - 1 frames; the others exactly as many as the rest of
    // the source can hold, so their frame-size table runs to the source end.
    const std::size_t fitting = (size - at - 104) / 4;
    const auto frames = static_cast<std::uint32_t>(candidate % 2 == 0 ? 0x7FFFFFFFu : fitting);
    Put(out, at, ByteWriter().Text("SMK2").LE32(64).LE32(48).LE32(frames).LE32(static_cast<std::uint32_t>(-6667)).Take());
  }
  return out;
}

ByteVector PlausibleBitmaps(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const ByteVector header = ByteWriter()
                                .Text("BM")
                                .LE32(0xFFFFFF00u)  // longer than any source
                                .LE32(0)
                                .LE32(54)
                                .LE32(40)
                                .LE32(100)
                                .LE32(100)
                                .LE16(1)
                                .LE16(24)
                                .LE32(0)
                                .Take();
  for (std::size_t at = 0; at < size; at += 64) Put(out, at, header);
  return out;
}

ByteVector Mp3FailAtFourth(std::size_t size) {
  // MPEG-2 Layer III, 8 kbit/s, 22050 Hz: 26-byte frames.
  constexpr std::uint32_t kValid = 0xFFF31000u;
  constexpr std::uint32_t kInvalid = 0xFFF3F000u;  // bitrate index 15
  constexpr std::size_t kFrame = 26;
  ByteVector out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((i * 37 + 11) % 255);
  for (std::size_t at = 0; at < size; at += 3 * kFrame + 4) {
    for (std::size_t f = 0; f < 3; ++f) Put(out, at + f * kFrame, ByteWriter().BE32(kValid).Take());
    Put(out, at + 3 * kFrame, ByteWriter().BE32(kInvalid).Take());
  }
  return out;
}

// Frames in the first part, each with a scan whose header reaches into the marker-free run that
// fills the rest, at scattered points of it. No image ends.
ByteVector JpegScansIntoOneRun(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const std::size_t run_start = std::min<std::size_t>(32768, size / 4);
  const std::size_t scatter = std::max<std::size_t>(1, std::min<std::size_t>(16384, size / 4));
  for (std::size_t i = run_start; i < size; ++i) out[i] = static_cast<std::uint8_t>(out[i] % 0xFF);
  std::size_t candidate = 0;
  for (std::size_t at = 0; at + 19 <= run_start; at += 256, ++candidate) {
    const std::size_t target = run_start + (candidate * 7919) % scatter;
    const auto length = static_cast<std::uint16_t>(target - (at + 17));
    Put(out, at,
        ByteWriter().U8(0xFF).U8(0xD8).U8(0xFF).U8(0xC0).BE16(11).U8(8).BE16(16).BE16(16).U8(1).U8(1).U8(0x11).U8(0)
            .U8(0xFF).U8(0xDA).BE16(length).Take());
  }
  ScrubFooters(out);
  return out;
}

ByteVector MpegPacksWithoutPacket(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  constexpr std::size_t kLink = 4096;
  const ByteVector pack = ByteWriter().BE32(0x000001BA).U8(0x21).U8(0).U8(0x01).U8(0).U8(0x01).U8(0x80).U8(0).U8(0x01)
                              .BE32(0x000001BB).BE16(static_cast<std::uint16_t>(kLink - 18)).Take();
  for (std::size_t at = 0; at + kLink <= size; at += kLink) Put(out, at, pack);
  ScrubFooters(out);
  return out;
}

ByteVector AviNestedIntoOneChain(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const std::size_t chain_start = std::min<std::size_t>(32768, size / 2);
  for (std::size_t at = 0; at + 16 <= chain_start; at += 16)
    Put(out, at, ByteWriter().Text("RIFF").LE32(static_cast<std::uint32_t>(chain_start - at - 8)).Text("AVI LIST").Take());
  for (std::size_t at = chain_start; at + 12 <= size; at += 12) Put(out, at, ByteWriter().Text("RIFF").LE32(4).Text("AVIX").Take());
  return out;
}

ByteVector RealMediaSharedRun(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  constexpr std::size_t kPacket = 12;
  const std::size_t run_start = std::min<std::size_t>(32768, size / 2);
  const std::size_t packets = (size - run_start) / kPacket;
  for (std::size_t i = 0; i < packets; ++i)
    Put(out, run_start + i * kPacket, ByteWriter().BE16(0).BE16(kPacket).Fill(kPacket - 4, 0x11).Take());
  std::size_t candidate = 0;
  for (std::size_t at = 0; at + 128 <= run_start; at += 128, ++candidate) {
    const std::size_t target = run_start + kPacket * ((candidate * 7919) % std::max<std::size_t>(1, std::min<std::size_t>(packets, 2000)));
    const auto first_packet = static_cast<std::uint16_t>(target - (at + 86));
    Put(out, at,
        ByteWriter().Text(".RMF").BE32(18).BE16(0).BE32(0).BE32(3)
            .Text("PROP").BE32(50).BE16(0).Fill(40, 0)
            .Text("DATA").BE32(0).BE16(0).BE32(0).BE32(0)
            .BE16(0).BE16(first_packet).Take());
  }
  ScrubFooters(out);
  return out;
}

// GIF headers back to back, each with an image whose sub-blocks start on the next header; no
// byte is zero, so no sub-block run ever ends, and a run of one-byte sub-blocks fills the rest.
ByteVector GifSubBlocksToTheEnd(std::size_t size) {
  ByteVector out(size, 0x01);
  const ByteVector candidate = ByteWriter().Text("GIF89a").LE16(0x0101).LE16(0x0101).U8(0x01).U8(1).U8(1)
                                   .U8(0x2C).LE16(0x0101).LE16(0x0101).LE16(0x0101).LE16(0x0101).U8(0x01).U8(8).Take();
  for (std::size_t at = 0; at + candidate.size() <= std::min<std::size_t>(32768, size / 2); at += candidate.size())
    Put(out, at, candidate);
  return out;
}


// Movie atoms at every 16 bytes, each holding the ones after it and ending where its own size-0
// atom stands near the source end; the tables inside are noise, so every end is open and a walk
// that read each movie's tables would read the source over once per candidate.
ByteVector OpenMoviesNested(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const std::size_t movies = std::min<std::size_t>(2000, size / 64);
  const std::size_t tail = size - 8 * movies - 64;
  for (std::size_t k = 0; k < movies; ++k) {
    const std::size_t end = tail + 8 * k;
    Put(out, 16 * k, ByteWriter().BE32(static_cast<std::uint32_t>(end - 16 * k)).Text("moov").Take());
    Put(out, end, ByteWriter().BE32(0).Text("free").Take());
  }
  return out;
}

// Streamed WAVE headers back to back, each with a format chunk whose size jumps to a data chunk
// of unknown size; the data chunks lie ever earlier, and no "RIFF" follows them, so that each
// walk's search for the next file starts before the last one did.
ByteVector StreamedWavesSteppingBack(std::size_t size, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  const std::size_t waves = std::min<std::size_t>(3000, size / 64);
  const std::size_t data_area = size / 2;
  for (std::size_t k = 0; k < waves; ++k) {
    const std::size_t data = data_area + 8 * (waves - k);
    Put(out, 20 * k, ByteWriter().Text("RIFF").LE32(0).Text("WAVEfmt ").LE32(static_cast<std::uint32_t>(data - 20 * k - 20)).Take());
    Put(out, data, ByteWriter().Text("data").LE32(0xFFFFFFFF).Take());
  }
  return out;
}

// PNG signatures, each with a correct header chunk and a correct text chunk that leads into one
// run of empty image-data chunks ending in an end chunk: every picture's chunks hold together,
// and its CRCs pass for all the bytes of its text chunk, then fail in the run.
ByteVector PngCrcFailsInSharedRun(std::size_t size) {
  constexpr std::size_t kCandidate = 1024, kEmptyChunk = 12, kHead = 8 + 25 + 8;
  ByteVector out(size, 0);
  const std::size_t candidates = std::min<std::size_t>(256, size / 4 / kCandidate);
  const std::size_t run = candidates * kCandidate;
  if (candidates == 0 || run + (candidates + 2) * kEmptyChunk > size) return out;
  for (std::size_t at = run; at + 2 * kEmptyChunk <= size; at += kEmptyChunk)
    Put(out, at, ByteWriter().BE32(0).Text("IDAT").BE32(0).Take());
  const std::size_t last = run + (size - run) / kEmptyChunk * kEmptyChunk - kEmptyChunk;
  Put(out, last, ByteWriter().BE32(0).Text("IEND").BE32(0).Take());
  const ByteVector header = ByteWriter().Text("IHDR").BE32(1).BE32(1).U8(8).U8(0).U8(0).U8(0).U8(0).Take();
  for (std::size_t i = 0; i < candidates; ++i) {
    const std::size_t at = i * kCandidate, text_end = run + (i + 1) * kEmptyChunk;
    const auto length = static_cast<std::uint32_t>(text_end - 4 - (at + kHead));
    Put(out, at, ByteWriter().U8(0x89).Text("PNG\r\n").U8(0x1A).U8('\n').BE32(13).Append(header)
                     .BE32(Crc32(header)).BE32(length).Text("tEXt").Take());
  }
  // Each text chunk's CRC lands in the run, inside the bytes the following ones cover: in order.
  for (std::size_t i = 0; i < candidates; ++i) {
    const std::size_t at = i * kCandidate + kHead - 4, text_end = run + (i + 1) * kEmptyChunk;
    const Bytes typed(out.data() + at, text_end - 4 - at);
    Put(out, text_end - 4, ByteWriter().BE32(Crc32(typed)).Take());
  }
  return out;
}

}  // namespace

std::string_view HostileName(HostileKind kind) {
  switch (kind) {
    case HostileKind::kHeadersWithoutFooter: return "headers without a footer";
    case HostileKind::kMoovChain: return "moov candidates sharing one atom chain";
    case HostileKind::kMidiChain: return "MThd candidates sharing one chunk run";
    case HostileKind::kSmackerHugeCounts: return "Smacker headers with huge frame counts";
    case HostileKind::kPlausibleBitmaps: return "plausible bitmap headers, too long";
    case HostileKind::kMp3FailAtFourth: return "MPEG audio runs failing at the fourth";
    case HostileKind::kAllFF: return "nothing but 0xFF";
    case HostileKind::kJpegScansIntoOneRun: return "JPEG scans running into one marker-free run";
    case HostileKind::kMpegPacksWithoutPacket: return "MPEG packs without a packet";
    case HostileKind::kAviNestedIntoOneChain: return "nested AVI headers before one AVIX chain";
    case HostileKind::kRealMediaSharedRun: return "RealMedia headers sharing one packet run";
    case HostileKind::kGifSubBlocksToTheEnd: return "GIF images whose sub-blocks never end";
    case HostileKind::kPngCrcFailsInSharedRun: return "PNG pictures whose CRCs fail in one shared run";
    case HostileKind::kOpenMoviesNested: return "nested movies with open ends";
    case HostileKind::kStreamedWavesSteppingBack: return "streamed WAVE files stepping back";
  }
  return "";
}

bool HostileForMp3Mode(HostileKind kind) { return kind == HostileKind::kMp3FailAtFourth || kind == HostileKind::kAllFF; }

ByteVector HostileSource(HostileKind kind, std::size_t size, std::uint64_t seed) {
  switch (kind) {
    case HostileKind::kHeadersWithoutFooter: return HeadersWithoutFooter(size, seed);
    case HostileKind::kMoovChain: return MoovChain(size, seed);
    case HostileKind::kMidiChain: return MidiChain(size, seed);
    case HostileKind::kSmackerHugeCounts: return SmackerHugeCounts(size);
    case HostileKind::kPlausibleBitmaps: return PlausibleBitmaps(size, seed);
    case HostileKind::kMp3FailAtFourth: return Mp3FailAtFourth(size);
    case HostileKind::kAllFF: return ByteVector(size, 0xFF);
    case HostileKind::kJpegScansIntoOneRun: return JpegScansIntoOneRun(size, seed);
    case HostileKind::kMpegPacksWithoutPacket: return MpegPacksWithoutPacket(size, seed);
    case HostileKind::kAviNestedIntoOneChain: return AviNestedIntoOneChain(size, seed);
    case HostileKind::kRealMediaSharedRun: return RealMediaSharedRun(size, seed);
    case HostileKind::kGifSubBlocksToTheEnd: return GifSubBlocksToTheEnd(size);
    case HostileKind::kPngCrcFailsInSharedRun: return PngCrcFailsInSharedRun(size);
    case HostileKind::kOpenMoviesNested: return OpenMoviesNested(size, seed);
    case HostileKind::kStreamedWavesSteppingBack: return StreamedWavesSteppingBack(size, seed);
  }
  return {};
}

}  // namespace rsf::synth
