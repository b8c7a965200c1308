#ifndef VDICOMMON_VDP_H
#define VDICOMMON_VDP_H

#include <cstdint>
#include <string>
#include <vector>

// Types shared by the products of the virtual-desktop client. The settings library uses the
// enumerations by number only; the names of their values are ours.
namespace Vdp {

enum ClientType : std::int32_t {
    ClientPC = 0,
    ClientThin = 1,
};

enum ServerType : std::int32_t {
    ServerDirect = 0,
    ServerGateway = 1,
};

enum ComputerType : std::int32_t {
    ComputerDesktop = 0,
    ComputerPC = 1,
};

enum PoolType : std::int32_t {
    PoolDefault = 0,
    PoolDynamic = 1,
    PoolRdp = 7,
};

// The broker's control policy for one VM. Each member is named after the key under which its
// value stands in the video policy text.
struct tagControlPolicy {
    int videoEncode = 0;
    int spiceTls = 0;
    int low_bandwidth = 0;
    int max_threads_stream = 0;
    int full_stream_max_fps = 0;
    int full_stream_timer_delay = 0;
    int bitrate_wz264 = 0;
    int vbv_wz264 = 0;
    int bitrate_wz265 = 0;
    int vbv_wz265 = 0;
    int bitrate_x264 = 0;
    int vbv_buf_wz264 = 0;
    int vbv_buf_wz265 = 0;
    int key_int_wz264 = 0;
    int key_int_wz265 = 0;
    int qp_max_wz264 = 0;
    int qp_max_wz265 = 0;
    int network_monitor_timer = 0;
    int stream_convert_mode = 0;
    int image_compression_mode = 0;
    int enable_image_cache = 0;
    int jpeg_quality = 0;
    int enable_wz = 0;
    int cmd_merge = 0;
    int videoDecode = 0;
    int forceDistributionDecode = 0;
    int spiceUdp = 0;
    int spicePreferProto = 0;
    int lanSpiceUdp = 0;
    int lanSpicePreferProto = 0;
    int enable_powercodec = 0;
    int videoMode = 0;
    int videoModeGw = 0;
    int forceEnableVideoMode = 0;
    int enable_congestion_control = 0;
    int fps_control_mode = 0;
    std::string ratelimitorPolicy;
    bool enableUpmPolicy = false;
};

// What the user may do with the VM, named after the keys of the "vmOperator" object.
struct tagVMOperator {
    int shutdown = 0;
    int reboot = 0;
    int powerOffReboot = 0;
    int powerOff = 0;
    int backHome = 0;
    int disconnection = 0;
    int clientCtrlAltDel = 0;
    int logoutUser = 0;
    int snapshot = 0;
    int networkDetection = 0;
    int interactShutdown = 0;
    int clientOccupy = 0;
    int modifyName = 0;
    int multiDynamicDesktop = 0;
    int platformUnifiedConfig = 0;
    int videoQuality = 0;
};

// One network interface of the VM.
struct tagVMAddress {
    std::string mac;
    std::vector<std::string> lstIps;
};

} // namespace Vdp

#endif
