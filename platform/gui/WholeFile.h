#pragma once
// Reading and writing whole files. Writes go to a temporary file in the same
// folder that is flushed and renamed over the target, so a file is written
// whole or not at all (win::ReplacementFile).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// False when the file cannot be opened or read.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes);
// Reads at most limit bytes from the start of a regular file; anything else
// (a pipe, a device) is read whole, since it cannot be read from the start
// again. whole tells whether bytes hold the entire file (false when exactly
// limit bytes were read). False when the file
// cannot be opened or read.
bool ReadFileHead(const std::string& fileName, std::size_t limit, std::vector<std::uint8_t>& bytes, bool& whole);
// Raises EFCreateError "Cannot create file \"name\"" on any failure.
void WriteWholeFile(const std::string& fileName, const void* data, std::size_t size);

}  // namespace gui
