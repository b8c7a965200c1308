#include "internationalization/internationalization.h"

#include <QLocale>

Internationalization *Internationalization::instance()
{
    static Internationalization language;
    return &language;
}

// The language the program chose for its user interface with QLocale::setDefault(), or else the
// system's.
bool Internationalization::isLangEnglish() const
{
    return QLocale().language() == QLocale::English;
}
