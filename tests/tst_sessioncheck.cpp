#include "sessionfile/sessionkeys_p.h"
#include "settingsdump.h"
#include "testsession.h"

#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QtTest/QtTest>

using Layout = VdSessionCheck::Layout;
Q_DECLARE_METATYPE(Layout)

namespace {

// One line per finding, as the golden files hold them: "kind path" and " -> suggestion".
QStringList lines(const VdSessionCheck &check)
{
    QStringList result;
    for (const VdSessionCheck::Finding &finding : check.findings())
        result << VdSessionCheck::kindName(finding.kind) + ' ' + finding.path
                + (finding.suggestion.isEmpty() ? QString() : " -> " + finding.suggestion);
    return result;
}

// The patterns of the keys that have, of the flags in @p mask, just @p flags.
QSet<QString> patterns(const QVector<SessionKeys::Key> &keys, int mask, int flags)
{
    QSet<QString> result;
    for (const SessionKeys::Key &key : keys)
        if ((key.flags & mask) == flags)
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
    // the launcher and the writer produce give nothing but the launcher's own extra keys. What
    // cannot be read has a reason and no findings. Asked for the document as well, the check is
    // the same and the document is the file's, or empty when the file cannot be read.
    void findings_data()
    {
        QTest::addColumn<QString>("fixture"); // under tests/data
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QString>("expected"); // golden file, one finding a line; empty: none

        QTest::newRow("planted mistakes")   << "check/mistakes.vdp"                                        << Layout::Current    << "check/mistakes.findings";
        QTest::newRow("launcher's file")    << "current/VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp" << Layout::Current    << "check/launcher-disks.findings";
        QTest::newRow("operator policy")    << "current/operator-permissions.vdp"                          << Layout::Current    << "";
        QTest::newRow("saved by saveToVdp") << "current/rewritten-sparse.vdp"                              << Layout::Current    << "";
        QTest::newRow("legacy layout")      << "legacy/complete.vdp"                                       << Layout::Legacy     << "check/legacy-complete.findings";
        QTest::newRow("missing")            << "check/missing.vdp"                                         << Layout::Unreadable << "";
        QTest::newRow("folder")             << "check"                                                     << Layout::Unreadable << "";
        QTest::newRow("plain text")         << "current/plain-text.vdp"                                    << Layout::Unreadable << "";
        QTest::newRow("empty file")         << "check/empty.vdp"                                           << Layout::Unreadable << "";
    }
    void findings()
    {
        QFETCH(QString, fixture);
        QFETCH(Layout, layout);
        QFETCH(QString, expected);

        const QString path = QFINDTESTDATA("data") + '/' + fixture;
        const VdSessionCheck check = VdSessionCheck::checkFile(path);
        QCOMPARE(check.layout(), layout);
        QCOMPARE(check.errorString().isEmpty(), layout != Layout::Unreadable);
        QCOMPARE(lines(check), expected.isEmpty() ? QStringList() : QString::fromUtf8(session->readFile(QFINDTESTDATA("data/" + expected))).split('\n', Qt::SkipEmptyParts));
        for (const VdSessionCheck::Finding &finding : check.findings())
            QVERIFY2(!finding.message.contains("73915"), qPrintable(finding.message)); // the planted password

        QJsonObject document{{"left from before", true}};
        const VdSessionCheck withDocument = VdSessionCheck::checkFile(path, &document);
        QCOMPARE(withDocument.layout(), layout);
        QCOMPARE(withDocument.errorString(), check.errorString());
        QCOMPARE(lines(withDocument), lines(check));
        QCOMPARE(document, layout == Layout::Unreadable ? QJsonObject() : QJsonDocument::fromJson(session->readFile(path)).object());
    }

    // A number that names none of its enumeration's enumerators, and text that the readers parse
    // and cannot, are found where they stand, in either layout, with what the session does
    // instead. A number the reader replaces is a range finding alone, a value of another type a
    // type finding alone; the numbers an enumeration names, and text the readers take, give nothing.
    void enumeratorsAndFormats_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("message"); // of the last finding; empty: not compared

        const QString streamModes = "-1 TYPE_STREAM_NONE, 0 TYPE_STREAM_OFFICE, 1 TYPE_STREAM_VIDEO, 2 TYPE_STREAM_HD, 3 TYPE_STREAM_ALWAYS";
        QTest::newRow("stream mode 9")               << QByteArray(R"({"stream_control_value": 9})")
                                                     << QStringList{"enumerator /stream_control_value"}
                                                     << "9 names none of the enumerators of StreamControlType (" + streamModes + "); 9 is used as it is";
        QTest::newRow("render mode -5")              << QByteArray(R"({"render mode": -5, "window mode": 2})")
                                                     << QStringList{"enumerator /render mode"}
                                                     << "-5 names none of the enumerators of RenderMode (0 RenderModeTotal, 1 RenderModePart); -5 is used as it is";
        QTest::newRow("int limit")                   << QByteArray(R"({"vm settings": {"vm": {"controlPolicy": {"video_policy": {"videoDecode": -2147483648}}}}})")
                                                     << QStringList{"enumerator /vm settings/vm/controlPolicy/video_policy/videoDecode"} << "";
        QTest::newRow("named numbers")               << QByteArray(R"({"stream_control_value": -1, "render mode": 0, "window mode": 0, "vgpu qp type": 0})")
                                                     << QStringList() << "";
        QTest::newRow("replaced, out of range")      << QByteArray(R"({"basic settings": {"display4KType": 7, "auto break second times": -1}})")
                                                     << QStringList{"range /basic settings/display4KType", "range /basic settings/auto break second times"} << "";
        QTest::newRow("replaced, another type")      << QByteArray(R"({"mouse_mode": 1.5, "config mode": "1"})")
                                                     << QStringList{"type /mouse_mode", "type /config mode"} << "";
        QTest::newRow("no enumeration")              << QByteArray(R"({"render_type": 9, "vm settings": {"serverType": 9}})")
                                                     << QStringList() << "";
        QTest::newRow("legacy stream and render")    << QByteArray(R"({"vdsession settings": {"stream_control_value": 9, "mouse_mode": 1}, "render mode": -5})")
                                                     << QStringList{"enumerator /vdsession settings/stream_control_value", "enumerator /render mode"} << "";
        QTest::newRow("legacy, named")               << QByteArray(R"({"vdsession settings": {"stream_control_value": 3}, "window mode": 2, "render system mode": 2})")
                                                     << QStringList() << "";

        QTest::newRow("rectangle of three")          << QByteArray(R"({"geometrys": [{"id": 0, "geometry": "0,0,1920,1080"}, {"id": 1, "geometry": "320,120,1282"}]})")
                                                     << QStringList{"format /geometrys/1/geometry"}
                                                     << "the string \"320,120,1282\" is not a rectangle \"left,top,width,height\" of four integers; "
                                                        "the element is skipped, so screen 1 gets no remembered window from it";
        QTest::newRow("rectangle of five")           << QByteArray(R"({"geometrys": [{"geometry": "0,0,1920,1080,"}]})")
                                                     << QStringList{"format /geometrys/0/geometry"} << "";
        QTest::newRow("rectangle, empty")            << QByteArray(R"({"geometrys": [{"id": 2, "geometry": ""}]})")
                                                     << QStringList{"format /geometrys/0/geometry"} << "";
        QTest::newRow("rectangle, piece no integer") << QByteArray(R"({"geometrys": [{"id": 2, "geometry": "0,0,wide,1080"}]})")
                                                     << QStringList{"format /geometrys/0/geometry"}
                                                     << "\"wide\" in the string \"0,0,wide,1080\" is not a decimal integer of 32 bits; it counts as 0";
        QTest::newRow("rectangle beyond 32 bits")    << QByteArray(R"({"geometrys": [{"id": 2, "geometry": "-1280,,2147483648,1024"}]})")
                                                     << QStringList{"format /geometrys/0/geometry"}
                                                     << "\"\" and \"2147483648\" in the string \"-1280,,2147483648,1024\" are not decimal integers of 32 bits; each counts as 0";
        QTest::newRow("rectangles the reader takes") << QByteArray(R"({"geometrys": [{"id": 0, "geometry": " 0, +0 ,1920,\t1080 "}, {"id": 1, "geometry": "-2147483648,0,2147483647,1"}], "display_res": " 1600 , 900 "})")
                                                     << QStringList() << "";
        QTest::newRow("rectangle, another type")     << QByteArray(R"({"geometrys": [{"id": 3, "geometry": [0, 0, 800, 600]}]})")
                                                     << QStringList{"type /geometrys/0/geometry"}
                                                     << "found an array where a string holding a rectangle \"left,top,width,height\" of four integers is read; "
                                                        "the element is skipped, so screen 3 gets no remembered window from it";
        QTest::newRow("single rectangle")            << QByteArray(R"({"geometry": "1,2", "geometrys": [{"id": 1, "geometry": "1,2"}]})")
                                                     << QStringList{"format /geometry"}
                                                     << "the string \"1,2\" is not a rectangle \"left,top,width,height\" of four integers; screen 0 gets no remembered "
                                                        "window, and geometrys is not read while geometry is present, so no screen gets one from this file";
        QTest::newRow("legacy rectangle")            << QByteArray(R"({"vdsession settings": {"geometrys": [{"id": 3, "geometry": "320,120,1282"}]}})")
                                                     << QStringList{"format /vdsession settings/geometrys/0/geometry"} << "";
        QTest::newRow("display size of one")         << QByteArray(R"({"display_res": "1920x1080"})")
                                                     << QStringList{"format /display_res"}
                                                     << "the string \"1920x1080\" is not a size \"width,height\" of two integers; the display size stays as it was before loading";
        QTest::newRow("display size, empty piece")   << QByteArray(R"({"display_res": "1920,"})")
                                                     << QStringList{"format /display_res"} << "";
        QTest::newRow("legacy leaves display size")  << QByteArray(R"({"vdsession settings": {}, "display_res": "1920x1080"})")
                                                     << QStringList() << "";
        QTest::newRow("pool type in words")          << QByteArray(R"({"vm settings": {"poolType": "seven"}})")
                                                     << QStringList{"format /vm settings/poolType"}
                                                     << "the string \"seven\" is not a decimal integer of 32 bits; 0 is used";
        QTest::newRow("pool type beyond 32 bits")    << QByteArray(R"({"vm settings": {"poolType": "2147483648"}})")
                                                     << QStringList{"format /vm settings/poolType"} << "";
        QTest::newRow("pool type as a number")       << QByteArray(R"({"vm settings": {"poolType": 7}})")
                                                     << QStringList{"type /vm settings/poolType"}
                                                     << "found the number 7 where a string holding a decimal integer of 32 bits is read; 0 is used";
        QTest::newRow("pool type the reader takes")  << QByteArray(R"({"vm settings": {"poolType": " +7"}})")
                                                     << QStringList() << "";
    }
    void enumeratorsAndFormats()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);

        const VdSessionCheck check = VdSessionCheck::checkDocument(document);
        QCOMPARE(lines(check), expected);
        if (!message.isEmpty())
            QCOMPARE(check.findings().last().message, message);
    }

    // A number saveToVdp() would change is reported with what the save writes instead, and the
    // save writes just that: Qt 6 keeps 64-bit integers, Qt 5 holds every number as a double.
    // Another spelling of the same value is no change.
    void precision_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QByteArray>("savedByQt5");
        QTest::addColumn<QByteArray>("savedByQt6");
        QTest::addColumn<QString>("reportedWith"); // the Qt major versions whose save changes the value

        QTest::newRow("2^53 + 1")       << QByteArray("9007199254740993")         << QByteArray("9007199254740992")     << QByteArray("9007199254740993")     << "5";
        QTest::newRow("-2^53 - 1")      << QByteArray("-9007199254740993")        << QByteArray("-9007199254740992")    << QByteArray("-9007199254740993")    << "5";
        QTest::newRow("int64 max")      << QByteArray("9223372036854775807")      << QByteArray("9223372036854776000")  << QByteArray("9223372036854775807")  << "5";
        QTest::newRow("int64 min")      << QByteArray("-9223372036854775808")     << QByteArray("-9223372036854776000") << QByteArray("-9223372036854775808") << "5";
        QTest::newRow("2^63")           << QByteArray("9223372036854775808")      << QByteArray("9223372036854776000")  << QByteArray("9223372036854776000")  << "56";
        QTest::newRow("beyond 64 bits") << QByteArray("12345678901234567890")     << QByteArray("12345678901234567000") << QByteArray("12345678901234567000") << "56";
        QTest::newRow("18 digits")      << QByteArray("2.0000000000000001")       << QByteArray("2")                    << QByteArray("2")                    << "56";
        QTest::newRow("below doubles")  << QByteArray("3e-324")                   << QByteArray("5e-324")               << QByteArray("5e-324")               << "56";
        QTest::newRow("2^53")           << QByteArray("9007199254740992")         << QByteArray("9007199254740992")     << QByteArray("9007199254740992")     << "";
        QTest::newRow("15 digits")      << QByteArray("-999999999999999")         << QByteArray("-999999999999999")     << QByteArray("-999999999999999")     << "";
        QTest::newRow("exponent")       << QByteArray("1E3")                      << QByteArray("1000")                 << QByteArray("1000")                 << "";
        QTest::newRow("spelt out")      << QByteArray("100000000000000000000000") << QByteArray("1e+23")                << QByteArray("1e+23")                << "";
        QTest::newRow("trailing zeros") << QByteArray("12.50")                    << QByteArray("12.5")                 << QByteArray("12.5")                 << "";
        QTest::newRow("tenth")          << QByteArray("0.1")                      << QByteArray("0.1")                  << QByteArray("0.1")                  << "";
        QTest::newRow("minus zero")     << QByteArray("-0.0")                     << QByteArray("0")                    << QByteArray("0")                    << "";
    }
    void precision()
    {
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, savedByQt5);
        QFETCH(QByteArray, savedByQt6);
        QFETCH(QString, reportedWith);
        const QByteArray saved = QT_VERSION_MAJOR == 5 ? savedByQt5 : savedByQt6;
        const bool reported = reportedWith.contains(QString::number(QT_VERSION_MAJOR));

        const QByteArray document = "{\"launcher\":{\"id\":" + number + "}}";
        const VdSessionCheck check = VdSessionCheck::checkDocument(document);
        QCOMPARE(lines(check), QStringList{"unknown /launcher"} + (reported ? QStringList{"precision /launcher/id"} : QStringList()));
        if (reported)
            QCOMPARE(check.findings().last().message, "saveToVdp() writes " + number + " back as " + saved);

        const QString path = session->writeFile("VdSession-abc.vdp", document);
        QVERIFY(session->settings()->loadFromVdp(path));
        session->settings()->saveToVdp();
        QVERIFY2(session->readFile(path).contains("\"id\": " + saved + '\n'), session->readFile(path).constData());
    }

    // Numbers are found anywhere, under escaped keys, in nested arrays and under a repeated key
    // (holding a number: Qt 5 leaks a container given twice), each once and among the readers'
    // findings in the order of the text; a secret's value is not shown.
    void precisionInDocumentOrder()
    {
        const VdSessionCheck check = VdSessionCheck::checkDocument(R"({"launcher":{"a~b/c":[1,2.0000000000000001]},
            "vm settings":{"password":12345678901234567890,"serverPort":12345678901234567890},
            "x":[[0.1,3e-324]],"y":3e-324,"y":3e-324})");
        QCOMPARE(lines(check), (QStringList{"unknown /launcher", "precision /launcher/a~0b~1c/1",
                                            "type /vm settings/password", "precision /vm settings/password",
                                            "type /vm settings/serverPort", "precision /vm settings/serverPort",
                                            "unknown /x", "precision /x/0/1", "unknown /y", "precision /y"}));
        QCOMPARE(check.findings().at(3).message, QStringLiteral("saveToVdp() writes this number back changed"));
        QCOMPARE(VdSessionCheck::kindName(VdSessionCheck::FindingKind::Precision), QStringLiteral("precision"));
    }

    // Checking reads the named file alone: the previous session's file, which loading takes and
    // removes, stays; and the program's settings object neither changes nor signals.
    void touchesNothingElse()
    {
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/session-without-stream.vdp"), "VdSession-abc.vdp")));
        session->copyFixture(QFINDTESTDATA("data/current/previous-stream-hd.vdp"), "abc-2.vdp");
        const QJsonObject before = settingsToJson(*session->settings(), true);
        SignalLog signalLog(session->settings());

        QCOMPARE(VdSessionCheck::checkFile("VdSession-abc.vdp").layout(), Layout::Current);
        QCOMPARE(VdSessionCheck::checkFile(QFINDTESTDATA("data/check/mistakes.vdp")).findings().size(), 11);

        QCOMPARE(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), (QStringList{"abc-2.vdp", "VdSession-abc.vdp"}));
        QVERIFY(settingsToJson(*session->settings(), true) == before);
        QCOMPARE(signalLog.take(), QStringList());
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
        const auto &readers = SessionKeys::describeReaders(layout);
        const QSet<QString> taken(readers.keyBegin(), readers.keyEnd());
        QCOMPARE(patterns(keys, SessionKeys::NotRead, 0), taken);
        QCOMPARE(patterns(keys, SessionKeys::NotRead, SessionKeys::NotRead).intersect(taken), QSet<QString>());

        const QString path = session->writeFile("VdSession-abc.vdp", layout == Layout::Legacy ? R"({"vdsession settings":{}})" : R"({"vm settings":{}})");
        session->settings()->loadFromVdp(path);
        session->settings()->setStreamMode(VdSessionSettings::TYPE_STREAM_HD);
        session->settings()->saveToVdp();
        QSet<QString> written;
        for (const QString &key : QJsonDocument::fromJson(session->readFile(path)).object().keys())
            if (!key.contains(" settings"))
                written.insert('/' + key);
        QCOMPARE(patterns(keys, SessionKeys::Saved, SessionKeys::Saved), written);
    }

    // The page in docs/ is the one the library generates, its examples check clean, and its
    // render mode default is the one loading gives.
    void documentation()
    {
        const QString page = VdSessionCheck::schemaMarkdown();
        QCOMPARE(QString::fromUtf8(session->readFile(QFINDTESTDATA("../docs/session-file.md"))), page);

        const QStringList blocks = page.split("```jsonc\n");
        QCOMPARE(blocks.size(), 3);
        for (const Layout layout : {Layout::Current, Layout::Legacy}) {
            const QString block = blocks.at(layout == Layout::Current ? 1 : 2);
            const VdSessionCheck check = VdSessionCheck::checkDocument(block.left(block.indexOf("```")).remove(QRegularExpression(" *//[^\n]*")).toUtf8());
            QCOMPARE(check.layout(), layout);
            QCOMPARE(lines(check), QStringList());
        }

        session->settings()->fromJson(QJsonObject());
        QCOMPARE(QJsonValue(session->settings()->renderMode()), SessionKeys::describeReaders(Layout::Current).value("/render mode").fallback);
    }
};

QTEST_GUILESS_MAIN(tst_SessionCheck)
#include "tst_sessioncheck.moc"
