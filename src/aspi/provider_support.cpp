// Request completion and small parsers shared by the ASPI providers.
#include "aspi/provider_support.h"

#include <algorithm>
#include <atomic>
#include <charconv>

#include "aspi_abi/scsidefs.h"
#include "platform/completion_event.h"

namespace rsf::aspi {

void FinishRequest(ExecScsiBlock& block, std::uint8_t status) {
  const bool notify = (block.flags & kFlagEventNotify) != 0;
  const EventField event = block.completion_event;
  // Everything written so far must be visible to the caller before the status says done.
  std::atomic_thread_fence(std::memory_order_release);
  block.status = status;
  if (notify) platform::SignalCompletionEvent(event);
}

void SetCheckCondition(ExecScsiBlock& block, std::uint8_t sense_key, std::uint8_t additional_code) {
  std::uint8_t sense[18] = {};
  sense[0] = 0x70;  // current error, fixed format
  sense[2] = sense_key;
  sense[7] = 10;    // additional sense length
  sense[12] = additional_code;
  const std::size_t length = std::min<std::size_t>({block.sense_length, sizeof block.sense, sizeof sense});
  std::copy_n(sense, length, block.sense);
  block.target_status = kTargetCheckCondition;
}

std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t maximum) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end || value > maximum) return std::nullopt;
  return value;
}

std::optional<AdapterTarget> ParseAdapterTarget(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto host_adapter = ParseDecimal(text.substr(0, colon), 255);
  const auto target = ParseDecimal(text.substr(colon + 1), 255);
  if (!host_adapter || !target) return std::nullopt;
  return AdapterTarget{static_cast<int>(*host_adapter), static_cast<int>(*target)};
}

}  // namespace rsf::aspi
