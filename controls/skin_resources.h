// Resource identifiers of the six skin pictures (shared by skins.rc and C++).
#pragma once

#define KB_SKIN_NORMAL 5101
#define KB_SKIN_HIGHLIGHT 5102
#define KB_SKIN_HIGHLIGHTSELECT 5103
#define KB_SKIN_SELECTED 5104
#define KB_SKIN_PRESSED 5105
#define KB_SKIN_DISABLE 5106
