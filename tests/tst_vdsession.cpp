#include <vdsessionsettings/vdsessionsettings.h>

#include "testsession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QProcess>
#include <QtTest/QtTest>

// The vdsession tool as a person or a script meets it: its output, its exit status, and the files
// it leaves alone.
class tst_VdSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_session.reset(new TestSession); }
    void cleanup() { m_session.reset(); }

    void errors_data();
    void errors();
    void hostileInput_data();
    void hostileInput();
    void showAgreesWithAccessors();
    void secrets_data();
    void secrets();
    void previousSessionFileSurvives();
    void check_data();
    void check();
    void schemaValidatesExamples();
    void svgKeptWhenWriteFails();
    void tokenHiddenInRejection_data();
    void tokenHiddenInRejection();
    void checkOutputBounded();
    void controlCharacters_data();
    void controlCharacters();
    void controlCharactersInJson();
    void helpOnConsole_data();
    void helpOnConsole();
    void diff_data();
    void diff();
    void jsonFormat_data();
    void jsonFormat();

private:
    std::unique_ptr<TestSession> m_session;
};

static const QString currentExample = QStringLiteral(EXAMPLES_DIR "/VdSession-3f6b1e2a-7c4d-4a9e-b815-62d0c9e4a7f3.vdp");
static const QString legacyExample = QStringLiteral(EXAMPLES_DIR "/legacy-layout.vdp");
static const QString mistakesExample = QStringLiteral(EXAMPLES_DIR "/planted-mistakes.vdp");

