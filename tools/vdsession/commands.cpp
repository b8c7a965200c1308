// The tool's commands: their arguments, their options and the function that runs each.
#include "commands.h"

namespace {

QCommandLineOption jsonOption()
{
    return {QStringLiteral("json"), QStringLiteral("Print one JSON object, for scripts.")};
}

QCommandLineOption secretsOption()
{
    return {QStringLiteral("show-secrets"), QStringLiteral("Print passwords, tokens and tickets instead of ***.")};
}

const CommandArgument sessionFile{QStringLiteral("FILE"), QStringLiteral("The session file (.vdp)."), QString()};

QVector<Command> buildCommands()
{
    return {
        {QStringLiteral("show"),
         QStringLiteral("Print every setting a session file gives, as a session program loads it."),
         {sessionFile},
         {jsonOption(), secretsOption(),
          {QStringLiteral("inherit"),
           QStringLiteral("Load as the session program does, taking the stream mode from the previous session's "
                          "file beside FILE, which is then deleted.")}},
         runShow},
        {QStringLiteral("web"),
         QStringLiteral("Print every setting a web portal's launch link gives."),
         {{QStringLiteral("LINK"), QStringLiteral("The web portal's launch link."), QString()}},
         {jsonOption(), secretsOption()},
         runWeb},
        {QStringLiteral("geometry"),
         QStringLiteral("Print the window rectangle the session gives on each screen."),
         {sessionFile},
         {{QStringLiteral("screen"),
           QStringLiteral("A screen at X,Y of W x H pixels, with screen id ID (by default its place among the "
                          "--screen options, from 0). Repeatable."),
           QStringLiteral("X,Y,W,H[@ID]")},
          {QStringLiteral("svg"), QStringLiteral("Also draw the screens and windows into OUT.svg."),
           QStringLiteral("OUT.svg")},
          jsonOption()},
         runGeometry},
        {QStringLiteral("check"),
         QStringLiteral("Report every value of a session file that the readers replace, ignore or use other than "
                        "as written."),
         {sessionFile},
         {jsonOption()},
         runCheck},
        {QStringLiteral("diff"),
         QStringLiteral("Print every setting two session files give differently, as diff(1) exits: 0 when none, 1 "
                        "when some."),
         {{QStringLiteral("A"), QStringLiteral("The first session file."), QString()},
          {QStringLiteral("B"), QStringLiteral("The second session file."), QString()}},
         {jsonOption()},
         runDiff},
        {QStringLiteral("schema"),
         QStringLiteral("Print the JSON Schema of session files."),
         {},
         {{QStringLiteral("markdown"), QStringLiteral("Print the key reference as Markdown instead.")}},
         runSchema},
        {QStringLiteral("manpage"),
         QStringLiteral("Print the manual page, in roff, from the commands' own descriptions."),
         {},
         {},
         runManPage,
         true},
    };
}

} // namespace

QString toolDescription()
{
    return QStringLiteral("Shows what the session settings library makes of a session file or launch link, and "
                          "checks and describes session files.");
}

// -v is --verbose, so the version has its long name only.
QCommandLineOption versionOption()
{
    return {QStringLiteral("version"), QStringLiteral("Print the version.")};
}

QCommandLineOption verboseOption()
{
    return {{QStringLiteral("v"), QStringLiteral("verbose")}, QStringLiteral("Write the library's log lines to standard error.")};
}

const QVector<Command> &commands()
{
    static const QVector<Command> table = buildCommands();
    return table;
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

void fail(const QString &text)
{
    throw CommandError{text};
}

QString onlyArgument(const QCommandLineParser &parser, const char *name)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        fail(QStringLiteral("expected one %1, got %2 arguments").arg(QLatin1String(name)).arg(positional.size()));
    return positional.first();
}
