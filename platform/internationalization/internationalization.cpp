#include "internationalization/internationalization.h"

#include <QLocale>

Internationalization *Internationalization::instance()
{
    static Internationalization language;
    return &language;
}

bool Internationalization::isLangEnglish() const
{
    return QLocale::system().language() == QLocale::English;
}
