#pragma once

// Qt announces a top-level window made from a plain QWidget as a client area
// (a "filler" to screen readers) instead of a window. Once this has been
// called, every such window is announced as a window, named by its caption
// like any other. Windows call it before they are first shown; calling it
// again does nothing.
namespace shelvio {

void announcePlainWindowsAsWindows();

} // namespace shelvio
