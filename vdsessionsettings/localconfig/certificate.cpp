#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

QString VdSessionSettings::getCertPath() { return d->mCertPath_; }
void VdSessionSettings::setCertPath(const QString &path) { d->mCertPath_ = path; }
void VdSessionSettings::setCertPathAsDefault() { d->mCertPath_ = CertificatePath::old; }
void VdSessionSettings::resetCertPath() {}
bool VdSessionSettings::isServerUseNewCertificate(const QString &server) { Q_UNUSED(server) return false; }
void VdSessionSettings::setCertPathFromServer(const QString &server) { Q_UNUSED(server) }
void VdSessionSettings::updateServerUseNewCertificate(const QString &server, bool useNew) { Q_UNUSED(server) Q_UNUSED(useNew) }
void VdSessionSettings::setCurServerArch(const QString &arch) { Q_UNUSED(arch) }
