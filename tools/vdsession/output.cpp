#include "output.h"

#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

// A control character in a VM name would otherwise retitle or clear the terminal, and a line break
// in a value would print a row of its own. Backslashes stay as they are, so that Windows paths
// remain readable. Escaped text has no control characters left, so escaping it again changes
// nothing.
QString printable(const QString &text)
{
    const auto plain = [](char16_t c) { return (c >= 0x20 && c < 0x7f) || c > 0x9f; };
    if (std::all_of(text.begin(), text.end(), [&](QChar c) { return plain(c.unicode()); }))
        return text;
    QString shown;
    shown.reserve(text.size() + 16);
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (plain(code))
            shown += c;
        else if (code == 0x1b)
            shown += QLatin1String("\\e");
        else if (code == u'\n')
            shown += QLatin1String("\\n");
        else if (code == u'\r')
            shown += QLatin1String("\\r");
        else if (code == u'\t')
            shown += QLatin1String("\\t");
        else if (code < 0x80)
            shown += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u%1").arg(int(code), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void message(const QString &text)
{
    writeOut(printable(text).toUtf8() + '\n');
}

void note(const QString &text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", printable(text).toUtf8().constData());
}

void printJsonResult(QJsonObject result)
{
    result.insert(QStringLiteral("format"), jsonFormat);
    printJson(result);
}

// JSON output stays exact: its own escaping already keeps control characters out of it.
void printJson(const QJsonObject &object)
{
    writeOut(QJsonDocument(object).toJson(QJsonDocument::Indented).trimmed() + '\n');
}

QString rectText(const QRect &rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

// The column is measured on the names as printed.
void printRows(const QString &title, const QList<QPair<QString, QString>> &rows, int width)
{
    if (rows.isEmpty())
        return;
    QList<QPair<QString, QString>> shown;
    for (const auto &row : rows) {
        shown.append({printable(row.first), printable(row.second)});
        width = std::max(width, int(shown.last().first.size()));
    }
    message(title);
    for (const auto &row : shown) {
        if (row.second.isEmpty())
            message(QStringLiteral("  ") + row.first);
        else
            message(QLatin1String("  ") + row.first.leftJustified(width) + QLatin1String("  ") + row.second);
    }
    message(QString());
}
