#pragma once
// The keep-on-top call, in the shape the windows use it:
//   SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
// Taking a window on or off the top neither moves, resizes nor hides it.

namespace tk {

class Form;

constexpr int HWND_TOPMOST = -1;
constexpr int HWND_NOTOPMOST = -2;
constexpr int SWP_NOSIZE = 1;
constexpr int SWP_NOMOVE = 2;

// x, y, cx, cy are pixels and apply unless SWP_NOMOVE / SWP_NOSIZE say
// otherwise. Returns nonzero on success (0 for a window that is not loaded).
long SetWindowPos(Form* hWnd, int hWndInsertAfter, int x, int y, int cx, int cy, int wFlags);

}  // namespace tk
