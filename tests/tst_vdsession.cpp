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
    void describe_data();
    void describe();
    void describeJsonIsTheSchema();
    void get_data();
    void get();
    void set_data();
    void set();
    void setRefused_data();
    void setRefused();
    void setKeepsTheRest();
    void setKeptWhenWriteFails();
    void setSecretFromStandardInput_data();
    void setSecretFromStandardInput();
    void reset_data();
    void reset();
    void complete_data();
    void complete();
    void bashCompletion_data();
    void bashCompletion();

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
// it fails instead of ending the process. @p input is its whole standard input.
static Result run(const QStringList &arguments, int fileSizeBlocks = -1, const QByteArray &input = QByteArray())
{
    QProcess process;
    if (fileSizeBlocks < 0) {
        process.start(QStringLiteral(VDSESSION_TOOL), arguments);
    } else {
        const QString script = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(fileSizeBlocks);
        process.start(QStringLiteral("/bin/sh"), QStringList{"-c", script, QStringLiteral(VDSESSION_TOOL)} + arguments);
    }
    process.write(input);
    process.closeWriteChannel();
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

void tst_VdSession::describe_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("told");

    QTest::newRow("range and enumerators") << QStringList{"describe", "/basic settings/auto break second times"} << 0
                                           << QStringList{"0 to 4", "3 AUTO_BREAK_TIME_1H", "default   0", "saved     no"};
    QTest::newRow("written back")   << QStringList{"describe", "/window mode"} << 0
                                    << QStringList{"1 MultiSDLWindowMode", "saved     yes"};
    QTest::newRow("secret")         << QStringList{"describe", "/vm settings/password"} << 0
                                    << QStringList{"secret    yes"};
    QTest::newRow("any element")    << QStringList{"describe", "/geometrys/*/geometry"} << 0
                                    << QStringList{"left,top,width,height", "type      a string"};
    QTest::newRow("legacy layout")  << QStringList{"describe", "--layout", "legacy", "/vdsession settings/server port"} << 0
                                    << QStringList{"(legacy layout)", "an integer"};
    QTest::newRow("typo")           << QStringList{"describe", "/basic settings/IsMMx"} << 2
                                    << QStringList{"did you mean \"/basic settings/IsMMR\"?"};
    QTest::newRow("typo on the way") << QStringList{"describe", "/basic setings/IsMMR"} << 2
                                     << QStringList{"did you mean \"/basic settings/IsMMR\"?"};
    QTest::newRow("other layout")   << QStringList{"describe", "/vdsession settings/server port"} << 2
                                    << QStringList{"--layout legacy"};
    QTest::newRow("inside a value") << QStringList{"describe", "/basic settings/IsMMR/0"} << 2
                                    << QStringList{"/basic settings/IsMMR takes true or false"};
}

// What a key takes, from the schema; a pointer the layout does not know is an error naming the
// key meant.
void tst_VdSession::describe()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, told);

    const Result result = run(arguments);
    QCOMPARE(result.status, status);
    const QString text = QString::fromUtf8(status == 0 ? result.out : result.err);
    if (status != 0)
        QCOMPARE(result.err.count('\n'), 1);
    for (const QString &part : told)
        QVERIFY2(text.contains(part), qPrintable(text));
}

// --json prints the key's part of the very schema that `schema` prints, with nothing added.
void tst_VdSession::describeJsonIsTheSchema()
{
    const QJsonObject schema = QJsonDocument::fromJson(run({"schema"}).out).object();
    const QJsonObject current = schema.value("oneOf").toArray().at(0).toObject().value("properties").toObject();
    const QJsonObject screens = current.value("geometrys").toObject();

    const Result password = run({"describe", "--json", "/vm settings/password"});
    QCOMPARE(password.status, 0);
    const QJsonObject fragment = QJsonDocument::fromJson(password.out).object();
    QCOMPARE(fragment, current.value("vm settings").toObject().value("properties").toObject().value("password").toObject());
    QCOMPARE(fragment.value("writeOnly"), QJsonValue(true));
    QVERIFY(!fragment.contains("format"));

    const Result element = run({"describe", "--json", "/geometrys/*"});
    QCOMPARE(element.status, 0);
    QCOMPARE(QJsonDocument::fromJson(element.out).object(), screens.value("items").toObject());
    // Only saveToVdp()'s own keys say that it writes them back.
    QCOMPARE(screens.value("x-saveToVdp"), QJsonValue(true));
    QVERIFY(!current.value("geometry").toObject().contains("x-saveToVdp"));
}

