#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "settingsdump.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest/QtTest>

using S = VdSessionSettings;

class tst_SettingsObject : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

    // A QML page with @p body, as the session program's pages meet the singleton "Settings".
    std::unique_ptr<QObject> load(QQmlEngine &engine, const QByteArray &body)
    {
        QQmlComponent component(&engine);
        component.setData("import QtQml 2.15\nimport com.virtual.vdi 1.0\nQtObject {\n" + body + "\n}\n", QUrl());
        std::unique_ptr<QObject> object(component.create());
        if (!object)
            qWarning() << component.errors();
        return object;
    }

private Q_SLOTS:
    // The one call the session program makes before its engine resolves "Settings".
    void initTestCase() { VdSessionSettings::instance()->qmlRegisterSingletonType(); }
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Every setting of a fresh record, against the golden dump; and what the dump cannot show.
    void freshDefaults()
    {
        QCOMPARE(session->d()->mGeometrys_, (QMap<int, QRect>{{0, QRect()}}));
        QVERIFY(!QFile::exists(session->d()->mDataDir_)); // nothing is created on disk at start
        COMPARE_GOLDEN(session->dump(), "fresh.json");
    }

    // The machine description the launcher leaves: cores, frequency in GHz, total and available memory.
    void machineDescription_data()
    {
        QTest::addColumn<QByteArray>("ini"); // null: no file
        QTest::addColumn<QString>("expected");

        QTest::newRow("as the launcher writes it") << QByteArray("[cpu]\nprocessors=8\nmhz=2.40GHz\n\n[memory]\ntotal=15.8\navailable=7.25\n") << "8 2.4 15.8 7.25";
        QTest::newRow("lower-case unit, blank")    << QByteArray("[cpu]\nmhz=2.40 ghz\n")                                                  << "0 2.4 0 0";
        QTest::newRow("no unit")                   << QByteArray("[cpu]\nmhz=2.40\n")                                                      << "0 2.4 0 0";
        QTest::newRow("not numbers")               << QByteArray("[cpu]\nprocessors=many\nmhz=fast\n[memory]\ntotal=lots\n")                << "0 0 0 0";
        QTest::newRow("keys in the wrong group")   << QByteArray("[memory]\nprocessors=8\nmhz=2.4\n[cpu]\ntotal=15\n")                      << "0 0 0 0";
        QTest::newRow("no file")                   << QByteArray()                                                                         << "0 0 0 0";
    }
    void machineDescription()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        // The path is fixed and, on this host, relative to the working directory.
        if (!ini.isNull())
            session->writeFile(QStringLiteral("C:/Users/Public/Documents/Calderwyn/sysInfo.ini"), ini);
        session->restart();
        S *s = session->settings();
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(s->cpuCores()).arg(s->cpuFrequency()).arg(s->memoryTotal()).arg(s->memoryAvailable()), expected);
    }

    // The servers of the certificate array and whether each takes the new certificate.
    void certificateSettings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QList<bool>>("useNew");

        const QByteArray falseSpellings = "[certificate]\ncertificate\\1\\server=a\ncertificate\\1\\useNewCertificate=0\ncertificate\\2\\server=b\ncertificate\\2\\useNewCertificate=FALSE\n"
                                          "certificate\\3\\server=c\ncertificate\\3\\useNewCertificate=\ncertificate\\4\\server=d\ncertificate\\4\\useNewCertificate=yes\ncertificate\\size=4\n";
        QTest::newRow("false spellings")                << falseSpellings                                                                                                                       << QStringList{"a", "b", "c", "d"} << QList<bool>{false, false, false, true};
        QTest::newRow("no size key reads nothing")      << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\n")                               << QStringList{}                   << QList<bool>{};
        QTest::newRow("size claims more than is there") << QByteArray("[certificate]\ncertificate\\1\\server=10.1.1.1\ncertificate\\1\\useNewCertificate=true\ncertificate\\size=2147483647\n") << QStringList{"", "10.1.1.1"}     << QList<bool>{false, true};
        // Finishes at once: only the elements stored are visited.
        QTest::newRow("element 2^31-1 of 2^31-1")       << QByteArray("[certificate]\ncertificate\\2147483647\\server=10.0.0.1\ncertificate\\2147483647\\useNewCertificate=true\ncertificate\\size=2147483647\n")
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

    // Values that follow from others: RDP is the exact protocol "rdp" or a pool of type 7; five
    // break times and one beyond them; the user name falls back to the login name when it is set;
    // only a render system that nothing has chosen is filled in, once.
    void derivedValues()
    {
        S *s = session->settings();
        const struct { int poolType; const char *protocol; bool rdp; } rdpCases[] = {{0, "rdp", true}, {0, "RDP", false}, {0, "vdp", false}, {7, "vdp", true}};
        for (const auto &rdpCase : rdpCases) {
            s->setPoolType(Vdp::PoolType(rdpCase.poolType));
            s->setProtocol(rdpCase.protocol);
            QVERIFY2(s->isRdp() == rdpCase.rdp, rdpCase.protocol);
        }
        const int seconds[] = {300, 900, 1800, 3600, 0, 0};
        for (int time = 0; time < 6; ++time) {
            s->setAutoBreakSecondTimes(S::AutoBreakTime(time));
            QCOMPARE(s->getAutoBreakTimeSeconds(), seconds[time]);
        }
        s->setLoginName(QStringLiteral("alice"));
        s->setCurrentUsername(QString());
        s->setLoginName(QStringLiteral("bob"));
        QCOMPARE(s->currentUsername(), QStringLiteral("alice"));
        s->setCurrentUsername(QStringLiteral("Alice Liddell"));
        QCOMPARE((QStringList{s->currentUsername(), s->loginName()}), (QStringList{"Alice Liddell", "bob"}));
        s->updateConfig();
        QCOMPARE(s->renderSystemMode(), S::RenderSystemSDL);
        s->setRenderSystemMode(S::RenderSystemXCB);
        s->updateConfig();
        QCOMPARE(s->renderSystemMode(), S::RenderSystemXCB);
    }

    // One row per placement (geometry() on a screen) or record (setGeometry(), no screen): what
    // the settings remember for screen 1, the rectangle handed back or given, and what ends up stored.
    void geometry_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QRect>("result");
        QTest::addColumn<QRect>("stored");

        const QRect hd(0, 0, 1920, 1080);
        QTest::newRow("nothing, odd offset")       << QRect(100, 200, 1001, 803)  << QRect()                      << QRect(103, 201, 994, 801)    << QRect(103, 201, 994, 801);
        QTest::newRow("nothing, 800x600")          << QRect(0, 0, 800, 600)       << QRect()                      << QRect(-97, -100, 994, 801)   << QRect(-97, -100, 994, 801);
        QTest::newRow("nothing, exactly default")  << QRect(0, 0, 994, 801)       << QRect()                      << QRect(0, 0, 994, 801)        << QRect(0, 0, 994, 801);
        QTest::newRow("zero width remembered")     << hd                          << QRect(300, 200, 0, 500)      << QRect(463, 139, 994, 801)    << QRect(463, 139, 994, 801);
        QTest::newRow("kept, record grows")        << hd                          << QRect(100, 50, 1000, 700)    << QRect(100, 50, 1000, 700)    << QRect(100, 50, 1000, 801);
        QTest::newRow("kept, full width")          << hd                          << QRect(0, 100, 1920, 900)     << QRect(0, 100, 1920, 900)     << QRect(0, 100, 1920, 900);
        QTest::newRow("right edge at left+4")      << QRect(-1920, 0, 1920, 1080) << QRect(-3115, 300, 1200, 900) << QRect(-1553, 300, 1186, 900) << QRect(-1553, 300, 1186, 900);
        QTest::newRow("right edge at left+5")      << QRect(-1920, 0, 1920, 1080) << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900);
        QTest::newRow("left edge at right-4")      << hd                          << QRect(1915, 300, 1200, 900)  << QRect(367, 300, 1186, 900)   << QRect(367, 300, 1186, 900);
        QTest::newRow("left edge at right-5")      << hd                          << QRect(1914, 300, 1200, 900)  << QRect(1914, 300, 1200, 900)  << QRect(1914, 300, 1200, 900);
        QTest::newRow("top one above screen")      << QRect(0, -1080, 1920, 1080) << QRect(200, -1081, 1200, 900) << QRect(200, -1080, 1200, 897) << QRect(200, -1080, 1200, 897);
        QTest::newRow("top at screen top")         << QRect(0, -1080, 1920, 1080) << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900);
        QTest::newRow("top at bottom-40")          << hd                          << QRect(200, 1039, 1200, 900)  << QRect(200, 91, 1200, 897)    << QRect(200, 91, 1200, 897);
        QTest::newRow("top at bottom-41")          << hd                          << QRect(200, 1038, 1200, 900)  << QRect(200, 1038, 1200, 900)  << QRect(200, 1038, 1200, 900);
        QTest::newRow("other monitor, on grid")    << hd                          << QRect(2000, 1100, 1202, 897) << QRect(359, 91, 1202, 897)    << QRect(359, 91, 1202, 897);
        QTest::newRow("other monitor, off grid")   << hd                          << QRect(2000, 1100, 1201, 896) << QRect(367, 99, 1186, 881)    << QRect(367, 99, 1186, 881);
        QTest::newRow("other monitor, 1 narrower") << hd                          << QRect(1915, 1100, 1919, 900) << QRect(7, 91, 1906, 897)      << QRect(7, 91, 1906, 897);
        QTest::newRow("other monitor, as wide")    << hd                          << QRect(1915, 1100, 1920, 900) << QRect(463, 91, 994, 897)     << QRect(463, 91, 994, 897);
        QTest::newRow("bigger than screen")        << QRect(0, 0, 1366, 768)      << QRect(0, 0, 1920, 1080)      << QRect(186, 0, 994, 801)      << QRect(186, 0, 994, 801);
        QTest::newRow("same rectangle")            << QRect()                     << QRect(120, 80, 1280, 960)    << QRect(120, 80, 1280, 960)    << QRect(120, 80, 1280, 960);
        QTest::newRow("left moved")                << QRect()                     << QRect(120, 80, 1280, 960)    << QRect(121, 80, 1280, 960)    << QRect(121, 80, 1280, 960);
        QTest::newRow("grown to minimum")          << QRect()                     << QRect()                      << QRect(-8, -8, 640, 480)      << QRect(-8, -8, 994, 801);
        QTest::newRow("minimum equals stored")     << QRect()                     << QRect(10, 20, 994, 801)      << QRect(10, 20, 993, 800)      << QRect(10, 20, 994, 801);
        QTest::newRow("minimum width only")        << QRect()                     << QRect()                      << QRect(10, 20, 993, 802)      << QRect(10, 20, 994, 802);
        QTest::newRow("minimum height only")       << QRect()                     << QRect()                      << QRect(10, 20, 995, 800)      << QRect(10, 20, 995, 801);
    }
    void geometry()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, remembered);
        QFETCH(QRect, result);
        QFETCH(QRect, stored);

        session->d()->mGeometrys_.insert(1, remembered);
        session->settings()->setMenuBarHeight(28);
        session->settings()->setMenuBarHideStatus(true);
        QSignalSpy changed(session->settings(), &VdSessionSettings::geometryChanged);
        if (screen.isNull())
            session->settings()->setGeometry(result, 1);
        else
            QCOMPARE(session->settings()->geometry(screen, 1), result);
        QCOMPARE(session->d()->mGeometrys_.value(1), stored);
        QCOMPARE(QList<QVariantList>(changed), stored == remembered ? QList<QVariantList>() : QList<QVariantList>{{1}});
    }

    // Rectangles at the ends of the int range, given by their corners (QRect's own constructor
    // would overflow making them), are held to +-2^24 as a session file's are: placed on a screen
    // (after setGeometry() of the remembered one, when there is one) or recorded (no screen).
    void extremeGeometry_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("given");
        QTest::addColumn<QRect>("result");
        QTest::addColumn<QRect>("stored");

        const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max(), l = 1 << 24;
        const QRect whole(QPoint(lo, lo), QPoint(hi, hi)), inverted(QPoint(hi, hi), QPoint(lo, lo));
        const QRect qmlRect(QPoint(2147483000, 0), QPoint(hi, hi)); // Qt.rect(2147483000, 0, 2147483647, 2147483647)
        QTest::newRow("QML's rectangle, placed")   << qmlRect                      << QRect()                    << QRect(l - 173, 8388207, 994, 801)        << QRect(l - 173, 8388207, 994, 801);
        QTest::newRow("QML's rectangle, recorded") << QRect()                      << QRect()                    << qmlRect                                  << QRect(l, 0, 994, l);
        QTest::newRow("whole range, recorded")     << QRect()                      << QRect()                    << whole                                    << QRect(-l, -l, l, l);
        QTest::newRow("inverted, recorded")        << QRect()                      << QRect()                    << inverted                                 << QRect(l, l, 994, 801);
        QTest::newRow("whole range screen")        << whole                        << QRect(100, 50, 1000, 700)  << QRect(-8389105, -8389009, 994, 801)      << QRect(-8389105, -8389009, 994, 801);
        QTest::newRow("inverted screen")           << inverted                     << QRect(100, 50, 1000, 700)  << QRect(l - 8389105, l - 8389008, 994, 801) << QRect(l - 8389105, l - 8389008, 994, 801);
        QTest::newRow("whole range remembered")    << QRect(0, 0, 1920, 1080)      << whole                      << QRect(463, 0, 994, 801)                  << QRect(463, 0, 994, 801);
        QTest::newRow("far corner remembered")     << QRect(-1920, 0, 1920, 1080)  << QRect(QPoint(hi, hi), QPoint(hi, hi)) << QRect(-1457, 139, 994, 801) << QRect(-1457, 139, 994, 801);
    }
    void extremeGeometry()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, given);
        QFETCH(QRect, result);
        QFETCH(QRect, stored);

        VdSessionSettings *s = session->settings();
        // Compared, not asked isNull(): QRect's own tests overflow at these corners.
        if (given != QRect())
            s->setGeometry(given, 1);
        if (screen == QRect())
            s->setGeometry(result, 1);
        else
            QCOMPARE(s->geometry(screen, 1), result);
        QCOMPARE(session->d()->mGeometrys_.value(1), stored);
    }

    // Every engine gets the one object, and none takes it along when it goes. A page reads the
    // enumerations and calls the methods, the short form of geometry() too; it writes through the
    // setters, with their signals, and C++ changes reach its bindings.
    void qmlSingleton()
    {
        session->d()->mVmName_ = QStringLiteral("win10-pool-07");
        VdSessionSettings *s = session->settings();
        QPointer<VdSessionSettings> alive = s;
        { // the engines and pages go at the end of the block
            QQmlEngine engine, otherEngine;
            auto page = load(engine, "property QtObject settings: Settings\n"
                                     "property int none: Settings.TYPE_STREAM_NONE\n"
                                     "property string vm: Settings.getVmName()\n"
                                     "property rect shortForm: Settings.geometry(Qt.rect(0, 0, 1920, 1080))\n"
                                     "property rect longForm: Settings.geometry(Qt.rect(0, 0, 1920, 1080), 0)\n"
                                     "property rect extreme: Settings.geometry(Qt.rect(2147483000, 0, 2147483647, 2147483647), 2)\n"
                                     "property string resolution: Settings.resolution\n"
                                     "property int stream: Settings.streamMode\n"
                                     "property int port: Settings.serverPort\n"
                                     "property int serverType: Settings.serverType\n"
                                     "function setResolution(text) { Settings.resolution = text }\n"
                                     "function setStream(mode) { Settings.streamMode = mode }\n"
                                     "function setPlatformQuality(q) { Settings.jpegQualityPlatform = q }");
            auto otherPage = load(otherEngine, "property QtObject settings: Settings");
            QVERIFY(page && otherPage);
            QCOMPARE(page->property("settings").value<QObject *>(), s);
            QCOMPARE(otherPage->property("settings").value<QObject *>(), s);
            QCOMPARE(page->property("none").toInt(), -1);
            QCOMPARE(page->property("vm").toString(), QStringLiteral("win10-pool-07"));
            QCOMPARE(page->property("shortForm").toRect(), page->property("longForm").toRect());
            // However QML rounds such a rectangle, what comes back lies within the held range.
            const QRect extreme = page->property("extreme").toRect();
            QVERIFY(QRect(-(1 << 25), -(1 << 25), 1 << 26, 1 << 26).contains(extreme));
            QCOMPARE(page->property("serverType").toInt(), 0);

            SignalLog signalLog(s);
            QMetaObject::invokeMethod(page.get(), "setResolution", Q_ARG(QVariant, QStringLiteral("1280 x 720")));
            QMetaObject::invokeMethod(page.get(), "setResolution", Q_ARG(QVariant, QStringLiteral("1920 x 1080")));
            QCOMPARE(signalLog.take(), QStringList{"resolutionChanged"});
            QCOMPARE(page->property("resolution").toString(), QStringLiteral("1920 x 1080"));
            // The stream mode is stored, but nothing tells the binding.
            QMetaObject::invokeMethod(page.get(), "setStream", Q_ARG(QVariant, 2));
            QCOMPARE(s->streamMode(), VdSessionSettings::TYPE_STREAM_HD);
            QCOMPARE(page->property("stream").toInt(), -1);
            // A property without WRITE refuses the assignment; the value stays.
            QMetaObject::invokeMethod(page.get(), "setPlatformQuality", Q_ARG(QVariant, 10));
            QCOMPARE(s->jpegQualityPlatform(), 95);
            s->setServerPort(443);
            QCOMPARE(page->property("port").toInt(), 443);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsObject)
#include "tst_settingsobject.moc"
