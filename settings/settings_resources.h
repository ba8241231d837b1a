// Resource identifiers of the settings dialog's pictures (shared by
// settings.rc and C++).
#pragma once

#define KB_SETTINGS_ICON 3101
#define KB_SETTINGS_MARK_EMPTY 3102
#define KB_SETTINGS_MARK_FILLED 3103