static QString launchLink()
{
    QFile file(QStringLiteral(EXAMPLES_DIR "/launch-link.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

struct Result
{
    int status;
    QByteArray out;
    QByteArray err;
};

// A run that does not end within 30 seconds, or crashes, has status -1. With @p fileSizeBlocks
// the tool runs under that file size limit (ulimit -f), with SIGXFSZ ignored so that writing past
// it fails instead of ending the process.
static Result run(const QStringList &arguments, int fileSizeBlocks = -1)
{
    QProcess process;
    if (fileSizeBlocks < 0) {
        process.start(QStringLiteral(VDSESSION_TOOL), arguments);
    } else {
        const QString script = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(fileSizeBlocks);
        process.start(QStringLiteral("/bin/sh"), QStringList{"-c", script, QStringLiteral(VDSESSION_TOOL)} + arguments);
    }
    const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

void tst_VdSession::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    const QString missing = QStringLiteral("/nonexistent/VdSession-x.vdp");
    const QString notJson = QFINDTESTDATA("data/tool/not-json.vdp");
    const QString rejected = launchLink().replace(QStringLiteral("&vmUuid="), QStringLiteral("&vm="));

    QTest::newRow("missing file")      << QStringList{"show", missing}                                 << missing;
    QTest::newRow("directory")         << QStringList{"check", QStringLiteral(EXAMPLES_DIR)}           << QStringLiteral(EXAMPLES_DIR);
    QTest::newRow("not JSON")          << QStringList{"check", notJson}                                << notJson;
    QTest::newRow("rejected link")     << QStringList{"web", rejected}                                 << QStringLiteral("check 5");
    QTest::newRow("malformed screen")  << QStringList{"geometry", currentExample, "--screen", "0,0,0,1080"} << QStringLiteral("0,0,0,1080");
    QTest::newRow("unknown option")    << QStringList{"show", "--colour", currentExample}             << QStringLiteral("colour");
    QTest::newRow("unknown command")   << QStringList{"shwo", currentExample}                          << QStringLiteral("shwo");
}

// One line on standard error naming the problem's argument, nothing on standard output, status 2.
void tst_VdSession::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const Result result = run(arguments);
    QCOMPARE(result.status, 2);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY2(QString::fromUtf8(result.err).contains(named), result.err.constData());
    // The token of a rejected link stays out of the message.
    QVERIFY(!result.err.contains("Zm9yLWV4YW1wbGUtb25seQ"));
}

void tst_VdSession::hostileInput_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("status");

    QByteArray screens = "{\"geometrys\": [";
    for (int id = 0; id < 100000; ++id)
        screens += "{\"id\": " + QByteArray::number(id) + ", \"geometry\": \"0,0,1280,800\"},";
    screens.chop(1);
    screens += "]}";
    // Written as a sparse file of 50 MB.
    const QByteArray large;

    QTest::newRow("100000 screens, show")  << screens                                 << "show"  << 0;
    QTest::newRow("100000 screens, check") << screens                                 << "check" << 0;
    QTest::newRow("deep nesting, show")    << QByteArray(100000, '[')                 << "show"  << 2;
    QTest::newRow("deep nesting, check")   << ("{\"a\":" + QByteArray(100000, '['))  << "check" << 2;
    QTest::newRow("50 MB, show")           << large                                   << "show"  << 2;
    QTest::newRow("50 MB, check")          << large                                   << "check" << 2;
}

// Ends in bounded time with a result, or with one line naming the problem.
void tst_VdSession::hostileInput()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, command);
    QFETCH(int, status);

    QFile file(m_session->workDir() + QStringLiteral("/hostile.vdp"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(content.isEmpty() ? file.resize(50 * 1024 * 1024) : file.write(content) == content.size());
    file.close();

    const Result result = run({command, file.fileName()});
    QCOMPARE(result.status, status);
    if (status == 2)
        QCOMPARE(result.err.count('\n'), 1);
}

// What scripts read is what a program asking the library in the same way gets.
void tst_VdSession::showAgreesWithAccessors()
{
    const Result result = run({"show", "--json", "--show-secrets", currentExample});
    QCOMPARE(result.status, 0);
    const QJsonObject shown = QJsonDocument::fromJson(result.out).object();

    VdSessionSettings *settings = m_session->settings();
    QVERIFY(settings->loadFromVdp(currentExample));
    const QMetaObject *meta = settings->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        QString name = QString::fromLatin1(property.name());
        QJsonValue value = shown.value(name);
        // Platform and user values stand together in one triple.
        const bool platform = name.endsWith(QLatin1String("Platform"));
        if (platform)
            name.chop(8);
        if (shown.value(name).isObject())
            value = shown.value(name).toObject().value(platform ? QStringLiteral("platform") : QStringLiteral("user"));
        const QVariant read = property.read(settings);
        QJsonValue expected = read.toDouble();
        if (property.isEnumType())
            expected = QString::fromLatin1(property.enumerator().valueToKey(read.toInt()));
        else if (read.userType() == QMetaType::QString || read.userType() == QMetaType::Bool)
            expected = QJsonValue::fromVariant(read);
        QVERIFY2(value == expected, property.name());
    }
    QCOMPARE(shown.value("vmAddrs").toArray().size(), int(settings->vmAddrs().size()));
    QCOMPARE(shown.value("videoPolicy").toObject(),
             QJsonDocument::fromJson(QByteArray::fromStdString(settings->videoPolicy())).object());
    const QJsonArray screens = shown.value("geometry").toArray();
    QCOMPARE(screens.size(), 2);
    QCOMPARE(screens.at(1).toObject().value("geometry").toObject(),
             QJsonObject({{"x", 2300}, {"y", 1420}, {"width", 1442}, {"height", 897}}));
}

void tst_VdSession::secrets_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("secrets");

    const QStringList current{"Zm#2025-spring", "p4Wq8sLe", "TKT-20250314-5b7d2e9c"};
    const QStringList legacy{"Cj!winter22", "s9Fz3kQp"};
    const QStringList web{"eyJzaWQiOiI0MiJ9.Zm9yLWV4YW1wbGUtb25seQ=="};

    QTest::newRow("current, text") << QStringList{"show", currentExample}            << current;
    QTest::newRow("current, json") << QStringList{"show", "--json", currentExample}  << current;
    QTest::newRow("legacy, text")  << QStringList{"show", legacyExample}             << legacy;
    QTest::newRow("legacy, json")  << QStringList{"show", "--json", legacyExample}   << legacy;
    QTest::newRow("link, text")    << QStringList{"web", launchLink()}               << web;
    QTest::newRow("link, json")    << QStringList{"web", "--json", launchLink()}     << web;
}

// Output pasted into a ticket carries no credential; --show-secrets shows each where it was masked.
void tst_VdSession::secrets()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, secrets);

    const Result masked = run(arguments);
    QCOMPARE(masked.status, 0);
    // Without --verbose the library logs nothing, on either channel.
    QCOMPARE(masked.err, QByteArray());
    for (const QString &secret : secrets)
        QVERIFY2(!masked.out.contains(secret.toUtf8()), qPrintable(secret));
    QCOMPARE(masked.out.count("***"), secrets.size());

    const Result shown = run(arguments + QStringList{"--show-secrets"});
    QCOMPARE(shown.status, 0);
    for (const QString &secret : secrets)
        QVERIFY2(shown.out.contains(secret.toUtf8()), qPrintable(secret));
    QCOMPARE(shown.out.count("***"), 0);
}

