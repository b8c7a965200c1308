#include <vdsessionsettings/vdsessionsettings.h>

#include "private/jsonvalue_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "testsession.h"

#include <vdicommon/xsystem.h>

#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest/QtTest>

#include <type_traits>

using S = VdSessionSettings;

namespace {

template<typename T>
QVariant asVariant(const T &value)
{
    if constexpr (std::is_enum_v<T> || std::is_same_v<T, unsigned short>)
        return int(value);
    else
        return QVariant::fromValue(value);
}
QVariant asVariant(const std::string &value) { return QString::fromStdString(value); }
QVariant asVariant(const std::vector<Vdp::tagVMAddress> &addresses)
{
    QStringList list;
    for (const Vdp::tagVMAddress &a : addresses) {
        QStringList ips;
        for (const std::string &ip : a.lstIps)
            ips << QString::fromStdString(ip);
        list << QString::fromStdString(a.mac) + QLatin1Char('=') + ips.join(QLatin1Char(','));
    }
    return list;
}
QVariant asVariant(const Vdp::tagVMOperator &o)
{
    return QVariantList{o.shutdown, o.reboot, o.powerOffReboot, o.powerOff, o.backHome, o.disconnection,
                        o.clientCtrlAltDel, o.logoutUser, o.snapshot, o.networkDetection, o.interactShutdown,
                        o.clientOccupy, o.modifyName, o.multiDynamicDesktop, o.platformUnifiedConfig, o.videoQuality};
}
QVariant asVariant(const QMap<int, QRect> &geometries)
{
    QVariantMap map;
    for (auto it = geometries.cbegin(); it != geometries.cend(); ++it)
        map.insert(QString::number(it.key()), it.value());
    return map;
}

using FieldReader = QVariant (*)(const VdSessionSettingsPrivate *);
#define FIELD(member) {QByteArrayLiteral(#member), [](const VdSessionSettingsPrivate *d) { return asVariant(d->member); }}

// Every field the reader writes, by name, so that tables can name the field a row checks.
const QMap<QByteArray, FieldReader> &fields()
{
    static const QMap<QByteArray, FieldReader> table = {
        FIELD(mRdrVmName_), FIELD(mLogLevel_), FIELD(mIsMMR_), FIELD(mIsSSO_), FIELD(mToolbarStyle_),
        FIELD(mIsAutoHideToolbar_), FIELD(mIsMultiScreen_), FIELD(mIsHighDPI_), FIELD(mDisplay4KType_),
        FIELD(mNoMoreshowDialog_), FIELD(mCertPath_), FIELD(mWindowStyle_), FIELD(mCalderwynId_), FIELD(mSkin_),
        FIELD(mIsThinClient_), FIELD(mIdlinkTempTicket_), FIELD(mIsEsEnable_), FIELD(mEsFrequency_),
        FIELD(mSoftwareName_), FIELD(mUsbConfigs_), FIELD(mDiskRedir_), FIELD(mAutoBreakSecondTimes_),
        FIELD(mPrimaryScreenName_), FIELD(mLoginName_), FIELD(mCurrentUsername_), FIELD(mPassword_),
        FIELD(mSpicePassword_), FIELD(mPoolName_), FIELD(mDomain_), FIELD(mClientType_), FIELD(mComputerType_),
        FIELD(mServerIp_), FIELD(mUuid_), FIELD(mVmUuid_), FIELD(mCurrentNickname_), FIELD(mProgramType_),
        FIELD(mPoolType_), FIELD(mProtocol_), FIELD(mServerPort_), FIELD(mServerType_), FIELD(mIsEnableUpmPolicy_),
        FIELD(mOsType_), FIELD(mOsVersion_), FIELD(mVmName_), FIELD(mIsShowMinimize_), FIELD(mRateLimitorPolicy_),
        FIELD(mIsOpenLdap_), FIELD(mStreamMode_), FIELD(mImageRenderType_), FIELD(mRenderDriverValue_),
        FIELD(mSDLRenderFlag_), FIELD(mStreamDataDumpEnabled_), FIELD(mD3dDebugEnabled_), FIELD(mVideoMode_),
        FIELD(mVideoModeGw_), FIELD(mForceEnableVideoMode_), FIELD(mVideoModeActual_), FIELD(mImgCompressPlatform_),
        FIELD(mJpegQualityPlatform_), FIELD(mVgpuDecodeTypePlatform_), FIELD(mVgpuQPTypePlatform_),
        FIELD(mForceDistributionDecode_), FIELD(mPlatformUnifiedConfig_), FIELD(mImgCompress_),
        FIELD(mVgpuDecodeType_), FIELD(mVgpuQPType_), FIELD(mMouseMode_), FIELD(mJpegQuality_), FIELD(mConfigMode_),
        FIELD(mVideoPolicy_), FIELD(mGeometrys_), FIELD(mWindowMode_), FIELD(mRenderMode_), FIELD(mRenderSystemMode_),
        FIELD(mRenderDebugLevel_), FIELD(mDisplayRes_), FIELD(mIpList_), FIELD(mVmMac_), FIELD(mVmAddrs_),
        FIELD(mRdpClipboardPolicy_), FIELD(mVmOperator_),
    };
    return table;
}
#undef FIELD

QVariantMap snapshot(const VdSessionSettingsPrivate *d)
{
    QVariantMap values;
    for (auto it = fields().cbegin(); it != fields().cend(); ++it)
        values.insert(QString::fromLatin1(it.key()), it.value()(d));
    return values;
}

QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

QJsonObject fixture(const QString &name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("data/current/") + name));
    return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : QJsonObject();
}

const QString fullFixture = QStringLiteral("VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp");

// The same document with every value of another type: strings become numbers, numbers strings,
// bools numbers; arrays and objects keep their shape so that the keys inside them are reached.
QJsonValue wrongTypes(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String: return 7;
    case QJsonValue::Double: return QStringLiteral("7");
    case QJsonValue::Bool: return 1;
    case QJsonValue::Array: {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(wrongTypes(element));
        return array;
    }
    case QJsonValue::Object: {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            it.value() = wrongTypes(it.value());
        return object;
    }
    default: return value;
    }
}

