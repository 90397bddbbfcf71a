// The child runs of run_in_child on Windows. The parent starts its own program
// again with --gtest_filter naming the current test and, in the environment, which
// call of run_in_child within that test the child is to carry out. The child runs
// the test from its start; the earlier calls return at once, and the one named runs
// its body with standard output and error going to the parent's files, then ends.
// Whatever the test does around the calls, the child never gets past that body.
#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "runtime/platform/win32_text.h"
#include "support/run_in_child.h"

namespace tvk::testing_support {

struct StartedChild {
    PROCESS_INFORMATION process{};
    bool traced = false;
    TempDir streams;
    std::string debugger;
};

namespace {

constexpr const char* kTestVariable = "TVK_CHILD_TEST";
constexpr const char* kCallVariable = "TVK_CHILD_CALL";
constexpr const char* kOutVariable = "TVK_CHILD_OUT";
constexpr const char* kErrVariable = "TVK_CHILD_ERR";
constexpr const char* kGoneVariable = "TVK_CHILD_OUTPUT_GONE";
constexpr const char* kRoutineVariable = "TVK_CHILD_ROUTINE";
constexpr const char* kArgumentVariable = "TVK_CHILD_ARGUMENT";
// Sent to the debugger as the body starts: what the test said to the debugger
// before (gtest reports failures of the earlier calls' empty results there) is not
// the body's.
constexpr const char* kBodyMark = "\x01tvk child body\n";

std::string current_test() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string();
}

// The number of this call of run_in_child (or start_in_child) within the current test.
int next_call(const std::string& test) {
    static std::map<std::string, int> calls;
    return calls[test]++;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Standard output becomes a pipe whose reading end is already closed.
void lose_standard_output() {
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, nullptr, 0)) return;
    CloseHandle(read_end);
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(write_end), _O_WRONLY | _O_BINARY);
    if (fd >= 0) _dup2(fd, _fileno(stdout));
}

[[noreturn]] void run_body_here(const std::function<void()>& body) {
    // Binary: the bytes the body writes, without the C library's CR before each LF.
    std::freopen(variable(kOutVariable).c_str(), "wb", stdout);
    std::freopen(variable(kErrVariable).c_str(), "wb", stderr);
    if (!variable(kGoneVariable).empty()) lose_standard_output();
    if (IsDebuggerPresent()) OutputDebugStringA(kBodyMark);
    body();
    std::fflush(nullptr);
    _exit(kBodyReturned);
}

// Sets a variable for the child and puts the old value back afterwards.
class ChildVariable {
public:
    ChildVariable(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value.empty()) {
            unsetenv(name);
        } else {
            setenv(name, value.c_str(), 1);
        }
    }
    ~ChildVariable() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

StartedChild* start(const std::string& test, int call, const ChildOptions& options,
                    const std::string& routine = "", const std::string& argument = "") {
    auto* child = new StartedChild;
    child->traced = options.traced;
    const ChildVariable test_name(kTestVariable, test);
    const ChildVariable call_number(kCallVariable, std::to_string(call));
    const ChildVariable routine_name(kRoutineVariable, routine);
    const ChildVariable routine_argument(kArgumentVariable, argument);
    const ChildVariable out(kOutVariable, child->streams.file("out"));
    const ChildVariable err(kErrVariable, child->streams.file("err"));
    const ChildVariable gone(kGoneVariable, options.output_gone ? "1" : "");
    // The child's own temporary folders go inside the parent's, which removes them.
    const ChildVariable temp_root("TVK_CHILD_TEMP_ROOT", child->streams.path().string());
    // GetTempPathW reads TMP first.
    const ChildVariable temp("TMP", options.tmpdir.empty() ? variable("TMP") : options.tmpdir);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + platform::wide_from_utf8(test);
    STARTUPINFOW start_info{};
    start_info.cb = sizeof start_info;
    const DWORD flags = options.traced ? DEBUG_ONLY_THIS_PROCESS : 0;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags | CREATE_NO_WINDOW, nullptr, nullptr,
                        &start_info, &child->process)) {
        child->process = {};
    }
    return child;
}

// Serves the child as its debugger until it ends: what it sends to the debugger
// is kept, everything else lets it go on.
void debug_until_exit(StartedChild& child) {
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) return;
        DWORD go_on = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT:
                // The loader's first breakpoint is the debugger's; every other
                // exception is the program's own to handle.
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    go_on = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            case OUTPUT_DEBUG_STRING_EVENT: {
                const OUTPUT_DEBUG_STRING_INFO& text = event.u.DebugString;
                std::string bytes(text.nDebugStringLength, '\0');
                SIZE_T got = 0;
                ReadProcessMemory(child.process.hProcess, text.lpDebugStringData, bytes.data(), bytes.size(), &got);
                bytes.resize(got);
                if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
                child.debugger += bytes;
                break;
            }
            default:
                break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, go_on);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return;
    }
}

}  // namespace

StartedChild* start_in_child(const std::function<void()>& body, const ChildOptions& options) {
    const std::string test = current_test();
    const int call = next_call(test);
    if (!variable(kTestVariable).empty()) {
        // In a child: only the one call it was started for runs, and never returns.
        if (variable(kTestVariable) == test && variable(kCallVariable) == std::to_string(call)) run_body_here(body);
        return nullptr;
    }
    std::fflush(nullptr);
    return start(test, call, options);
}

ChildResult finish_child(StartedChild* child) {
    ChildResult result;
    if (!child) return result;
    if (child->process.hProcess) {
        if (child->traced) debug_until_exit(*child);
        WaitForSingleObject(child->process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(child->process.hProcess, &code);
        // Status codes from 0xC0000000 up are crashes (an access violation, say).
        result.exited = code < 0xC0000000u;
        result.status = result.exited ? static_cast<int>(code) : -1;
        CloseHandle(child->process.hThread);
        CloseHandle(child->process.hProcess);
    }
    result.out = slurp(child->streams.file("out"));
    result.err = slurp(child->streams.file("err"));
    const size_t mark = child->debugger.find(kBodyMark);
    if (mark != std::string::npos) result.debugger = child->debugger.substr(mark + std::strlen(kBodyMark));
    delete child;
    return result;
}

std::string output_so_far(const StartedChild* child) { return child ? slurp(child->streams.file("out")) : ""; }

void kill_child(StartedChild* child) {
    if (child && child->process.hProcess) TerminateProcess(child->process.hProcess, 0xC000013A);
}

ChildResult run_in_child(const std::function<void()>& body, const ChildOptions& options) {
    return finish_child(start_in_child(body, options));
}

bool child_routine(const char* name, int (*routine)(const std::string& argument)) {
    if (variable(kRoutineVariable) == name) {
        // Started by start_child_routine: the parent reads the output from files.
        // (Started by the runtime itself, as a stand-in, it writes where it was told.)
        if (!variable(kOutVariable).empty()) std::freopen(variable(kOutVariable).c_str(), "wb", stdout);
        if (!variable(kErrVariable).empty()) std::freopen(variable(kErrVariable).c_str(), "wb", stderr);
        const int result = routine(variable(kArgumentVariable));
        std::fflush(nullptr);
        _exit(result);
    }
    return true;
}

StartedChild* start_child_routine(const char* name, const std::string& argument) {
    std::fflush(nullptr);
    // No test runs in the child: the routine ends it first.
    return start("-", 0, {}, name, argument);
}

}  // namespace tvk::testing_support
#endif