// Showing or checking a user's session file must not use up the previous session's file; only
// --inherit, which loads as the session program does, takes its stream mode and removes it.
void tst_VdSession::previousSessionFileSurvives()
{
    const QString name = QStringLiteral("c41e8d07-5b2a-4f69-9e13-7a8b0d2f6c55");
    const QString sessionFile = m_session->copyFixture(QFINDTESTDATA("data/tool/VdSession-" + name + ".vdp"),
                                                       "VdSession-" + name + ".vdp");
    const QString previousFile = m_session->copyFixture(QFINDTESTDATA("data/tool/" + name + "-2.vdp"), name + "-2.vdp");
    const QByteArray session = m_session->readFile(sessionFile);
    const QByteArray previous = m_session->readFile(previousFile);

    const QStringList commands[] = {{"show", sessionFile}, {"show", "--json", sessionFile}, {"check", sessionFile},
                                    {"diff", sessionFile, sessionFile}};
    for (const QStringList &arguments : commands) {
        const Result result = run(arguments);
        QVERIFY2(result.status == 0, result.err.constData());
        QVERIFY(!result.out.contains("TYPE_STREAM_ALWAYS"));
        QCOMPARE(m_session->readFile(previousFile), previous);
        QCOMPARE(m_session->readFile(sessionFile), session);
    }

    const Result inherited = run({"show", "--json", "--inherit", sessionFile});
    QCOMPARE(inherited.status, 0);
    QCOMPARE(QJsonDocument::fromJson(inherited.out).object().value("streamMode").toString(), QString("TYPE_STREAM_ALWAYS"));
    QVERIFY(!QFile::exists(previousFile));
    QCOMPARE(m_session->readFile(sessionFile), session);
}

void tst_VdSession::check_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("findings");

    QTest::newRow("current example") << currentExample << 0 << "current" << QStringList();
    QTest::newRow("legacy example")  << legacyExample  << 0 << "legacy"  << QStringList();
    QTest::newRow("planted, current") << mistakesExample << 1 << "current"
                                      << QStringList{"enumerator /render mode",
                                                     "enumerator /stream_control_value",
                                                     "format /geometrys/0/geometry",
                                                     "range /basic settings/display4KType",
                                                     "type /vm settings/serverPort",
                                                     "unknown /basic settings/IsMMr -> IsMMR"};
    QTest::newRow("planted, legacy") << QFINDTESTDATA("data/tool/legacy-mistakes.vdp") << 1 << "legacy"
                                     << QStringList{"enumerator /vdsession settings/stream_control_value",
                                                    "format /vdsession settings/geometrys/0/geometry",
                                                    "range /basic settings/auto break second times",
                                                    "type /vdsession settings/server port",
                                                    "unknown /vdsession settings/is use multiscren -> is use multiscreen"};
}

// Every planted mistake is found where it was planted, with its kind, and nothing else is.
void tst_VdSession::check()
{
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QString, layout);
    QFETCH(QStringList, findings);

    const Result json = run({"check", "--json", file});
    QCOMPARE(json.status, status);
    const QJsonObject result = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(result.value("layout").toString(), layout);
    QStringList found;
    for (const QJsonValue &finding : result.value("findings").toArray()) {
        const QJsonObject f = finding.toObject();
        QVERIFY(!f.value("message").toString().isEmpty());
        QString line = f.value("kind").toString() + ' ' + f.value("path").toString();
        if (!f.value("suggestion").toString().isEmpty())
            line += " -> " + f.value("suggestion").toString();
        found.append(line);
    }
    found.sort();
    QCOMPARE(found, findings);

    const Result text = run({"check", file});
    QCOMPARE(text.status, status);
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    QCOMPARE(lines.first(), "layout: " + layout.toUtf8());
    QCOMPARE(lines.size(), 1 + findings.size());
}

