#include "runtime/files/memory_files.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace tvk {

namespace {

// Live blocks by the address printed in their names.
using BlockRegistry = std::map<uintptr_t, std::weak_ptr<const MemoryBlock>>;

BlockRegistry& block_registry() {
    static BlockRegistry registry;
    return registry;
}

void prune_expired(BlockRegistry& registry) {
    for (auto it = registry.begin(); it != registry.end();) {
        it = it->second.expired() ? registry.erase(it) : std::next(it);
    }
}

// Parses hexadecimal digits after optional leading spaces; false when none.
bool parse_hex_field(const char* text, const char** end, uint64_t& value) {
    while (*text == ' ') ++text;
    if (!std::isxdigit(static_cast<unsigned char>(*text))) return false;
    char* stop = nullptr;
    value = std::strtoull(text, &stop, 16);
    *end = stop;
    return true;
}

}  // namespace

bool is_memory_file_name(const char* name) { return name && std::strncmp(name, "mem://", 6) == 0; }

std::string memory_file_name(const MemoryBlockRef& block) {
    BlockRegistry& registry = block_registry();
    prune_expired(registry);
    const auto address = reinterpret_cast<uintptr_t>(block.get());
    registry[address] = block;
    char name[64];
    std::snprintf(name, sizeof name, "mem://%8zx.%8jx", block->bytes.size(),
                  static_cast<uintmax_t>(address));
    return name;
}

MemoryBlockRef make_memory_block(std::vector<uint8_t> bytes) {
    auto block = std::make_shared<MemoryBlock>();
    block->bytes = std::move(bytes);
    return block;
}

MemoryBlockRef find_memory_file(const char* name) {
    if (!is_memory_file_name(name) || std::strlen(name) < 16) return nullptr;
    uint64_t size = 0;
    uint64_t address = 0;
    const char* end = nullptr;
    if (!parse_hex_field(name + 6, &end, size) || end != name + 14 || *end != '.') return nullptr;
    if (!parse_hex_field(name + 15, &end, address) || *end != 0) return nullptr;
    BlockRegistry& registry = block_registry();
    const auto it = registry.find(static_cast<uintptr_t>(address));
    if (it == registry.end()) return nullptr;
    MemoryBlockRef block = it->second.lock();
    if (!block) {
        registry.erase(it);
        return nullptr;
    }
    if (block->bytes.size() != size) return nullptr;
    return block;
}

}  // namespace tvk
