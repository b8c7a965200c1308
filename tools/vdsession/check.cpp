// vdsession check FILE: every value of a session file that the readers replace or ignore.
#include "commands.h"
#include "output.h"

#include <vdsessionsettings/sessioncheck.h>

#include <QJsonArray>

namespace {

// Paths line up in one column, as wide as the longest path that fits in it. A longer one, such
// as a key that is a whole paragraph, stands on a line of its own, so that it cannot widen the
// lines of all the others.
constexpr int pathColumn = 40;

void printFindings(const QVector<VdSessionCheck::Finding> &findings)
{
    QStringList paths;
    int pathWidth = 0, kindWidth = 0;
    for (const VdSessionCheck::Finding &finding : findings) {
        paths.append(printable(finding.path));
        if (paths.last().size() <= pathColumn)
            pathWidth = std::max(pathWidth, int(paths.last().size()));
        kindWidth = std::max(kindWidth, int(VdSessionCheck::kindName(finding.kind).size()));
    }
    for (int i = 0; i < findings.size(); ++i) {
        const VdSessionCheck::Finding &finding = findings.at(i);
        // Joined, not put in with arg(): a "%1" in a key would take the next argument in.
        QString text = VdSessionCheck::kindName(finding.kind).leftJustified(kindWidth) + QLatin1String("  ") + finding.message;
        if (!finding.suggestion.isEmpty())
            text += QStringLiteral(" -> ") + finding.suggestion;
        if (paths.at(i).size() > pathWidth) {
            message(paths.at(i));
            message(QString(pathWidth + 2, QLatin1Char(' ')) + text);
        } else {
            message(paths.at(i).leftJustified(pathWidth) + QLatin1String("  ") + text);
        }
    }
}

} // namespace

int runCheck(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    const VdSessionCheck check = VdSessionCheck::checkFile(path);
    if (check.layout() == VdSessionCheck::Layout::Unreadable)
        fail(QStringLiteral("%1: %2").arg(path, check.errorString()));
    const QVector<VdSessionCheck::Finding> findings = check.findings();

    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray list;
        for (const VdSessionCheck::Finding &finding : findings) {
            list.append(QJsonObject{{QStringLiteral("path"), finding.path},
                                    {QStringLiteral("kind"), VdSessionCheck::kindName(finding.kind)},
                                    {QStringLiteral("message"), finding.message},
                                    {QStringLiteral("suggestion"), finding.suggestion}});
        }
        printJsonResult({{QStringLiteral("layout"), VdSessionCheck::layoutName(check.layout())},
                         {QStringLiteral("findings"), list}});
    } else {
        message(QStringLiteral("layout: %1").arg(VdSessionCheck::layoutName(check.layout())));
        printFindings(findings);
    }
    return findings.isEmpty() ? 0 : 1;
}
