#ifndef VDSESSIONSETTINGS_CURRENTREADER_P_H
#define VDSESSIONSETTINGS_CURRENTREADER_P_H

#include "vdsessionsettings.h"

class JsonGroup;
class VdSessionSettingsPrivate;

// Reads a current-layout session document into @p d, in the one order the layout fixes, and
// takes every group from @p root, so that a collector handed to @p root hears of every key the
// pass found with another type or out of range. What lands in the record does not depend on
// whether @p root carries a collector.
//
// @p q is the object that owns @p d: the pass asks it to inherit from the previous session's
// file first. @p defaultRenderMode is what a document without "render mode" gets.
VDSESSIONSETTINGS_EXPORT void readCurrentLayout(VdSessionSettings *q, VdSessionSettingsPrivate *d, const JsonGroup &root,
                                                VdSessionSettings::RenderMode defaultRenderMode);

#endif
