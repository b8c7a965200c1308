#ifndef VDSESSION_COMMANDS_H
#define VDSESSION_COMMANDS_H

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QVector>

// A positional argument as the usage line, --help and the man page name it.
struct CommandArgument
{
    QString name;
    QString description;
    QString syntax; // in the usage line; the name when empty
};

// One command of the tool. The table of them, commands(), is what parsing, --help, the man page
// and shell completion all read, so that none of them can say something the others do not.
struct Command
{
    QString name;
    QString summary;
    QVector<CommandArgument> arguments;
    QList<QCommandLineOption> options;
    int (*run)(const QCommandLineParser &parser);
    bool hidden = false; // asked by other programs (shell completion), not by people
};

// What the tool is for, as --help and the man page open.
QString toolDescription();
// The options taken before the command, and --verbose by every command too.
QCommandLineOption versionOption();
QCommandLineOption verboseOption();

// Every command, in the order --help lists them.
const QVector<Command> &commands();
const Command *findCommand(const QString &name);

// Why a command cannot go on. main() prints it as "vdsession: <text>" on standard error and
// exits with status 2; it is the one way out of a command other than its result.
struct CommandError
{
    QString text;
};
[[noreturn]] void fail(const QString &text);

// The one positional argument a command takes, named @p name in the error when it is not one.
QString onlyArgument(const QCommandLineParser &parser, const char *name);
// The positional arguments a command takes, named @p names in the error when they are not those.
QStringList expectArguments(const QCommandLineParser &parser, const QStringList &names);

// The commands themselves, one file each.
int runShow(const QCommandLineParser &parser);
int runWeb(const QCommandLineParser &parser);
int runGeometry(const QCommandLineParser &parser);
int runCheck(const QCommandLineParser &parser);
int runDiff(const QCommandLineParser &parser);
int runSchema(const QCommandLineParser &parser);
int runDescribe(const QCommandLineParser &parser);
int runGet(const QCommandLineParser &parser);
int runSet(const QCommandLineParser &parser);
int runReset(const QCommandLineParser &parser);
int runComplete(const QCommandLineParser &parser);
int runManPage(const QCommandLineParser &parser);

#endif
