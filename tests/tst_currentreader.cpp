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
    else if constexpr (std::is_same_v<T, std::string>)
        return QString::fromStdString(value);
    else
        return QVariant::fromValue(value);
}
QVariant asVariant(const Vdp::tagVMOperator &o)
{
    return QVariantList{o.shutdown, o.reboot, o.powerOffReboot, o.powerOff, o.backHome, o.disconnection,
                        o.clientCtrlAltDel, o.logoutUser, o.snapshot, o.networkDetection, o.interactShutdown,
                        o.clientOccupy, o.modifyName, o.multiDynamicDesktop, o.platformUnifiedConfig, o.videoQuality};
}
QVariant asVariant(const QMap<int, QRect> &geometries) // screen, rectangle, screen, rectangle...
{
    QVariantList list;
    for (auto it = geometries.cbegin(); it != geometries.cend(); ++it)
        list << it.key() << it.value();
    return list;
}
// What a document may leave out and the record then keeps.
QVariant optionalOptions(const VdSessionSettingsPrivate *d)
{
    return QVariantList{int(d->mStreamMode_), d->mImageRenderType_, d->mRenderDriverValue_, d->mSDLRenderFlag_,
                        d->mStreamDataDumpEnabled_, d->mD3dDebugEnabled_, d->mUsbConfigs_};
}

// The member of the record that a table row checks.
struct Field { QVariant (*read)(const VdSessionSettingsPrivate *); };

QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

