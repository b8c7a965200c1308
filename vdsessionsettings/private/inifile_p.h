#ifndef VDSESSIONSETTINGS_INIFILE_P_H
#define VDSESSIONSETTINGS_INIFILE_P_H

#include <vdsessionsettings/vdsessionsettings_export.h>

class QSettings;

// The client's own INI files hold UTF-8 text; call before the first access.
VDSESSIONSETTINGS_EXPORT void useUtf8(QSettings &settings);

// The number of indices worth visiting in the array that @p settings has just opened with
// beginReadArray(), which returned @p claimedSize.
//
// The size key is only a claim. Every index past the last element really stored reads as an
// empty element, so visiting one of them gives what visiting all of them would, and the loop
// stays bounded by what the file holds.
VDSESSIONSETTINGS_EXPORT int boundedArraySize(QSettings &settings, int claimedSize);

#endif
