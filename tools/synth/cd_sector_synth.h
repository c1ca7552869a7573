// Raw CD sectors of 2352 bytes around user data, as a disc image stores them: sync, header with
// the sector's address, Mode 1 or Mode 2 (Form 1 or Form 2, with subheader) and the EDC; the ECC
// bytes are left zero (readers that take the user data check the EDC only). Also the cue sheet
// text of an image made of one data track and audio tracks behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A Mode 1 sector at logical block `lba` around 2048 user bytes (fewer are padded with zeros).
ByteVector Mode1Sector(std::int64_t lba, const std::uint8_t* user, std::size_t size);
// A Mode 2 Form 1 sector (2048 user bytes) or Form 2 sector (2324 user bytes).
ByteVector Mode2Sector(std::int64_t lba, bool form2, const std::uint8_t* user, std::size_t size);

// Every 2048 bytes of `data` (the last piece padded) as consecutive raw sectors from block 0.
ByteVector RawDataTrack(const ByteVector& data, bool mode2 = false);

// FILE `bin` BINARY, track 1 of `data_mode` ("MODE1/2352") at 00:00:00, then one AUDIO track
// for each start (in sectors of the file) given.
std::string MixedModeCueSheet(const std::string& bin, const std::string& data_mode,
                              const std::vector<std::int64_t>& audio_starts);

}  // namespace rsf::synth
