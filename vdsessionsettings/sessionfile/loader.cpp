#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

bool VdSessionSettings::loadFromVdp(const QString &fileName)
{
    d->mVdpPath_ = fileName;
    return false;
}

bool VdSessionSettings::parseVdp(const QByteArray &data)
{
    Q_UNUSED(data)
    return false;
}

QString VdSessionSettings::getVdpPath() { return d->mVdpPath_; }

void VdSessionSettings::deleteVdpFile() {}
