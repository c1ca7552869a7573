// ASPI request completion: a run of SCSI requests against a fake library that answers at once,
// during the wait, late, never, or not at all, with random request status. A request must give
// data back exactly when it completed (and, where the status is examined, completed well); a
// request given up on must stay alive until the library is done with it (AddressSanitizer sees
// a late write into a freed block), and must be released once it is.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cd/aspi_request.h"
#include "aspi_abi/scsidefs.h"
#include "fake_aspi_library.h"
#include "fuzz_support.h"

namespace {

RSF_FUZZ_UNTRACED bool HoldsDiscBytes(const std::vector<std::uint8_t>& data, std::uint32_t first_sector) {
  for (std::size_t i = 0; i < data.size(); ++i)
    if (data[i] != rsf::fuzz::DiscByte(std::int64_t{first_sector} * 2048 + static_cast<std::int64_t>(i))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::size_t pending_before = rsf::aspi::PendingRequestCount();
  {
    std::vector<rsf::fuzz::Answer> answers;
    for (int i = in.ConsumeIntegralInRange<int>(1, 8); i > 0; --i)
      answers.push_back(static_cast<rsf::fuzz::Answer>(in.ConsumeIntegralInRange<int>(0, rsf::fuzz::kAnswerCount - 1)));
    rsf::fuzz::FakeAspiLibrary library(answers);
    library.status_byte = in.ConsumeBool() ? rsf::aspi::kStatusCompleted : in.ConsumeIntegral<std::uint8_t>();
    library.refusal_code = in.ConsumeIntegral<std::uint8_t>();
    for (int i = in.ConsumeIntegralInRange<int>(0, 3); i > 0; --i) library.bad_blocks.insert(in.ConsumeIntegralInRange<std::uint32_t>(0, 64));

    std::size_t answered = 0;
    for (int request = 0; request < 12 && in.remaining_bytes() > 0; ++request) {
      const rsf::fuzz::Answer answer = answers[answered++ % answers.size()];
      rsf::aspi::ScsiCommand command;
      command.host_adapter = 0;
      command.target = 1;
      command.check_status = in.ConsumeBool();
      command.wait_limit_ms = in.ConsumeIntegral<std::uint32_t>();
      const std::uint8_t operations[] = {rsf::aspi::kScsiRead10, rsf::aspi::kScsiReadCapacity, rsf::aspi::kScsiInquiry,
                                         rsf::aspi::kScsiTestUnitReady};
      command.cdb[0] = operations[in.ConsumeIntegralInRange<int>(0, 3)];
      std::uint32_t first = 0, count = 0;
      switch (command.cdb[0]) {
        case rsf::aspi::kScsiRead10:
          first = in.ConsumeIntegralInRange<std::uint32_t>(0, 100);
          count = in.ConsumeIntegralInRange<std::uint32_t>(0, 8);
          command.cdb[2] = static_cast<std::uint8_t>(first >> 24);
          command.cdb[3] = static_cast<std::uint8_t>(first >> 16);
          command.cdb[4] = static_cast<std::uint8_t>(first >> 8);
          command.cdb[5] = static_cast<std::uint8_t>(first);
          command.cdb[8] = static_cast<std::uint8_t>(count);
          command.data_length = count * rsf::aspi::kSectorSize;
          break;
        case rsf::aspi::kScsiReadCapacity: command.data_length = 8; break;
        case rsf::aspi::kScsiInquiry: command.data_length = in.ConsumeIntegralInRange<std::uint32_t>(0, 255); break;
        default: command.data_length = in.ConsumeIntegralInRange<std::uint32_t>(0, 64); break;
      }

      const auto result = rsf::aspi::ExecuteScsiCommand(command);
      const bool completes = answer == rsf::fuzz::Answer::kAtOnce || answer == rsf::fuzz::Answer::kPendingSignalled ||
                             answer == rsf::fuzz::Answer::kSignalledWhileWaiting;
      if (!completes) {
        RSF_FUZZ_CHECK(!result);
        continue;
      }
      bool device_ok = command.cdb[0] != rsf::aspi::kScsiTestUnitReady;
      for (std::uint32_t s = first; s < first + count; ++s) device_ok = device_ok && library.bad_blocks.count(s) == 0;
      const bool well = device_ok && library.status_byte == rsf::aspi::kStatusCompleted;
      RSF_FUZZ_CHECK(result.has_value() == (well || !command.check_status));
      if (!result) continue;
      RSF_FUZZ_CHECK(result->size() == command.data_length);
      if (well && command.cdb[0] == rsf::aspi::kScsiRead10) RSF_FUZZ_CHECK(HoldsDiscBytes(*result, first));
    }
  }
  // Everything the library held was answered at the end and has been released.
  RSF_FUZZ_CHECK(rsf::aspi::PendingRequestCount() <= pending_before);
  return 0;
}