// The tool prints the checked-in page, and a real validator takes the schema it prints: the
// examples pass, the planted mistakes don't.
void tst_VdSession::schemaValidatesExamples()
{
    const Result page = run({"schema", "--markdown"});
    QCOMPARE(page.status, 0);
    QCOMPARE(page.out, m_session->readFile(QStringLiteral(EXAMPLES_DIR "/../docs/session-file.md")));

    const Result schema = run({"schema"});
    QCOMPARE(schema.status, 0);
#ifdef Q_OS_WIN
    QSKIP("the validator is Debian's python3-jsonschema, which a Windows test cannot start");
#endif
    const QString schemaFile = m_session->writeFile(QStringLiteral("schema.json"), schema.out);

    const QString validate = QStringLiteral(
        "import json, sys, jsonschema\n"
        "schema = json.load(open(sys.argv[1]))\n"
        "jsonschema.Draft202012Validator.check_schema(schema)\n"
        "validator = jsonschema.Draft202012Validator(schema)\n"
        "for path in sys.argv[2:]:\n"
        "    print(path, 'valid' if validator.is_valid(json.load(open(path))) else 'invalid')\n");
    QProcess python;
    python.start(QStringLiteral("python3"), {"-c", validate, schemaFile, currentExample, legacyExample, mistakesExample});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QList<QByteArray> verdicts = python.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(verdicts.size(), 3);
    QVERIFY(verdicts.at(0).endsWith(" valid"));
    QVERIFY(verdicts.at(1).endsWith(" valid"));
    QVERIFY(verdicts.at(2).endsWith(" invalid"));
}

// A file the tool cannot finish writing is left as it was, and the run fails.
void tst_VdSession::svgKeptWhenWriteFails()
{
#ifdef Q_OS_WIN
    QSKIP("needs a file size limit, which only the POSIX shell sets here");
#else
    QDir(m_session->workDir()).mkdir(QStringLiteral("pictures"));
    const QString svg = m_session->workDir() + QStringLiteral("/pictures/screens.svg");
    const Result first = run({"geometry", currentExample, "--screen", "0,0,1920,1080", "--svg", svg});
    QCOMPARE(first.status, 0);
    const QByteArray picture = m_session->readFile(svg);
    QVERIFY(picture.endsWith("</svg>\n"));
    QVERIFY(picture.size() > 1024);

    // One block is 512 or 1024 bytes, whichever the shell counts in; each picture is larger.
    const Result limited = run({"geometry", currentExample, "--screen", "0,0,2560,1440", "--screen", "2560,0,1920,1080",
                                "--svg", svg}, 1);
    QCOMPARE(limited.status, 2);
    QCOMPARE(limited.err.count('\n'), 1);
    QVERIFY2(limited.err.contains(svg.toUtf8()), limited.err.constData());
    QCOMPARE(m_session->readFile(svg), picture);
    QCOMPARE(QDir(m_session->workDir() + QStringLiteral("/pictures")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"screens.svg"});
#endif
}

void tst_VdSession::tokenHiddenInRejection_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("status");

    const QString rest = QStringLiteral("&serverIp=10.0.0.1&serverPort=8860&vm=v1&h5ClientUuid=h&multiscreen=true");
    const QString prefix = QStringLiteral("https://portal/evoked-download/?");

    QTest::newRow("prefix joins the name")  << "https://portal/?tokenevoked-download/?=SECRET" + rest << 2;
    QTest::newRow("prefix inside the value") << prefix + "token=SECevoked-download/?RET" + rest << 2;
    QTest::newRow("prefix repeated")        << prefix + "evoked-download/?token=SECRET" + rest << 2;
    QTest::newRow("prefix left by removal") << "https://portal/evoked-devoked-download/?ownload/?token=SECRET" + rest << 2;
    QTest::newRow("name repeated")          << prefix + "token=abc token=SECRET" + rest << 2;
    QTest::newRow("name doubled")           << prefix + "token=token=SECRET==" + rest << 2;
    QTest::newRow("token second")           << prefix + "serverIp=10.0.0.1&token=SECRET&serverPort=1&vmUuid=v&h5ClientUuid=h&multiscreen=true" << 2;
    QTest::newRow("value recurs")           << prefix + "token=SECRET&serverIp=SECRET&serverPort=8860&vm=xSECRETx&h5ClientUuid=h&multiscreen=true" << 2;
    QTest::newRow("too many parameters")    << prefix + "a=1&token=SECRET&b&c&d&e&f&g&h" << 2;
    QTest::newRow("control characters")     << prefix + "token=SECRET\x1b]0;x\x07" + rest + "\n\x7f\u0085" << 2;
    QTest::newRow("accepted, prefix joins the name")
        << "https://portal/?tokenevoked-download/?=SECRET" + QString(rest).replace("&vm=", "&vmUuid=") << 0;
}

