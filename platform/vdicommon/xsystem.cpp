#include "vdicommon/xsystem.h"

#include <fstream>
#include <string>

namespace {

bool processorModelMatches(const std::string &model)
{
#ifdef __linux__
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.compare(0, 10, "model name") == 0)
            return line.find(model) != std::string::npos;
    }
#else
    (void)model;
#endif
    return false;
}

} // namespace

bool XSystem::isZhaoxinU6780A()
{
    // The processor does not change while the program runs.
    static const bool isZhaoxin = processorModelMatches("KX-U6780A");
    return isZhaoxin;
}
