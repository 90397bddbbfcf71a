#pragma once
// The program's INI-style settings store: the sections, keys and values of one
// settings file, written back when another file is opened and at exit.
#include "runtime/value/rt_string.h"

namespace tvk {

// Switches the store to a settings file (read through the media lookup); a changed
// store writes its previous file back first. An empty name leaves the store empty.
void ini_open(const RtString& file);
// The value of key in section (both ignoring case), or the default.
RtString ini_get(const RtString& section, const RtString& key, const RtString& fallback);
// Sets the value, creating the section or key when missing.
void ini_put(const RtString& section, const RtString& key, const RtString& value);

}  // namespace tvk
