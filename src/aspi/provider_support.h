// What both ASPI providers do alike: finish a request (data and sense first, the status byte
// last, then the event), fill fixed-format sense data, and read "host adapter:target" texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "aspi_abi/aspi_abi.h"

namespace rsf::aspi {

// Writes the request status and, when the request asked for it, signals its event. After
// this the provider does not touch the block again.
void FinishRequest(ExecScsiBlock& block, std::uint8_t status);

// An error answer: CHECK CONDITION with fixed-format sense data (key, additional sense code)
// in as much of the sense area as the request asked for.
void SetCheckCondition(ExecScsiBlock& block, std::uint8_t sense_key, std::uint8_t additional_code);

struct AdapterTarget {
  int host_adapter = 0;
  int target = 0;
};
// "0:3" into host adapter 0, target 3 (each 0 to 255); nullopt for anything else.
std::optional<AdapterTarget> ParseAdapterTarget(std::string_view text);

// A decimal number of at most `maximum` making up all of `text`.
std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t maximum);

}  // namespace rsf::aspi
