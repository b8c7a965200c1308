#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

QString VdSessionSettings::version() { return QString(); }
void VdSessionSettings::readVideoDecoders() {}
Vdp::ServerType VdSessionSettings::getServerType() { return Vdp::ServerDirect; }
