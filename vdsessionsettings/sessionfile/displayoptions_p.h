#ifndef VDSESSIONSETTINGS_DISPLAYOPTIONS_P_H
#define VDSESSIONSETTINGS_DISPLAYOPTIONS_P_H

#include "vdsessionsettings.h"

class JsonGroup;
class VdSessionSettingsPrivate;

// The display, video and window block of a current-layout session document: stream and render
// options, the broker's video policy under @p vm ("vm settings" / "vm") with the effective video
// mode, the user's video choices and the configuration mode between them, the window rectangles
// per screen, the window and render modes and the display size.
//
// Runs in the middle of the document's pass, after the connection keys: the effective video
// mode depends on the server type read before it.
void readDisplayOptions(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &vm,
                        VdSessionSettings::RenderMode defaultRenderMode);

#endif