void tst_VdSession::get_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("stored")          << QStringList{"/basic settings/IsMMR"} << 0 << QByteArray("true\n") << QString();
    QTest::newRow("element")         << QStringList{"/geometrys/1/geometry"} << 0 << QByteArray("\"2300,1420,1442,897\"\n") << QString();
    QTest::newRow("not stored")      << QStringList{"/vm settings/vm/controlPolicy/sharePolicy/rdpClipboard"} << 0
                                     << QByteArray("1\n") << QString();
    QTest::newRow("absent")          << QStringList{"/geometry"} << 1 << QByteArray()
                                     << QStringLiteral("/geometry is not set; the readers use the default \"\"");
    QTest::newRow("past the end")    << QStringList{"/geometrys/2/id"} << 1 << QByteArray()
                                     << QStringLiteral("the readers use the default 0");
    QTest::newRow("secret")          << QStringList{"/vm settings/password"} << 0 << QByteArray("\"***\"\n") << QString();
    QTest::newRow("secret shown")    << QStringList{"/vm settings/password", "--show-secrets"} << 0
                                     << QByteArray("\"Zm#2025-spring\"\n") << QString();
    QTest::newRow("typo")            << QStringList{"/basic settings/IsMMx"} << 2 << QByteArray()
                                     << QStringLiteral("did you mean \"/basic settings/IsMMR\"?");
    QTest::newRow("any element")     << QStringList{"/geometrys/*/id"} << 2 << QByteArray() << QStringLiteral("index");
}

// The value as JSON and status 0; nothing and status 1 where the file has none; 2 for a pointer
// that names no key.
void tst_VdSession::get()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);

    const Result result = run(QStringList{"get", currentExample} + arguments);
    QCOMPARE(result.status, status);
    QCOMPARE(result.out, out);
    if (err.isEmpty()) {
        QCOMPARE(result.err, QByteArray());
    } else {
        QCOMPARE(result.err.count('\n'), 1);
        QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
    }
}

void tst_VdSession::set_data()
{
    QTest::addColumn<QString>("pointer");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("plain text")      << "/vm settings/serverIp" << "10.0.0.1"     << QByteArray("\"10.0.0.1\"\n");
    QTest::newRow("quoted string")   << "/vm settings/serverIp" << "\"true\""     << QByteArray("\"true\"\n");
    QTest::newRow("number")          << "/jpeg_quality"          << "80"           << QByteArray("80\n");
    QTest::newRow("largest integer") << "/jpeg_quality"          << "2147483647"   << QByteArray("2147483647\n");
    QTest::newRow("bool")            << "/basic settings/IsMMR"  << "false"        << QByteArray("false\n");
    QTest::newRow("enumerator")      << "/window mode"           << "2"            << QByteArray("2\n");
    QTest::newRow("appended")        << "/geometrys/2"           << R"({"id": 2, "geometry": "0,0,800,600"})"
                                     << QByteArray("{\n    \"geometry\": \"0,0,800,600\",\n    \"id\": 2\n}\n");
    QTest::newRow("objects made")    << "/vm settings/vm/vmOperator/powerOff" << "1" << QByteArray("1\n");
    QTest::newRow("array made")      << "/basic settings/LocalDisk/0/DeviceId" << "E:" << QByteArray("\"E:\"\n");
}

