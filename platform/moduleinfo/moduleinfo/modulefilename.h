#ifndef MODULEINFO_MODULEFILENAME_H
#define MODULEINFO_MODULEFILENAME_H

#include <string>

namespace ModuleInfo {

// The separator of the paths that executablePath() reports.
#ifdef _WIN32
constexpr char nativeSeparator = '\\';
#else
constexpr char nativeSeparator = '/';
#endif

// Full path of the running executable as UTF-8, with the platform's separators; empty when the
// platform cannot tell. On Linux at most 259 bytes of it, as /proc/self/exe gives them.
std::string executablePath();

} // namespace ModuleInfo

#endif
