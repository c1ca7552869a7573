// Parsing the image provider's environment variables.
#include "aspi/image_config.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "aspi/provider_support.h"

namespace rsf::aspi {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    const std::size_t at = text.find(separator);
    const std::string_view part = text.substr(0, at);
    if (!part.empty()) parts.push_back(part);
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  return parts;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// "H:T@FIRST-LAST" (and with `with_delay`, "=MS" after it) for one device.
struct RangeEntry {
  AdapterTarget device;
  SectorRange range;
};
std::optional<RangeEntry> ParseRangeEntry(std::string_view entry, bool with_delay) {
  const std::size_t at = entry.find('@');
  if (at == std::string_view::npos) return std::nullopt;
  const auto device = ParseAdapterTarget(entry.substr(0, at));
  std::string_view range = entry.substr(at + 1);
  std::optional<std::uint64_t> late = 0;
  if (with_delay) {
    const std::size_t equals = range.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    late = ParseDecimal(range.substr(equals + 1), 0xFFFFFFFFu);
    range = range.substr(0, equals);
  }
  const std::size_t dash = range.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const auto first = ParseDecimal(range.substr(0, dash), 0xFFFFFFFFu);
  const auto last = ParseDecimal(range.substr(dash + 1), 0xFFFFFFFFu);
  if (!device || !late || !first || !last || *last < *first) return std::nullopt;
  return RangeEntry{*device, SectorRange{*first, *last, static_cast<std::uint32_t>(*late)}};
}

}  // namespace

int ImageConfig::HostAdapterCount() const {
  int count = 0;
  for (const ImageDevice& device : devices) count = std::max(count, device.host_adapter + 1);
  return count;
}

const ImageDevice* ImageConfig::Find(int host_adapter, int target) const {
  for (const ImageDevice& device : devices)
    if (device.host_adapter == host_adapter && device.target == target) return &device;
  return nullptr;
}

ImageEnvironment ImageEnvironment::Current() {
  return {Variable("RSFX_ASPI_IMAGES"), Variable("RSFX_ASPI_IMAGE_DELAY_MS"), Variable("RSFX_ASPI_IMAGE_BAD_SECTORS"),
          Variable("RSFX_ASPI_IMAGE_SLOW_SECTORS"), Variable("RSFX_ASPI_IMAGE_SYNC")};
}

ImageConfig ParseImageConfig(const ImageEnvironment& environment) {
  ImageConfig config;
  for (std::string_view entry : Split(environment.images, ';')) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) continue;
    const auto device = ParseAdapterTarget(entry.substr(0, equals));
    if (!device || config.Find(device->host_adapter, device->target) != nullptr) continue;
    config.devices.push_back({device->host_adapter, device->target, std::string(entry.substr(equals + 1)), {}, {}});
  }
  auto add_ranges = [&](const std::string& text, bool slow) {
    for (std::string_view entry : Split(text, ';')) {
      const auto parsed = ParseRangeEntry(entry, slow);
      if (!parsed) continue;
      for (ImageDevice& device : config.devices) {
        if (device.host_adapter != parsed->device.host_adapter || device.target != parsed->device.target) continue;
        (slow ? device.slow_sectors : device.bad_sectors).push_back(parsed->range);
      }
    }
  };
  add_ranges(environment.bad_sectors, false);
  add_ranges(environment.slow_sectors, true);
  config.delay_ms = static_cast<std::uint32_t>(ParseDecimal(environment.delay_ms, 0xFFFFFFFFu).value_or(0));
  config.synchronous = environment.sync == "1";
  return config;
}

}  // namespace rsf::aspi
