// The ASPI request operations: the blocks and CDBs they send, how they decode the answers,
// the completion rules with their wait limits, a system without the library, and requests
// that the library completes only after their limit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "cd/BasicASPI.h"
#include "fake_aspi.h"

namespace rsf {
namespace {

using test::FakeAnswer;
using test::FakeAspiLibrary;

TEST(AspiRequestBlockTest, ReadOfSixteenSectorsAtBlockThousand) {
  FakeAspiLibrary library;
  library.AddDrive(2, 4);
  std::vector<std::uint8_t> buffer(16 * 2048);
  ASSERT_FALSE(AspiReadSectors(2, 4, 0, 1000, buffer.data(), 16));

  ASSERT_EQ(library.sent.size(), 1u);
  const aspi::ExecScsiBlock& block = library.sent[0];
  EXPECT_EQ(block.command, 2);
  EXPECT_EQ(block.host_adapter, 2);
  EXPECT_EQ(block.flags, 0x48);
  EXPECT_EQ(block.target, 4);
  EXPECT_EQ(block.lun, 0);
  EXPECT_EQ(block.data_length, 32768u);
  EXPECT_EQ(block.sense_length, 14);
  EXPECT_EQ(block.cdb_length, 10);
  EXPECT_NE(block.data_buffer, 0u);
  const std::vector<std::uint8_t> cdb(block.cdb, block.cdb + 16);
  EXPECT_EQ(cdb, (std::vector<std::uint8_t>{0x28, 0, 0, 0, 0x03, 0xE8, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(block.header_reserved, 0u);
  for (std::uint8_t reserved : block.reserved_b) EXPECT_EQ(reserved, 0);
  for (std::size_t i = 0; i < buffer.size(); ++i)
    ASSERT_EQ(buffer[i], test::DiscByte(1000 * 2048 + static_cast<std::int64_t>(i))) << i;
  EXPECT_EQ(library.waits, (std::vector<std::uint32_t>{25000}));
}

TEST(AspiRequestBlockTest, LunTravelsInTheCdbAndTheBlock) {
  FakeAspiLibrary library;
  std::uint8_t sector[2048];
  AspiReadSectors(0, 1, 3, 0, sector, 1);
  AspiLastBlock(0, 1, 5);
  AspiInquiryText(0, 1, 7);
  ASSERT_EQ(library.sent.size(), 3u);
  EXPECT_EQ(library.sent[0].lun, 3);
  EXPECT_EQ(library.sent[0].cdb[1], 3 << 5);
  EXPECT_EQ(library.sent[1].cdb[1], 5 << 5);
  EXPECT_EQ(library.sent[2].cdb[1], 7 << 5);
}

TEST(AspiRequestBlockTest, ReadCapacityGivesLastBlockAndBlockLength) {
  FakeAspiLibrary library;
  library.AddDrive(0, 1);  // answers 00 05 14 7F 00 00 08 00
  EXPECT_EQ(AspiLastBlock(0, 1, 0), 332927u);
  EXPECT_EQ(AspiBlockLength(0, 1, 0), 2048u);
  ASSERT_EQ(library.sent.size(), 2u);
  for (const auto& block : library.sent) {
    EXPECT_EQ(block.cdb[0], 0x25);
    EXPECT_EQ(block.cdb_length, 10);
    EXPECT_EQ(block.data_length, 8u);
    for (int i = 2; i < 16; ++i) EXPECT_EQ(block.cdb[i], 0);
  }
  EXPECT_EQ(library.waits, (std::vector<std::uint32_t>{3000, 1000}));

  library.drives[{0, 1}].has_disc = false;
  EXPECT_EQ(AspiLastBlock(0, 1, 0), 0u) << "an error status gives 0";
  EXPECT_EQ(AspiBlockLength(0, 1, 0), 0u);
}

TEST(AspiRequestBlockTest, DeviceTypeAnswers) {
  FakeAspiLibrary library;
  library.support_info = aspi::SupportInfo(1, 2);
  library.AddDrive(1, 6);
  library.AddDrive(0, 2).device_type = aspi::kDeviceTypeDisk;
  EXPECT_EQ(AspiDeviceType(1, 6, 0), 5);
  EXPECT_EQ(AspiDeviceType(0, 2, 0), 0);
  EXPECT_EQ(AspiDeviceType(2, 0, 0), 255) << "no such host adapter";
  EXPECT_EQ(AspiDeviceType(1, 5, 0), 250) << "no such device";
  library.device_type_code = aspi::kStatusInvalidCommand;
  EXPECT_EQ(AspiDeviceType(1, 6, 0), 240);
  library.device_type_code = aspi::kStatusError;
  EXPECT_EQ(AspiDeviceType(1, 6, 0), 240);

  const aspi::DeviceTypeBlock& query = library.device_queries.front();
  EXPECT_EQ(query.command, 1);
  EXPECT_EQ(query.host_adapter, 1);
  EXPECT_EQ(query.target, 6);
  EXPECT_EQ(query.flags, 0);
  EXPECT_TRUE(library.sent.empty()) << "device types need no execute request";
  EXPECT_TRUE(library.waits.empty()) << "and no wait";
}

TEST(AspiRequestBlockTest, InquiryTextIsBytesEightToThirtyFiveWithZeroBytesKept) {
  FakeAspiLibrary library;
  test::FakeDrive& drive = library.AddDrive(0, 0);
  drive.inquiry = std::string("\x05\x80\x02\x02\x1f\0\0\0", 8) + "ACME    " + std::string("CD\0ROM 52X      ", 16) + "1.02";
  const std::string text = AspiInquiryText(0, 0, 0);
  EXPECT_EQ(text, "ACME    " + std::string("CD\0ROM 52X      ", 16) + "1.02");
  EXPECT_EQ(text.size(), 28u);
  EXPECT_EQ(text[10], '\0');
  const auto& block = library.sent.back();
  EXPECT_EQ(block.cdb_length, 6);
  EXPECT_EQ(block.data_length, 36u);
  EXPECT_EQ((std::vector<std::uint8_t>(block.cdb, block.cdb + 6)), (std::vector<std::uint8_t>{0x12, 0, 0, 0, 36, 0}));
  EXPECT_EQ(library.waits.back(), 10000u);

  // The status is not examined for INQUIRY; what the library wrote is taken.
  library.completed_status = aspi::kStatusError;
  EXPECT_EQ(AspiInquiryText(0, 0, 0), text);
  library.answer = FakeAnswer::kRefused;
  EXPECT_EQ(AspiInquiryText(0, 0, 0), "");
  library.answer = FakeAnswer::kPendingSilent;
  EXPECT_EQ(AspiInquiryText(0, 0, 0), "") << "limit passed";
  library.CompleteHeldRequests();
}

TEST(AspiRequestBlockTest, BytesToTextKeepsLengthAndTurnsZerosIntoDotsOnlyWhenAsked) {
  const std::uint8_t bytes[] = {'A', 0, 'B', 0};
  EXPECT_EQ(BytesToText(bytes, false), std::string("A\0B\0", 4));
  EXPECT_EQ(BytesToText(bytes, true), "A.B.");
  EXPECT_EQ(BytesToText({}, true), "");
}

TEST(AspiCompletionTest, ReturnCodesAndRequestStatus) {
  FakeAspiLibrary library;
  library.AddDrive(0, 0);
  std::uint8_t sector[2048];

  library.answer = FakeAnswer::kAtOnce;
  EXPECT_FALSE(AspiReadSectors(0, 0, 0, 5, sector, 1));
  EXPECT_TRUE(library.waits.empty()) << "a completed request is not waited for";
  EXPECT_EQ(sector[0], test::DiscByte(5 * 2048));

  library.answer = FakeAnswer::kRefused;
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 5, sector, 1));
  EXPECT_TRUE(library.waits.empty());

  library.answer = FakeAnswer::kPendingSignalled;
  library.completed_status = aspi::kStatusAborted;
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 5, sector, 1)) << "request status other than 1";
  library.answer = FakeAnswer::kAtOnce;
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 5, sector, 1));

  library.completed_status = aspi::kStatusCompleted;
  library.drives[{0, 0}].bad_blocks = {7};
  library.answer = FakeAnswer::kPendingSignalled;
  EXPECT_FALSE(AspiReadSectors(0, 0, 0, 6, sector, 1));
  std::uint8_t two[4096];
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 6, two, 2));
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);
}