// What the parser took for the token, or could have, never reaches the output; the rejection line
// shows the parameters as the parser read them, with the token hidden and nothing a terminal acts on.
void tst_VdSession::tokenHiddenInRejection()
{
    QFETCH(QString, link);
    QFETCH(int, status);

    const Result result = run({"web", link});
    QCOMPARE(result.status, status);
    // Either half: a prefix taken out of the middle would join them again.
    const QByteArray all = result.out + result.err;
    QVERIFY2(!all.contains("SEC") && !all.contains("RET"), all.constData());
    if (status == 2) {
        QCOMPARE(result.err.count('\n'), 1);
        QVERIFY2(result.err.contains("***"), result.err.constData());
        QCOMPARE(QString::fromUtf8(result.err).indexOf(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f\\x7f-\\x9f]")), -1);
    }
}

// A long key is printed once, not once per finding as padding, and as it is.
void tst_VdSession::checkOutputBounded()
{
    QByteArray content = "{";
    for (int i = 0; i < 2000; ++i)
        content += QByteArray("\"k%1\": \"0123456789abcdef0123456789abcdef\",\n").replace("%1", QByteArray::number(i));
    const QByteArray longKey = QByteArray("%2").repeated(10000);
    content += "\"" + longKey + "\": 0}";
    const QString file = m_session->writeFile(QStringLiteral("many-keys.vdp"), content);

    const Result result = run({"check", file});
    QCOMPARE(result.status, 1);
    QVERIFY2(result.out.size() < 4 * content.size(), QByteArray::number(result.out.size()).constData());
    const QList<QByteArray> lines = result.out.split('\n');
    const int at = lines.indexOf("/" + longKey);
    QVERIFY(at > 0);
    QVERIFY(lines.at(at + 1).startsWith("  ") && lines.at(at + 1).trimmed().startsWith("unknown"));
    QVERIFY(result.out.contains("\n/k0     unknown  "));
}

void tst_VdSession::controlCharacters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("escaped");

    const QString file = QFINDTESTDATA("data/tool/control-characters.vdp");
    QTest::newRow("show")     << QStringList{"show", file} << QByteArray("VM\\e]0;owned\\x07\\e[2J\\nserverIp 6.6.6.6\\x7f\\u0085\\r\\t\\x01 C:\\Users");
    QTest::newRow("check")    << QStringList{"check", file} << QByteArray("/basic settings/Is\\e[31mMMR\\n\\x7f\\u0085");
    QTest::newRow("geometry") << QStringList{"geometry", file, "--screen", "0,0,1920,1080"} << QByteArray();
    QTest::newRow("error")    << QStringList{"show", "/nonexistent/VdSession-\x1b[2J\n\u0085.vdp"}
                              << QByteArray("VdSession-\\e[2J\\n\\u0085.vdp");
}

// Text output carries no control character from a file: a name cannot retitle or clear the
// terminal, nor a line break in a value print a row of its own.
void tst_VdSession::controlCharacters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, escaped);

    const Result result = run(arguments);
    QVERIFY2(result.status >= 0 && result.status <= 2, result.err.constData());
    const QRegularExpression control("[\\x00-\\x09\\x0b-\\x1f\\x7f-\\x9f]");
    QCOMPARE(QString::fromUtf8(result.out).indexOf(control), -1);
    QCOMPARE(QString::fromUtf8(result.err).indexOf(control), -1);
    QVERIFY2((result.out + result.err).contains(escaped), (result.out + result.err).constData());
    QVERIFY(!result.out.contains("\nserverIp"));
}

