#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QtTest/QtTest>

using S = VdSessionSettings;
using Geometries = QMap<int, QRect>;

namespace {

const QString sessionFileName = QStringLiteral("VdSession-7c2a9e41.vdp");

QJsonObject readObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Owner, group and others; the "user" bits only echo one of them.
QFileDevice::Permissions modeBits(const QString &path)
{
    return QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

} // namespace

class tst_Writer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void choicesComeBack();
    void legacyFileKeepsItsGroups();
    void streamControlValue_data();
    void streamControlValue();
    void unreadableFileIsLeftAlone_data();
    void unreadableFileIsLeftAlone();
    void unwritableDirectory();
    void permissionsKept_data();
    void permissionsKept();

private:
    QString loadFixture(const char *fixture, const QString &name = sessionFileName);

    std::unique_ptr<TestSession> session;
};

QString tst_Writer::loadFixture(const char *fixture, const QString &name)
{
    const QString path = session->copyFixture(QFINDTESTDATA(fixture), name);
    if (!session->settings()->loadFromVdp(path))
        qFatal("cannot load %s", fixture);
    session->log().clear();
    return path;
}

void tst_Writer::choicesComeBack()
{
    const QString path = loadFixture("data/writer/complete.vdp");
    const QJsonObject original = readObject(path);

    S *s = session->settings();
    s->setImgCompress(S::TYPE_COMPRESS_JPEG);
    s->setVgpuDecodeType(S::Auto_VgpuDecode_TYPE);
    s->setVgpuQPType(S::VgpuQPType_L);
    s->setJpegQuality(70);
    s->setMouseMode(S::SERVER_MODE);
    s->setStreamMode(S::TYPE_STREAM_VIDEO);
    s->setWindowMode(S::MultiVdpWindowMode);
    s->setRenderMode(S::RenderModeTotal);
    s->setGeometry(QRect(0, 0, 1920, 1080), 0);
    s->setGeometry(QRect(-1280, 120, 1280, 1024), 1);
    s->setDisplayRes(QSize(2560, 1440));
    // Saved, but no reader takes them back from where they are written, or not saved at all.
    s->setToolbarStyle(2);
    s->setRenderSystemMode(S::RenderSystemSDL);
    s->setEsFrequency(300);

    s->saveToVdp();
    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("save vdp file, path:") + path), qPrintable(session->log().dump()));

    const QJsonObject saved = readObject(path);
    const QJsonObject written{
        {"config mode", int(S::ConfigModeUserDefine)},
        {"inherit old vdp", 1},
        {"vgpu qp type", int(S::VgpuQPType_L)},
        {"image_compression_mode", int(S::TYPE_COMPRESS_JPEG)},
        {"vgpu decode type", int(S::Auto_VgpuDecode_TYPE)},
        {"jpeg_quality", 70},
        {"dump_stream_data", false},
        {"d3d_debug", false},
        {"render_driver_value", "d3d11"},
        {"mouse_mode", int(S::SERVER_MODE)},
        {"stream_control_value", int(S::TYPE_STREAM_VIDEO)},
        {"toolbarStyle", 2},
        {"geometrys", QJsonArray{QJsonObject{{"id", 0}, {"geometry", "0,0,1920,1080"}},
                                 QJsonObject{{"id", 1}, {"geometry", "-1280,120,1280,1024"}}}},
        {"noMoreshowDialog", false},
        {"window mode", int(S::MultiVdpWindowMode)},
        {"render mode", int(S::RenderModeTotal)},
        {"display_res", "2560,1440"},
    };
    for (auto it = written.constBegin(); it != written.constEnd(); ++it)
        QVERIFY2(saved.value(it.key()) == it.value(), qPrintable(it.key()));
    // Everything else, the launcher's groups and keys this library does not know included.
    for (auto it = original.constBegin(); it != original.constEnd(); ++it) {
        if (!written.contains(it.key()))
            QVERIFY2(saved.value(it.key()) == it.value(), qPrintable(it.key()));
    }
    // Added: the marker, and the toolbar style that the launcher keeps in "basic settings" only.
    QCOMPARE(saved.size(), original.size() + 2);

    session->restart();
    QVERIFY(s->loadFromVdp(path));
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("old vdp file has been inherited")));
    QCOMPARE(s->imgCompress(), S::TYPE_COMPRESS_JPEG);
    QCOMPARE(s->vgpuDecodeType(), S::Auto_VgpuDecode_TYPE);
    QCOMPARE(s->vgpuQPType(), S::VgpuQPType_L);
    QCOMPARE(s->jpegQuality(), 70);
    QCOMPARE(s->mouseMode(), S::SERVER_MODE);
    QCOMPARE(s->streamMode(), S::TYPE_STREAM_VIDEO);
    QCOMPARE(s->windowMode(), S::MultiVdpWindowMode);
    QCOMPARE(s->renderMode(), S::RenderModeTotal);
    QCOMPARE(session->d()->mGeometrys_, (Geometries{{0, QRect(0, 0, 1920, 1080)}, {1, QRect(-1280, 120, 1280, 1024)}}));
    QCOMPARE(s->displayRes(), QSize(2560, 1440));
    QCOMPARE(s->toolbarStyle(), 1);
    QCOMPARE(s->renderSystemMode(), S::RenderSystemXCB);
    QCOMPARE(s->esFrequency(), 120);
}

