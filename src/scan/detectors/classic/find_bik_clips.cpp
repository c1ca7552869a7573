// Bink: a header that stores its frame count twice and the file size less 8. The two copies
// of the frame count must agree; the length field gives the clip's size.
#include <algorithm>
#include <cstdint>

#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {

void FindBIKClips(ScanState& state, const TcliptypeBIK& type) {
  const SignatureId signature = state.Signature(type.Signature);
  const auto first_at = static_cast<std::size_t>(type.FirstCompareOffset);
  const auto second_at = static_cast<std::size_t>(type.SecondCompareOffset);
  const auto compare_length = static_cast<std::size_t>(type.CompareLength);
  const auto length_at = static_cast<std::size_t>(type.LengthFieldOffset);
  // Every header byte the tests look at; a header cut by the window's end lies whole in the
  // next window, where it is judged on all of its bytes.
  const std::size_t header_bytes = std::max({first_at + compare_length, second_at + compare_length, length_at + 4});

  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate;
       p = state.NextCandidate(signature, p + 1)) {
    const Bytes buffer = state.Buffer();
    if (!FitsIn(buffer.size(), p, header_bytes)) continue;
    const Bytes header = buffer.subspan(p, header_bytes);
    const Bytes first = header.subspan(first_at, compare_length);
    const Bytes second = header.subspan(second_at, compare_length);
    if (!std::equal(first.begin(), first.end(), second.begin(), second.end())) continue;
    const std::uint32_t length = ReadLE32(header, length_at).value_or(0);

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    const std::int64_t end = start + static_cast<std::int64_t>(length) + type.LengthAdjustment;
    if (end > state.SourceSize()) continue;

    state.AppendClip({start, std::string(type.Extension), end, {}}, type.TypeName);
  }
}

}  // namespace rsf
