#include "vdsessionsettings.h"

#include "policy/videomode_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QJsonObject>

namespace {

// The video pipeline's view of the policy: every encoder, decoder and transport value exactly as
// the broker sent it. The settings' own derived values (inverted compression, forced flags) are
// not what the pipeline expects, so they are not used here.
QJsonObject videoPolicyObject(const Vdp::tagControlPolicy &policy)
{
    return QJsonObject{
        {QStringLiteral("bitrate_wz264"), policy.bitrate_wz264},
        {QStringLiteral("bitrate_wz265"), policy.bitrate_wz265},
        {QStringLiteral("bitrate_x264"), policy.bitrate_x264},
        {QStringLiteral("cmd_merge"), policy.cmd_merge},
        {QStringLiteral("enable_image_cache"), policy.enable_image_cache},
        {QStringLiteral("enable_powercodec"), policy.enable_powercodec},
        {QStringLiteral("enable_wz"), policy.enable_wz},
        {QStringLiteral("forceDistributionDecode"), policy.forceDistributionDecode},
        {QStringLiteral("forceEnableVideoMode"), policy.forceEnableVideoMode},
        {QStringLiteral("full_stream_max_fps"), policy.full_stream_max_fps},
        {QStringLiteral("full_stream_timer_delay"), policy.full_stream_timer_delay},
        {QStringLiteral("image_compression_mode"), policy.image_compression_mode},
        {QStringLiteral("key_int_wz264"), policy.key_int_wz264},
        {QStringLiteral("key_int_wz265"), policy.key_int_wz265},
        {QStringLiteral("lanSpicePreferProto"), policy.lanSpicePreferProto},
        {QStringLiteral("lanSpiceUdp"), policy.lanSpiceUdp},
        {QStringLiteral("low_bandwidth"), policy.low_bandwidth},
        {QStringLiteral("max_threads_stream"), policy.max_threads_stream},
        {QStringLiteral("network_monitor_timer"), policy.network_monitor_timer},
        {QStringLiteral("qp_max_wz264"), policy.qp_max_wz264},
        {QStringLiteral("qp_max_wz265"), policy.qp_max_wz265},
        {QStringLiteral("spicePreferProto"), policy.spicePreferProto},
        {QStringLiteral("spiceTls"), policy.spiceTls},
        {QStringLiteral("spiceUdp"), policy.spiceUdp},
        {QStringLiteral("stream_convert_mode"), policy.stream_convert_mode},
        {QStringLiteral("vbv_buf_wz264"), policy.vbv_buf_wz264},
        {QStringLiteral("vbv_buf_wz265"), policy.vbv_buf_wz265},
        {QStringLiteral("vbv_wz264"), policy.vbv_wz264},
        {QStringLiteral("vbv_wz265"), policy.vbv_wz265},
        {QStringLiteral("videoDecode"), policy.videoDecode},
        {QStringLiteral("videoEncode"), policy.videoEncode},
        {QStringLiteral("videoMode"), policy.videoMode},
        {QStringLiteral("videoModeGw"), policy.videoModeGw},
        {QStringLiteral("enable_congestion_control"), policy.enable_congestion_control},
        {QStringLiteral("fps_control_mode"), policy.fps_control_mode},
    };
}

} // namespace

void VdSessionSettings::setControlPolicy(const Vdp::tagControlPolicy &policy)
{
    d->mIsEnableUpmPolicy_ = policy.enableUpmPolicy;
    d->mRateLimitorPolicy_ = QString::fromStdString(policy.ratelimitorPolicy);

    BrokerVideoPolicy video;
    video.videoMode = policy.videoMode;
    video.videoModeGw = policy.videoModeGw;
    video.forceEnableVideoMode = policy.forceEnableVideoMode;
    video.imageCompressionMode = policy.image_compression_mode;
    video.jpegQuality = policy.jpeg_quality;
    video.videoDecode = policy.videoDecode;
    video.forceDistributionDecode = policy.forceDistributionDecode;
    video.pipelineObject = videoPolicyObject(policy);
    // Unless the platform decides, the configuration mode already chosen stands.
    applyBrokerVideoPolicy(d.get(), video, d->mConfigMode_);
}
