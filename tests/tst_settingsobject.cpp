#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using S = VdSessionSettings;

class tst_SettingsObject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void freshDefaults();
    void machineDescription_data();
    void machineDescription();
    void certificateSettings_data();
    void certificateSettings();
    void missingCertificateSettings();
    void setterSignals_data();
    void setterSignals();
    void effectiveValues_data();
    void effectiveValues();
    void autoBreakSeconds_data();
    void autoBreakSeconds();
    void isRdp_data();
    void isRdp();
    void currentUsernameFallsBackToLogin();
    void setStreamModeLogsOnlyChanges();
    void loggingGetters();

private:
    std::unique_ptr<TestSession> session;
};

void tst_SettingsObject::freshDefaults()
{
    S *s = session->settings();
    QCOMPARE(S::instance(), s);
    QCOMPARE(s->serverPort(), 8860);
    QCOMPARE(s->protocol(), QStringLiteral("vdp"));
    QCOMPARE(s->resolution(), QStringLiteral("1280 x 720"));
    QCOMPARE(s->curServerArch(), QStringLiteral("X86"));
    QCOMPARE(s->streamMode(), S::TYPE_STREAM_NONE);
    QCOMPARE(s->videoDecoders(), QStringList{QStringLiteral("DXVA")});
    QCOMPARE(s->jpegQuality(), 95);
    QCOMPARE(s->jpegQualityPlatform(), 95);
    QCOMPARE(s->esFrequency(), 300);
    QCOMPARE(s->logLevel(), 2);
    QCOMPARE(s->getRdrVmName(), QStringLiteral("DefaultFocusConnect"));
    QCOMPARE(s->displayRes(), QSize(0, 0));
    QCOMPARE(s->getCertPath(), QStringLiteral("config/grpcserver.pem"));
    QCOMPARE(s->vgpuQPType(), S::VgpuQPType_M);
    QCOMPARE(s->platformUnifiedConfig(), true);
    QCOMPARE(s->computerType(), Vdp::ComputerType(1));

    const VdSessionSettingsPrivate *d = session->d();
    QCOMPARE(d->mGeometrys_.keys(), QList<int>{0});
    QVERIFY(d->mGeometrys_.value(0).isNull());
    QCOMPARE(d->mSettingsIniPath_, session->documents() + QStringLiteral("/VdSession/vdisettings.ini"));
    // Nothing is created on disk at start.
    QVERIFY(!QFile::exists(d->mDataDir_));
}

void tst_SettingsObject::machineDescription_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("cores");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("available");

    QTest::newRow("as the launcher writes it")
        << QByteArray("[cpu]\nprocessors=8\nmhz=2.40GHz\n\n[memory]\ntotal=15.8\navailable=7.25\n") << 8 << 2.4 << 15.8 << 7.25;
    QTest::newRow("lower-case unit, blank") << QByteArray("[cpu]\nmhz=2.40 ghz\n") << 0 << 2.4 << 0.0 << 0.0;
    QTest::newRow("no unit")                << QByteArray("[cpu]\nmhz=2.40\n")     << 0 << 2.4 << 0.0 << 0.0;
    QTest::newRow("not numbers")            << QByteArray("[cpu]\nprocessors=many\nmhz=fast\n[memory]\ntotal=lots\n") << 0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("keys in the wrong group") << QByteArray("[memory]\nprocessors=8\nmhz=2.4\n[cpu]\ntotal=15\n") << 0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("no file")                << QByteArray()                        << 0 << 0.0 << 0.0 << 0.0;
}

void tst_SettingsObject::machineDescription()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, cores);
    QFETCH(double, frequency);
    QFETCH(double, total);
    QFETCH(double, available);

    // The path is fixed and, on this host, relative to the working directory.
    if (!ini.isNull())
        session->writeFile(QStringLiteral("C:/Users/Public/Documents/Calderwyn/sysInfo.ini"), ini);
    session->restart();

    QCOMPARE(session->settings()->cpuCores(), cores);
    QCOMPARE(session->settings()->cpuFrequency(), frequency);
    QCOMPARE(session->settings()->memoryTotal(), total);
    QCOMPARE(session->settings()->memoryAvailable(), available);
    QVERIFY2(session->log().messages().isEmpty(), qPrintable(session->log().dump()));
}

