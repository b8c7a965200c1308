#include "moduleinfo/modulefilename.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
constexpr unsigned long pathBufferSize = 260;
}

std::string ModuleInfo::executablePath()
{
    char buffer[pathBufferSize] = {};
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, buffer, pathBufferSize);
    return std::string(buffer, length);
#else
    // readlink does not terminate the text; keep the last byte for parity with the Windows call,
    // which truncates to the buffer less its terminator.
    const ssize_t length = readlink("/proc/self/exe", buffer, pathBufferSize - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
#endif
}