TEST(AspiCompletionTest, WithoutTheLibraryNothingIsAvailableAndRequestsRunOutTheirLimit) {
  setenv("RSFX_ASPI_LIBRARY", "/nonexistent/libwnaspi32.so", 1);
  std::vector<std::uint32_t> waits;
  aspi::SetEventWait([&](platform::EventHandle, std::uint32_t limit_ms) {
    waits.push_back(limit_ms);
    return false;
  });
  EXPECT_EQ(GetASPI32SupportInfo(), 0u);
  aspi::DeviceTypeBlock block{};
  EXPECT_EQ(SendASPI32Command(&block), 0u);
  EXPECT_EQ(AspiDeviceType(0, 0, 0), 240);
  std::uint8_t sector[2048];
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 16, sector, 1));
  EXPECT_EQ(AspiBlockLength(0, 0, 0), 0u);
  EXPECT_EQ(AspiLastBlock(0, 0, 0), 0u);
  EXPECT_EQ(AspiInquiryText(0, 0, 0), "");
  EXPECT_EQ(waits, (std::vector<std::uint32_t>{25000, 1000, 3000, 10000}));
  EXPECT_EQ(aspi::PendingRequestCount(), 0u) << "a block no library took cannot complete later";
  aspi::SetEventWait({});
  unsetenv("RSFX_ASPI_LIBRARY");
}

