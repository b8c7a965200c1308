#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest/QtTest>

// The singleton "Settings" as a QML page meets it.
class tst_QmlSingleton : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

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

    // Every engine gets the one object, and none takes it along when it goes.
    void sameObjectForEveryEngine()
    {
        for (int engines = 0; engines < 2; ++engines) {
            QQmlEngine engine;
            auto page = load(engine, "property QtObject settings: Settings");
            QVERIFY(page);
            QCOMPARE(page->property("settings").value<QObject *>(), VdSessionSettings::instance());
        }
        QPointer<VdSessionSettings> settings = VdSessionSettings::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(settings);
        QCOMPARE(settings->protocol(), QStringLiteral("vdp"));
    }

    void readsAndCalls()
    {
        session->d()->mVmName_ = QStringLiteral("win10-pool-07");
        QQmlEngine engine;
        auto page = load(engine, "property int none: Settings.TYPE_STREAM_NONE\n"
                                 "property int noBreak: Settings.AUTO_BREAK_TIME_NO\n"
                                 "property string vm: Settings.getVmName()\n"
                                 "property rect shortForm: Settings.geometry(Qt.rect(0, 0, 1920, 1080))\n"
                                 "property rect longForm: Settings.geometry(Qt.rect(0, 0, 1920, 1080), 0)");
        QVERIFY(page);
        QCOMPARE(page->property("none").toInt(), -1);
        QCOMPARE(page->property("noBreak").toInt(), 4);
        QCOMPARE(page->property("vm").toString(), QStringLiteral("win10-pool-07"));
        QCOMPARE(page->property("shortForm").toRect(), page->property("longForm").toRect());
    }

    void bindingsAndWrites()
    {
        QQmlEngine engine;
        auto page = load(engine, "property string resolution: Settings.resolution\n"
                                 "property int stream: Settings.streamMode\n"
                                 "property int port: Settings.serverPort\n"
                                 "property int serverType: Settings.serverType\n"
                                 "function setResolution(text) { Settings.resolution = text }\n"
                                 "function setStream(mode) { Settings.streamMode = mode }\n"
                                 "function setPlatformQuality(q) { Settings.jpegQualityPlatform = q }");
        QVERIFY(page);
        VdSessionSettings *s = session->settings();
        QCOMPARE(page->property("port").toInt(), 8860);
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

        // Changes made in C++ reach the bindings through their signals.
        s->setServerPort(443);
        QCOMPARE(page->property("port").toInt(), 443);
    }
};

QTEST_GUILESS_MAIN(tst_QmlSingleton)
#include "tst_qmlsingleton.moc"