void tst_SettingsObject::certificateSettings_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("servers");
    QTest::addColumn<QList<bool>>("useNew");

    QTest::newRow("two servers")
        << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\n"
                      "certificate\\2\\server=broker.example.org\ncertificate\\2\\useNewCertificate=false\ncertificate\\size=2\n")
        << QStringList{"10.1.1.1", "broker.example.org"} << QList<bool>{true, false};
    QTest::newRow("first duplicate wins")
        << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\n"
                      "certificate\\2\\server=10.1.1.1\ncertificate\\2\\useNewCertificate=false\ncertificate\\size=2\n")
        << QStringList{"10.1.1.1"} << QList<bool>{true};
    QTest::newRow("false spellings")
        << QByteArray("[certificate]\ncertificate\\1\\server=a\ncertificate\\1\\useNewCertificate=0\n"
                      "certificate\\2\\server=b\ncertificate\\2\\useNewCertificate=FALSE\n"
                      "certificate\\3\\server=c\ncertificate\\3\\useNewCertificate=\n"
                      "certificate\\4\\server=d\ncertificate\\4\\useNewCertificate=yes\ncertificate\\size=4\n")
        << QStringList{"a", "b", "c", "d"} << QList<bool>{false, false, false, true};
    QTest::newRow("no size key reads nothing")
        << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\n")
        << QStringList{} << QList<bool>{};
    QTest::newRow("size claims more than is there")
        << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\ncertificate\\size=2147483647\n")
        << QStringList{"", "10.1.1.1"} << QList<bool>{false, true};
}

void tst_SettingsObject::certificateSettings()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, servers);
    QFETCH(QList<bool>, useNew);

    session->writeFile(session->documents() + QStringLiteral("/VdSession/vdisettings.ini"), ini);
    session->restart();

    const QMap<QString, bool> &map = session->d()->mServerUseNewCertificate_;
    QCOMPARE(map.keys(), servers);
    QCOMPARE(map.values(), useNew);
}

void tst_SettingsObject::missingCertificateSettings()
{
    const QString path = session->documents() + QStringLiteral("/VdSession/vdisettings.ini");
    // restart() clears the log after the start-up; start up once more to see what it logs.
    VdSessionSettingsPrivate::startUp(session->settings());
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::err, QStringLiteral("File%1 not exist").arg(path)));
    QVERIFY(session->d()->mServerUseNewCertificate_.isEmpty());
}

// Each setter on a record that holds `before`, given `after`: which signals come.
void tst_SettingsObject::setterSignals_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QVariant>("after");
    QTest::addColumn<int>("signalsWhenSame");
    QTest::addColumn<int>("signalsWhenNew");

    // compare first: nothing when the value is the same
    QTest::newRow("resolution")            << QByteArray("resolution")            << QVariant("1280 x 720") << QVariant("1920 x 1080") << 0 << 1;
    QTest::newRow("configMode")            << QByteArray("configMode")            << QVariant(0)            << QVariant(1)             << 0 << 1;
    QTest::newRow("jpegQuality")           << QByteArray("jpegQuality")           << QVariant(95)           << QVariant(80)            << 0 << 1;
    QTest::newRow("windowMode")            << QByteArray("windowMode")            << QVariant(0)            << QVariant(2)             << 0 << 1;
    QTest::newRow("forceDistributionDecode") << QByteArray("forceDistributionDecode") << QVariant(false)   << QVariant(true)          << 0 << 1;
    QTest::newRow("isThinClient")          << QByteArray("isThinClient")          << QVariant(false)        << QVariant(true)          << 0 << 1;
    QTest::newRow("logLevel")              << QByteArray("logLevel")              << QVariant(2)            << QVariant(3)             << 0 << 1;
    // compare first, but never emit
    QTest::newRow("mouseMode")             << QByteArray("mouseMode")             << QVariant(0)            << QVariant(1)             << 0 << 0;
    QTest::newRow("streamDataDumpEnabled") << QByteArray("streamDataDumpEnabled") << QVariant(false)        << QVariant(true)          << 0 << 0;
    QTest::newRow("renderDriverValue")     << QByteArray("renderDriverValue")     << QVariant("")           << QVariant("auto")        << 0 << 0;
    QTest::newRow("streamMode")            << QByteArray("streamMode")            << QVariant(-1)           << QVariant(2)             << 0 << 0;
    // always emit
    QTest::newRow("isShowMinimize")        << QByteArray("isShowMinimize")        << QVariant(false)        << QVariant(true)          << 1 << 1;
    QTest::newRow("serverIp")              << QByteArray("serverIp")              << QVariant("")           << QVariant("10.0.0.1")    << 1 << 1;
    QTest::newRow("serverPort")            << QByteArray("serverPort")            << QVariant(8860)         << QVariant(443)           << 1 << 1;
    QTest::newRow("autoBreakSecondTimes")  << QByteArray("autoBreakSecondTimes")  << QVariant(0)            << QVariant(4)             << 1 << 1;
    QTest::newRow("display4KType")         << QByteArray("display4KType")         << QVariant(0)            << QVariant(3)             << 1 << 1;
    // never emit
    QTest::newRow("uuid")                  << QByteArray("uuid")                  << QVariant("")           << QVariant("a-b")         << 0 << 0;
    QTest::newRow("isMultiScreen")         << QByteArray("isMultiScreen")         << QVariant(false)        << QVariant(true)          << 0 << 0;
    QTest::newRow("clientType")            << QByteArray("clientType")            << QVariant(0)            << QVariant(1)             << 0 << 0;
}