// A good value is stored as JSON or as the text given, and reads back as stored.
void tst_VdSession::set()
{
    QFETCH(QString, pointer);
    QFETCH(QString, value);
    QFETCH(QByteArray, stored);

    // Without the objects and arrays that some rows make.
    const QString file = m_session->writeFile(QStringLiteral("session.vdp"), R"({
    "geometrys": [
        { "geometry": "0,0,1920,1080", "id": 0 },
        { "geometry": "1920,0,1280,1024", "id": 1 }
    ],
    "vm settings": { "serverIp": "10.40.2.15" }
}
)");
    const Result result = run({"set", file, pointer, value});
    QVERIFY2(result.status == 0, result.err.constData());
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(run({"get", file, pointer}).out, stored);
    QCOMPARE(run({"check", file}).status, 0);
}

void tst_VdSession::setRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    QTest::newRow("wrong type")         << QStringList{"/jpeg_quality", "high"}         << "/jpeg_quality takes an integer";
    QTest::newRow("fraction")           << QStringList{"/jpeg_quality", "1.5"}          << "/jpeg_quality takes an integer";
    QTest::newRow("beyond 32 bits")     << QStringList{"/jpeg_quality", "2147483648"}   << "/jpeg_quality takes an integer";
    QTest::newRow("out of range")       << QStringList{"/basic settings/auto break second times", "9"} << "from 0 to 4";
    QTest::newRow("not decimal")        << QStringList{"/vm settings/poolType", "seven"} << "matching";
    // Qt holds 2^64 + 1 as a double; only the text given tells the check of it.
    QTest::newRow("number not kept")    << QStringList{"/vm settings/vm/controlPolicy/video_policy/sessionId", "18446744073709551617"}
                                        << "back as 18446744073709552000";
    QTest::newRow("unknown key")        << QStringList{"/basic settings/IsMMx", "true"} << "did you mean \"/basic settings/IsMMR\"?";
    QTest::newRow("unknown key inside") << QStringList{"/basic settings", R"({"IsMMR": true, "IsMMx": true})"}
                                        << "/basic settings/IsMMx";
    QTest::newRow("secret")             << QStringList{"/vm settings/password", "hunter2"} << "--stdin";
    QTest::newRow("secret inside")      << QStringList{"/vm settings", R"({"password": "hunter2"})"} << "--stdin";
    QTest::newRow("index past the end") << QStringList{"/geometrys/3/geometry", "0,0,800,600"} << "past its end";
    QTest::newRow("inside a value")     << QStringList{"/basic settings/IsMMR/0", "1"} << "/basic settings/IsMMR";
    QTest::newRow("other layout")       << QStringList{"/vdsession settings", "{}", "--force"} << "legacy layout";
    QTest::newRow("no enumerator")      << QStringList{"/window mode", "7"}   << "/window mode";
    QTest::newRow("wrong format")       << QStringList{"/display_res", "wide"} << "/display_res";
}

// A value the readers would not take as given is refused with one line saying why, and the file
// stays as it was, byte for byte, with no file left beside it.
void tst_VdSession::setRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const QString file = m_session->copyFixture(currentExample, QStringLiteral("session.vdp"));
    const QByteArray before = m_session->readFile(file);
    const Result result = run(QStringList{"set", file} + arguments);
    QCOMPARE(result.status, 2);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY2(QString::fromUtf8(result.err).contains(named), result.err.constData());
    QVERIFY(!result.err.contains("hunter2"));
    QCOMPARE(m_session->readFile(file), before);
    QCOMPARE(QDir(m_session->workDir()).entryList(QDir::Files | QDir::Hidden), QStringList{"session.vdp"});
}

// Only the key named changes: keys no reader takes stay, and so do the file's permissions.
void tst_VdSession::setKeepsTheRest()
{
    const QString file = m_session->copyFixture(mistakesExample, QStringLiteral("session.vdp"));
#ifndef Q_OS_WIN
    const QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(file, permissions));
