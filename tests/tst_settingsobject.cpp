#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "settingsdump.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QtTest/QtTest>

using S = VdSessionSettings;

class tst_SettingsObject : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Every setting of a fresh record, against the golden dump; and what the dump cannot show.
    void freshDefaults()
    {
        const VdSessionSettingsPrivate *d = session->d();
        QCOMPARE(d->mGeometrys_, (QMap<int, QRect>{{0, QRect()}}));
        QCOMPARE(d->mSettingsIniPath_, session->documents() + QStringLiteral("/VdSession/vdisettings.ini"));
        QVERIFY(!QFile::exists(d->mDataDir_)); // nothing is created on disk at start
        COMPARE_GOLDEN(session->dump(), "fresh.json");
    }

    void machineDescription_data()
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

    void machineDescription()
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
    }

    void certificateSettings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QList<bool>>("useNew");

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
        // Finishes at once: only the elements stored are visited.
        QTest::newRow("element 2^31-1 of 2^31-1")
            << QByteArray("[certificate]\ncertificate\\2147483647\\server=10.0.0.1\ncertificate\\2147483647\\useNewCertificate=true\ncertificate\\size=2147483647\n")
            << QStringList{"", "10.0.0.1"} << QList<bool>{false, true};
    }

    void certificateSettings()
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

    // Every writable property, written through the meta-object as QML writes it, from the value
    // it has on a fresh record: a different value is stored and announced once by its NOTIFY
    // signal (with the new value when the signal carries one), the same value again announces
    // nothing, and no other signal comes. Only the exceptions are listed.
    void setters()
    {
        const QSet<QByteArray> silent = {"uuid", "currentUsername", "currentNickname", "protocol", "clientType", "toolbarStyle", "streamMode",
                                         "isMultiScreen", "isEnableUpmPolicy", "streamDataDumpEnabled", "renderDriverValue", "mouseMode", "d3dDebugEnabled"};
        const QSet<QByteArray> evenWhenSame = {"isShowMinimize", "serverIp", "serverPort", "serverType", "skin", "autoBreakSecondTimes", "display4KType"};
        const QByteArray alwaysX86 = "curServerArch"; // whatever the server reports, and silent

        S *s = session->settings();
        SignalLog signalLog(s);
        auto text = [](const QVariant &v) { return v.userType() == QMetaType::QString ? v.toString() : QString::number(v.toInt()); };
        for (int i = s->metaObject()->propertyOffset(); i < s->metaObject()->propertyCount(); ++i) {
            const QMetaProperty p = s->metaObject()->property(i);
            if (!p.isWritable())
                continue;
            const QVariant before = p.read(s);
            const QVariant after = before.userType() == QMetaType::Bool      ? QVariant(!before.toBool())
                                 : before.userType() == QMetaType::QString ? QVariant(before.toString() + 'x')
                                                                            : QVariant(before.toInt() + 1);
            auto announced = [&](const QVariant &value) {
                return QStringList{p.notifySignal().name() + (p.notifySignal().parameterCount() ? ' ' + value.toString() : QString())};
            };

            QVERIFY2(p.write(s, before), p.name());
            QVERIFY2(signalLog.take() == (evenWhenSame.contains(p.name()) ? announced(before) : QStringList()), p.name());
            QVERIFY2(p.write(s, after), p.name());
            QVERIFY2(signalLog.take() == (silent.contains(p.name()) || p.name() == alwaysX86 ? QStringList() : announced(after)), p.name());
            QCOMPARE(text(p.read(s)), text(p.name() == alwaysX86 ? before : after));
        }
    }

    // The effective values under each configuration mode, from platform and user values that
    // differ everywhere: the platform's under 0, the user's under any other; of the two flags,
    // only 0 sets one and only 1 the other.
    void effectiveValues()
    {
        VdSessionSettingsPrivate *d = session->d();
        d->mImgCompressPlatform_ = S::TYPE_COMPRESS_JPEG;
        d->mJpegQualityPlatform_ = 60;
        d->mJpegQuality_ = 85;
        d->mVgpuQPTypePlatform_ = S::VgpuQPType_L;
        d->mVgpuQPType_ = S::VgpuQPType_H;
        d->mVgpuDecodeTypePlatform_ = S::Hardware_VgpuDecode_TYPE;
        d->mVgpuDecodeType_ = S::Auto_VgpuDecode_TYPE;
        QByteArray lines;
        for (int mode : {0, 1, 7, -1}) {
            session->settings()->setConfigMode(S::ConfigMode(mode));
            QCOMPARE(session->settings()->getStreamDecodeType(), int(session->settings()->vgpuDecodeTypeActual()));
            const QJsonObject all = settingsToJson(*session->settings(), false);
            QJsonObject shown;
            for (const char *key : {"configMode", "imgCompress", "jpegQuality", "vgpuQPType", "vgpuDecodeType", "platformDecodeEnable", "enableVgpuQPType"})
                shown.insert(key, all.value(key));
            lines += QJsonDocument(shown).toJson(QJsonDocument::Compact) + '\n';
        }
        COMPARE_GOLDEN(lines, "effectivevalues.txt");
    }

    // Five break times and one beyond them.
    void autoBreakSeconds()
    {
        const int seconds[] = {300, 900, 1800, 3600, 0, 0};
        for (int time = 0; time < 6; ++time) {
            session->settings()->setAutoBreakSecondTimes(S::AutoBreakTime(time));
            QCOMPARE(session->settings()->getAutoBreakTimeSeconds(), seconds[time]);
        }
    }

    void isRdp_data()
    {
        QTest::addColumn<int>("poolType");
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<bool>("rdp");

        QTest::newRow("rdp")               << 0 << "rdp"  << true;
        QTest::newRow("upper case")        << 0 << "RDP"  << false;
        QTest::newRow("vdp")               << 0 << "vdp"  << false;
        QTest::newRow("rdp pool, vdp")     << 7 << "vdp"  << true;
    }

    void isRdp()
    {
        QFETCH(int, poolType);
        QFETCH(QString, protocol);
        QFETCH(bool, rdp);

        session->settings()->setPoolType(Vdp::PoolType(poolType));
        session->settings()->setProtocol(protocol);
        QCOMPARE(session->settings()->isRdp(), rdp);
    }

    void currentUsernameFallsBackToLogin()
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
};

QTEST_GUILESS_MAIN(tst_SettingsObject)
#include "tst_settingsobject.moc"