// Writes go through the meta-object, as QML's do; the property's own NOTIFY signal, and every
// other signal of the object, are counted.
// The property's value as the table writes it. Qt 6 keeps an enumeration's own type in the
// variant, and compares it unequal to the same number as an int.
static QVariant readAs(const QMetaProperty &p, QObject *object, const QVariant &like)
{
    QVariant value = p.read(object);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    value.convert(like.metaType());
#else
    Q_UNUSED(like);
#endif
    return value;
}

void tst_SettingsObject::setterSignals()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, before);
    QFETCH(QVariant, after);
    QFETCH(int, signalsWhenSame);
    QFETCH(int, signalsWhenNew);

    S *s = session->settings();
    const QMetaObject *meta = s->metaObject();
    const QMetaProperty p = meta->property(meta->indexOfProperty(property));
    QVERIFY(p.isValid());
    QCOMPARE(readAs(p, s, before), before);

    QVector<QSharedPointer<QSignalSpy>> spies;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            spies.append(QSharedPointer<QSignalSpy>::create(s, meta->method(i)));
    }
    auto emitted = [&spies] {
        int n = 0;
        for (const auto &spy : spies)
            n += spy->count();
        return n;
    };

    QVERIFY(p.write(s, before));
    QCOMPARE(emitted(), signalsWhenSame);
    QVERIFY(p.write(s, after));
    QCOMPARE(readAs(p, s, after), after);
    QCOMPARE(emitted(), signalsWhenSame + signalsWhenNew);
}

void tst_SettingsObject::effectiveValues_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("userValues");
    QTest::addColumn<bool>("platformDecodeEnable");
    QTest::addColumn<bool>("enableVgpuQPType");

    QTest::newRow("platform's")     << 0 << false << true  << false;
    QTest::newRow("user's")         << 1 << true  << false << true;
    QTest::newRow("out of range")   << 7 << true  << false << false;
    QTest::newRow("negative")       << -1 << true << false << false;
}

void tst_SettingsObject::effectiveValues()
{
    QFETCH(int, mode);
    QFETCH(bool, userValues);
    QFETCH(bool, platformDecodeEnable);
    QFETCH(bool, enableVgpuQPType);

    VdSessionSettingsPrivate *d = session->d();
    d->mImgCompressPlatform_ = S::TYPE_COMPRESS_JPEG;
    d->mImgCompress_ = S::TYPE_COMPRESS_LOSSLESS;
    d->mJpegQualityPlatform_ = 60;
    d->mJpegQuality_ = 85;
    d->mVgpuQPTypePlatform_ = S::VgpuQPType_L;
    d->mVgpuQPType_ = S::VgpuQPType_H;
    d->mVgpuDecodeTypePlatform_ = S::Hardware_VgpuDecode_TYPE;
    d->mVgpuDecodeType_ = S::Auto_VgpuDecode_TYPE;

    S *s = session->settings();
    QSignalSpy configChanged(s, &S::configModeChanged);
    QSignalSpy enableChanged(s, &S::enableVgpuQPTypeChanged);
    QSignalSpy platformChanged(s, &S::platformDecodeEnableChanged);
    QSignalSpy compressChanged(s, &S::compressModeEnableChanged);
    s->setConfigMode(S::ConfigMode(mode));
    QCOMPARE(configChanged.count(), mode == 0 ? 0 : 1);
    QCOMPARE(enableChanged.count() + platformChanged.count() + compressChanged.count(), 0);

    QCOMPARE(s->imgCompressActual(), userValues ? S::TYPE_COMPRESS_LOSSLESS : S::TYPE_COMPRESS_JPEG);
    QCOMPARE(s->jpegQualityActual(), userValues ? 85 : 60);
    QCOMPARE(s->vgpuQPTypeActual(), userValues ? S::VgpuQPType_H : S::VgpuQPType_L);
    QCOMPARE(s->getStreamDecodeType(), userValues ? int(S::Auto_VgpuDecode_TYPE) : int(S::Hardware_VgpuDecode_TYPE));
    QCOMPARE(s->vgpuDecodeTypeActual(), userValues ? S::Auto_VgpuDecode_TYPE : S::Hardware_VgpuDecode_TYPE);
    QCOMPARE(s->platformDecodeEnable(), platformDecodeEnable);
    QCOMPARE(s->enableVgpuQPType(), enableVgpuQPType);
    // The effective quality level reads the field without the getter's log line.
    QVERIFY(session->log().messages().isEmpty());
}