TEST(AspiCompletionTest, MissingEntryPointsCountAsNoLibrary) {
  FakeAspiLibrary library;
  aspi::OverrideLibrary({});
  EXPECT_EQ(GetASPI32SupportInfo(), 0u);
  std::uint8_t sector[2048];
  EXPECT_TRUE(AspiReadSectors(0, 0, 0, 16, sector, 1));
  EXPECT_EQ(library.waits.size(), 1u);
  EXPECT_TRUE(library.sent.empty());
}

TEST(AspiCompletionTest, RequestCompletedAfterItsLimitStaysAliveUntilThen) {
  FakeAspiLibrary library;
  library.AddDrive(0, 1);
  library.answer = FakeAnswer::kPendingSilent;
  std::vector<std::uint8_t> buffer(4 * 2048, 0xEE);
  EXPECT_TRUE(AspiReadSectors(0, 1, 0, 100, buffer.data(), 4));
  EXPECT_EQ(AspiBlockLength(0, 1, 0), 0u);
  ASSERT_EQ(library.held.size(), 2u);
  EXPECT_EQ(aspi::PendingRequestCount(), 2u);
  aspi::ReleaseCompletedRequests();
  EXPECT_EQ(aspi::PendingRequestCount(), 2u) << "not signalled yet";

  // The drive answers late, from a thread of its own, into the blocks and buffers of requests
  // the caller has given up on (a freed block would show under AddressSanitizer here).
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    library.CompleteHeldRequests();
  });
  late.join();
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(4 * 2048, 0xEE)) << "the caller's buffer is not written late";
  aspi::ReleaseCompletedRequests();
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);

  // A later request releases leftovers by itself.
  library.answer = FakeAnswer::kPendingSilent;
  EXPECT_TRUE(AspiReadSectors(0, 1, 0, 100, buffer.data(), 1));
  library.CompleteHeldRequests();
  library.answer = FakeAnswer::kPendingSignalled;
  EXPECT_FALSE(AspiReadSectors(0, 1, 0, 100, buffer.data(), 1));
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);
}

}  // namespace
}  // namespace rsf
