#include "vdsessionsettings.h"

#include "policy/videomode_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

void VdSessionSettings::setControlPolicy(const Vdp::tagControlPolicy &policy)
{
    Q_UNUSED(policy)
}
