#ifndef VDICOMMON_XSYSTEM_H
#define VDICOMMON_XSYSTEM_H

namespace XSystem {

// Whether the host runs on a Zhaoxin KX-U6780A processor, whose video stack needs software
// rendering.
bool isZhaoxinU6780A();

} // namespace XSystem

#endif
