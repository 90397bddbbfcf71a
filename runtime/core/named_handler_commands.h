#pragma once
// The program's handlers that the runtime calls by name ("TVK_ON_PAUSE",
// "TVK_ON_RESUME", "TVK_ON_QUIT", "TVK_WIN32_MSG"), and calling them by name.
namespace tvk {

struct NamedHandler {
    void (*handler)();   // null ends the table
    const char* name;
};

// Installs the program's table (ended by an entry with a null handler); null
// means the program has no named handlers. The table must live as long as the process.
void set_named_handler_table(const NamedHandler* table);

// Calls the handler of that name; 1 if one was found and called, 0 otherwise.
int call_by_name(const char* name);

}  // namespace tvk
