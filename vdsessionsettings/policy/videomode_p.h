#ifndef VDSESSIONSETTINGS_VIDEOMODE_P_H
#define VDSESSIONSETTINGS_VIDEOMODE_P_H

#include "vdsessionsettings.h"

#include <QJsonObject>

#include <optional>
#include <string>

class VdSessionSettingsPrivate;

// The video policy text the program hands on to the video pipeline: an indented JSON object.
// Reading a session or a broker policy only keeps the object and the JPEG quality to add to it;
// the text is made the first time someone asks for it, so a session that never asks never pays.
class VideoPolicyText
{
public:
    // The text becomes @p object, with "jpeg_quality" set to @p jpegQuality when there is one.
    void keep(const QJsonObject &object, std::optional<int> jpegQuality);
    // The text is @p text as given.
    void setText(const std::string &text);
    const std::string &text() const;

private:
    QJsonObject m_object;
    std::optional<int> m_jpegQuality;
    mutable std::string m_text;
    mutable bool m_pending = false;
};

// The broker's video policy, as either of its sources gives it: the control policy the broker
// sends, or the copy of it a session file keeps.
struct BrokerVideoPolicy
{
    int videoMode = 0;
    int videoModeGw = 0;
    int forceEnableVideoMode = 0;
    int imageCompressionMode = 0;
    int jpegQuality = 0;
    int videoDecode = 0;
    int forceDistributionDecode = 0;
    // What the video pipeline is handed: every value exactly as the broker sent it.
    QJsonObject pipelineObject;
};

// Sets mVideoModeActual_ from the platform's video modes (mVideoMode_, mVideoModeGw_,
// mForceEnableVideoMode_) as they stand, and logs the choice. The stream mode of the session
// wins unless it is TYPE_STREAM_NONE or the platform forces its own mode; then a gateway server
// (server type 1) takes the gateway's mode and any other server the platform's.
void resolveVideoMode(VdSessionSettingsPrivate *d);

// Puts @p policy in force on the platform's side of the record: the video modes (resolved as
// above), compression, JPEG quality and decoding. Then chooses the configuration mode: a
// platform without a unified configuration (mPlatformUnifiedConfig_) leaves it to the user, one
// that forces distributed decoding keeps the platform's, any other gets @p otherwise. Last it
// keeps the pipeline's text, with the user's JPEG quality (mJpegQuality_) when the user's
// choices are in force.
//
// The broker's control policy and the session file's video policy both come through here; set
// the stream mode, server type, mPlatformUnifiedConfig_ and mJpegQuality_ first.
void applyBrokerVideoPolicy(VdSessionSettingsPrivate *d, const BrokerVideoPolicy &policy,
                            VdSessionSettings::ConfigMode otherwise);

#endif
