#ifndef VDSESSIONSETTINGS_CURRENTREADER_P_H
#define VDSESSIONSETTINGS_CURRENTREADER_P_H

#include "vdsessionsettings.h"

class JsonGroup;
class VdSessionSettingsPrivate;

// Whether the document carries "inherit old vdp": the writer marks every file it rewrites, and
// such a file already holds what the previous session's file had to hand on.
bool hasInheritedPreviousSession(const JsonGroup &root);

// Reads a current-layout session document into @p d, in the one order the layout fixes, and
// takes every group from @p root, so that an observer handed to @p root hears of every key the
// pass takes. What lands in the record does not depend on whether @p root carries an observer.
//
// Touches no file and emits no signal: inheriting from the previous session's file is the
// loader's step, before this one. @p defaultRenderMode is what a document without "render mode" gets.
void readCurrentLayout(VdSessionSettingsPrivate *d, const JsonGroup &root,
                                                VdSessionSettings::RenderMode defaultRenderMode);

#endif
