#include "vdsessionsettings.h"

#include "private/vdsessionsettings_p.h"

void VdSessionSettings::setVMAddrs(const std::vector<Vdp::tagVMAddress> &addrs)
{
    d->mVmAddrs_ = addrs;
}

std::vector<Vdp::tagVMAddress> VdSessionSettings::vmAddrs() { return d->mVmAddrs_; }

QString VdSessionSettings::vmmac()
{
    if (!d->mVmMac_.isEmpty())
        return d->mVmMac_;
    if (!d->mVmAddrs_.empty())
        return QString::fromStdString(d->mVmAddrs_.front().mac);
    return QString();
}

QStringList VdSessionSettings::iplist()
{
    if (!d->mIpList_.isEmpty())
        return d->mIpList_;
    QStringList addresses;
    for (const Vdp::tagVMAddress &address : d->mVmAddrs_) {
        for (const std::string &ip : address.lstIps)
            addresses.append(QString::fromStdString(ip));
    }
    return addresses;
}

void VdSessionSettings::setOperatorPolicy(const Vdp::tagVMOperator &op)
{
    d->mPlatformUnifiedConfig_ = op.platformUnifiedConfig == 0;
}

Vdp::tagVMOperator VdSessionSettings::getVMOperator() { return d->mVmOperator_; }
std::string VdSessionSettings::videoPolicy() { return d->mVideoPolicy_.text(); }
void VdSessionSettings::setVideoPolicy(const std::string &text) { d->mVideoPolicy_.setText(text); }
QString VdSessionSettings::getRateLimitorPolicy() { return d->mRateLimitorPolicy_; }
void VdSessionSettings::setRateLimitorPolicy(const QString &policy) { d->mRateLimitorPolicy_ = policy; }
int VdSessionSettings::rdpClipboardPolicy() const { return d->mRdpClipboardPolicy_; }
