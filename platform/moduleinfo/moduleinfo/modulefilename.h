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

// Full path of the running executable in narrow characters, at most 259 of them, as the
// platform reports it; empty when the platform cannot tell.
std::string executablePath();

} // namespace ModuleInfo

#endif
