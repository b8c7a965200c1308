#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

bool VdSessionSettings::loadFromWeb(const QString &link)
{
    Q_UNUSED(link)
    return false;
}
