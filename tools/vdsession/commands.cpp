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
const CommandArgument keyPointer{QStringLiteral("POINTER"),
                                 QStringLiteral("The key's JSON Pointer, as check prints it: \"/basic settings/IsMMR\", "
                                                "\"/geometrys/0/geometry\"."),
                                 QString()};

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
        {QStringLiteral("describe"),
         QStringLiteral("Print what a key of session files takes, its default, what it sets, and whether "
                        "saveToVdp() writes it back."),
         {{QStringLiteral("POINTER"),
           QStringLiteral("The key's JSON Pointer, as check prints it; a * stands for any element of an array, as in "
                          "\"/geometrys/*/geometry\"."),
           QString()}},
         {{QStringLiteral("layout"), QStringLiteral("The layout whose key it is (by default current)."),
           QStringLiteral("current|legacy")},
          {QStringLiteral("json"), QStringLiteral("Print the key's part of the JSON Schema instead.")}},
         runDescribe},
        {QStringLiteral("get"),
         QStringLiteral("Print the value a session file stores at a key, as JSON; without one, name the default "
                        "the readers use and exit with status 1."),
         {sessionFile, keyPointer},
         {secretsOption()},
         runGet},
        {QStringLiteral("set"),
         QStringLiteral("Store a value at a key of a session file, once check finds nothing wrong with it there; "
                        "the other keys, and the file's mode and owner, stay as they were."),
         {sessionFile,
          {QStringLiteral("POINTER"),
           QStringLiteral("The key's JSON Pointer, as check prints it. Missing objects on the way are created; an "
                          "index one past an array's end appends an element."),
           QString()},
          {QStringLiteral("VALUE"),
           QStringLiteral("JSON when it is a number, true, false, null, an object, an array or a quoted string; "
                          "otherwise the text itself, as a string. A secret is not taken here, only with --stdin."),
           QStringLiteral("[VALUE]")}},
         {{QStringLiteral("stdin"),
           QStringLiteral("Take the value, a string, from the first line of standard input, as it is: the way to give "
                          "a password.")},
          {QStringLiteral("force"), QStringLiteral("Store the value even at a key no reader takes.")}},
         runSet},
        {QStringLiteral("reset"),
         QStringLiteral("Remove a key from a session file, so that the readers' default applies; without the key "
                        "the file stays untouched."),
         {sessionFile, keyPointer},
         {},
         runReset},
        {QStringLiteral("complete"),
         QStringLiteral("Answer the shell's completion of the words after \"vdsession\", the last one being "
                        "completed: a first line \"files\", or \"words\" and the candidates, one a line."),
         {{QStringLiteral("WORDS"), QStringLiteral("The command line so far, unquoted."), QStringLiteral("-- [WORDS...]")}},
         {},
         runComplete,
         true},
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

QStringList expectArguments(const QCommandLineParser &parser, const QStringList &names)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != names.size())
        fail(QStringLiteral("expected %1, got %2 arguments").arg(names.join(QLatin1Char(' '))).arg(positional.size()));
    return positional;
}

QString onlyArgument(const QCommandLineParser &parser, const char *name)
{
    return expectArguments(parser, {QLatin1String(name)}).first();
}
