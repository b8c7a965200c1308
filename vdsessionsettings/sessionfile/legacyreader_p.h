#ifndef VDSESSIONSETTINGS_LEGACYREADER_P_H
#define VDSESSIONSETTINGS_LEGACYREADER_P_H

#include <vdsessionsettings/vdsessionsettings.h>

class JsonGroup;
class VdSessionSettingsPrivate;

// Reads a session document in the layout of the earlier launchers (the one with a
// "vdsession settings" group) into @p d. @p defaultRenderMode is the render mode of this machine,
// used when the document names none. An observer attached to @p root hears of every key the
// pass takes. Touches no other file and emits no signal.
void readLegacyLayout(VdSessionSettingsPrivate *d, const JsonGroup &root,
                      VdSessionSettings::RenderMode defaultRenderMode);

#endif
