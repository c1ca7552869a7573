// Two-byte strings by vector compares: the block and the block shifted by one byte are compared
// with each pair's bytes, and the bits of the mask that are set are the occurrences. AVX2 where
// the processor has it (not on Windows), SSE2 (every x86-64) otherwise, a byte loop elsewhere
// and at the ends.
#include "scan/index/byte_pair_scan.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define RSF_PAIR_SCAN_X86 1
// 64-bit Windows keeps the stack 16-byte aligned only, which 32-byte vectors spilled to it need
// more of (GCC does not realign it there): SSE2 only.
#ifndef _WIN32
#define RSF_PAIR_SCAN_AVX2 1
#endif
#endif

namespace rsf {
namespace {

void ScanTail(Bytes text, std::size_t from, const std::vector<BytePair>& pairs, std::size_t first_id,
              std::vector<std::vector<std::uint32_t>>& starts) {
  for (std::size_t at = from; at + 1 < text.size(); ++at)
    for (std::size_t i = 0; i < pairs.size(); ++i)
      if (text[at] == pairs[i][0] && text[at + 1] == pairs[i][1])
        starts[first_id + i].push_back(static_cast<std::uint32_t>(at));
}

#ifdef RSF_PAIR_SCAN_X86
inline void PushBits(std::uint32_t mask, std::size_t base, std::vector<std::uint32_t>& out) {
  while (mask != 0) {
    out.push_back(static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(__builtin_ctz(mask)));
    mask &= mask - 1;
  }
}

// Returns where the byte loop takes over.
std::size_t ScanSse2(Bytes text, const std::vector<BytePair>& pairs, std::size_t first_id,
                     std::vector<std::vector<std::uint32_t>>& starts) {
  const auto* data = text.data();
  std::size_t at = 0;
  for (; at + 17 <= text.size(); at += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      const __m128i first = _mm_cmpeq_epi8(here, _mm_set1_epi8(static_cast<char>(pairs[i][0])));
      const __m128i second = _mm_cmpeq_epi8(next, _mm_set1_epi8(static_cast<char>(pairs[i][1])));
      PushBits(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(first, second))), at, starts[first_id + i]);
    }
  }
  return at;
}

#ifdef RSF_PAIR_SCAN_AVX2
__attribute__((target("avx2"))) std::size_t ScanAvx2(Bytes text, const std::vector<BytePair>& pairs,
                                                      std::size_t first_id,
                                                      std::vector<std::vector<std::uint32_t>>& starts) {
  const auto* data = text.data();
  std::size_t at = 0;
  for (; at + 33 <= text.size(); at += 32) {
    const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
    const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + 1));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      const __m256i first = _mm256_cmpeq_epi8(here, _mm256_set1_epi8(static_cast<char>(pairs[i][0])));
      const __m256i second = _mm256_cmpeq_epi8(next, _mm256_set1_epi8(static_cast<char>(pairs[i][1])));
      PushBits(static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(first, second))), at,
               starts[first_id + i]);
    }
  }
  return at;
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif
#endif

}  // namespace

void FindBytePairs(Bytes text, const std::vector<BytePair>& pairs, std::size_t first_id,
                   std::vector<std::vector<std::uint32_t>>& starts, PairScanWidth width) {
  for (std::size_t i = 0; i < pairs.size(); ++i) starts[first_id + i].clear();
  std::size_t done = 0;
#ifdef RSF_PAIR_SCAN_X86
#ifdef RSF_PAIR_SCAN_AVX2
  if ((width == PairScanWidth::kBest || width == PairScanWidth::kAvx2) && HasAvx2())
    done = ScanAvx2(text, pairs, first_id, starts);
  else
#endif
  if (width != PairScanWidth::kBytes)
    done = ScanSse2(text, pairs, first_id, starts);
#else
  (void)width;
#endif
  ScanTail(text, done, pairs, first_id, starts);
}

}  // namespace rsf
