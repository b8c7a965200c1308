#include "private/jsonvalue_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "testsession.h"

#include <vdicommon/xsystem.h>

#include <QJsonDocument>
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
QVariant asVariant(const QMap<int, QRect> &geometries) // screen, rectangle, screen, rectangle...
{
    QVariantList list;
    for (auto it = geometries.cbegin(); it != geometries.cend(); ++it)
        list << it.key() << it.value();
    return list;
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

    // Each row loads the launcher's file as the session program does, then, when the row names
    // one, a second file into the same record, and compares every setting with the row's golden
    // dump. The writer's file names few keys; the rest is reset, except what the launcher writes
    // only when it has something to say, where null counts as said. The same file twice lists
    // twice. No listener hears of either read.
    void fixtures_data()
    {
        QTest::addColumn<QString>("then");

        QTest::newRow("launcher")             << QString();
        QTest::newRow("launcher-twice")       << launcherFile;
        QTest::newRow("rewritten-sparse")     << QString("rewritten-sparse.vdp");
        QTest::newRow("optional-keys-null")   << QString("optional-keys-null.vdp");
        QTest::newRow("operator-permissions") << QString("operator-permissions.vdp");
    }
    void fixtures()
    {
        QFETCH(QString, then);

        SignalLog signalLog(session->settings());
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        if (!then.isEmpty())
            session->settings()->fromJson(parse(fixture(then)));
        QCOMPARE(signalLog.take(), QStringList());
        COMPARE_GOLDEN(session->dump(), QStringLiteral("current/%1.json").arg(QTest::currentDataTag()));
    }

    // Each row loads the launcher's file, then a document that exercises one rule, and checks the
    // one member the rule decides.
    void rules_data()
    {
        QTest::addColumn<QByteArray>("then");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QVariant>("expected");

        const QString fallback = XSystem::isZhaoxinU6780A() ? "software" : "auto";
        const QString policy = R"({"vm settings":{"serverType":%1,"vm":{"controlPolicy":{"video_policy":{"videoMode":1,"videoModeGw":3,"forceEnableVideoMode":%2}}}},"stream_control_value":%3})";
        auto videoModes = [&](int serverType, int force, int stream) { return policy.arg(serverType).arg(force).arg(stream).toUtf8(); };
        const QString unified = R"({"config mode":%1,"jpeg_quality":80,"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":%2},"controlPolicy":{"video_policy":{"jpeg_quality":70,"forceDistributionDecode":%3}}}}})";
        auto configModes = [&](int configMode, int platformUnified, int forced) { return unified.arg(configMode).arg(platformUnified).arg(forced).toUtf8(); };
        // conversions and the rules of single keys
        QTest::newRow("bool refuses 1")          << QByteArray(R"({"basic settings":{"IsMMR":1}})")                  << F(mIsMMR_)              << QVariant(false);
        QTest::newRow("number refuses 2.5")      << QByteArray(R"({"basic settings":{"LogLevel":2.5}})")             << F(mLogLevel_)           << QVariant(0);
        QTest::newRow("number refuses 2^31")     << QByteArray(R"({"basic settings":{"LogLevel":2147483648}})")      << F(mLogLevel_)           << QVariant(0);
        QTest::newRow("number takes -2^31")      << QByteArray(R"({"basic settings":{"LogLevel":-2147483648}})")     << F(mLogLevel_)           << QVariant(INT_MIN);
        QTest::newRow("string refuses number")   << QByteArray(R"({"vm settings":{"protocol":5}})")                  << F(mProtocol_)           << QVariant("");
        QTest::newRow("port's low 16 bits")      << QByteArray(R"({"vm settings":{"serverPort":70000}})")            << F(mServerPort_)         << QVariant(4464);
        QTest::newRow("poolType digit")          << QByteArray(R"({"vm settings":{"poolType":"3"}})")                << F(mPoolType_)           << QVariant(3);
        QTest::newRow("poolType number")         << QByteArray(R"({"vm settings":{"poolType":3}})")                  << F(mPoolType_)           << QVariant(0);
        QTest::newRow("upm \"01\"")              << QByteArray(R"({"vm settings":{"enable Upm Policy":"01"}})")      << F(mIsEnableUpmPolicy_)  << QVariant(false);
        QTest::newRow("empty userName")          << QByteArray(R"({"vm settings":{"name":"liwei","userName":""}})")  << F(mCurrentUsername_)    << QVariant("liwei");
        QTest::newRow("LocalDisk with a number") << QByteArray(R"({"basic settings":{"LocalDisk":[{"DeviceId":"D:"},5]}})") << F(mDiskRedir_)  << QVariant(QStringList{"C:", "E:", "D:", ""});
        QTest::newRow("isAutoHideToolbar")       << QByteArray(R"({"basic settings":{}})")                           << F(mIsAutoHideToolbar_)  << QVariant(false);
        QTest::newRow("4K 3")                    << QByteArray(R"({"basic settings":{"display4KType":3}})")          << F(mDisplay4KType_)      << QVariant(3);
        QTest::newRow("4K 4")                    << QByteArray(R"({"basic settings":{"display4KType":4}})")          << F(mDisplay4KType_)      << QVariant(0);
        QTest::newRow("4K -1")                   << QByteArray(R"({"basic settings":{"display4KType":-1}})")         << F(mDisplay4KType_)      << QVariant(0);
        QTest::newRow("break 4")                 << QByteArray(R"({"basic settings":{"auto break second times":4}})")  << F(mAutoBreakSecondTimes_) << QVariant(4);
        QTest::newRow("break 5")                 << QByteArray(R"({"basic settings":{"auto break second times":5}})")  << F(mAutoBreakSecondTimes_) << QVariant(4);
        QTest::newRow("break -1")                << QByteArray(R"({"basic settings":{"auto break second times":-1}})") << F(mAutoBreakSecondTimes_) << QVariant(4);
        QTest::newRow("break missing")           << QByteArray(R"({})")                                              << F(mAutoBreakSecondTimes_) << QVariant(0);
        QTest::newRow("MAC alone")               << QByteArray(R"({"vm settings":{"vm":{"lstAddresses":{"mac":"52:54:00:3a:9c:17"}}}})") << F(mVmMac_) << QVariant("52:54:00:3a:9c:17");
        QTest::newRow("vgpu qp type 0")          << QByteArray(R"({"vgpu qp type":0})")                              << F(mVgpuQPType_)         << QVariant(int(S::VgpuQPType_M));
        QTest::newRow("vgpu decode type missing") << QByteArray(R"({})")                                             << F(mVgpuDecodeType_)     << QVariant(int(S::Software_VgpuDecode_TYPE));
        QTest::newRow("videoDecode missing")     << QByteArray(R"({})")                                              << F(mVgpuDecodeTypePlatform_) << QVariant(int(S::Software_VgpuDecode_TYPE));
        QTest::newRow("window mode 0")           << QByteArray(R"({"window mode":0})")                               << F(mWindowMode_)         << QVariant(int(S::MultiSDLWindowMode));
        QTest::newRow("render driver number")    << QByteArray(R"({"render_driver_value":3})")                       << F(mRenderDriverValue_)  << QVariant(fallback);
        QTest::newRow("display_res with blanks") << QByteArray(R"({"display_res":" 1600 , 900 "})")                  << F(mDisplayRes_)         << QVariant(QSize(1600, 900));
        QTest::newRow("display_res of three")    << QByteArray(R"({"display_res":"1920,1080,60"})")                  << F(mDisplayRes_)         << QVariant(QSize(2560, 1440));
        QTest::newRow("single rectangle wins")   << QByteArray(R"({"geometry":" 300, 200 ,1280,720 ","geometrys":[{"id":1,"geometry":"10,10,1024,768"}]})") << F(mGeometrys_)
                                                 << QVariant(QVariantList{0, QRect(300, 200, 1280, 720), 1, QRect(2040, 60, 1682, 945)});
        QTest::newRow("rectangles by screen")    << QByteArray(R"({"geometrys":[{"id":2,"geometry":"3850,40,1600,900"},{"id":3,"geometry":"0,0,1600"},{"id":1,"geometry":"left,20,1280,720"}]})") << F(mGeometrys_)
                                                 << QVariant(QVariantList{0, QRect(120, 80, 1586, 913), 1, QRect(0, 20, 1280, 720), 2, QRect(3850, 40, 1600, 900)});
        QTest::newRow("video mode of gateway")   << videoModes(1, 0, -1)                                             << F(mVideoModeActual_)    << QVariant(3);
        QTest::newRow("stream mode wins")        << videoModes(1, 0, 2)                                              << F(mVideoModeActual_)    << QVariant(2);
        QTest::newRow("forced video mode")       << videoModes(1, 2, 2)                                              << F(mVideoModeActual_)    << QVariant(3);
        QTest::newRow("platform's quality")      << configModes(0, 0, 0)                                             << F(mVideoPolicy_)        << QVariant("{\n    \"forceDistributionDecode\": 0,\n    \"jpeg_quality\": 70\n}\n");
        QTest::newRow("user's quality")          << configModes(1, 0, 0)                                             << F(mVideoPolicy_)        << QVariant("{\n    \"forceDistributionDecode\": 0,\n    \"jpeg_quality\": 80\n}\n");
        QTest::newRow("forced distribution")     << configModes(1, 0, 1)                                             << F(mConfigMode_)         << QVariant(0);
        QTest::newRow("platform not unified")    << configModes(0, 1, 1)                                             << F(mConfigMode_)         << QVariant(1);
        QTest::newRow("unified only for 0")      << configModes(0, 2, 0)                                             << F(mConfigMode_)         << QVariant(1);
    }
    void rules()
    {
        QFETCH(QByteArray, then);
        QFETCH(Field, field);
        QFETCH(QVariant, expected);

        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        session->settings()->fromJson(parse(then));
        QCOMPARE(field.read(session->d()), expected);
    }

    // The list form of the VM's addresses gives a record per element, whatever the element.
    void addressList()
    {
        session->settings()->fromJson(parse(R"({"vm settings":{"vm":{"lstAddresses":[{"mac":"52:54:00:3a:9c:18","lstIps":["10.20.31.24","fd00::24"]},7]}}})"));
        const std::vector<Vdp::tagVMAddress> &a = session->d()->mVmAddrs_;
        QVERIFY(a.size() == 2 && a[0].mac == "52:54:00:3a:9c:18" && a[1].mac.empty() && a[1].lstIps.empty());
        QCOMPARE(a[0].lstIps, (std::vector<std::string>{"10.20.31.24", "fd00::24"}));
    }

    // A collector hears of a key of another type and of a value a range check replaced, and the
    // record ends up as it does without one.
    void collectorChangesNothing()
    {
        const QJsonObject document = parse(R"({"inherit old vdp":1,"es frequency":"60","basic settings":{"display4KType":9},"vm settings":{"serverPort":443}})");
        ReadDiagnostics diagnostics;
        readCurrentLayout(session->settings(), session->d(), JsonGroup(document, &diagnostics), VdSessionSettings::RenderModePart);
        const QString withCollector = QString::fromStdString(session->d()->mVideoPolicy_) + session->d()->mUuid_;
        const int frequency = session->d()->mEsFrequency_, display4K = session->d()->mDisplay4KType_;
        session->restart();
        session->settings()->fromJson(document);
        QCOMPARE(QString::fromStdString(session->d()->mVideoPolicy_) + session->d()->mUuid_, withCollector);
        QCOMPARE(session->d()->mEsFrequency_, frequency);
        QCOMPARE(session->d()->mDisplay4KType_, display4K);
        QStringList paths;
        for (const ReadDiagnostics::Finding &finding : diagnostics.findings())
            paths << finding.path;
        QCOMPARE(paths, (QStringList{"basic settings/display4KType", "es frequency"}));
    }
};

QTEST_GUILESS_MAIN(tst_CurrentReader)
#include "tst_currentreader.moc"