QString qtMessage(const LogCapture &log, const QString &prefix)
{
    for (const LogCapture::QtMessage &m : log.qtMessages()) {
        if (m.type == QtInfoMsg && m.text.startsWith(prefix))
            return m.text;
    }
    return QString();
}

} // namespace

class tst_CurrentReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void fullDocument_data();
    void fullDocument();
    void fullDocumentMessages();
    void readingEmitsNothing();
    void conversions_data();
    void conversions();
    void rangeReplacements_data();
    void rangeReplacements();
    void sparseReloadResetsAndKeeps_data();
    void sparseReloadResetsAndKeeps();
    void listsGrowOnEveryLoad();
    void optionalKeysAbsent();
    void optionalKeysNull();
    void videoModeActual_data();
    void videoModeActual();
    void configModeAndPolicyText_data();
    void configModeAndPolicyText();
    void singleGeometryWins();
    void geometrysSkipBadEntries();
    void displayRes_data();
    void displayRes();
    void addressForms();
    void operatorPermissions_data();
    void operatorPermissions();
    void enumeratorMessages();
    void wrongTypesGiveDefaults();
    void collectorChangesNothing_data();
    void collectorChangesNothing();

private:
    std::unique_ptr<TestSession> session;
};

void tst_CurrentReader::fullDocument_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *field, const QVariant &expected) { QTest::newRow(field) << QByteArray(field) << expected; };
    // basic settings
    row("mRdrVmName_",            "FIN-WIN10-023");
    row("mLogLevel_",             4);
    row("mIsMMR_",                true);
    row("mIsSSO_",                true);
    row("mToolbarStyle_",         1);
    row("mIsAutoHideToolbar_",    true);
    row("mIsMultiScreen_",        true);
    row("mIsHighDPI_",            true);
    row("mDisplay4KType_",        int(S::Display_4K_OperateForVm));
    row("mCertPath_",             "C:/Users/liwei/Documents/cert/calderwyn_cert.pem");
    row("mWindowStyle_",          int(S::Window));
    row("mCalderwynId_",          "cw-7f3a9c21e04b");
    row("mSkin_",                 "dark");
    row("mIsThinClient_",         true);
    row("mIdlinkTempTicket_",     "TKT-20240611-8c1f0e5a");
    row("mUsbConfigs_",           "0781:5581:allow;046d:c52b:deny");
    row("mDiskRedir_",            QStringList{"C:", "E:"});
    row("mAutoBreakSecondTimes_", int(S::AUTO_BREAK_TIME_30M));
    // top level
    row("mNoMoreshowDialog_",     true);
    row("mIsEsEnable_",           true);
    row("mEsFrequency_",          600);
    row("mSoftwareName_",         "Calderwyn Desktop Client");
    row("mPrimaryScreenName_",    "\\\\.\\DISPLAY2");
    row("mClientType_",           1);
    row("mProgramType_",          int(S::RdpVM));
    row("mIsShowMinimize_",       true);
    // vm settings
    row("mLoginName_",            "liwei");
    row("mCurrentUsername_",      "Li Wei");
    row("mPassword_",             "Q2FsZGVyd3luIzIwMjQ=");
    row("mSpicePassword_",        "x7Rk2pQa");
    row("mPoolName_",             "Finance-Win10");
    row("mPoolType_",             7);
    row("mDomain_",               "corp.calderwyn.local");
    row("mComputerType_",         1);
    row("mServerIp_",             "10.20.30.40");
    row("mCurrentNickname_",      "Wei");
    row("mProtocol_",             "rdp");
    row("mServerPort_",           8443);
    row("mServerType_",           1);
    row("mIsEnableUpmPolicy_",    true);
    row("mIsOpenLdap_",           1);
    // vm settings / vm
    row("mUuid_",                 "10.20.30.40-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a");
    row("mVmUuid_",               "5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a");
    row("mOsType_",               3);
    row("mOsVersion_",            "Windows 10 Pro 22H2");
    row("mVmName_",               "FIN-WIN10-023");
    row("mRateLimitorPolicy_",    "{\"upload\":2048,\"download\":20480}");
    row("mIpList_",               QStringList{"10.20.31.23", "192.168.100.23"});
    row("mVmMac_",                "");
    row("mVmAddrs_",              QStringList{"52:54:00:3a:9c:17=10.20.31.23,fd00:20:31::23", "52:54:00:3a:9c:18=192.168.100.23"});
    row("mRdpClipboardPolicy_",   2);
    row("mVmOperator_",           QVariantList{1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0});
    // display, video and window
    row("mStreamMode_",           int(S::TYPE_STREAM_VIDEO));
    row("mImageRenderType_",      1);
    row("mRenderDriverValue_",    "d3d11");
    row("mSDLRenderFlag_",        4);
    row("mStreamDataDumpEnabled_", true);
    row("mD3dDebugEnabled_",      true);
    row("mVideoMode_",            3);
    row("mVideoModeGw_",          2);
    row("mForceEnableVideoMode_", true);
    row("mVideoModeActual_",      2);
    row("mImgCompressPlatform_",  int(S::TYPE_COMPRESS_LOSSLESS));
    row("mJpegQualityPlatform_",  70);
    row("mVgpuDecodeTypePlatform_", int(S::Hardware_VgpuDecode_TYPE));
    row("mVgpuQPTypePlatform_",   int(S::VgpuQPType_L));
    row("mForceDistributionDecode_", false);
    row("mPlatformUnifiedConfig_", true);
    row("mImgCompress_",          int(S::TYPE_COMPRESS_JPEG));
    row("mVgpuDecodeType_",       int(S::Hardware_VgpuDecode_TYPE));
    row("mVgpuQPType_",           int(S::VgpuQPType_L));
    row("mMouseMode_",            int(S::SERVER_MODE));
    row("mJpegQuality_",          80);
    row("mConfigMode_",           int(S::ConfigModeUserDefine));
    row("mGeometrys_",            QVariantMap{{"0", QRect(120, 80, 1586, 913)}, {"1", QRect(2040, 60, 1682, 945)}});
    row("mWindowMode_",           int(S::MultiVdpWindowMode));
    row("mRenderMode_",           int(S::RenderModeTotal));
    row("mRenderSystemMode_",     int(S::RenderSystemXCB));
    row("mRenderDebugLevel_",     3);
    row("mDisplayRes_",           QSize(2560, 1440));
}

