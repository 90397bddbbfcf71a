#pragma once
// Constant data items of a program and the reads that walk through them.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

struct DataItem {
    double number;     // the value of a number item
    const char* text;  // zero-terminated text of a text item; null for a number item
};
static_assert(sizeof(DataItem) == 16);

struct DataTable {
    const DataItem* items;
    int32_t count;
    int32_t cursor;  // index of the next item to read
};

// The table that reads take items from; null until data_restore selects one.
DataTable* current_data_table();

// Makes the table current and rewinds it to its first item.
void data_restore(DataTable& table);

// Each read takes the item at the cursor and advances. With no current table, or
// with the cursor outside the table, the read sets code 20 ("out of data") and
// enters the error stop; the variable is left unchanged.
void data_read_string(RtString& variable);  // a number item reads as float_to_text
void data_read_float(double& variable);     // a text item reads as text_to_float
void data_read_int(int32_t& variable);      // text_to_int, or the number truncated

}  // namespace tvk
