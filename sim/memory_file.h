// The simulator's memory on disk: loaded from a radio data file, a template or a
// raw dump, and dumped whole (4096 bytes) for tests and inspection.
#pragma once

#include <string>
#include <vector>

#include "sim/radio_simulator.h"

namespace baldo7::sim {

// A .rdat (header checked) or a 1041-byte template fills radio addresses
// 0x000..0x3FF from its image; any other file of at most 4096 bytes is a raw dump
// loaded from address 0. Memory past what the file holds is left alone. A named
// .rdat with a wrong header, or a file larger than the memory, is refused with
// `error` set and the memory untouched.
bool loadMemoryBytes(const std::vector<std::uint8_t>& file, bool namedDataFile, Memory& memory,
                     std::string* error);
bool loadMemoryFile(const std::string& path, Memory& memory, std::string* error);

// Writes all 4096 bytes through a temporary file and a rename, so a reader never
// sees a half-written dump.
bool writeMemoryDump(const std::string& path, const Memory& memory, std::string* error);

}  // namespace baldo7::sim