// The launcher's file, loaded as the session program loads it.
void tst_CurrentReader::fullDocument()
{
    QFETCH(QByteArray, field);
    QFETCH(QVariant, expected);

    const QString path = session->copyFixture(QFINDTESTDATA(QStringLiteral("data/current/") + fullFixture), fullFixture);
    QVERIFY(session->settings()->loadFromVdp(path));
    QVERIFY(fields().contains(field));
    QCOMPARE(fields().value(field)(session->d()), expected);
}

void tst_CurrentReader::fullDocumentMessages()
{
    const QString path = session->copyFixture(QFINDTESTDATA(QStringLiteral("data/current/") + fullFixture), fullFixture);
    QVERIFY(session->settings()->loadFromVdp(path));

    const LogCapture &log = session->log();
    const QStringList expected = {
        "vdp is new format",
        "read old vdp file for inherit",
        "old vdp path: " + session->workDir() + "/5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a-2.vdp",
        "old vdp path not exits",
        "certPath:C:/Users/liwei/Documents/cert/calderwyn_cert.pem",
        "isAutoHideToolbar:true",
        "primary screen name: \\\\.\\DISPLAY2",
        "video mode: forceEnableVideoMode: true, videoModeGw: 2, videoMode:3",
        "video mode: stream_control_value:1, videoModeActual:2",
    };
    QStringList got;
    for (const LogCapture::Message &m : log.messages())
        got << m.text;
    QCOMPARE(got, expected);
    QVERIFY(log.containsQt(QtInfoMsg, "read geometrys : "));
    QVERIFY(!log.containsQt(QtInfoMsg, "read geometry : "));
    QVERIFY(!log.containsQt(QtInfoMsg, "vdp display4KType"));
    QVERIFY(!log.containsQt(QtInfoMsg, "vdp autoBreakSecondTimes"));

    // The pipeline gets the broker's policy, but with the user's JPEG quality in force.
    const QJsonObject full = fixture(fullFixture);
    QJsonObject policy = full["vm settings"]["vm"]["controlPolicy"]["video_policy"].toObject();
    policy["jpeg_quality"] = 80;
    QCOMPARE(QJsonDocument::fromJson(QByteArray::fromStdString(session->d()->mVideoPolicy_)).object(), policy);
}

// Listeners are not told of a load; QML reads the values when it next asks.
void tst_CurrentReader::readingEmitsNothing()
{
    S *s = session->settings();
    const QMetaObject *meta = s->metaObject();
    QVector<QSharedPointer<QSignalSpy>> spies;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            spies.append(QSharedPointer<QSignalSpy>::create(s, meta->method(i)));
    }
    s->fromJson(fixture(fullFixture));
    s->fromJson(fixture("geometry-both-forms.vdp"));
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
}

