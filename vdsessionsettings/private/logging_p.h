#ifndef VDSESSIONSETTINGS_LOGGING_P_H
#define VDSESSIONSETTINGS_LOGGING_P_H

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <spdlog/spdlog.h>

// Lets the spdlog calls take a QString argument as it stands; it is written as UTF-8.
template<>
struct fmt::formatter<QString> : fmt::formatter<fmt::string_view>
{
    template<typename FormatContext>
    auto format(const QString &text, FormatContext &context) const
    {
        const QByteArray utf8 = text.toUtf8();
        return fmt::formatter<fmt::string_view>::format(fmt::string_view(utf8.constData(), utf8.size()), context);
    }
};

// The library's Qt messages. The category is on at info level, so a program sees every message
// unless it turns the category off (QT_LOGGING_RULES="vdsessionsettings.info=false"); the lines
// it then drops are never formatted.
Q_DECLARE_LOGGING_CATEGORY(lcVdSessionSettings)

// The message for a file that does not parse as a JSON document, with its raw content.
void logMalformedDocument(const QByteArray &content);

#endif
