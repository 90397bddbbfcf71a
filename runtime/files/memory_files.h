#pragma once
// Read-only files held in memory, named "mem://%8x.%8x" (size, address).
//
// Only blocks the runtime itself handed out can be opened by name: a name is
// looked up in the registry of live blocks instead of being trusted as an
// address. A block lives as long as anyone (the archive state, a channel, a
// loader) holds a reference to it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tvk {

struct MemoryBlock {
    std::vector<uint8_t> bytes;
};

using MemoryBlockRef = std::shared_ptr<const MemoryBlock>;

// True when the first six characters are "mem://".
bool is_memory_file_name(const char* name);

// Registers the block and returns its name; the name stays valid while the block lives.
std::string memory_file_name(const MemoryBlockRef& block);

// Wraps bytes into a registered block.
MemoryBlockRef make_memory_block(std::vector<uint8_t> bytes);

// The live block a name refers to, or null when the name is malformed, was never
// handed out, has expired, or states another size.
MemoryBlockRef find_memory_file(const char* name);

}  // namespace tvk
