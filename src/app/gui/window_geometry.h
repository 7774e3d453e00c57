#pragma once
// Where the main window goes on the screen it is on: the first start's size, and a stored
// size and position brought back inside the screen (stored on a larger screen, or on one
// that is gone). All rectangles are the window's inside (without the window manager's
// frame); the frame's margins are added where the screen is concerned.
#include <QMargins>
#include <QRect>
#include <QSize>

// The size the window opens with on a first start, when the screen allows it.
inline constexpr QSize kFirstStartSize(1280, 820);
// The smallest inside the window is given when it is fitted to a screen.
inline constexpr QSize kSmallestWindow(640, 480);

// A first start: the default size, no larger than the available area less the frame,
// centred in it.
QRect FirstStartGeometry(const QRect& available, const QMargins& frame);
// A stored geometry made to fit: shrunk to the available area less the frame, then moved
// so that the whole window, frame included, is inside it.
QRect FitToScreen(const QRect& geometry, const QRect& available, const QMargins& frame);
// The frame a window manager is likely to add before the window is first shown (the real
// one is known only afterwards): a title bar and thin borders.
QMargins EstimatedFrameMargins(int titleBarHeight, int borderWidth);
