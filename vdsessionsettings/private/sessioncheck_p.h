#ifndef VDSESSIONSETTINGS_SESSIONCHECK_P_H
#define VDSESSIONSETTINGS_SESSIONCHECK_P_H

#include <vdsessionsettings/sessioncheck.h>

#include <QSharedData>

class VdSessionCheckPrivate : public QSharedData
{
public:
    VdSessionCheck::Layout layout = VdSessionCheck::Layout::Unreadable;
    QString errorString;
    QVector<VdSessionCheck::Finding> findings;
};

#endif
