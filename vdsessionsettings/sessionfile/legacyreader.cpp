#include "vdsessionsettings.h"

#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

void VdSessionSettings::fromOldJson(const QJsonObject &root)
{
    Q_UNUSED(root)
}