void tst_CurrentReader::conversions_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QVariant>("expected");

    const QString renderDriverFallback = XSystem::isZhaoxinU6780A() ? "software" : "auto";
    QTest::newRow("bool refuses 1")              << QByteArray(R"({"basic settings":{"IsMMR":1}})")            << QByteArray("mIsMMR_")            << QVariant(false);
    QTest::newRow("number refuses 2.5")          << QByteArray(R"({"basic settings":{"LogLevel":2.5}})")       << QByteArray("mLogLevel_")         << QVariant(0);
    QTest::newRow("number refuses 1e300")        << QByteArray(R"({"basic settings":{"LogLevel":1e300}})")     << QByteArray("mLogLevel_")         << QVariant(0);
    QTest::newRow("number refuses 2^31")         << QByteArray(R"({"basic settings":{"LogLevel":2147483648}})") << QByteArray("mLogLevel_")        << QVariant(0);
    QTest::newRow("number takes -2^31")          << QByteArray(R"({"basic settings":{"LogLevel":-2147483648}})") << QByteArray("mLogLevel_")       << QVariant(-2147483647 - 1);
    QTest::newRow("LogLevel at the top level")   << QByteArray(R"({"LogLevel":4})")                            << QByteArray("mLogLevel_")         << QVariant(0);
    QTest::newRow("es frequency missing")        << QByteArray(R"({})")                                        << QByteArray("mEsFrequency_")      << QVariant(0);
    QTest::newRow("port 70000")                  << QByteArray(R"({"vm settings":{"serverPort":70000}})")      << QByteArray("mServerPort_")       << QVariant(4464);
    QTest::newRow("port -1")                     << QByteArray(R"({"vm settings":{"serverPort":-1}})")         << QByteArray("mServerPort_")       << QVariant(65535);
    QTest::newRow("port as text")                << QByteArray(R"({"vm settings":{"serverPort":"8443"}})")     << QByteArray("mServerPort_")       << QVariant(0);
    QTest::newRow("poolType digit")              << QByteArray(R"({"vm settings":{"poolType":"3"}})")          << QByteArray("mPoolType_")         << QVariant(3);
    QTest::newRow("poolType number")             << QByteArray(R"({"vm settings":{"poolType":3}})")            << QByteArray("mPoolType_")         << QVariant(0);
    QTest::newRow("poolType word")               << QByteArray(R"({"vm settings":{"poolType":"seven"}})")      << QByteArray("mPoolType_")         << QVariant(0);
    QTest::newRow("upm \"1\"")                   << QByteArray(R"({"vm settings":{"enable Upm Policy":"1"}})") << QByteArray("mIsEnableUpmPolicy_") << QVariant(true);
    QTest::newRow("upm \"01\"")                  << QByteArray(R"({"vm settings":{"enable Upm Policy":"01"}})") << QByteArray("mIsEnableUpmPolicy_") << QVariant(false);
    QTest::newRow("upm \"true\"")                << QByteArray(R"({"vm settings":{"enable Upm Policy":"true"}})") << QByteArray("mIsEnableUpmPolicy_") << QVariant(false);
    QTest::newRow("upm 1")                       << QByteArray(R"({"vm settings":{"enable Upm Policy":1}})")   << QByteArray("mIsEnableUpmPolicy_") << QVariant(false);
    QTest::newRow("upm true")                    << QByteArray(R"({"vm settings":{"enable Upm Policy":true}})") << QByteArray("mIsEnableUpmPolicy_") << QVariant(false);
    QTest::newRow("user name from name")         << QByteArray(R"({"vm settings":{"name":"liwei"}})")          << QByteArray("mCurrentUsername_")  << QVariant("liwei");
    QTest::newRow("empty user name from name")   << QByteArray(R"({"vm settings":{"name":"liwei","userName":""}})") << QByteArray("mCurrentUsername_") << QVariant("liwei");
    QTest::newRow("user name of its own")        << QByteArray(R"({"vm settings":{"name":"liwei","userName":"Li Wei"}})") << QByteArray("mCurrentUsername_") << QVariant("Li Wei");
    QTest::newRow("client type in vm settings")  << QByteArray(R"({"vm settings":{"client type":1}})")         << QByteArray("mClientType_")       << QVariant(0);
    QTest::newRow("serverIp at the top level")   << QByteArray(R"({"serverIp":"10.20.30.40"})")                << QByteArray("mServerIp_")         << QVariant("");
    QTest::newRow("uuid, nothing")               << QByteArray(R"({})")                                        << QByteArray("mUuid_")             << QVariant("-");
    QTest::newRow("uuid, IPv6")                  << QByteArray(R"({"vm settings":{"serverIp":"fd00::1","vm":{"vmUuid":"42"}}})") << QByteArray("mUuid_") << QVariant("fd00--1-42");
    QTest::newRow("IPv6 address keeps colons")   << QByteArray(R"({"vm settings":{"serverIp":"fd00::1","vm":{"vmUuid":"42"}}})") << QByteArray("mServerIp_") << QVariant("fd00::1");
    QTest::newRow("vmUuid one level too high")   << QByteArray(R"({"vm settings":{"vmUuid":"42"}})")           << QByteArray("mVmUuid_")           << QVariant("");
    QTest::newRow("vmName in vm settings")       << QByteArray(R"({"vm settings":{"vmName":"FIN-023"}})")      << QByteArray("mVmName_")           << QVariant("");
    QTest::newRow("clipboard under controlPolicy") << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"rdpClipboard":2}}}})") << QByteArray("mRdpClipboardPolicy_") << QVariant(0);
    QTest::newRow("LocalDisk with a number")     << QByteArray(R"({"basic settings":{"LocalDisk":[{"DeviceId":"D:"},5]}})") << QByteArray("mDiskRedir_") << QVariant(QStringList{"D:", ""});
    QTest::newRow("lstIps with a number")        << QByteArray(R"({"vm settings":{"vm":{"lstIps":["10.0.0.5",5]}}})") << QByteArray("mIpList_") << QVariant(QStringList{"10.0.0.5", ""});
    QTest::newRow("vgpu decode type missing")    << QByteArray(R"({})")                                        << QByteArray("mVgpuDecodeType_")   << QVariant(int(S::Software_VgpuDecode_TYPE));
    QTest::newRow("vgpu qp type 0")              << QByteArray(R"({"vgpu qp type":0})")                        << QByteArray("mVgpuQPType_")       << QVariant(int(S::VgpuQPType_M));
    QTest::newRow("vgpu qp type missing")        << QByteArray(R"({})")                                        << QByteArray("mVgpuQPType_")       << QVariant(int(S::VgpuQPType_M));
    QTest::newRow("jpeg_quality missing")        << QByteArray(R"({})")                                        << QByteArray("mJpegQuality_")      << QVariant(95);
    QTest::newRow("policy jpeg_quality missing") << QByteArray(R"({})")                                        << QByteArray("mJpegQualityPlatform_") << QVariant(0);
    QTest::newRow("policy compression 0")        << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"video_policy":{"image_compression_mode":0}}}}})") << QByteArray("mImgCompressPlatform_") << QVariant(int(S::TYPE_COMPRESS_JPEG));
    QTest::newRow("policy compression 1")        << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"video_policy":{"image_compression_mode":1}}}}})") << QByteArray("mImgCompressPlatform_") << QVariant(int(S::TYPE_COMPRESS_LOSSLESS));
    QTest::newRow("policy videoDecode missing")  << QByteArray(R"({})")                                        << QByteArray("mVgpuDecodeTypePlatform_") << QVariant(int(S::Software_VgpuDecode_TYPE));
    QTest::newRow("videoQuality missing")        << QByteArray(R"({})")                                        << QByteArray("mVgpuQPTypePlatform_") << QVariant(int(S::VgpuQPType_H));
    QTest::newRow("videoQuality 1")              << QByteArray(R"({"vm settings":{"vm":{"vmOperator":{"videoQuality":1}}}})") << QByteArray("mVgpuQPTypePlatform_") << QVariant(int(S::VgpuQPType_M));
    QTest::newRow("videoQuality in the policy")  << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"video_policy":{"videoQuality":2}}}}})") << QByteArray("mVgpuQPTypePlatform_") << QVariant(int(S::VgpuQPType_H));
    QTest::newRow("distribution decode 1")       << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"video_policy":{"forceDistributionDecode":1}}}}})") << QByteArray("mForceDistributionDecode_") << QVariant(true);
    QTest::newRow("distribution decode 2")       << QByteArray(R"({"vm settings":{"vm":{"controlPolicy":{"video_policy":{"forceDistributionDecode":2}}}}})") << QByteArray("mForceDistributionDecode_") << QVariant(false);
    QTest::newRow("unified config missing")      << QByteArray(R"({})")                                        << QByteArray("mPlatformUnifiedConfig_") << QVariant(true);
    QTest::newRow("unified config 2")            << QByteArray(R"({"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":2}}}})") << QByteArray("mPlatformUnifiedConfig_") << QVariant(false);
    QTest::newRow("window mode 0")               << QByteArray(R"({"window mode":0})")                         << QByteArray("mWindowMode_")       << QVariant(int(S::MultiSDLWindowMode));
    QTest::newRow("window mode missing")         << QByteArray(R"({})")                                        << QByteArray("mWindowMode_")       << QVariant(int(S::MultiSDLWindowMode));
    QTest::newRow("render mode missing")         << QByteArray(R"({})")                                        << QByteArray("mRenderMode_")       << QVariant(int(S::RenderModePart));
    QTest::newRow("render driver as a number")   << QByteArray(R"({"render_driver_value":3})")                 << QByteArray("mRenderDriverValue_") << QVariant(renderDriverFallback);
    QTest::newRow("rectangle of three parts")    << QByteArray(R"({"geometry":"10,20,1280"})")                 << QByteArray("mGeometrys_")        << QVariant(QVariantMap{{"0", QRect()}});
    QTest::newRow("rectangle with words")        << QByteArray(R"({"geometry":"left,20,1280,720"})")           << QByteArray("mGeometrys_")        << QVariant(QVariantMap{{"0", QRect(0, 20, 1280, 720)}});
    QTest::newRow("geometrys element no id")     << QByteArray(R"({"geometrys":[{"geometry":"10,20,1280,720"}]})") << QByteArray("mGeometrys_")    << QVariant(QVariantMap{{"0", QRect(10, 20, 1280, 720)}});
}

