#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QtTest/QtTest>

using S = VdSessionSettings;

static const QString sessionFileName = QStringLiteral("VdSession-7c2a9e41.vdp");

static QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

class tst_Writer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void choicesComeBack()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), sessionFileName);
        const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path, mode));
        S *s = session->settings();
        QVERIFY(s->loadFromVdp(path));
        s->setImgCompress(S::TYPE_COMPRESS_JPEG);
        s->setVgpuDecodeType(S::Auto_VgpuDecode_TYPE);
        s->setVgpuQPType(S::VgpuQPType_L);
        s->setJpegQuality(70);
        s->setMouseMode(S::SERVER_MODE);
        // Replaces the file's 2; 0 is a choice like any other.
        s->setStreamMode(S::TYPE_STREAM_OFFICE);
        s->setWindowMode(S::MultiVdpWindowMode);
        s->setRenderMode(S::RenderModeTotal);
        s->setGeometry(QRect(0, 0, 1920, 1080), 0);
        s->setGeometry(QRect(-1280, 120, 1280, 1024), 1);
        s->setDisplayRes(QSize(2560, 1440));
        // Saved where no reader takes it back, or not saved at all.
        s->setToolbarStyle(2);
        s->setRenderSystemMode(S::RenderSystemSDL);
        s->setEsFrequency(300);

        s->saveToVdp();
        // Every other key, the launcher's own included, comes back as it was, and so do the mode bits.
        const QJsonObject saved = parse(session->readFile(path));
        QVERIFY2(saved == parse(session->readFile(QFINDTESTDATA("data/writer/saved.vdp"))), QJsonDocument(saved).toJson().constData());
        // The "user" bits only repeat one of owner, group and others.
        QCOMPARE(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser), mode);

        // Read back into a fresh record, the choices return; the toolbar style and the render system do not.
        session->restart();
        QVERIFY(s->loadFromVdp(path));
        COMPARE_GOLDEN(session->dump(), "writer/reloaded.json");
    }

    void legacyFileKeepsItsGroups()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/legacy/complete.vdp"), sessionFileName);
        QVERIFY(session->settings()->loadFromVdp(path));
        const QJsonObject original = parse(session->readFile(path));
        // No stream mode chosen, and the file has one only inside "vdsession settings".
        session->settings()->setStreamMode(S::TYPE_STREAM_NONE);
        session->settings()->saveToVdp();

        const QJsonObject saved = parse(session->readFile(path));
        for (const char *group : {"basic settings", "user settings", "vdsession settings"})
            QVERIFY2(saved.value(group) == original.value(group), group);
        QVERIFY(!saved.contains("stream_control_value"));
        QCOMPARE(saved.value("inherit old vdp"), QJsonValue(1));
    }

    void unreadableFileLeftAlone()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), sessionFileName);
        QVERIFY(session->settings()->loadFromVdp(path));
        session->writeFile(path, "session ended");
        session->settings()->saveToVdp();
        QCOMPARE(session->readFile(path), QByteArray("session ended"));

        session->settings()->deleteVdpFile();
        session->settings()->saveToVdp();
        QVERIFY(!QFile::exists(path));
    }

    void unwritableDirectory()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), "sessions/" + sessionFileName);
        QVERIFY(session->settings()->loadFromVdp(path));
        const QString directory = QFileInfo(path).absolutePath();
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); });
        if (QFile(directory + "/probe").open(QIODevice::WriteOnly))
            QSKIP("directory permissions do not stop this user (root) from writing");

        session->settings()->saveToVdp();
        QCOMPARE(session->readFile(path), session->readFile(QFINDTESTDATA("data/writer/complete.vdp")));
        QCOMPARE(QDir(directory).entryList(QDir::Files), QStringList{sessionFileName});
        QCOMPARE(session->log().countQt(QtCriticalMsg, QStringLiteral("[VdSessionSettings::saveToVdp]save vdsession settings file %1 error.").arg(path)), 1);
    }

private:
    std::unique_ptr<TestSession> session;
};

QTEST_GUILESS_MAIN(tst_Writer)
#include "tst_writer.moc"
