// Header-and-footer clip types: a clip runs from its header to the end of the first footer
// that begins after the header's first byte, plus the type's footer adjustment.
#include <fmt/format.h>

#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {

void FindHEFOClips(ScanState& state, const TcliptypeHEFO& type) {
  const SignatureId header = state.Signature(type.Header);
  const SignatureId footer = state.Footer(type.Footer);
  const auto footer_length = static_cast<std::int64_t>(type.Footer.size());

  std::size_t p = state.NextCandidate(header, 0);
  while (p != kNoCandidate) {
    if (!MatchesAt(state.Buffer(), p + type.SubSignatureOffset, type.SubSignature)) {
      p = state.NextCandidate(header, p + 1);
      continue;
    }
    state.Observer().StatusText(kStatusPanelActivity, fmt::format("找到  {} 头部 - 正在搜索脚注...", type.TypeName));
    state.Observer().Repaint();

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    const std::optional<std::int64_t> found = state.FindInWindow(footer, start + 1);
    if (!found) {
      // The footer lies beyond this window or nowhere: the scan finds it when its window comes.
      // Headers behind this one are examined when their own window comes.
      state.AppendClipAtFooter({start, std::string(type.Extension), 0, {}}, type.TypeName, type.Footer, start + 1,
                               footer_length + type.FooterAdjustment);
      return;
    }
    state.AppendClip({start, std::string(type.Extension), *found + footer_length + type.FooterAdjustment, {}},
                     type.TypeName);
    p = state.NextCandidate(header, static_cast<std::size_t>(*found - state.WindowStart()) + 1);
  }
}

}  // namespace rsf
