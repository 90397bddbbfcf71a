#include "runtime/value/data_table.h"

#include "runtime/value/error_state.h"
#include "runtime/value/number_text.h"

namespace tvk {

namespace {
DataTable*& current_table() {
    static DataTable* table = nullptr;
    return table;
}

// The item at the cursor, advancing past it; null after entering the stop.
const DataItem* next_item() {
    DataTable* table = current_table();
    if (!table || !table->items || table->cursor < 0 || table->cursor >= table->count) {
        set_error(kErrOutOfData);
        runtime_stop();
        return nullptr;
    }
    return &table->items[table->cursor++];
}
}  // namespace

DataTable* current_data_table() { return current_table(); }

void data_restore(DataTable& table) {
    current_table() = &table;
    table.cursor = 0;
}

void data_read_string(RtString& variable) {
    const DataItem* item = next_item();
    if (!item) return;
    variable = item->text ? RtString(item->text) : float_to_text(item->number);
}

void data_read_float(double& variable) {
    const DataItem* item = next_item();
    if (!item) return;
    variable = item->text ? text_to_float(item->text) : item->number;
}

void data_read_int(int32_t& variable) {
    const DataItem* item = next_item();
    if (!item) return;
    variable = item->text ? text_to_int(item->text) : float_to_int(item->number);
}

}  // namespace tvk
