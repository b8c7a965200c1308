// vdsession manpage: the manual page, vdsession.1, made at build time from the same table that
// parsing and --help read, so that it cannot drift from them.
#include "commands.h"
#include "output.h"

#include <QCoreApplication>

namespace {

// Text as roff prints it: a backslash escaped, a minus a minus sign (so that options can be
// searched for and copied), and a line that would start with a control character guarded.
QString roff(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\e")).replace(QLatin1Char('-'), QLatin1String("\\-"));
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QLatin1String("\\&"));
    return text;
}

// "-v, --verbose", "--screen X,Y,W,H[@ID]" in bold, the value in italics.
QString optionSyntax(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append(QStringLiteral("\\fB%1\\fR").arg(roff(name.size() == 1 ? QLatin1Char('-') + name : QLatin1String("--") + name)));
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += QStringLiteral(" \\fI%1\\fR").arg(roff(option.valueName()));
    return syntax;
}

void item(QString &page, const QString &term, const QString &description)
{
    page += QStringLiteral(".TP\n%1\n%2\n").arg(term, roff(description));
}

} // namespace

int runManPage(const QCommandLineParser &)
{
    QString page;
    page += QStringLiteral(".TH VDSESSION 1 \"\" \"vdsession %1\" \"User Commands\"\n")
                .arg(roff(QCoreApplication::applicationVersion()));
    page += QStringLiteral(".SH NAME\nvdsession \\- show, check and describe virtual desktop session files\n");
    page += QStringLiteral(".SH SYNOPSIS\n.B vdsession\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR...]\n");
    page += QStringLiteral(".SH DESCRIPTION\n%1\n").arg(roff(toolDescription()));
    page += QStringLiteral(".SH OPTIONS\n");
    item(page, QStringLiteral("\\fB\\-h\\fR, \\fB\\-\\-help\\fR"), QStringLiteral("Print the commands, or with a command its options."));
    item(page, optionSyntax(versionOption()), versionOption().description());
    item(page, optionSyntax(verboseOption()), verboseOption().description() + QStringLiteral(" Taken by every command too."));

    page += QStringLiteral(".SH COMMANDS\n");
    for (const Command &command : commands()) {
        if (command.hidden)
            continue;
        QString usage = QStringLiteral("\\fBvdsession %1\\fR").arg(roff(command.name));
        if (!command.options.isEmpty())
            usage += QStringLiteral(" [\\fIOPTIONS\\fR]");
        for (const CommandArgument &argument : command.arguments)
            usage += QStringLiteral(" \\fI%1\\fR").arg(roff(argument.syntax.isEmpty() ? argument.name : argument.syntax));
        page += QStringLiteral(".SS %1\n%2\n").arg(usage, roff(command.summary));
        page += QStringLiteral(".RS\n");
        for (const CommandArgument &argument : command.arguments)
            item(page, QStringLiteral("\\fI%1\\fR").arg(roff(argument.name)), argument.description);
        for (const QCommandLineOption &option : command.options)
            item(page, optionSyntax(option), option.description());
        page += QStringLiteral(".RE\n");
    }

    page += QStringLiteral(".SH \"EXIT STATUS\"\n");
    item(page, QStringLiteral("0"), QStringLiteral("The command did what it was asked, and found nothing to report."));
    item(page, QStringLiteral("1"), QStringLiteral("check found values the session uses other than as written, diff found "
                                                   "differences, or get found no value at the key."));
    item(page, QStringLiteral("2"), QStringLiteral("An error: a file that cannot be read or written, a malformed argument or "
                                                   "value, an unknown command. One line on standard error says which."));
    page += QStringLiteral(".SH \"JSON OUTPUT\"\n%1\n")
                .arg(roff(QStringLiteral("Every --json output is one JSON object with a \"format\" key, now %1. Adding keys "
                                         "keeps the number; renaming, removing or retyping one raises it.")
                              .arg(jsonFormat)));
    writeOut(page.toUtf8());
    return 0;
}