void tst_CurrentReader::conversions()
{
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, field);
    QFETCH(QVariant, expected);

    QVERIFY(fields().contains(field));
    session->settings()->fromJson(parse(json));
    QCOMPARE(fields().value(field)(session->d()), expected);
}

void tst_CurrentReader::rangeReplacements_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("message");

    const QString display4K = "vdp display4KType parameter is error, now use Display_Default";
    const QString autoBreak = "vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO";
    QTest::newRow("4K 7")            << QByteArray(R"({"basic settings":{"display4KType":7}})")  << QByteArray("mDisplay4KType_")        << 0 << display4K;
    QTest::newRow("4K -1")           << QByteArray(R"({"basic settings":{"display4KType":-1}})") << QByteArray("mDisplay4KType_")        << 0 << display4K;
    QTest::newRow("4K 3")            << QByteArray(R"({"basic settings":{"display4KType":3}})")  << QByteArray("mDisplay4KType_")        << 3 << QString();
    QTest::newRow("4K as text")      << QByteArray(R"({"basic settings":{"display4KType":"2"}})") << QByteArray("mDisplay4KType_")       << 0 << QString();
    QTest::newRow("4K at top level") << QByteArray(R"({"display4KType":2})")                     << QByteArray("mDisplay4KType_")        << 0 << QString();
    QTest::newRow("break 5")         << QByteArray(R"({"basic settings":{"auto break second times":5}})")  << QByteArray("mAutoBreakSecondTimes_") << 4 << autoBreak;
    QTest::newRow("break -1")        << QByteArray(R"({"basic settings":{"auto break second times":-1}})") << QByteArray("mAutoBreakSecondTimes_") << 4 << autoBreak;
    QTest::newRow("break 3")         << QByteArray(R"({"basic settings":{"auto break second times":3}})")  << QByteArray("mAutoBreakSecondTimes_") << 3 << QString();
    QTest::newRow("break missing")   << QByteArray(R"({})")                                      << QByteArray("mAutoBreakSecondTimes_") << 0 << QString();
    QTest::newRow("break 2^31")      << QByteArray(R"({"basic settings":{"auto break second times":2147483648}})") << QByteArray("mAutoBreakSecondTimes_") << 0 << QString();
}

void tst_CurrentReader::rangeReplacements()
{
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, field);
    QFETCH(int, expected);
    QFETCH(QString, message);

    session->settings()->fromJson(parse(json));
    QCOMPARE(fields().value(field)(session->d()).toInt(), expected);
    const LogCapture &log = session->log();
    if (message.isEmpty()) {
        QVERIFY(!log.containsQt(QtInfoMsg, "vdp display4KType") && !log.containsQt(QtInfoMsg, "vdp autoBreakSecondTimes"));
    } else {
        QCOMPARE(log.countQt(QtInfoMsg, message), 1);
        QCOMPARE(qtMessage(log, message), message);
    }
}

