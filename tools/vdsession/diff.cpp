// vdsession diff A B: what the library makes of two session files, setting by setting.
#include "commands.h"
#include "output.h"
#include "settingsdump.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The settings "show --json --show-secrets" prints for @p path. The settings are one record per
// process, and a load adds to what an earlier one left, so each file is read by a process of its
// own, this very program.
QJsonObject settingsOf(const QString &path)
{
    QProcess show;
    show.setProgram(QCoreApplication::applicationFilePath());
    show.setArguments({QStringLiteral("show"), QStringLiteral("--json"), QStringLiteral("--show-secrets"), path});
    show.setProcessChannelMode(QProcess::SeparateChannels);
    show.start();
    if (!show.waitForFinished(-1) || show.exitStatus() != QProcess::NormalExit)
        fail(QStringLiteral("%1: could not run %2 to read it").arg(path, show.program()));
    if (show.exitCode() != 0) {
        // Its own one-line reason, without its "vdsession: ".
        QString reason = QString::fromUtf8(show.readAllStandardError()).trimmed();
        reason.remove(QRegularExpression(QStringLiteral("^vdsession: ")));
        fail(reason.isEmpty() ? QStringLiteral("%1: could not be read").arg(path) : reason);
    }
    QJsonObject settings = QJsonDocument::fromJson(show.readAllStandardOutput()).object();
    settings.remove(QStringLiteral("format"));
    return settings;
}

QString valueText(const QJsonValue &value)
{
    if (value.isUndefined())
        return QStringLiteral("(none)");
    // Wrapped, so that a bare string or number is written as JSON writes it too.
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

} // namespace

int runDiff(const QCommandLineParser &parser)
{
    const QStringList paths = expectArguments(parser, {"A", "B"});
    const QJsonObject from = settingsOf(paths.at(0));
    const QJsonObject to = settingsOf(paths.at(1));

    QStringList names = from.keys() + to.keys();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());

    QJsonObject changed;
    QStringList lines;
    for (const QString &name : qAsConst(names)) {
        const QJsonValue a = from.value(name), b = to.value(name);
        if (a == b)
            continue;
        if (isSecretSetting(name)) {
            changed.insert(name, QJsonObject{{QStringLiteral("from"), maskedSecret(a)}, {QStringLiteral("to"), maskedSecret(b)}});
            lines.append(name + QStringLiteral(": changed"));
        } else {
            changed.insert(name, QJsonObject{{QStringLiteral("from"), a.isUndefined() ? QJsonValue() : a},
                                             {QStringLiteral("to"), b.isUndefined() ? QJsonValue() : b}});
            lines.append(name + QStringLiteral(": ") + valueText(a) + QStringLiteral(" -> ") + valueText(b));
        }
    }

    if (parser.isSet(QStringLiteral("json"))) {
        printJsonResult({{QStringLiteral("changed"), changed}});
    } else {
        for (const QString &line : qAsConst(lines))
            message(line);
    }
    return changed.isEmpty() ? 0 : 1;
}
