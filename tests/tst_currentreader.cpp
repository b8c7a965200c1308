#include "private/jsonvalue_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "settingsdump.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QtTest/QtTest>

using S = VdSessionSettings;

namespace {

QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

const QString launcherFile = QStringLiteral("VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp");

} // namespace

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
    // twice. The last three hold values of other types than the keys', numbers at and beyond the
    // ends of their ranges, and addresses that are not objects. No listener hears of either read.
    void fixtures_data()
    {
        QTest::addColumn<QString>("then");

        QTest::newRow("launcher")             << QString();
        QTest::newRow("launcher-twice")       << launcherFile;
        QTest::newRow("rewritten-sparse")     << QString("rewritten-sparse.vdp");
        QTest::newRow("optional-keys-null")   << QString("optional-keys-null.vdp");
        QTest::newRow("operator-permissions") << QString("operator-permissions.vdp");
        QTest::newRow("mistyped-values")      << QString("mistyped-values.vdp");
        QTest::newRow("edge-values")          << QString("edge-values.vdp");
        QTest::newRow("limit-values")         << QString("limit-values.vdp");
    }
    void fixtures()
    {
        QFETCH(QString, then);

        SignalLog signalLog(session->settings());
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        if (!then.isEmpty())
            session->settings()->fromJson(parse(session->readFile(QFINDTESTDATA("data/current/" + then))));
        QCOMPARE(signalLog.take(), QStringList());
        COMPARE_GOLDEN(session->dump(), "current/" + QString(QTest::currentDataTag()) + ".json");
    }

    // Each row loads the launcher's file, then a document that exercises one rule of the video
    // policy, and checks the setting the rule decides.
    void rules_data()
    {
        QTest::addColumn<QByteArray>("then");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QJsonValue>("expected");

        const QString policy = R"({"vm settings":{"serverType":%1,"vm":{"controlPolicy":{"video_policy":{"videoMode":1,"videoModeGw":3,"forceEnableVideoMode":%2}}}},"stream_control_value":%3})";
        auto videoModes = [&](int serverType, int force, int stream) { return policy.arg(serverType).arg(force).arg(stream).toUtf8(); };
        const QString unified = R"({"config mode":%1,"jpeg_quality":80,"vm settings":{"vm":{"vmOperator":{"platformUnifiedConfig":%2},"controlPolicy":{"video_policy":{"jpeg_quality":70,"forceDistributionDecode":%3}}}}})";
        auto configModes = [&](int configMode, int platformUnified, int forced) { return unified.arg(configMode).arg(platformUnified).arg(forced).toUtf8(); };
        const QJsonValue platformQuality = QJsonObject{{"forceDistributionDecode", 0}, {"jpeg_quality", 70}};
        const QJsonValue userQuality = QJsonObject{{"forceDistributionDecode", 0}, {"jpeg_quality", 80}};

        QTest::newRow("video mode of gateway") << videoModes(1, 0, -1)  << QString("getVideoModeActual") << QJsonValue(3);
        QTest::newRow("stream mode wins")      << videoModes(1, 0, 2)   << QString("getVideoModeActual") << QJsonValue(2);
        QTest::newRow("forced video mode")     << videoModes(1, 2, 2)   << QString("getVideoModeActual") << QJsonValue(3);
        QTest::newRow("platform's quality")    << configModes(0, 0, 0)  << QString("videoPolicy")        << platformQuality;
        QTest::newRow("user's quality")        << configModes(1, 0, 0)  << QString("videoPolicy")        << userQuality;
        QTest::newRow("forced distribution")   << configModes(1, 0, 1)  << QString("configMode")         << QJsonValue("ConfigModePreDefine");
        QTest::newRow("platform not unified")  << configModes(0, 1, 1)  << QString("configMode")         << QJsonValue("ConfigModeUserDefine");
        QTest::newRow("unified only for 0")    << configModes(0, 2, 0)  << QString("configMode")         << QJsonValue("ConfigModeUserDefine");
    }
    void rules()
    {
        QFETCH(QByteArray, then);
        QFETCH(QString, setting);
        QFETCH(QJsonValue, expected);

        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        session->settings()->fromJson(parse(then));
        QCOMPARE(settingsToJson(*session->settings(), false).value(setting), expected);
    }

    // An observer hears of every key the pass takes, and the record ends up as it does without one.
    void observerChangesNothing()
    {
        const QJsonObject document = parse(R"({"inherit old vdp":1,"es frequency":"60","basic settings":{"display4KType":9},"vm settings":{"serverPort":443}})");
        struct : JsonObserver {
            QStringList paths;
            QJsonValue lookup(const JsonLookup &lookup) override { paths << lookup.path.pointer(); return lookup.found; }
        } observer;
        readCurrentLayout(session->d(), JsonGroup(document, &observer), VdSessionSettings::RenderModePart);
        const QByteArray withObserver = session->dump();
        session->restart();
        session->settings()->fromJson(document);
        QCOMPARE(session->dump(), withObserver);
        QVERIFY(observer.paths.contains("/basic settings/display4KType") && observer.paths.contains("/es frequency"));
    }
};

QTEST_GUILESS_MAIN(tst_CurrentReader)
#include "tst_currentreader.moc"
