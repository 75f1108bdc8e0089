#pragma once

class QWindow;

namespace losfix {

// Qt never leaves a window's title empty on X11: a window without a title gets the
// application's name in its title properties. This writes the empty title there again, for a
// window whose title is empty and that has its native window; elsewhere it does nothing.
void KeepEmptyTitle(QWindow* window);

}  // namespace losfix
