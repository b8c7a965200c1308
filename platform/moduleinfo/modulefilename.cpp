#include "moduleinfo/modulefilename.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>

namespace {
constexpr unsigned long pathBufferSize = 260;

#ifdef _WIN32
// The longest path Windows gives any call, in UTF-16 units.
constexpr DWORD longestPath = 32768;

// The executable's path through the wide call, as UTF-8.
std::string wideExecutablePath()
{
    std::wstring wide(pathBufferSize, L'\0');
    DWORD length = 0;
    // A path that fills the buffer may have been cut; try again with more room.
    while ((length = GetModuleFileNameW(nullptr, &wide[0], DWORD(wide.size()))) == wide.size() && wide.size() < longestPath)
        wide.resize(wide.size() * 2);
    if (length == 0 || length == wide.size())
        return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(std::max(bytes, 0)), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(length), &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}
#endif
} // namespace

std::string ModuleInfo::executablePath()
{
    char buffer[pathBufferSize] = {};
#ifdef _WIN32
    // The narrow call answers in the ANSI code page and cuts the path at 259 characters. Its
    // answer is only taken when it is plain ASCII and whole, where it equals UTF-8; any other
    // path comes from the wide call.
    const DWORD length = GetModuleFileNameA(nullptr, buffer, pathBufferSize);
    const bool whole = length > 0 && length < pathBufferSize;
    if (whole && std::all_of(buffer, buffer + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(buffer, length);
    return wideExecutablePath();
#else
    // readlink does not terminate the text; keep the last byte for parity with the Windows call,
    // which truncates to the buffer less its terminator.
    const ssize_t length = readlink("/proc/self/exe", buffer, pathBufferSize - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
#endif
}
