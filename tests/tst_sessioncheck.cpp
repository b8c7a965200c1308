#include "sessionfile/sessionkeys_p.h"
#include "testsession.h"

#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QtTest/QtTest>

using Layout = VdSessionCheck::Layout;
Q_DECLARE_METATYPE(Layout)

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One line per finding, as the golden files hold them: "kind path" and " -> suggestion".
QStringList lines(const VdSessionCheck &check)
{
    QStringList result;
    for (const VdSessionCheck::Finding &finding : check.findings())
        result << VdSessionCheck::kindName(finding.kind) + ' ' + finding.path
                + (finding.suggestion.isEmpty() ? QString() : " -> " + finding.suggestion);
    return result;
}

// Every property the settings object publishes, as QML would see it.
QVariantList properties(const QObject *object)
{
    QVariantList values;
    const QMetaObject *meta = object->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        values << meta->property(i).read(object);
    return values;
}

QSet<QString> patterns(const QVector<SessionKeys::Key> &keys, bool read)
{
    QSet<QString> result;
    for (const SessionKeys::Key &key : keys)
        if (!(key.flags & SessionKeys::NotRead) == read)
            result.insert(key.pattern);
    return result;
}

} // namespace

class tst_SessionCheck : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Each planted mistake is found once, where it was planted, in the order of the file; files
    // the launcher and the writer produce give nothing but the launcher's own extra keys.
    void findings_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QString>("expected"); // golden file, one finding a line; empty: none

        QTest::newRow("planted mistakes")   << "check/mistakes.vdp"                                        << Layout::Current << "check/mistakes.findings";
        QTest::newRow("launcher's file")    << "current/VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp" << Layout::Current << "check/launcher-disks.findings";
        QTest::newRow("operator policy")    << "current/operator-permissions.vdp"                          << Layout::Current << "";
        QTest::newRow("saved by saveToVdp") << "current/rewritten-sparse.vdp"                              << Layout::Current << "";
        QTest::newRow("legacy layout")      << "legacy/complete.vdp"                                       << Layout::Legacy  << "check/legacy-complete.findings";
    }
    void findings()
    {
        QFETCH(QString, fixture);
        QFETCH(Layout, layout);
        QFETCH(QString, expected);

        const VdSessionCheck check = VdSessionCheck::checkFile(QFINDTESTDATA("data/" + fixture));
        QCOMPARE(check.layout(), layout);
        QCOMPARE(lines(check), expected.isEmpty() ? QStringList() : QString::fromUtf8(fileContent(QFINDTESTDATA("data/" + expected))).split('\n', Qt::SkipEmptyParts));
        for (const VdSessionCheck::Finding &finding : check.findings())
            QVERIFY2(!finding.message.contains("73915"), qPrintable(finding.message)); // the planted password
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file; "/": a folder

        QTest::newRow("missing")        << QByteArray();
        QTest::newRow("folder")         << QByteArray("/");
        QTest::newRow("plain text")     << QByteArray("Session expired.\n");
        QTest::newRow("empty file")     << QByteArray("");
    }
    void unreadable()
    {
        QFETCH(QByteArray, content);
        const QString path = session->workDir() + "/VdSession-abc.vdp";
        if (content == "/")
            QDir().mkpath(path);
        else if (!content.isNull())
            session->writeFile(path, content);
        const VdSessionCheck check = VdSessionCheck::checkFile(path);
        QCOMPARE(check.layout(), Layout::Unreadable);
        QVERIFY(!check.errorString().isEmpty());
        QVERIFY(check.findings().isEmpty());
    }

    // Checking reads the named file alone: the previous session's file, which loading takes and
    // removes, stays; and the program's settings object neither changes nor signals.
    void touchesNothingElse()
    {
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/session-without-stream.vdp"), "VdSession-abc.vdp")));
        session->copyFixture(QFINDTESTDATA("data/current/previous-stream-hd.vdp"), "abc-2.vdp");
        const QVariantList before = properties(session->settings());
        const QMetaObject *meta = session->settings()->metaObject();
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                spies.emplace_back(new QSignalSpy(session->settings(), meta->method(i)));

        QCOMPARE(VdSessionCheck::checkFile("VdSession-abc.vdp").layout(), Layout::Current);
        QCOMPARE(VdSessionCheck::checkFile(QFINDTESTDATA("data/check/mistakes.vdp")).findings().size(), 8);

        QVERIFY(QFile::exists("abc-2.vdp"));
        QCOMPARE(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), (QStringList{"abc-2.vdp", "VdSession-abc.vdp"}));
        QCOMPARE(properties(session->settings()), before);
        for (const auto &spy : spies)
            QVERIFY2(spy->isEmpty(), spy->signal().constData());
    }

    // Whatever a reader takes is in the key table, and the table lists nothing no reader takes
    // but what the writer adds; the writer adds exactly what the table says it saves.
    void tableFollowsReaders_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::newRow("current") << Layout::Current;
        QTest::newRow("legacy")  << Layout::Legacy;
    }
    void tableFollowsReaders()
    {
        QFETCH(Layout, layout);
        const QVector<SessionKeys::Key> &keys = SessionKeys::keys(layout);
        const QSet<QString> read = patterns(keys, true);
        const QSet<QString> taken = QSet<QString>(SessionKeys::describeReaders(layout).keyBegin(), SessionKeys::describeReaders(layout).keyEnd());
        QCOMPARE(QSet<QString>(taken).subtract(read), QSet<QString>());
        QCOMPARE(QSet<QString>(read).subtract(taken), QSet<QString>());
        QCOMPARE(QSet<QString>(patterns(keys, false)).intersect(taken), QSet<QString>());

        const QString path = session->writeFile("VdSession-abc.vdp", layout == Layout::Legacy ? R"({"vdsession settings":{}})" : R"({"vm settings":{}})");
        session->settings()->loadFromVdp(path);
        session->settings()->setStreamMode(VdSessionSettings::TYPE_STREAM_HD);
        session->settings()->saveToVdp();
        const QJsonObject saved = QJsonDocument::fromJson(session->readFile(path)).object();
        QSet<QString> written;
        for (const QString &key : saved.keys())
            if (!key.contains(" settings"))
                written.insert('/' + key);
        QSet<QString> flagged;
        for (const SessionKeys::Key &key : keys)
            if (key.flags & SessionKeys::Saved)
                flagged.insert(key.pattern);
        QCOMPARE(flagged, written);
    }

    // The page in docs/ is the one the library generates, its examples check clean, and its
    // render mode default is the one loading gives.
    void documentation()
    {
        const QString page = VdSessionCheck::schemaMarkdown();
        QCOMPARE(QString::fromUtf8(fileContent(QFINDTESTDATA("../docs/session-file.md"))), page);

        const QStringList blocks = page.split("```jsonc\n");
        QCOMPARE(blocks.size(), 3);
        const Layout layouts[] = {Layout::Current, Layout::Legacy};
        for (int i = 1; i < 3; ++i) {
            const QString example = blocks.at(i).left(blocks.at(i).indexOf("```")).remove(QRegularExpression(" *//[^\n]*"));
            const VdSessionCheck check = VdSessionCheck::checkDocument(example.toUtf8());
            QCOMPARE(check.layout(), layouts[i - 1]);
            QCOMPARE(lines(check), QStringList());
        }

        session->settings()->fromJson(QJsonObject());
        QCOMPARE(QJsonValue(session->settings()->renderMode()), SessionKeys::describeReaders(Layout::Current).value("/render mode").fallback);
    }
};

QTEST_GUILESS_MAIN(tst_SessionCheck)
#include "tst_sessioncheck.moc"
