// Running a program from a test on Windows: CreateProcessW with the arguments quoted the way
// the C runtime splits them again, standard output and error caught in files. A shell command
// line goes to cmd.exe, which knows redirections but none of the POSIX shell's syntax.
#include <windows.h>

#include <cstdlib>

#include "platform/win32/wide_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace testing_support {
namespace {

// One argument as CommandLineToArgvW and the C runtime read it back.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring Wide(const std::string& utf8) {
    return platform::win32::WideFromUtf8(utf8).value_or(L"?");
}

HANDLE InheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.wstring().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

ProgramOutcome Run(const std::filesystem::path& folder, std::wstring commandLine) {
    const TempFolder logs;
    HANDLE out = InheritableFile(logs.path() / "out", GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = InheritableFile(logs.path() / "err", GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE in = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    ProgramOutcome outcome;
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         folder.wstring().c_str(), &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(process.hProcess, &status);
        outcome.status = static_cast<int>(status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    outcome.out = ReadFile(logs.path() / "out");
    outcome.err = ReadFile(logs.path() / "err");
    return outcome;
}

}  // namespace

std::string ShellQuote(const std::string& s) {
    return platform::win32::Utf8FromWide(QuoteArgument(Wide(s)));
}

ProgramOutcome RunProgram(const std::filesystem::path& folder, const std::string& program,
                          const std::vector<std::string>& args) {
    std::wstring commandLine = QuoteArgument(Wide(program));
    for (const auto& arg : args) {
        commandLine += L" " + QuoteArgument(Wide(arg));
    }
    return Run(folder, commandLine);
}

ProgramOutcome RunShell(const std::filesystem::path& folder, const std::string& commandLine) {
    return Run(folder, L"cmd.exe /d /s /c \"" + Wide(commandLine) + L"\"");
}

}  // namespace testing_support
