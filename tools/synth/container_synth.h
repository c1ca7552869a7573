// Structurally valid MPEG-1 program streams, Interplay MVE and RealMedia files. Their payloads
// are filler, but every header, chunk and length field is laid out as players expect.
#pragma once

#include "synth/byte_writer.h"

namespace rsf::synth {

// Packs with a system header after the first pack header, video PES packets carrying a
// sequence header, a GOP and pictures, and a program end code.
ByteVector MpegProgramStream(int packets, unsigned seed);

// The 26-byte signature, chunks of opcodes, and the closing end-of-stream chunk.
ByteVector InterplayMve(int chunks, unsigned seed);

// .RMF, PROP, MDPR, CONT and DATA chunks, then an INDX chunk with its records.
ByteVector RealMediaFile(int packets, unsigned seed);

}  // namespace rsf::synth
