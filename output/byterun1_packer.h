// ByteRun1 packing of one plane row, the compression an ILBM BODY takes.
//
// A control byte n of 0..127 is followed by n + 1 literal bytes; n of
// 129..255 (-127..-1) repeats the next byte 257 - n times; 128 is never
// written. Each row is packed on its own, so no run crosses a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace planora {

// The most bytes a packed row of `size` bytes takes: the plain row and one
// control byte for every 128 bytes of it.
constexpr size_t MaxByteRun1Size(size_t size) { return size + (size + 127) / 128; }

// Appends the packed form of row to out. Runs of three or more equal bytes
// repeat; everything else is literal. Never more than MaxByteRun1Size.
void PackByteRun1(std::span<const uint8_t> row, std::vector<uint8_t>& out);

}  // namespace planora
