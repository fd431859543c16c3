#pragma once

// Reading a file whole, once, from one open file: the one read behind the
// store's files and the rules documents that LOAD takes.
#include <cstdint>
#include <string>

namespace rulestore {

enum class WholeFileRead { Read, Missing, NotRegular, TooLarge, Failed };

// Reads the regular file at path into bytes. Size and contents come from one
// open file, so a rename over the path while it is read cannot mix two files,
// and a file that grows while it is read is refused. Opening never waits: a
// FIFO, a device or a folder is NotRegular, not waited on or read.
WholeFileRead ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes);

}  // namespace rulestore
