// vdsession: shows what the settings library makes of a session file or a launch link, checks a
// session file against what the readers take, and describes the file's format. main() parses the
// command line, hands the rest to the command named, and owns the one way out on an error.

#include "commands.h"
#include "output.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void quietMessageHandler(QtMsgType, const QMessageLogContext &, const QString &) {}

// Standard output holds the result alone: the library's spdlog and Qt messages go to standard
// error with --verbose, and nowhere without it.
void setUpLogging(bool verbose)
{
    auto logger = std::make_shared<spdlog::logger>("vdsession", std::make_shared<spdlog::sinks::stderr_sink_mt>());
    logger->set_level(verbose ? spdlog::level::debug : spdlog::level::off);
    spdlog::set_default_logger(logger);
    if (!verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
        qInstallMessageHandler(quietMessageHandler);
    }
}

QString commandList()
{
    QString text = QStringLiteral("Commands:\n");
    for (const Command &command : commands()) {
        if (!command.hidden)
            text += QStringLiteral("  %1  %2\n").arg(command.name, -8).arg(command.summary);
    }
    text += QStringLiteral("  %1  %2").arg(QStringLiteral("help"), -8).arg(QStringLiteral("help COMMAND shows the command's options."));
    return text;
}

// Parses a command's own arguments, laid out as the table says; the command's name stands first,
// where the parser expects the program's name. Help is settled here, so a command only sees
// arguments that parsed.
std::optional<QString> parseCommand(const Command &command, QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(command.summary);
    parser.addHelpOption();
    parser.addOption(verboseOption());
    // Shows up in the usage line after the program's name.
    parser.addPositionalArgument(command.name, QString(), command.name);
    for (const CommandArgument &argument : command.arguments)
        parser.addPositionalArgument(argument.name, argument.description, argument.syntax);
    parser.addOptions(command.options);
    if (!parser.parse(arguments))
        fail(QStringLiteral("%1: %2").arg(command.name, parser.errorText()));
    if (parser.isSet(QStringLiteral("help")))
        return parser.helpText();
    setUpLogging(parser.isSet(QStringLiteral("verbose")));
    return std::nullopt;
}

// Runs the command line: the text to print instead when it asks for help or the version, else
// the command's own exit status.
int run(const QStringList &commandLine)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(toolDescription() + QStringLiteral("\n\n") + commandList());
    parser.addHelpOption();
    parser.addOption(versionOption());
    parser.addOption(verboseOption());
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("One of the commands above."));
    parser.addPositionalArgument(QStringLiteral("ARGUMENTS"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[ARGUMENTS...]"));
    // Everything from the command on belongs to the command's own parser.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(commandLine))
        fail(parser.errorText());
    // Help and version go to the console whatever the platform: QCommandLineParser shows them in a
    // message box on Windows when it takes the process for one without a console.
    if (parser.isSet(QStringLiteral("version"))) {
        writeOut(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()).toUtf8());
        return 0;
    }
    QStringList arguments = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help"))) {
        writeOut(parser.helpText().toUtf8());
        return 0;
    }
    if (arguments.isEmpty())
        fail(QStringLiteral("no command given (see vdsession --help)"));

    if (arguments.first() == QLatin1String("help")) {
        if (arguments.size() != 2 || !findCommand(arguments.at(1)))
            fail(QStringLiteral("help: expected one of the commands, got: %1").arg(arguments.mid(1).join(QLatin1Char(' '))));
        arguments = QStringList{arguments.at(1), QStringLiteral("--help")};
    }
    const Command *command = findCommand(arguments.first());
    if (!command)
        fail(QStringLiteral("unknown command: %1 (see vdsession --help)").arg(arguments.first()));
    if (parser.isSet(QStringLiteral("verbose")))
        arguments.insert(1, QStringLiteral("--verbose"));

    QCommandLineParser commandParser;
    if (const std::optional<QString> help = parseCommand(*command, commandParser, arguments)) {
        writeOut(help->toUtf8());
        return 0;
    }
    return command->run(commandParser);
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // The C runtime would write every "\n" as "\r\n"; the output is the same bytes as elsewhere.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vdsession"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VDSESSION_VERSION));

    // Every failure ends here: one line on standard error, and the status scripts can tell from a
    // result (0) and from findings or differences (1).
    QString failure;
    try {
        const int status = run(app.arguments());
        std::fflush(stdout);
        return status;
    } catch (const CommandError &error) {
        failure = error.text;
    }
    std::fflush(stdout);
    std::fprintf(stderr, "vdsession: %s\n", printable(failure).toUtf8().constData());
    return 2;
}
