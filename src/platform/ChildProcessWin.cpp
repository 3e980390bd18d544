#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/ChildStreams.h"
#include "platform/ConsoleCtrlRoutine.h"
#include "platform/FilePath.h"
#include "platform/StringConv.h"

namespace tavlin {
namespace {

std::string SystemText(DWORD code) {
    return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { Close(); }
    HANDLE get() const { return handle_; }
    HANDLE* out() { return &handle_; }
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Close() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
        handle_ = nullptr;
    }

  private:
    HANDLE handle_ = nullptr;
};

// One argument as the C runtime's parser splits it again (and CommandLineToArgvW too):
// backslashes are plain unless a quote follows them, so only those, and those before the
// closing quote, are doubled.
void AppendArgument(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
    // The program's own name is read up to its closing quote, backslashes and all; a path
    // holds no quote.
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& argument : arguments) {
        line += L' ';
        AppendArgument(line, MultiByteToWide(argument));
    }
    return line;
}

// A process ended by a fault it did not handle exits with the fault's NTSTATUS, whose two top
// bits say "error"; no program exits with such a code by choice.
std::string FaultName(DWORD code) {
    if ((code & 0xC0000000u) != 0xC0000000u) {
        return {};
    }
    static constexpr std::pair<DWORD, const char*> kKnown[] = {
        {0xC0000005u, "STATUS_ACCESS_VIOLATION"},       {0xC000001Du, "STATUS_ILLEGAL_INSTRUCTION"},
        {0xC0000094u, "STATUS_INTEGER_DIVIDE_BY_ZERO"}, {0xC00000FDu, "STATUS_STACK_OVERFLOW"},
        {0xC000013Au, "STATUS_CONTROL_C_EXIT"},         {0xC0000374u, "STATUS_HEAP_CORRUPTION"},
        {0xC0000409u, "STATUS_STACK_BUFFER_OVERRUN"},
    };
    for (const auto& [known, name] : kKnown) {
        if (known == code) {
            return name;
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "NTSTATUS 0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// Reads `pipe` to its end (the child and everyone it passed the handle on to closed it).
template <typename Take>
std::thread ReadToEnd(HANDLE pipe, Take take) {
    return std::thread([pipe, take] {
        char buffer[16384];
        DWORD n = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) {
            take(buffer, static_cast<size_t>(n));
        }
        CloseHandle(pipe);
    });
}

// Starts the system's console event dispatch in the child, as Windows does in a process for an
// event from its console. For a child whose console is not ours (we have none), and on Wine,
// which sends no console events between processes.
bool DispatchBreakInside(HANDLE process) {
    const ConsoleCtrlRoutine dispatch = SystemConsoleCtrlRoutine();
    if (dispatch == nullptr) {
        return false;
    }
    OwnedHandle thread(CreateRemoteThread(
        process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(dispatch),
        reinterpret_cast<void*>(static_cast<ULONG_PTR>(CTRL_BREAK_EVENT)), 0, nullptr));
    return thread.get() != nullptr;
}

class WinChildProcess final : public ChildProcess {
  public:
    WinChildProcess(const PROCESS_INFORMATION& started, HANDLE output, HANDLE errors,
                    LineSink onErrorLine)
        : process_(started.hProcess),
          processId_(started.dwProcessId),
          streams_(std::move(onErrorLine)) {
        CloseHandle(started.hThread);
        streams_.StartReaders(
            ReadToEnd(output,
                      [this](const char* data, size_t size) { streams_.AddOutput(data, size); }),
            ReadToEnd(errors,
                      [this](const char* data, size_t size) { streams_.AddError(data, size); }));
    }

    // Dropped unwaited, the child is of no more use to anyone: it is ended outright, so that
    // the reader threads do not outlive this object.
    ~WinChildProcess() override {
        if (WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_.get(), 1);
        }
        Wait();
    }

    void Interrupt() override {
        // The handle we hold keeps the process id from going to another process.
        if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
            return;
        }
        if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, processId_)) {
            DispatchBreakInside(process_.get());
        }
    }

    int Wait() override {
        std::lock_guard lock(waitMutex_);
        if (!waited_) {
            DWORD code = 0;
            exitStatus_ = WaitForSingleObject(process_.get(), INFINITE) == WAIT_OBJECT_0 &&
                                  GetExitCodeProcess(process_.get(), &code)
                              ? static_cast<int>(code)
                              : -1;
            signal_ = exitStatus_ == -1 ? std::string() : FaultName(code);
            if (!signal_.empty()) {
                exitStatus_ = -1;
            }
            waited_ = true;
        }
        streams_.JoinReaders();
        return exitStatus_;
    }

    std::string StandardOutput() const override { return streams_.Output(); }

    std::string EndingSignal() const override {
        std::lock_guard lock(waitMutex_);
        return signal_;
    }

  private:
    OwnedHandle process_;
    const DWORD processId_;
    ChildStreams streams_;
    mutable std::mutex waitMutex_;
    bool waited_ = false;
    int exitStatus_ = -1;
    std::string signal_;  // written under waitMutex_
};

