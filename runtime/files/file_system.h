#pragma once
// Small file-system operations, the environment and directory listings. Paths may
// use either separator; paths returned use '/'.
#include <cstdint>

#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// Removes a directory of that name (also when nothing exists there), else deletes the
// file; non-zero on success.
int32_t delete_file(const RtString& path);
int32_t create_directory(const RtString& path);
int32_t file_exists(const RtString& path);
int32_t directory_exists(const RtString& path);
// The current directory with a trailing '/'.
RtString current_directory();
int32_t set_current_directory(const RtString& path);

// The variable's value, or empty; an empty name gives every "name=value" entry, each
// followed by a line feed.
RtString get_env(const RtString& name);
// Sets the variable; an empty value removes it.
void set_env(const RtString& name, const RtString& value);

// Fills list with the current directory's subdirectories (all of them) and then its
// files matching pattern, each group sorted by name ignoring case. Returns the number
// of files + 65536 * the number of directories.
int32_t list_directory(const RtString& pattern, StringArray& list);

// "*.*" matches everything; '*' any run, '?' any one character but '.', other
// characters themselves ignoring ASCII case.
int32_t wildcard_match(const RtString& pattern, const RtString& name);
bool wildcard_match(const char* pattern, const char* name);

}  // namespace tvk