// A rewritten file names few keys: what it leaves out goes back to the defaults, except what the
// launcher writes only when it has something to say, and the lists, which are never emptied.
void tst_CurrentReader::sparseReloadResetsAndKeeps_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *field, const QVariant &expected) { QTest::newRow(field) << QByteArray(field) << expected; };
    // reset
    row("mRdrVmName_",          "");
    row("mIsMMR_",              false);
    row("mCertPath_",           "");
    row("mEsFrequency_",        0);
    row("mDisplay4KType_",      0);
    row("mLoginName_",          "");
    row("mServerIp_",           "10.20.30.41");
    row("mUuid_",               "10.20.30.41-8e41b3d0-2c6f-4a9e-b1d7-0f5c3a92e8b4");
    row("mServerPort_",         0);
    row("mProtocol_",           "");
    row("mVmOperator_",         QVariantList{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    row("mRdpClipboardPolicy_", 0);
    row("mJpegQuality_",        95);
    row("mJpegQualityPlatform_", 0);
    row("mConfigMode_",         int(S::ConfigModePreDefine));
    row("mWindowMode_",         int(S::MultiVdpWindowMode));
    row("mRenderMode_",         int(S::RenderModePart));
    // derived from the rest of the pass: the kept stream mode wins over the reset policy
    row("mVideoModeActual_",    int(S::TYPE_STREAM_VIDEO));
    // kept
    row("mUsbConfigs_",         "0781:5581:allow;046d:c52b:deny");
    row("mStreamMode_",         int(S::TYPE_STREAM_VIDEO));
    row("mImageRenderType_",    1);
    row("mRenderDriverValue_",  "d3d11");
    row("mSDLRenderFlag_",      4);
    row("mStreamDataDumpEnabled_", true);
    row("mD3dDebugEnabled_",    true);
    row("mDisplayRes_",         QSize(2560, 1440));
    row("mGeometrys_",          QVariantMap{{"0", QRect(120, 80, 1586, 913)}, {"1", QRect(2040, 60, 1682, 945)}});
    // not emptied
    row("mDiskRedir_",          QStringList{"C:", "E:"});
    row("mIpList_",             QStringList{"10.20.31.23", "192.168.100.23"});
    row("mVmAddrs_",            QStringList{"52:54:00:3a:9c:17=10.20.31.23,fd00:20:31::23", "52:54:00:3a:9c:18=192.168.100.23"});
}

void tst_CurrentReader::sparseReloadResetsAndKeeps()
{
    QFETCH(QByteArray, field);
    QFETCH(QVariant, expected);

    session->settings()->fromJson(fixture(fullFixture));
    session->settings()->fromJson(fixture("rewritten-sparse.vdp"));
    QCOMPARE(fields().value(field)(session->d()), expected);
}

void tst_CurrentReader::listsGrowOnEveryLoad()
{
    const QJsonObject full = fixture(fullFixture);
    session->settings()->fromJson(full);
    session->settings()->fromJson(full);

    const VdSessionSettingsPrivate *d = session->d();
    QCOMPARE(d->mDiskRedir_, (QStringList{"C:", "E:", "C:", "E:"}));
    QCOMPARE(d->mIpList_, (QStringList{"10.20.31.23", "192.168.100.23", "10.20.31.23", "192.168.100.23"}));
    QCOMPARE(d->mVmAddrs_.size(), size_t(4));
    QCOMPARE(d->mVmAddrs_[2].mac, std::string("52:54:00:3a:9c:17"));
}

void tst_CurrentReader::optionalKeysAbsent()
{
    VdSessionSettingsPrivate *d = session->d();
    d->mStreamMode_ = S::TYPE_STREAM_HD;
    d->mImageRenderType_ = 2;
    d->mRenderDriverValue_ = "opengl";
    d->mSDLRenderFlag_ = 8;
    d->mStreamDataDumpEnabled_ = true;
    d->mD3dDebugEnabled_ = true;
    d->mUsbConfigs_ = "0781:5581:allow";

    session->settings()->fromJson(QJsonObject());

    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_HD);
    QCOMPARE(d->mImageRenderType_, 2);
    QCOMPARE(d->mRenderDriverValue_, QStringLiteral("opengl"));
    QCOMPARE(d->mSDLRenderFlag_, 8);
    QCOMPARE(d->mStreamDataDumpEnabled_, true);
    QCOMPARE(d->mD3dDebugEnabled_, true);
    QCOMPARE(d->mUsbConfigs_, QStringLiteral("0781:5581:allow"));
    for (const char *key : {"render_type", "render_driver_value", "render_flag", "dump_stream_data", "d3d_debug"})
        QVERIFY2(session->log().contains(spdlog::level::info, QString::fromLatin1(key) + " is not defined"), key);
}

// Present with null is present: the key's default, and no message.
void tst_CurrentReader::optionalKeysNull()
{
    VdSessionSettingsPrivate *d = session->d();
    d->mStreamMode_ = S::TYPE_STREAM_HD;
    d->mImageRenderType_ = 2;
    d->mSDLRenderFlag_ = 8;
    d->mStreamDataDumpEnabled_ = true;
    d->mD3dDebugEnabled_ = true;
    d->mUsbConfigs_ = "0781:5581:allow";

    session->settings()->fromJson(parse(R"({"stream_control_value":null,"render_type":null,"render_driver_value":null,
        "render_flag":null,"dump_stream_data":null,"d3d_debug":null,"basic settings":{"usbConfigInfo":null}})"));

    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_OFFICE);
    QCOMPARE(d->mImageRenderType_, 0);
    QCOMPARE(d->mRenderDriverValue_, XSystem::isZhaoxinU6780A() ? QStringLiteral("software") : QStringLiteral("auto"));
    QCOMPARE(d->mSDLRenderFlag_, 0);
    QCOMPARE(d->mStreamDataDumpEnabled_, false);
    QCOMPARE(d->mD3dDebugEnabled_, false);
    QCOMPARE(d->mUsbConfigs_, QString());
    for (const LogCapture::Message &m : session->log().messages())
        QVERIFY2(!m.text.endsWith(" is not defined"), qPrintable(m.text));
}

void tst_CurrentReader::videoModeActual_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("actual");

    const QByteArray policy = R"("vm":{"controlPolicy":{"video_policy":{"videoMode":1,"videoModeGw":3,"forceEnableVideoMode":%1}}})";
    auto doc = [&](int serverType, int force, const char *stream) {
        return QByteArray("{") + stream + R"("vm settings":{"serverType":)" + QByteArray::number(serverType) + ","
            + QByteArray(policy).replace("%1", QByteArray::number(force)) + "}}";
    };
    QTest::newRow("gateway, no stream mode")      << doc(1, 0, "")                            << 3;
    QTest::newRow("direct, no stream mode")       << doc(0, 0, "")                            << 1;
    QTest::newRow("stream mode wins")             << doc(1, 0, R"("stream_control_value":2,)") << 2;
    QTest::newRow("forced, gateway")              << doc(1, 1, R"("stream_control_value":2,)") << 3;
    QTest::newRow("forced, direct")               << doc(0, 1, R"("stream_control_value":2,)") << 1;
    QTest::newRow("stream mode none")             << doc(0, 0, R"("stream_control_value":-1,)") << 1;
    QTest::newRow("no policy at all")             << QByteArray("{}")                         << 0;
}

