#include "screenarg.h"

#include <QRegularExpression>

#include <cstdlib>

namespace {

// Screens far larger than any monitor, or offsets beyond any desktop, are typing mistakes; they
// are refused before their edges could overflow.
constexpr int screenLimit = 1 << 20;

} // namespace

std::optional<ScreenArgument> parseScreen(const QString &text, int defaultId)
{
    static const QRegularExpression pattern(QStringLiteral("^(-?\\d{1,7}),(-?\\d{1,7}),(\\d{1,7}),(\\d{1,7})(?:@(-?\\d{1,9}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const QRect screen = match.hasMatch() ? QRect(match.captured(1).toInt(), match.captured(2).toInt(),
                                                  match.captured(3).toInt(), match.captured(4).toInt())
                                          : QRect();
    if (screen.isEmpty() || std::abs(screen.x()) > screenLimit || std::abs(screen.y()) > screenLimit
        || screen.width() > screenLimit || screen.height() > screenLimit)
        return std::nullopt;
    const int id = match.captured(5).isEmpty() ? defaultId : match.captured(5).toInt();
    return ScreenArgument{screen, id};
}
