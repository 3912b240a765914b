#pragma once
// A child window lives in a sub-window of the main frame, or stands alone
// (in tests). These reach whichever frame it has.

#include "widgets/child_form.h"

namespace projects {

using widgets::FrameOf;

// Closes the frame; the child's own close event runs either way.
void CloseFrame(QWidget* child);

// Title, system menu and minimise only. Changing the flags hides a visible
// window, so call it before the frame is shown: from the constructor and when
// the child moves into its sub-window.
void UseFixedBorder(QWidget* child);

// The frame keeps the size its contents ask for.
void LockFrameSize(QWidget* child);

}  // namespace projects