const QString launcherFile = QStringLiteral("VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp");
QByteArray fixture(const QString &name)
{
    QFile file(QFINDTESTDATA("data/current/" + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Field)
#define F(member) Field{[](const VdSessionSettingsPrivate *d) { return asVariant(d->member); }}

class tst_CurrentReader : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Each row loads the launcher's file as the session program does, then, when the row gives
    // one, a second document into the same record. It checks one member, and a message that the
    // last read gives once; no listener hears of either read.
    void reads_data()
    {
        QTest::addColumn<QByteArray>("then");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QString>("message");

        // The writer's file names few keys; the rest is reset, except what the launcher writes only
        // when it has something to say, where null counts as said. The same file twice lists twice.
        const QByteArray none, again = fixture(launcherFile), sparse = fixture("rewritten-sparse.vdp"), nulls = fixture("optional-keys-null.vdp");
        const QString fallback = XSystem::isZhaoxinU6780A() ? "software" : "auto";
        const QString policy = R"({"vm settings":{"serverType":%1,"vm":{"controlPolicy":{"video_policy":{"videoMode":1,"videoModeGw":3,"forceEnableVideoMode":%2}}}},"stream_control_value":%3})";
        auto videoModes = [&](int serverType, int force, int stream) { return policy.arg(serverType).arg(force).arg(stream).toUtf8(); };
        const QString unified = R"({"config mode":%1,"jpeg_quality":80,"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":%2},"controlPolicy":{"video_policy":{"jpeg_quality":70,"forceDistributionDecode":%3}}}}})";
        auto configModes = [&](int configMode, int platformUnified, int forced) { return unified.arg(configMode).arg(platformUnified).arg(forced).toUtf8(); };
        // the launcher's file: a key of each group and type
        QTest::newRow("RdrVmName")               << none   << F(mRdrVmName_)               << QVariant("FIN-WIN10-023")   << QString();
        QTest::newRow("isThinClient")            << none   << F(mIsThinClient_)            << QVariant(true)              << QString();
        QTest::newRow("noMoreshowDialog")        << none   << F(mNoMoreshowDialog_)        << QVariant(true)              << QString();
        QTest::newRow("client type")             << none   << F(mClientType_)              << QVariant(1)                 << QString();
        QTest::newRow("userName")                << none   << F(mCurrentUsername_)         << QVariant("Li Wei")          << QString();
        QTest::newRow("enable Upm Policy \"1\"") << none   << F(mIsEnableUpmPolicy_)       << QVariant(true)              << QString();
        QTest::newRow("uuid")                    << none   << F(mUuid_)                    << QVariant("10.20.30.40-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a") << QString();
        QTest::newRow("isOpenldap")              << none   << F(mIsOpenLdap_)              << QVariant(1)                 << QString();
        QTest::newRow("osType")                  << none   << F(mOsType_)                  << QVariant(3)                 << QString();
        QTest::newRow("ratelimitor policy")      << none   << F(mRateLimitorPolicy_)       << QVariant("{\"upload\":2048,\"download\":20480}") << QString();
        QTest::newRow("rdpClipboard")            << none   << F(mRdpClipboardPolicy_)      << QVariant(2)                 << QString();
        QTest::newRow("policy compression 1")    << none   << F(mImgCompressPlatform_)     << QVariant(int(S::TYPE_COMPRESS_LOSSLESS)) << QString();
        QTest::newRow("videoQuality 2")          << none   << F(mVgpuQPTypePlatform_)      << QVariant(int(S::VgpuQPType_L)) << QString();
        QTest::newRow("distribution decode 2")   << none   << F(mForceDistributionDecode_) << QVariant(false)             << QString();
        // resets and what is kept
        QTest::newRow("reset es frequency")      << sparse << F(mEsFrequency_)             << QVariant(0)                 << QString();
        QTest::newRow("reset vmOperator")        << sparse << F(mVmOperator_)              << QVariant(QVariantList{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) << QString();
        QTest::newRow("reset jpeg_quality")      << sparse << F(mJpegQuality_)             << QVariant(95)                << QString();
        QTest::newRow("reset render mode")       << sparse << F(mRenderMode_)              << QVariant(int(S::RenderModePart)) << QString();
        QTest::newRow("uuid of IPv6")            << sparse << F(mUuid_)                    << QVariant("fd00-20-30--41-8e41b3d0-2c6f-4a9e-b1d7-0f5c3a92e8b4") << QString();
        QTest::newRow("IPv6 keeps colons")       << sparse << F(mServerIp_)                << QVariant("fd00:20:30::41")  << QString();
        QTest::newRow("kept stream mode rules")  << sparse << F(mVideoModeActual_)         << QVariant(int(S::TYPE_STREAM_VIDEO)) << QString("video mode: stream_control_value:1, videoModeActual:1");
        QTest::newRow("kept options")            << sparse << Field{optionalOptions}       << QVariant(QVariantList{1, 1, "d3d11", 4, true, true, "0781:5581:allow;046d:c52b:deny"}) << QString();
        QTest::newRow("null options")            << nulls  << Field{optionalOptions}       << QVariant(QVariantList{0, 0, fallback, 0, false, false, ""}) << QString();
        QTest::newRow("lists twice")             << again  << Field{[](const VdSessionSettingsPrivate *d) { return QVariant(QVariantList{d->mDiskRedir_.size(), d->mIpList_.size(), int(d->mVmAddrs_.size())}); }} << QVariant(QVariantList{4, 4, 4}) << QString();
        // conversions and the rules of single keys
        QTest::newRow("bool refuses 1")          << QByteArray(R"({"basic settings":{"IsMMR":1}})")                  << F(mIsMMR_)              << QVariant(false)     << QString();
        QTest::newRow("number refuses 2.5")      << QByteArray(R"({"basic settings":{"LogLevel":2.5}})")             << F(mLogLevel_)           << QVariant(0)         << QString();
        QTest::newRow("number refuses 2^31")     << QByteArray(R"({"basic settings":{"LogLevel":2147483648}})")      << F(mLogLevel_)           << QVariant(0)         << QString();
        QTest::newRow("number takes -2^31")      << QByteArray(R"({"basic settings":{"LogLevel":-2147483648}})")     << F(mLogLevel_)           << QVariant(INT_MIN)   << QString();
        QTest::newRow("string refuses number")   << QByteArray(R"({"vm settings":{"protocol":5}})")                  << F(mProtocol_)           << QVariant("")        << QString();
        QTest::newRow("port's low 16 bits")      << QByteArray(R"({"vm settings":{"serverPort":70000}})")            << F(mServerPort_)         << QVariant(4464)      << QString();
        QTest::newRow("poolType digit")          << QByteArray(R"({"vm settings":{"poolType":"3"}})")                << F(mPoolType_)           << QVariant(3)         << QString();
        QTest::newRow("poolType number")         << QByteArray(R"({"vm settings":{"poolType":3}})")                  << F(mPoolType_)           << QVariant(0)         << QString();
        QTest::newRow("upm \"01\"")              << QByteArray(R"({"vm settings":{"enable Upm Policy":"01"}})")      << F(mIsEnableUpmPolicy_)  << QVariant(false)     << QString();
        QTest::newRow("empty userName")          << QByteArray(R"({"vm settings":{"name":"liwei","userName":""}})")  << F(mCurrentUsername_)    << QVariant("liwei")   << QString();
        QTest::newRow("LocalDisk with a number") << QByteArray(R"({"basic settings":{"LocalDisk":[{"DeviceId":"D:"},5]}})") << F(mDiskRedir_)  << QVariant(QStringList{"C:", "E:", "D:", ""}) << QString();
        QTest::newRow("isAutoHideToolbar")       << QByteArray(R"({"basic settings":{}})")                           << F(mIsAutoHideToolbar_)  << QVariant(false)     << QString("isAutoHideToolbar:false");
        QTest::newRow("4K 3")                    << QByteArray(R"({"basic settings":{"display4KType":3}})")          << F(mDisplay4KType_)      << QVariant(3)         << QString();
        QTest::newRow("4K 4")                    << QByteArray(R"({"basic settings":{"display4KType":4}})")          << F(mDisplay4KType_)      << QVariant(0)         << QString("vdp display4KType parameter is error, now use Display_Default");
        QTest::newRow("4K -1")                   << QByteArray(R"({"basic settings":{"display4KType":-1}})")         << F(mDisplay4KType_)      << QVariant(0)         << QString("vdp display4KType parameter is error, now use Display_Default");
        QTest::newRow("break 4")                 << QByteArray(R"({"basic settings":{"auto break second times":4}})")  << F(mAutoBreakSecondTimes_) << QVariant(4)  << QString();
        QTest::newRow("break 5")                 << QByteArray(R"({"basic settings":{"auto break second times":5}})")  << F(mAutoBreakSecondTimes_) << QVariant(4)  << QString("vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO");
        QTest::newRow("break -1")                << QByteArray(R"({"basic settings":{"auto break second times":-1}})") << F(mAutoBreakSecondTimes_) << QVariant(4)  << QString("vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO");
        QTest::newRow("break missing")           << QByteArray(R"({})")                                              << F(mAutoBreakSecondTimes_) << QVariant(0)     << QString();
        QTest::newRow("MAC alone")               << QByteArray(R"({"vm settings":{"vm":{"lstAddresses":{"mac":"52:54:00:3a:9c:17"}}}})") << F(mVmMac_) << QVariant("52:54:00:3a:9c:17") << QString();
        QTest::newRow("permissions")             << fixture("operator-permissions.vdp")                                 << F(mVmOperator_)         << QVariant(QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 0}) << QString();
        QTest::newRow("vgpu qp type 0")          << QByteArray(R"({"vgpu qp type":0})")                              << F(mVgpuQPType_)         << QVariant(int(S::VgpuQPType_M)) << QString();
        QTest::newRow("vgpu decode type missing") << QByteArray(R"({})")                                             << F(mVgpuDecodeType_)     << QVariant(int(S::Software_VgpuDecode_TYPE)) << QString();
        QTest::newRow("videoDecode missing")     << QByteArray(R"({})")                                              << F(mVgpuDecodeTypePlatform_) << QVariant(int(S::Software_VgpuDecode_TYPE)) << QString();
        QTest::newRow("window mode 0")           << QByteArray(R"({"window mode":0})")                               << F(mWindowMode_)         << QVariant(int(S::MultiSDLWindowMode)) << QString("window mode : VdSessionSettings::MultiSDLWindowMode");
        QTest::newRow("render driver number")    << QByteArray(R"({"render_driver_value":3})")                       << F(mRenderDriverValue_)  << QVariant(fallback)  << QString();
        QTest::newRow("display_res with blanks") << QByteArray(R"({"display_res":" 1600 , 900 "})")                  << F(mDisplayRes_)         << QVariant(QSize(1600, 900)) << QString();
        QTest::newRow("display_res of three")    << QByteArray(R"({"display_res":"1920,1080,60"})")                  << F(mDisplayRes_)         << QVariant(QSize(2560, 1440)) << QString();
        QTest::newRow("single rectangle wins")   << QByteArray(R"({"geometry":" 300, 200 ,1280,720 ","geometrys":[{"id":1,"geometry":"10,10,1024,768"}]})") << F(mGeometrys_)
                                                 << QVariant(QVariantList{0, QRect(300, 200, 1280, 720), 1, QRect(2040, 60, 1682, 945)}) << QString("read geometry : ");
        QTest::newRow("rectangles by screen")    << QByteArray(R"({"geometrys":[{"id":2,"geometry":"3850,40,1600,900"},{"id":3,"geometry":"0,0,1600"},{"id":1,"geometry":"left,20,1280,720"}]})") << F(mGeometrys_)
                                                 << QVariant(QVariantList{0, QRect(120, 80, 1586, 913), 1, QRect(0, 20, 1280, 720), 2, QRect(3850, 40, 1600, 900)}) << QString("read geometrys : ");
        QTest::newRow("video mode of gateway")   << videoModes(1, 0, -1)                                             << F(mVideoModeActual_)    << QVariant(3)         << QString();
        QTest::newRow("stream mode wins")        << videoModes(1, 0, 2)                                              << F(mVideoModeActual_)    << QVariant(2)         << QString();
        QTest::newRow("forced video mode")       << videoModes(1, 2, 2)                                              << F(mVideoModeActual_)    << QVariant(3)         << QString();
        QTest::newRow("platform's quality")      << configModes(0, 0, 0)                                             << F(mVideoPolicy_)        << QVariant("{\n    \"forceDistributionDecode\": 0,\n    \"jpeg_quality\": 70\n}\n") << QString();
        QTest::newRow("user's quality")          << configModes(1, 0, 0)                                             << F(mVideoPolicy_)        << QVariant("{\n    \"forceDistributionDecode\": 0,\n    \"jpeg_quality\": 80\n}\n") << QString();
        QTest::newRow("forced distribution")     << configModes(1, 0, 1)                                             << F(mConfigMode_)         << QVariant(0)         << QString();
        QTest::newRow("platform not unified")    << configModes(0, 1, 1)                                             << F(mConfigMode_)         << QVariant(1)         << QString();
        QTest::newRow("unified only for 0")      << configModes(0, 2, 0)                                             << F(mConfigMode_)         << QVariant(1)         << QString();
    }
    void reads()
    {
        QFETCH(QByteArray, then);
        QFETCH(Field, field);
        QFETCH(QVariant, expected);
        QFETCH(QString, message);

        const QMetaObject *meta = session->settings()->metaObject();
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                spies.emplace_back(new QSignalSpy(session->settings(), meta->method(i)));
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        if (!then.isEmpty()) {
            session->log().clear();
            session->settings()->fromJson(parse(then));
        }
        QCOMPARE(field.read(session->d()), expected);

        const LogCapture &log = session->log();
        const QJsonObject last = parse(then.isEmpty() ? fixture(launcherFile) : then);
        for (const char *key : {"render_type", "render_driver_value", "render_flag", "dump_stream_data", "d3d_debug"})
            QCOMPARE(log.contains(spdlog::level::info, QString(key) + " is not defined"), !last.contains(key));
        QCOMPARE(log.countQt(QtInfoMsg, "vdp "), message.startsWith("vdp ") ? 1 : 0); // the range messages
        QCOMPARE(log.countQt(QtInfoMsg, "read geometry"), 1); // of one form or the other
        if (!message.isEmpty())
            QCOMPARE(log.count(spdlog::level::info, message) + log.countQt(QtInfoMsg, message), 1);
        for (const auto &spy : spies)
            QVERIFY2(spy->isEmpty(), spy->signal().constData());
    }

    // The list form of the VM's addresses gives a record per element, whatever the element.
    void addressList()
    {
        session->settings()->fromJson(parse(R"({"vm settings":{"vm":{"lstAddresses":[{"mac":"52:54:00:3a:9c:18","lstIps":["10.20.31.24","fd00::24"]},7]}}})"));
        const std::vector<Vdp::tagVMAddress> &a = session->d()->mVmAddrs_;
        QVERIFY(a.size() == 2 && a[0].mac == "52:54:00:3a:9c:18" && a[1].mac.empty() && a[1].lstIps.empty());
        QCOMPARE(a[0].lstIps, (std::vector<std::string>{"10.20.31.24", "fd00::24"}));
    }

    // An observer hears of every key the pass takes, and the record ends up as it does without one.
    void collectorChangesNothing()
    {
        const QJsonObject document = parse(R"({"inherit old vdp":1,"es frequency":"60","basic settings":{"display4KType":9},"vm settings":{"serverPort":443}})");
        struct : JsonObserver {
            QStringList paths;
            QJsonValue lookup(const JsonLookup &lookup) override { paths << lookup.path.pointer(); return lookup.found; }
        } observer;
        readCurrentLayout(session->d(), JsonGroup(document, &observer), VdSessionSettings::RenderModePart);
        const QString withCollector = QString::fromStdString(session->d()->mVideoPolicy_) + session->d()->mUuid_;
        const int frequency = session->d()->mEsFrequency_, display4K = session->d()->mDisplay4KType_;
        session->restart();
        session->settings()->fromJson(document);
        QCOMPARE(QString::fromStdString(session->d()->mVideoPolicy_) + session->d()->mUuid_, withCollector);
        QCOMPARE(session->d()->mEsFrequency_, frequency);
        QCOMPARE(session->d()->mDisplay4KType_, display4K);
        QVERIFY(observer.paths.contains("/basic settings/display4KType") && observer.paths.contains("/es frequency"));
    }
};

QTEST_GUILESS_MAIN(tst_CurrentReader)
#include "tst_currentreader.moc"
