// The broker's control and operator policies with any field values through setControlPolicy()
// and setOperatorPolicy(), in either order, and the video policy text made from them.

#include "fuzzsession.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

Vdp::tagControlPolicy controlPolicy(FuzzedDataProvider &input)
{
    Vdp::tagControlPolicy policy;
    for (int *field : {&policy.videoEncode, &policy.spiceTls, &policy.low_bandwidth, &policy.max_threads_stream,
                       &policy.full_stream_max_fps, &policy.full_stream_timer_delay, &policy.bitrate_wz264,
                       &policy.vbv_wz264, &policy.bitrate_wz265, &policy.vbv_wz265, &policy.bitrate_x264,
                       &policy.vbv_buf_wz264, &policy.vbv_buf_wz265, &policy.key_int_wz264, &policy.key_int_wz265,
                       &policy.qp_max_wz264, &policy.qp_max_wz265, &policy.network_monitor_timer,
                       &policy.stream_convert_mode, &policy.image_compression_mode, &policy.enable_image_cache,
                       &policy.jpeg_quality, &policy.enable_wz, &policy.cmd_merge, &policy.videoDecode,
                       &policy.forceDistributionDecode, &policy.spiceUdp, &policy.spicePreferProto,
                       &policy.lanSpiceUdp, &policy.lanSpicePreferProto, &policy.enable_powercodec,
                       &policy.videoMode, &policy.videoModeGw, &policy.forceEnableVideoMode,
                       &policy.enable_congestion_control, &policy.fps_control_mode})
        *field = input.ConsumeIntegral<int>();
    policy.enableUpmPolicy = input.ConsumeBool();
    policy.ratelimitorPolicy = input.ConsumeRandomLengthString(256);
    return policy;
}

Vdp::tagVMOperator operatorPolicy(FuzzedDataProvider &input)
{
    Vdp::tagVMOperator op;
    op.platformUnifiedConfig = input.ConsumeIntegral<int>();
    op.videoQuality = input.ConsumeIntegral<int>();
    return op;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    VdSessionSettings *settings = FuzzSession::freshSettings();
    const bool operatorFirst = input.ConsumeBool();
    const Vdp::tagVMOperator op = operatorPolicy(input);
    const Vdp::tagControlPolicy policy = controlPolicy(input);
    if (operatorFirst)
        settings->setOperatorPolicy(op);
    settings->setControlPolicy(policy);
    if (!operatorFirst)
        settings->setOperatorPolicy(op);
    settings->videoPolicy();
    settings->getVideoModeActual();
    return 0;
}