// JSON keeps the exact text.
void tst_VdSession::controlCharactersInJson()
{
    const QString file = QFINDTESTDATA("data/tool/control-characters.vdp");
    const QJsonObject shown = QJsonDocument::fromJson(run({"show", "--json", file}).out).object();
    QCOMPARE(shown.value("getVmName").toString(),
             QString::fromUtf8("VM\x1b]0;owned\x07\x1b[2J\nserverIp 6.6.6.6\x7f\u0085\r\t\x01 C:\\Users"));
    const QJsonObject checked = QJsonDocument::fromJson(run({"check", "--json", file}).out).object();
    QStringList paths;
    for (const QJsonValue &finding : checked.value("findings").toArray())
        paths.append(finding.toObject().value("path").toString());
    QVERIFY(paths.contains(QString::fromUtf8("/basic settings/Is\x1b[31mMMR\n\x7f\u0085")));
}

void tst_VdSession::helpOnConsole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("help")         << QStringList{"--help"}         << "\nCommands:\n  show ";
    QTest::newRow("command help") << QStringList{"help", "check"} << "\n  --json ";
    QTest::newRow("option help")  << QStringList{"web", "--help"}  << "\n  LINK ";
    QTest::newRow("version")      << QStringList{"--version"}      << "^vdsession \\d+\\.\\d+\\.\\d+\n$";
}

// Help and version reach standard output, line by line as on every platform, and end the run.
void tst_VdSession::helpOnConsole()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    const Result result = run(arguments);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QByteArray());
    QVERIFY2(QString::fromUtf8(result.out).contains(QRegularExpression(expected)), result.out.constData());
    QVERIFY(!result.out.contains('\r'));
    QVERIFY(result.out.endsWith('\n'));
}

void tst_VdSession::diff_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");

    QFile file(currentExample);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray example = file.readAll();
    QByteArray moved = example;
    moved.replace("\"10.40.2.15\"", "\"10.40.2.16\"");
    QByteArray newPassword = example;
    newPassword.replace("Zm#2025-spring", "Zm#2026-winter");
    // Written differently, read the same: the keys in another order and no indentation.
    const QByteArray compact = QJsonDocument::fromJson(example).toJson(QJsonDocument::Compact);

    QTest::newRow("same file")      << example << example     << 0 << QStringList();
    QTest::newRow("same settings")  << example << compact     << 0 << QStringList();
    QTest::newRow("server moved")   << example << moved       << 1 << QStringList{"serverIp: \"10.40.2.15\" -> \"10.40.2.16\"", "uuid: "};
    QTest::newRow("secret changed") << example << newPassword << 1 << QStringList{"getPassword: changed"};
}

// diff compares the settings, not the text, exits as diff(1) does, and never shows a secret.
void tst_VdSession::diff()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(int, status);
    QFETCH(QStringList, lines);

    const QString a = m_session->writeFile(QStringLiteral("a.vdp"), from);
    const QString b = m_session->writeFile(QStringLiteral("b.vdp"), to);
    const Result text = run({"diff", a, b});
    QCOMPARE(text.status, status);
    const QStringList printed = QString::fromUtf8(text.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(printed.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(printed.at(i).startsWith(lines.at(i)), qPrintable(printed.at(i)));

    const Result json = run({"diff", "--json", a, b});
    QCOMPARE(json.status, status);
    const QJsonObject changed = QJsonDocument::fromJson(json.out).object().value("changed").toObject();
    QCOMPARE(changed.size(), lines.size());
    for (const QByteArray &output : {text.out, json.out}) {
        QVERIFY(!output.contains("Zm#2025-spring"));
        QVERIFY(!output.contains("Zm#2026-winter"));
    }

    QCOMPARE(run({"diff", a, QStringLiteral("missing.vdp")}).status, 2);
}

void tst_VdSession::jsonFormat_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("show")     << QStringList{"show", "--json", currentExample};
    QTest::newRow("web")      << QStringList{"web", "--json", launchLink()};
    QTest::newRow("geometry") << QStringList{"geometry", "--json", currentExample, "--screen", "0,0,1920,1080"};
    QTest::newRow("check")    << QStringList{"check", "--json", mistakesExample};
    QTest::newRow("diff")     << QStringList{"diff", "--json", currentExample, legacyExample};
}

// Scripts learn from "format" which version of an output they read.
void tst_VdSession::jsonFormat()
{
    QFETCH(QStringList, arguments);

    const Result result = run(arguments);
    QVERIFY2(result.status == 0 || result.status == 1, result.err.constData());
    QCOMPARE(QJsonDocument::fromJson(result.out).object().value("format"), QJsonValue(1));
}

QTEST_GUILESS_MAIN(tst_VdSession)
#include "tst_vdsession.moc"
