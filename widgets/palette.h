#pragma once

#include <QPalette>

namespace sp::palette {

// The colours of every role in every colour group for both windows: the classic light look
// they are drawn for, so that nothing of the desktop's theme shows through. The controls
// that fix colours of their own (captions, the time horizon, the cells) set them on top.
const QPalette &windowPalette();

// The same for the menu bar and its menus: the bar in the face colour of the buttons, so it
// stands apart from the grey client area below it.
const QPalette &menuPalette();

} // namespace sp::palette