#endif
    QJsonObject expected = QJsonDocument::fromJson(m_session->readFile(file)).object();
    QVERIFY(expected.value("basic settings").toObject().contains("IsMMr"));
    expected.insert("jpeg_quality", 80);

    const Result result = run({"set", file, "/jpeg_quality", "80"});
    QVERIFY2(result.status == 0, result.err.constData());
    QCOMPARE(QJsonDocument::fromJson(m_session->readFile(file)).object(), expected);
    // In the form saveToVdp() writes.
    QCOMPARE(m_session->readFile(file), QJsonDocument(expected).toJson(QJsonDocument::Indented));
#ifndef Q_OS_WIN
    // The user's bits are the owner's, seen from the test; the owner's, group's and others' are the file's.
    QCOMPARE(QFile::permissions(file) & 0x7077, permissions & 0x7077);
#endif
}

// A rewrite the tool cannot finish leaves the old file whole.
void tst_VdSession::setKeptWhenWriteFails()
{
#ifdef Q_OS_WIN
    QSKIP("needs a file size limit, which only the POSIX shell sets here");
#else
    const QString file = m_session->copyFixture(currentExample, QStringLiteral("session.vdp"));
    const QByteArray before = m_session->readFile(file);
    QVERIFY(before.size() > 2048);

    const Result limited = run({"set", file, "/jpeg_quality", "80"}, 1);
    QCOMPARE(limited.status, 2);
    QCOMPARE(limited.err.count('\n'), 1);
    QVERIFY2(limited.err.contains(file.toUtf8()), limited.err.constData());
    QCOMPARE(m_session->readFile(file), before);
    QCOMPARE(QDir(m_session->workDir()).entryList(QDir::Files | QDir::Hidden), QStringList{"session.vdp"});
#endif
}

void tst_VdSession::setSecretFromStandardInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("line")              << QByteArray("n3w pass\n")  << QByteArray("\"n3w pass\"\n");
    QTest::newRow("Windows line")      << QByteArray("n3w pass\r\n") << QByteArray("\"n3w pass\"\n");
    QTest::newRow("no line break")     << QByteArray("n3w pass")    << QByteArray("\"n3w pass\"\n");
    // Taken as typed, never as JSON.
    QTest::newRow("looks like number") << QByteArray("123456\n")    << QByteArray("\"123456\"\n");
    QTest::newRow("quotes")            << QByteArray("\"q\"\nrest\n") << QByteArray("\"\\\"q\\\"\"\n");
}

// A secret comes from standard input, one line, and is masked when read back.
void tst_VdSession::setSecretFromStandardInput()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, stored);

    const QString file = m_session->copyFixture(currentExample, QStringLiteral("session.vdp"));
    const Result result = run({"set", file, "/vm settings/password", "--stdin"}, -1, input);
    QVERIFY2(result.status == 0, result.err.constData());
    QCOMPARE(run({"get", file, "/vm settings/password"}).out, QByteArray("\"***\"\n"));
    QCOMPARE(run({"get", file, "/vm settings/password", "--show-secrets"}).out, stored);
}

void tst_VdSession::reset_data()
{
    QTest::addColumn<QString>("pointer");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<int>("getStatus");

    QTest::newRow("present")          << "/jpeg_quality"          << 0 << true  << 1;
    // The next element takes its place.
    QTest::newRow("element")          << "/geometrys/0"           << 0 << true  << 0;
    // How a key check reports is fixed; once gone it is the typo it was.
    QTest::newRow("present, unknown") << "/basic settings/IsMMr"  << 0 << true  << 2;
    QTest::newRow("absent")           << "/geometry"              << 0 << false << 1;
    QTest::newRow("absent element")   << "/basic settings/LocalDisk/5/DeviceId" << 0 << false << 1;
    QTest::newRow("typo")             << "/basic settings/IsMMx"  << 2 << false << 2;
}

// A key the file has goes; without it the file is not written at all.
void tst_VdSession::reset()
{
    QFETCH(QString, pointer);
    QFETCH(int, status);
    QFETCH(bool, rewritten);
    QFETCH(int, getStatus);

    // Compact, as no rewrite leaves it.
    const QJsonObject document = QJsonDocument::fromJson(m_session->readFile(mistakesExample)).object();
    const QString file = m_session->writeFile(QStringLiteral("session.vdp"), QJsonDocument(document).toJson(QJsonDocument::Compact));
    const QByteArray before = m_session->readFile(file);

    const Result result = run({"reset", file, pointer});
    QCOMPARE(result.status, status);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(m_session->readFile(file) != before, rewritten);
    QCOMPARE(run({"get", file, pointer}).status, getStatus);
}

