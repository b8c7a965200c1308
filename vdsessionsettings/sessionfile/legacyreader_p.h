#ifndef VDSESSIONSETTINGS_LEGACYREADER_P_H
#define VDSESSIONSETTINGS_LEGACYREADER_P_H

#include <vdsessionsettings/vdsessionsettings.h>

class JsonGroup;
class VdSessionSettingsPrivate;

// Reads a session document in the layout of the earlier launchers (the one with a
// "vdsession settings" group) into @p d. @p defaultRenderMode is the render mode of this machine,
// used when the document names none. A collector attached to @p root hears of every key of
// another type and every value replaced by a range check.
void readLegacyLayout(VdSessionSettingsPrivate *d, const JsonGroup &root,
                      VdSessionSettings::RenderMode defaultRenderMode);

#endif