void tst_CurrentReader::videoModeActual()
{
    QFETCH(QByteArray, json);
    QFETCH(int, actual);

    session->settings()->fromJson(parse(json));
    QCOMPARE(session->d()->mVideoModeActual_, actual);
}

void tst_CurrentReader::configModeAndPolicyText_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("configMode");
    QTest::addColumn<QByteArray>("policyText");

    QTest::newRow("platform leaves it to the document")
        << QByteArray(R"({"config mode":1,"jpeg_quality":80,"vm settings":{"vm":{"controlPolicy":{"video_policy":{"jpeg_quality":70,"videoMode":2}}}}})")
        << 1 << QByteArray(R"({"jpeg_quality":80,"videoMode":2})");
    QTest::newRow("document says platform")
        << QByteArray(R"({"config mode":0,"jpeg_quality":80,"vm settings":{"vm":{"controlPolicy":{"video_policy":{"jpeg_quality":70}}}}})")
        << 0 << QByteArray(R"({"jpeg_quality":70})");
    QTest::newRow("forced distribution decode")
        << QByteArray(R"({"config mode":1,"jpeg_quality":80,"vm settings":{"vm":{"controlPolicy":{"video_policy":{"jpeg_quality":70,"forceDistributionDecode":1}}}}})")
        << 0 << QByteArray(R"({"jpeg_quality":70,"forceDistributionDecode":1})");
    QTest::newRow("platform not unified")
        << QByteArray(R"({"config mode":0,"jpeg_quality":80,"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":1},"controlPolicy":{"video_policy":{"jpeg_quality":70,"forceDistributionDecode":1}}}}})")
        << 1 << QByteArray(R"({"jpeg_quality":80,"forceDistributionDecode":1})");
    QTest::newRow("user's quality into a missing policy")
        << QByteArray(R"({"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":1}}}})")
        << 1 << QByteArray(R"({"jpeg_quality":95})");
    QTest::newRow("no policy")
        << QByteArray(R"({})")
        << 0 << QByteArray(R"({})");
}

void tst_CurrentReader::configModeAndPolicyText()
{
    QFETCH(QByteArray, json);
    QFETCH(int, configMode);
    QFETCH(QByteArray, policyText);

    const QJsonObject document = parse(json);
    session->settings()->fromJson(document);
    const VdSessionSettingsPrivate *d = session->d();
    QCOMPARE(int(d->mConfigMode_), configMode);
    const QByteArray text = QByteArray::fromStdString(d->mVideoPolicy_);
    QCOMPARE(QJsonDocument::fromJson(text).object(), parse(policyText));
    QCOMPARE(text, QJsonDocument(parse(policyText)).toJson(QJsonDocument::Indented));
    // The document handed in is not touched.
    QCOMPARE(document, parse(json));
}

void tst_CurrentReader::singleGeometryWins()
{
    session->d()->mGeometrys_.insert(1, QRect(1930, 40, 1600, 900));
    session->settings()->fromJson(fixture("geometry-both-forms.vdp"));

    QCOMPARE(asVariant(session->d()->mGeometrys_),
             QVariant(QVariantMap{{"0", QRect(300, 200, 1280, 720)}, {"1", QRect(1930, 40, 1600, 900)}}));
    QVERIFY(session->log().containsQt(QtInfoMsg, "read geometry : "));
    QVERIFY(!session->log().containsQt(QtInfoMsg, "read geometrys : "));
}

void tst_CurrentReader::geometrysSkipBadEntries()
{
    session->d()->mGeometrys_.insert(0, QRect(100, 50, 1000, 801));
    session->settings()->fromJson(fixture("geometrys-with-bad-entry.vdp"));

    QCOMPARE(asVariant(session->d()->mGeometrys_),
             QVariant(QVariantMap{{"0", QRect(100, 50, 1000, 801)}, {"1", QRect(1930, 40, 1600, 900)}, {"2", QRect(3850, 40, 1600, 900)}}));
    QVERIFY(session->log().containsQt(QtInfoMsg, "read geometrys : "));
}

void tst_CurrentReader::displayRes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("two numbers")     << QByteArray(R"({"display_res":"1920,1080"})")      << QSize(1920, 1080);
    QTest::newRow("with blanks")     << QByteArray(R"({"display_res":" 1600 , 900 "})")    << QSize(1600, 900);
    QTest::newRow("one number")      << QByteArray(R"({"display_res":"1920"})")            << QSize(1024, 768);
    QTest::newRow("three numbers")   << QByteArray(R"({"display_res":"1920,1080,60"})")    << QSize(1024, 768);
    QTest::newRow("as a number")     << QByteArray(R"({"display_res":1920})")              << QSize(1024, 768);
    QTest::newRow("missing")         << QByteArray(R"({})")                                << QSize(1024, 768);
}

void tst_CurrentReader::displayRes()
{
    QFETCH(QByteArray, json);
    QFETCH(QSize, expected);

    session->d()->mDisplayRes_ = QSize(1024, 768);
    session->settings()->fromJson(parse(json));
    QCOMPARE(session->d()->mDisplayRes_, expected);
}

void tst_CurrentReader::addressForms()
{
    const VdSessionSettingsPrivate *d = session->d();
    session->settings()->fromJson(parse(R"({"vm settings":{"vm":{"lstAddresses":{"mac":"52:54:00:3a:9c:17"}}}})"));
    QCOMPARE(d->mVmMac_, QStringLiteral("52:54:00:3a:9c:17"));
    QVERIFY(d->mVmAddrs_.empty());

    session->settings()->fromJson(parse(R"({"vm settings":{"vm":{"lstAddresses":[{"mac":"52:54:00:3a:9c:18","lstIps":["10.20.31.24","10.20.32.24"]},
                                                                               7,{"mac":5,"lstIps":"10.20.31.25"}]}}})"));
    QCOMPARE(d->mVmMac_, QString());
    QCOMPARE(asVariant(d->mVmAddrs_), QVariant(QStringList{"52:54:00:3a:9c:18=10.20.31.24,10.20.32.24", "=", "="}));
}

