#pragma once
// The channel table behind the program's file channels (channel_commands.h).
#include <array>
#include <cstdint>

#include "runtime/files/channel_commands.h"
#include "runtime/files/file_record.h"

namespace tvk {

using ChannelTable = std::array<FileRecord, kChannelCount>;
ChannelTable& channel_table();

// Closes every channel (at shutdown).
void close_all_channels();

}  // namespace tvk