// This process's environment with `name` set to `value`, as CreateProcessW takes a block:
// sorted by name, without regard to case, and ended by an empty string.
std::wstring EnvironmentWith(const std::wstring& name, const std::wstring& value) {
    std::vector<std::wstring> entries;
    if (wchar_t* const strings = GetEnvironmentStringsW(); strings != nullptr) {
        for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
            const bool same =
                _wcsnicmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == L'=';
            if (!same) {
                entries.emplace_back(entry);
            }
        }
        FreeEnvironmentStringsW(strings);
    }
    entries.push_back(name + L"=" + value);
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    });
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  LineSink onErrorLine, std::string* error) {
    const auto fail = [error](DWORD code) -> std::unique_ptr<ChildProcess> {
        if (error != nullptr) {
            *error = SystemText(code);
        }
        return nullptr;
    };
    // Every handle is made uninheritable and only the child's three ends are handed on, by
    // name, below: a handle another thread makes inheritable meanwhile stays ours.
    OwnedHandle outputRead;
    OwnedHandle outputWrite;
    OwnedHandle errorRead;
    OwnedHandle errorWrite;
    if (!CreatePipe(outputRead.out(), outputWrite.out(), nullptr, 0) ||
        !CreatePipe(errorRead.out(), errorWrite.out(), nullptr, 0)) {
        return fail(GetLastError());
    }
    OwnedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (input.get() == INVALID_HANDLE_VALUE) {
        return fail(GetLastError());
    }
    // This process, for the child to wait on: our end asks it to stop, as Interrupt would (a job
    // object would end it outright, in the middle of an update).
    OwnedHandle self;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.out(),
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0)) {
        return fail(GetLastError());
    }
    std::wstring environment =
        EnvironmentWith(MultiByteToWide(kParentProcessVariable),
                        std::to_wstring(reinterpret_cast<ULONG_PTR>(self.get())) + L":" +
                            std::to_wstring(GetCurrentProcessId()));
    HANDLE inherited[] = {input.get(), outputWrite.get(), errorWrite.get(), self.get()};
    for (const HANDLE handle : inherited) {
        if (!SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
            return fail(GetLastError());
        }
    }

    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<char> listMemory(listSize);
    auto* const list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize)) {
        return fail(GetLastError());
    }
    struct ListEnd {
        LPPROC_THREAD_ATTRIBUTE_LIST list;
        ~ListEnd() { DeleteProcThreadAttributeList(list); }
    } listEnd{list};
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                   sizeof inherited, nullptr, nullptr)) {
        return fail(GetLastError());
    }

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = outputWrite.get();
    startup.StartupInfo.hStdError = errorWrite.get();
    startup.lpAttributeList = list;

    // A group of its own, so that Ctrl+Break can be sent to this child alone. A child shares
    // our console; without one of ours, Windows would open a window for each child's own, so
    // it gets one without a window (Interrupt then reaches it without the console).
    DWORD flags =
        CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT | CREATE_UNICODE_ENVIRONMENT;
    if (GetConsoleCP() == 0) {
        flags |= CREATE_NO_WINDOW;
    }
    const std::wstring wideProgram = MultiByteToWide(program);
    std::wstring line = CommandLine(wideProgram, arguments);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(wideProgram.c_str(), line.data(), nullptr, nullptr, TRUE, flags,
                        environment.data(), nullptr, &startup.StartupInfo, &started)) {
        return fail(GetLastError());
    }
    // Our copies of the child's ends go, so that the pipes end when the child has ended.
    outputWrite.Close();
    errorWrite.Close();
    return std::make_unique<WinChildProcess>(started, outputRead.release(), errorRead.release(),
                                             std::move(onErrorLine));
}

}  // namespace tavlin
