#ifndef VDSESSIONSETTINGS_VIDEOMODE_P_H
#define VDSESSIONSETTINGS_VIDEOMODE_P_H

class VdSessionSettingsPrivate;

// Sets mVideoModeActual_ from the platform's video modes (mVideoMode_, mVideoModeGw_,
// mForceEnableVideoMode_) as they stand, and logs the choice. The stream mode of the session
// wins unless it is TYPE_STREAM_NONE or the platform forces its own mode; then a gateway server
// (server type 1) takes the gateway's mode and any other server the platform's.
//
// The broker's control policy and the session file's video policy both resolve the mode here.
void resolveVideoMode(VdSessionSettingsPrivate *d);

#endif
