// Text at the Windows system calls. Inside the program every path and message is UTF-8 in a
// std::string; the system's wide API takes UTF-16. The conversion is exact both ways: names
// may hold UTF-16 units that are no characters (unpaired surrogates), and those travel as the
// three bytes UTF-8 would give them (the generalised UTF-8 some call WTF-8), so every name the
// system lists comes back to the system unchanged. Bytes that are no such text are refused,
// never guessed at.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-16 units as UTF-8, unpaired surrogates included.
std::string Utf8FromWide(std::wstring_view wide);

// The reverse; nothing for bytes that are not (generalised) UTF-8.
std::optional<std::wstring> WideFromUtf8(std::string_view utf8);

// A path for the wide file API: separators as backslashes and, when the full path is too
// long for the classic limit, in the "\\?\" form that lifts it. Nothing (with the error set)
// when the path is not UTF-8.
std::optional<std::wstring> WidePath(std::string_view path);

// The system's own text for `code` (a GetLastError value), in UTF-8, without the line end.
std::string SystemErrorText(unsigned long code);

// Makes `code` the last system error, with the system's own text.
void SetLastSystemErrorFromCode(unsigned long code);

// The same for the calling thread's GetLastError().
void SetLastSystemErrorFromLastError();

}  // namespace platform::win32
