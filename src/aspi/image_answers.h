// How the image provider answers SCSI commands for a disc-image device: INQUIRY, READ
// CAPACITY (last block = blocks − 1, 2048-byte blocks), READ(10) and TEST UNIT READY, with the
// configured unreadable and slow sectors.
#pragma once

#include <cstdint>

#include "aspi/image_config.h"
#include "aspi_abi/aspi_abi.h"

namespace rsf::aspi {

inline constexpr const char kImageVendor[] = "RSF     ";
inline constexpr const char kImageProduct[] = "IMAGE CD-ROM    ";
inline constexpr const char kImageRevision[] = "1.0 ";

// Carries out the command in `block` on `device`: fills its data buffer, or its sense data
// and target status on an error. Returns the request status (completed or error); does not
// write it.
std::uint8_t AnswerImageCommand(const ImageDevice& device, ExecScsiBlock& block);

// How much later than the others the command is answered (slow sectors), in ms.
std::uint32_t ImageCommandLateness(const ImageDevice& device, const ExecScsiBlock& block);

}  // namespace rsf::aspi