void tst_SettingsObject::autoBreakSeconds_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("seconds");

    QTest::newRow("5 minutes")  << 0 << 300;
    QTest::newRow("an hour")    << 3 << 3600;
    QTest::newRow("never")      << 4 << 0;
    QTest::newRow("beyond")     << 5 << 0;
}

void tst_SettingsObject::autoBreakSeconds()
{
    QFETCH(int, time);
    QFETCH(int, seconds);

    session->settings()->setAutoBreakSecondTimes(S::AutoBreakTime(time));
    QCOMPARE(session->settings()->getAutoBreakTimeSeconds(), seconds);
}

void tst_SettingsObject::isRdp_data()
{
    QTest::addColumn<int>("poolType");
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<bool>("rdp");

    QTest::newRow("rdp")               << 0 << "rdp"  << true;
    QTest::newRow("upper case")        << 0 << "RDP"  << false;
    QTest::newRow("vdp")               << 0 << "vdp"  << false;
    QTest::newRow("rdp pool, vdp")     << 7 << "vdp"  << true;
}

void tst_SettingsObject::isRdp()
{
    QFETCH(int, poolType);
    QFETCH(QString, protocol);
    QFETCH(bool, rdp);

    session->settings()->setPoolType(Vdp::PoolType(poolType));
    session->settings()->setProtocol(protocol);
    QCOMPARE(session->settings()->isRdp(), rdp);
}

void tst_SettingsObject::currentUsernameFallsBackToLogin()
{
    S *s = session->settings();
    s->setLoginName(QStringLiteral("alice"));
    s->setCurrentUsername(QString());
    QCOMPARE(s->currentUsername(), QStringLiteral("alice"));
    s->setLoginName(QStringLiteral("bob"));
    QCOMPARE(s->currentUsername(), QStringLiteral("alice"));
    s->setCurrentUsername(QStringLiteral("Alice Liddell"));
    QCOMPARE(s->currentUsername(), QStringLiteral("Alice Liddell"));
    QCOMPARE(s->loginName(), QStringLiteral("bob"));
}

void tst_SettingsObject::setStreamModeLogsOnlyChanges()
{
    S *s = session->settings();
    QSignalSpy changed(s, &S::streamModeChanged);
    s->setStreamMode(S::TYPE_STREAM_NONE);
    QVERIFY(session->log().messages().isEmpty());
    s->setStreamMode(S::TYPE_STREAM_HD);
    QCOMPARE(s->streamMode(), S::TYPE_STREAM_HD);
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::debug, QStringLiteral("set new stream mode =  2, current mode = -1")));
    QCOMPARE(changed.count(), 0);
}

void tst_SettingsObject::loggingGetters()
{
    S *s = session->settings();
    s->setEsFrequency(120);
    s->setIsOpenLdap(3);
    s->setVgpuQPTypePlatform(1);
    QCOMPARE(s->esFrequency(), 120);
    QCOMPARE(s->isOpenLdap(), 3);
    QCOMPARE(s->vgpuQPTypePlatform(), S::VgpuQPType_H);
    QCOMPARE(s->vgpuQPTypePlatform(), S::VgpuQPType_H);
    QCOMPARE(session->log().count(spdlog::level::info, QStringLiteral("whwh2 config: 120")), 1);
    QCOMPARE(session->log().count(spdlog::level::info, QStringLiteral("isOpenLdap: 3")), 1);
    QCOMPARE(session->log().count(spdlog::level::info, QStringLiteral("vgpuQPTypePlatform  1")), 2);
}

QTEST_GUILESS_MAIN(tst_SettingsObject)
#include "tst_settingsobject.moc"
