#include "platform/child_processes.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>

#include "platform/os_error_text.h"
#include "platform/win32/stop_event.h"

namespace tarnwick {

namespace {

constexpr int kSignalStatusBase = 128;  // the status of a child ended without its own say

// One argument as the child's start-up code splits it again: quoted when it holds a space,
// a tab or a quote, with the backslashes before a quote doubled.
std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    size_t slashes = 0;
    for (const char c : arg) {
        if (c == '"') out.append(slashes + 1, '\\');
        slashes = c == '\\' ? slashes + 1 : 0;
        out += c;
    }
    return out.append(slashes, '\\') + "\"";
}

// This process's environment block without variable's name (names compare without case
// here), then variable.
std::string environmentWith(const std::string& variable) {
    const size_t nameLength = variable.find('=') + 1;
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* e = strings; e != nullptr && *e != '\0'; e += std::strlen(e) + 1) {
        if (_strnicmp(e, variable.c_str(), nameLength) != 0) block.append(e, std::strlen(e) + 1);
    }
    if (strings != nullptr) FreeEnvironmentStringsA(strings);
    block.append(variable.c_str(), variable.size() + 1);
    block.push_back('\0');
    return block;
}

HANDLE openNullDevice(DWORD access) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA("NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
}

// The standard streams on NUL, and only they inherited. A group of its own, so that a
// Ctrl-Break can be sent to this child alone.
DWORD spawn(std::string& commandLine, std::string& environment, PROCESS_INFORMATION& process) {
    HANDLE nulls[2] = {openNullDevice(GENERIC_READ), openNullDevice(GENERIC_WRITE)};
    if (nulls[0] == INVALID_HANDLE_VALUE || nulls[1] == INVALID_HANDLE_VALUE) return GetLastError();
    STARTUPINFOEXA info{};
    info.StartupInfo.cb = sizeof info;
    info.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    info.StartupInfo.hStdInput = nulls[0];
    info.StartupInfo.hStdOutput = info.StartupInfo.hStdError = nulls[1];
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::string list(size, '\0');
    info.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    const bool listed = InitializeProcThreadAttributeList(info.lpAttributeList, 1, 0, &size) != 0;
    DWORD failed = 0;
    if (!listed ||
        UpdateProcThreadAttribute(info.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, nulls, sizeof nulls,
                                  nullptr, nullptr) == 0 ||
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT, environment.data(), nullptr,
                       &info.StartupInfo, &process) == 0) {
        failed = GetLastError();
    }
    if (listed) DeleteProcThreadAttributeList(info.lpAttributeList);
    for (HANDLE h : nulls) CloseHandle(h);
    return failed;
}

// The child's own stop event, else a Ctrl-Break to its group.
bool askToStop(DWORD processId) {
    const HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, stopEventName(processId).c_str());
    if (event != nullptr) {
        const bool set = SetEvent(event) != 0;
        CloseHandle(event);
        if (set) return true;
    }
    return GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, processId) != 0;
}

}  // namespace

ChildProcesses::ChildProcesses() = default;

ChildProcesses::~ChildProcesses() {
    for (const auto& [id, handle] : running_) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

long ChildProcesses::start(const std::string& program, const std::vector<std::string>& args,
                           const std::string& variable, std::string& why) {
    std::string commandLine = quoted(program);
    for (const std::string& arg : args) commandLine += " " + quoted(arg);
    std::string environment = environmentWith(variable);
    PROCESS_INFORMATION process{};
    if (const DWORD failed = spawn(commandLine, environment, process); failed != 0) {
        why = osErrorText(static_cast<int>(failed));
        return -1;
    }
    CloseHandle(process.hThread);
    running_[static_cast<long>(process.dwProcessId)] = reinterpret_cast<NativeHandle>(process.hProcess);
    return static_cast<long>(process.dwProcessId);
}

std::vector<ChildProcesses::Ended> ChildProcesses::reap() {
    std::vector<Ended> ended;
    for (auto it = running_.begin(); it != running_.end();) {
        const auto process = reinterpret_cast<HANDLE>(it->second);
        DWORD code = 0;
        if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0 || GetExitCodeProcess(process, &code) == 0) {
            ++it;
            continue;
        }
        ended.push_back({it->first, static_cast<int>(code)});
        CloseHandle(process);
        it = running_.erase(it);
    }
    return ended;
}

// A console sends Ctrl-C to every process on it, never to one group: each child is asked
// through its stop event, which its StopSignals reports as a Ctrl-Break. A child that
// cannot be asked (it has not begun watching, or already stopped) is ended at once, so
// that the line does not wait for it for ever.
void ChildProcesses::stopAll(int signal) {
    for (const auto& [id, handle] : running_) {
        if (!askToStop(static_cast<DWORD>(id))) {
            TerminateProcess(reinterpret_cast<HANDLE>(handle), static_cast<UINT>(kSignalStatusBase + signal));
        }
    }
}

}  // namespace tarnwick
