/* Resource numbers of the pictures the screensaver program carries. Read by
   the resource compiler too, so it holds only plain defines. */
#pragma once

/* Picture k (0 the reel, 1 to 9 the slides) is resource KB_SLIDE_PICTURE + k. */
#define KB_SLIDE_PICTURE 100
#define KB_PREVIEW_PICTURE 120
