// A stand-in ASPI library for the fuzz targets: drives whose disc byte n is DiscByte(n), with
// chosen bad blocks and capacity, answering each request the way the input picks: at once,
// "pending" and signalled, "pending" and answered during the wait, "pending" and answered only
// after the caller gave up (late, when the next request arrives), "pending" and never answered
// while the input runs, or refused. Waits go through a clock that never sleeps. At the end every
// request still held is answered, as a drive would some time, so requests given up on are
// released and nothing piles up between inputs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "aspi_abi/aspi_abi.h"
#include "cd/aspi_request.h"
#include "aspi_abi/scsidefs.h"
#include "cd/wnaspi32.h"
#include "fuzz_support.h"
#include "platform/completion_event.h"

namespace rsf::fuzz {

// Byte n of the disc (any n: offsets near the ends of the 64-bit range wrap, as they may in a
// check of a read the stream should never have made).
RSF_FUZZ_UNTRACED inline std::uint8_t DiscByte(std::int64_t offset) {
  const auto n = static_cast<std::uint64_t>(offset);
  return static_cast<std::uint8_t>((n + (n >> 11) * 37) & 0xFF);
}

enum class Answer : std::uint8_t { kAtOnce, kPendingSignalled, kLate, kNever, kRefused, kSignalledWhileWaiting };
inline constexpr int kAnswerCount = 6;

class FakeAspiLibrary {
 public:
  // `answers` are used one per request, round and round; empty means kPendingSignalled.
  explicit FakeAspiLibrary(std::vector<Answer> answers) : answers_(std::move(answers)) {
    aspi::OverrideLibrary({[] { return aspi::SupportInfo(aspi::kStatusCompleted, 1); },
                           [this](void* block) { return Send(block); }});
    aspi::SetEventWait([this](platform::EventHandle event, std::uint32_t) {
      // A drive that answers during the wait is seen at once; anything else ran out its limit.
      if (!waiting_.empty() && waiting_.back()->completion_event == event) {
        Finish(*waiting_.back(), true);
        waiting_.pop_back();
      }
      return platform::CompletionEventSignalled(event);
    });
  }
  ~FakeAspiLibrary() {
    AnswerLate();
    for (aspi::ExecScsiBlock* block : never_) Finish(*block, true);
    never_.clear();
    aspi::ReleaseCompletedRequests();
    aspi::RestoreLibrary();
    aspi::SetEventWait({});
  }
  FakeAspiLibrary(const FakeAspiLibrary&) = delete;
  FakeAspiLibrary& operator=(const FakeAspiLibrary&) = delete;

  std::array<std::uint8_t, 8> capacity = {0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x08, 0x00};
  std::set<std::uint32_t> bad_blocks;
  std::uint8_t status_byte = aspi::kStatusCompleted;  // request status of finished requests
  std::uint32_t refusal_code = aspi::kStatusInvalidCommand;
  std::size_t held() const { return never_.size(); }

 private:
  // Requests answered late are answered when the next one arrives, after the caller gave up on
  // them: into blocks and buffers the caller must still keep.
  void AnswerLate() {
    for (aspi::ExecScsiBlock* block : late_) Finish(*block, true);
    late_.clear();
  }

  std::uint32_t Send(void* request) {
    AnswerLate();
    const auto* header = static_cast<const aspi::BlockHeader*>(request);
    if (header->command != 2) return aspi::kStatusInvalidCommand;
    auto& block = *static_cast<aspi::ExecScsiBlock*>(request);
    const Answer answer = answers_.empty() ? Answer::kPendingSignalled : answers_[next_++ % answers_.size()];
    switch (answer) {
      case Answer::kAtOnce: Finish(block, false); return aspi::kStatusCompleted;
      case Answer::kPendingSignalled: Finish(block, true); return aspi::kStatusPending;
      case Answer::kLate: late_.push_back(&block); return aspi::kStatusPending;
      case Answer::kNever: never_.push_back(&block); return aspi::kStatusPending;
      case Answer::kRefused: return refusal_code <= aspi::kStatusCompleted ? aspi::kStatusInvalidCommand : refusal_code;
      case Answer::kSignalledWhileWaiting: waiting_.push_back(&block); return aspi::kStatusPending;
    }
    return aspi::kStatusInvalidCommand;
  }

  void Finish(aspi::ExecScsiBlock& block, bool signal) {
    block.status = Fill(block) ? status_byte : aspi::kStatusError;
    if (signal) platform::SignalCompletionEvent(block.completion_event);
  }

  RSF_FUZZ_UNTRACED bool Fill(aspi::ExecScsiBlock& block) {
    auto* data = reinterpret_cast<std::uint8_t*>(block.data_buffer);
    switch (block.cdb[0]) {
      case aspi::kScsiReadCapacity:
        std::memcpy(data, capacity.data(), std::min<std::size_t>(block.data_length, 8));
        return true;
      case aspi::kScsiInquiry:
        for (std::uint32_t i = 0; i < block.data_length; ++i) data[i] = static_cast<std::uint8_t>('A' + i % 26);
        return true;
      case aspi::kScsiRead10: {
        const std::uint32_t first = static_cast<std::uint32_t>(block.cdb[2]) << 24 | block.cdb[3] << 16 | block.cdb[4] << 8 | block.cdb[5];
        const std::uint32_t count = static_cast<std::uint32_t>(block.cdb[7]) << 8 | block.cdb[8];
        RSF_FUZZ_CHECK(block.data_length == count * aspi::kSectorSize);
        for (std::uint32_t sector = 0; sector < count; ++sector)
          if (bad_blocks.count(first + sector) > 0) return false;
        const std::int64_t start = static_cast<std::int64_t>(first) * aspi::kSectorSize;
        for (std::uint32_t i = 0; i < block.data_length; ++i) data[i] = DiscByte(start + i);
        return true;
      }
      default:
        return false;
    }
  }

  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  std::vector<aspi::ExecScsiBlock*> late_, never_, waiting_;
};

}  // namespace rsf::fuzz