void tst_CurrentReader::operatorPermissions_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index"); // in the record's member order

    const char *keys[] = {"shutdown", "reboot", "powerOffReboot", "powerOff", "backHome", "disconnection",
                          "clientCtrlAltDel", "logoutUser", "snapshot", "networkDetection", "interactShutdown",
                          "clientOccupy", "modifyName", "multiDynamicDesktop"};
    for (int i = 0; i < 14; ++i)
        QTest::newRow(keys[i]) << QString::fromLatin1(keys[i]) << i;
    QTest::newRow("none")         << QString("nothing") << -1;
}

// Each permission lands in its own member, and every other member is reset, the two that start
// at 1 included; the two operator values that drive the video settings are not permissions.
void tst_CurrentReader::operatorPermissions()
{
    QFETCH(QString, key);
    QFETCH(int, index);

    QJsonObject op{{key, 7}, {"videoQuality", 2}, {"platformUnifiedConfig", 1}};
    session->settings()->fromJson(QJsonObject{{"vm settings", QJsonObject{{"vm", QJsonObject{{"vmOperator", op}}}}}});
    QVariantList expected;
    for (int i = 0; i < 16; ++i)
        expected << (i == index ? 7 : 0);
    QCOMPARE(asVariant(session->d()->mVmOperator_), QVariant(expected));
}

void tst_CurrentReader::enumeratorMessages()
{
    session->settings()->fromJson(parse(R"({"window mode":2,"render mode":1,"render system mode":2})"));

    const QString window = qtMessage(session->log(), "window mode : ");
    QVERIFY2(window.contains("MultiVdpWindowMode"), qPrintable(window));
    const QString render = qtMessage(session->log(), "render mode : ");
    QVERIFY2(render.contains(QRegularExpression("RenderModePart.*,render system mode:.*RenderSystemXCB")), qPrintable(render));
}

// Keys present with another type than the one each is read as give the same record as keys that
// are missing, except where presence itself counts.
void tst_CurrentReader::wrongTypesGiveDefaults()
{
    session->settings()->fromJson(QJsonObject());
    const QVariantMap missing = snapshot(session->d());

    session->restart();
    session->settings()->fromJson(wrongTypes(fixture(fullFixture)).toObject());
    const VdSessionSettingsPrivate *d = session->d();
    const QVariantMap wrong = snapshot(d);

    // Present, so read: the stream mode, and the effective video mode it decides, and the driver;
    // the policy text is the policy as the document has it.
    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_OFFICE);
    QCOMPARE(d->mVideoModeActual_, 0);
    QCOMPARE(d->mRenderDriverValue_, XSystem::isZhaoxinU6780A() ? QStringLiteral("software") : QStringLiteral("auto"));
    // Lists keep their elements, each an empty string.
    QCOMPARE(d->mDiskRedir_, (QStringList{"", ""}));
    QCOMPARE(d->mIpList_, (QStringList{"", ""}));
    QCOMPARE(asVariant(d->mVmAddrs_), QVariant(QStringList{"=,", "="}));
    const QStringList differ = {"mStreamMode_", "mVideoModeActual_", "mRenderDriverValue_", "mDiskRedir_", "mIpList_", "mVmAddrs_",
                                "mVideoPolicy_"};
    for (auto it = missing.cbegin(); it != missing.cend(); ++it) {
        if (!differ.contains(it.key()))
            QVERIFY2(wrong.value(it.key()) == it.value(), qPrintable(it.key()));
    }
}

void tst_CurrentReader::collectorChangesNothing_data()
{
    QTest::addColumn<QJsonObject>("document");
    QTest::addColumn<QString>("finding");

    QTest::newRow("launcher's file")  << fixture(fullFixture)                           << QString();
    QTest::newRow("wrong types")      << wrongTypes(fixture(fullFixture)).toObject()     << QString("basic settings/IsMMR");
    QTest::newRow("groups of arrays") << parse(R"({"basic settings":[],"vm settings":{"vm":{"controlPolicy":[1],"vmOperator":"x"}},"geometrys":{}})")
                                      << QString("vm settings/vm/controlPolicy");
    QTest::newRow("out of range")     << parse(R"({"basic settings":{"display4KType":9}})") << QString("basic settings/display4KType");
}

// The check command hands a collector along; the record must come out exactly as without one.
void tst_CurrentReader::collectorChangesNothing()
{
    QFETCH(QJsonObject, document);
    QFETCH(QString, finding);

    session->settings()->fromJson(document);
    const QVariantMap without = snapshot(session->d());
    const int qtMessages = session->log().qtMessages().size();

    session->restart();
    ReadDiagnostics diagnostics;
    readCurrentLayout(session->settings(), session->d(), JsonGroup(document, &diagnostics), S::RenderModePart);
    const QVariantMap with = snapshot(session->d());
    for (auto it = without.cbegin(); it != without.cend(); ++it)
        QVERIFY2(with.value(it.key()) == it.value(), qPrintable(it.key()));
    QCOMPARE(session->log().qtMessages().size(), qtMessages);

    QStringList paths;
    for (const ReadDiagnostics::Finding &f : diagnostics.findings())
        paths << f.path;
    if (finding.isEmpty())
        QVERIFY2(paths.isEmpty(), qPrintable(paths.join(", ")));
    else
        QVERIFY2(paths.contains(finding), qPrintable(paths.join(", ")));
}

QTEST_GUILESS_MAIN(tst_CurrentReader)
#include "tst_currentreader.moc"
