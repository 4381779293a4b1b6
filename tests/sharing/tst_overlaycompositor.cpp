#include "overlayonx11.h"

// With a compositor the overlay is translucent: clicks pass through its
// transparent pixels by its input region, and the screen shows through it.
KD_OVERLAY_ON_X11_MAIN(true)
