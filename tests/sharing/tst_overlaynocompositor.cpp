#include "overlayonx11.h"

// Without a compositor the overlay is opaque: it is cut down to its frame,
// toolbar and strokes, and paints a still picture of the screen under the
// strokes while the user draws.
KD_OVERLAY_ON_X11_MAIN(false)
