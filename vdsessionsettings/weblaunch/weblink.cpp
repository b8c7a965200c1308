#include "vdsessionsettings.h"

#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QDebug>
#include <QStringList>

namespace {

// What the portal puts in front of the parameters; it may stand anywhere in the link.
const QString linkMarker = QStringLiteral("evoked-download/?");
const QString tokenName = QStringLiteral("token=");

// The token runs from its name to the end of the piece, or to a repeated "token=": the token
// is Base64 and may end in "=" padding, so it cannot stop at the next "=".
QString tokenValue(const QString &piece)
{
    const int start = piece.indexOf(tokenName) + tokenName.size();
    const int end = piece.indexOf(tokenName, start);
    return end < 0 ? piece.mid(start) : piece.mid(start, end - start);
}

// Any other value runs from the piece's first "=" to the next one. Text in front of the name
// is ignored, and so is whatever a stray second "=" brings behind the value.
QString plainValue(const QString &piece)
{
    // Found by position and copied once: splitting the whole piece at every "=" makes one string
    // per "=", hundreds of megabytes for a link full of them.
    const int start = piece.indexOf(QLatin1Char('='));
    if (start < 0)
        return QString();
    const int end = piece.indexOf(QLatin1Char('='), start + 1);
    return end < 0 ? piece.mid(start + 1) : piece.mid(start + 1, end - start - 1);
}

bool rejected(int failure, const QString &parameters)
{
    spdlog::info("{} {}, web is invalid.", failure, parameters);
    return false;
}

} // namespace

bool VdSessionSettings::loadFromWeb(const QString &link)
{
    // The parameters are told apart by position, so a link that reorders or drops one is
    // refused at the first piece that does not carry the expected name; what the pieces before
    // it stored is kept.
    const QString parameters = QString(link).remove(linkMarker);

    const int separators = parameters.count(QLatin1Char('&'));
    if (separators != 5 && separators != 6)
        return rejected(1, parameters);

    const QStringList pieces = parameters.split(QLatin1Char('&'), Qt::KeepEmptyParts);

    if (!pieces.at(0).contains(tokenName))
        return rejected(2, parameters);
    d->mToken_ = tokenValue(pieces.at(0));

    if (!pieces.at(1).contains(QLatin1String("serverIp=")))
        return rejected(3, parameters);
    d->mServerIp_ = plainValue(pieces.at(1));
    Q_EMIT serverIpChanged();

    if (!pieces.at(2).contains(QLatin1String("serverPort=")))
        return rejected(4, parameters);
    // Only the low 16 bits of the number are kept: a port of 70000 connects to 4464.
    d->mServerPort_ = static_cast<unsigned short>(JsonValue::decimalOrZero(plainValue(pieces.at(2))));
    Q_EMIT serverPortChanged();

    if (!pieces.at(3).contains(QLatin1String("vmUuid=")))
        return rejected(5, parameters);
    const QString vmUuid = plainValue(pieces.at(3));
    d->mUuid_ = sessionUuid(d->mServerIp_, vmUuid);
    d->mVmUuid_ = vmUuid.toStdString();

    if (!pieces.at(4).contains(QLatin1String("h5ClientUuid=")))
        return rejected(6, parameters);
    d->mH5ClientUuid_ = plainValue(pieces.at(4));

    if (!pieces.at(5).contains(QLatin1String("multiscreen=")))
        return rejected(7, parameters);
    d->mIsMultiScreen_ = plainValue(pieces.at(5)) == QLatin1String("true");

    if (pieces.size() > 6) {
        if (!pieces.at(6).contains(QLatin1String("theme=")))
            return rejected(8, parameters);
        d->mSkin_ = plainValue(pieces.at(6));
        Q_EMIT skinChanged();
    }

    // A desktop opened from the portal runs without the idle break and with the SDL renderer,
    // whatever the last session file said.
    d->mAutoBreakSecondTimes_ = AUTO_BREAK_TIME_NO;
    d->mIsStartByWeb_ = true;
    d->mRenderMode_ = getDefaultRenderMode();
    d->mRenderSystemMode_ = RenderSystemSDL;

    d->logWindowMode();
    d->logRenderModes();
    return true;
}
