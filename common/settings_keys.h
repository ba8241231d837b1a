// The settings file's section and keys, for the screensaver program's start
// and its settings dialog. The keys are the Shift-JIS bytes of "BGM区分",
// "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ", so the file reads the same on every system code page.
#pragma once

namespace kb {

inline constexpr char kSettingsSection[] = "Section";
inline constexpr char kKeyBgmKind[] = "BGM\x8B\xE6\x95\xAA";
inline constexpr char kKeyBgmRepeatTrack[] = "BGM\xD8\xCB\xDF\xB0\xC4";
inline constexpr char kKeyBgmFile[] = "BGM\xCC\xA7\xB2\xD9";

}  // namespace kb