void tst_Writer::legacyFileKeepsItsGroups()
{
    const QString path = loadFixture("data/legacy/complete.vdp");
    const QJsonObject original = readObject(path);
    session->settings()->setWindowMode(S::MultiSDLWindowMode);

    session->settings()->saveToVdp();

    const QJsonObject saved = readObject(path);
    for (const char *group : {"basic settings", "user settings", "vdsession settings"})
        QVERIFY2(saved.value(group) == original.value(group), group);
    QCOMPARE(saved.value("inherit old vdp"), QJsonValue(1));
    QCOMPARE(saved.value("window mode"), QJsonValue(int(S::MultiSDLWindowMode)));
    QCOMPARE(saved.value("geometrys"), QJsonValue(QJsonArray{QJsonObject{{"id", 0}, {"geometry", "0,0,1920,1080"}},
                                                             QJsonObject{{"id", 1}, {"geometry", "-1280,120,1280,1024"}}}));
    QCOMPARE(saved.value("stream_control_value"), QJsonValue(int(S::TYPE_STREAM_HD)));
}

void tst_Writer::streamControlValue_data()
{
    QTest::addColumn<bool>("inFile");
    QTest::addColumn<S::StreamControlType>("mode");
    QTest::addColumn<QJsonValue>("saved");

    QTest::newRow("none chosen, none in the file") << false << S::TYPE_STREAM_NONE   << QJsonValue(QJsonValue::Undefined);
    QTest::newRow("none chosen, 2 in the file")    << true  << S::TYPE_STREAM_NONE   << QJsonValue(2);
    QTest::newRow("office chosen")                 << false << S::TYPE_STREAM_OFFICE << QJsonValue(0);
    QTest::newRow("replaces the file's")           << true  << S::TYPE_STREAM_ALWAYS << QJsonValue(3);
}

void tst_Writer::streamControlValue()
{
    QFETCH(bool, inFile);
    QFETCH(S::StreamControlType, mode);
    QFETCH(QJsonValue, saved);

    const QString path = loadFixture("data/writer/complete.vdp");
    if (!inFile) {
        QJsonObject root = readObject(path);
        root.remove("stream_control_value");
        session->writeFile(path, QJsonDocument(root).toJson());
    }
    session->settings()->setStreamMode(mode);

    session->settings()->saveToVdp();
    QCOMPARE(readObject(path).value("stream_control_value"), saved);
}

void tst_Writer::unreadableFileIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content"); // null: the file was deleted
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("message");

    const QString path = QStringLiteral("%1/") + sessionFileName;
    QTest::newRow("deleted")   << QByteArray()              << true  << int(spdlog::level::err) << "file open error, path:" + path;
    QTest::newRow("not JSON")  << QByteArray("session ended") << true << int(spdlog::level::critical) << "session ended  \r\nis error.";
    QTest::newRow("empty")     << QByteArray("")            << true  << int(spdlog::level::critical) << "  \r\nis error.";
    QTest::newRow("never loaded")   << QByteArray()         << false << int(spdlog::level::err) << "file open error, path:";
}

void tst_Writer::unreadableFileIsLeftAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loaded);
    QFETCH(int, level);
    QFETCH(QString, message);

    if (loaded) {
        const QString path = loadFixture("data/writer/complete.vdp");
        if (content.isNull())
            session->settings()->deleteVdpFile();
        else
            session->writeFile(path, content);
        message.replace(QStringLiteral("%1"), session->workDir());
    }
    session->settings()->setWindowMode(S::MultiVdpWindowMode);

    session->settings()->saveToVdp();
    QVERIFY2(session->log().contains(spdlog::level::level_enum(level), message), qPrintable(session->log().dump()));
    const QStringList expectedFiles = content.isNull() ? QStringList() : QStringList{sessionFileName};
    QCOMPARE(QDir(session->workDir()).entryList(QDir::Files), expectedFiles);
    if (!content.isNull())
        QCOMPARE(readBytes(session->workDir() + QLatin1Char('/') + sessionFileName), content);
}

void tst_Writer::unwritableDirectory()
{
    const QString path = loadFixture("data/writer/complete.vdp", QStringLiteral("sessions/") + sessionFileName);
    const QString directory = QFileInfo(path).absolutePath();
    const QByteArray before = readBytes(path);
    const QFileDevice::Permissions writable = QFile::permissions(directory);
    QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                         | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const auto restore = qScopeGuard([&] { QFile::setPermissions(directory, writable); });

    QFile probe(directory + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QSKIP("directory permissions do not stop this user (root) from writing");
    }

    session->settings()->setWindowMode(S::MultiVdpWindowMode);
    session->settings()->saveToVdp();

    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(directory).entryList(QDir::Files), QStringList{sessionFileName});
    QCOMPARE(session->log().countQt(QtCriticalMsg,
                                    QStringLiteral("[VdSessionSettings::saveToVdp]save vdsession settings file %1 error.").arg(path)),
             1);
}

void tst_Writer::permissionsKept_data()
{
    QTest::addColumn<int>("mode");

    QTest::newRow("0640") << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    QTest::newRow("0600") << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QTest::newRow("0664") << int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                 | QFileDevice::WriteGroup | QFileDevice::ReadOther);
}

void tst_Writer::permissionsKept()
{
    QFETCH(int, mode);

    const QString path = loadFixture("data/writer/complete.vdp");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(mode)));
    session->settings()->setWindowMode(S::MultiVdpWindowMode);

    session->settings()->saveToVdp();
    QCOMPARE(readObject(path).value("window mode"), QJsonValue(int(S::MultiVdpWindowMode)));
    QCOMPARE(modeBits(path), QFileDevice::Permissions(mode));
}

QTEST_GUILESS_MAIN(tst_Writer)
#include "tst_writer.moc"
