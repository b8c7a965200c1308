#include "videomode_p.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

void resolveVideoMode(VdSessionSettingsPrivate *d)
{
    if (!d->mForceEnableVideoMode_ && d->mStreamMode_ != VdSessionSettings::TYPE_STREAM_NONE)
        d->mVideoModeActual_ = d->mStreamMode_;
    else if (d->mServerType_ == Vdp::ServerGateway)
        d->mVideoModeActual_ = d->mVideoModeGw_;
    else
        d->mVideoModeActual_ = d->mVideoMode_;

    spdlog::info("video mode: forceEnableVideoMode: {}, videoModeGw: {}, videoMode:{}",
                 d->mForceEnableVideoMode_, d->mVideoModeGw_, d->mVideoMode_);
    spdlog::info("video mode: stream_control_value:{}, videoModeActual:{}", int(d->mStreamMode_), d->mVideoModeActual_);
}