void tst_VdSession::complete_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("answer");

    QTest::newRow("command")        << QStringList{"ge"} << QStringList{"words", "geometry", "get"};
    QTest::newRow("option")         << QStringList{"get", "--s"} << QStringList{"words", "--show-secrets"};
    QTest::newRow("option value")   << QStringList{"describe", "--layout", "l"} << QStringList{"words", "legacy"};
    QTest::newRow("file")           << QStringList{"set", "VdS"} << QStringList{"files"};
    QTest::newRow("key with blank") << QStringList{"get", currentExample, "/basic settings/Is"}
                                    << QStringList{"words", "/basic settings/IsHighDPI", "/basic settings/IsMMR",
                                                   "/basic settings/IsMultiScreen", "/basic settings/IsSSO"};
    QTest::newRow("one step")       << QStringList{"reset", currentExample, "/vm"}
                                    << QStringList{"words", "/vm settings", "/vm settings/"};
    QTest::newRow("file's indices") << QStringList{"set", currentExample, "/geometrys/"}
                                    << QStringList{"words", "/geometrys/0", "/geometrys/0/", "/geometrys/1", "/geometrys/1/"};
    QTest::newRow("any element")    << QStringList{"describe", "/geometrys/"}
                                    << QStringList{"words", "/geometrys/*", "/geometrys/*/"};
    QTest::newRow("file's layout")  << QStringList{"get", legacyExample, "/vdsession settings/server p"}
                                    << QStringList{"words", "/vdsession settings/server port"};
}

// The shell's candidates for the last word, from the command table and the schema.
void tst_VdSession::complete()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, answer);

    const Result result = run(QStringList{"complete", "--"} + words);
    QCOMPARE(result.status, 0);
    QCOMPARE(QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts), answer);
}

void tst_VdSession::bashCompletion_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("replies");

    const QString file = QStringLiteral(" '%1' ").arg(currentExample);
    QTest::newRow("open quote")  << "get" + file + "\"/basic settings/IsMM" << "/basic settings/IsMM"
                                 << QStringList{"/basic settings/IsMMR"};
    QTest::newRow("backslash")   << "get" + file + "/basic\\ settings/IsMM" << "/basic\\ settings/IsMM"
                                 << QStringList{"/basic settings/IsMMR"};
    // Readline's word starts after the "=", one of COMP_WORDBREAKS.
    QTest::newRow("after =")     << QString("describe --layout=le") << "le" << QStringList{"legacy"};
}

// The installed script, run as bash runs it on a Tab: the candidates for readline's word.
void tst_VdSession::bashCompletion()
{
#ifdef Q_OS_WIN
    QSKIP("bash completion is not installed on Windows");
#else
    QFETCH(QString, line);
    QFETCH(QString, word);
    QFETCH(QStringList, replies);

    const QString commandLine = QStringLiteral("'%1' ").arg(QStringLiteral(VDSESSION_TOOL)) + line;
    const QString script = QStringLiteral("source \"$0\"; COMP_LINE=$1; COMP_POINT=${#COMP_LINE}; _vdsession vdsession \"$2\"; "
                                          "printf '%s\\n' \"${COMPREPLY[@]}\"");
    QProcess bash;
    bash.start(QStringLiteral("bash"), {"-c", script, QStringLiteral(BASH_COMPLETION), commandLine, word});
    QVERIFY(bash.waitForFinished(30000));
    QVERIFY2(bash.exitCode() == 0, bash.readAllStandardError().constData());
    QCOMPARE(QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts), replies);
#endif
}

QTEST_GUILESS_MAIN(tst_VdSession)
#include "tst_vdsession.moc"
