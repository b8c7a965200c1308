#ifndef VDSESSION_SCREENARG_H
#define VDSESSION_SCREENARG_H

#include <QRect>
#include <QString>

#include <optional>

// One screen as given to "vdsession geometry --screen X,Y,W,H[@ID]".
struct ScreenArgument
{
    QRect screen;
    int id = 0;
};

// The screen that @p text names, with @p defaultId when it names no id; nothing when the text is
// malformed, the screen is empty, or it lies or reaches beyond any real desktop.
std::optional<ScreenArgument> parseScreen(const QString &text, int defaultId);

#endif
