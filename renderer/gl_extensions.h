// Reading the extension lists that OpenGL and WGL drivers give as text.
#pragma once

#include <string_view>

namespace kb::renderer {

// True when `name` is one whole entry of a blank-separated extension list; a
// missing list names nothing.
bool listsExtension(const char* extensions, std::string_view name);

}  // namespace kb::renderer
