#include "renderer/gl_extensions.h"

namespace kb::renderer {

bool listsExtension(const char* extensions, std::string_view name) {
  if (extensions == nullptr || name.empty()) return false;
  const std::string_view list(extensions);
  // A name may also begin a longer one ("WGL_EXT_swap_control_tear").
  for (std::size_t at = list.find(name); at != std::string_view::npos;
       at = list.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    if ((at == 0 || list[at - 1] == ' ') && (end == list.size() || list[end] == ' ')) return true;
  }
  return false;
}

}  // namespace kb::renderer
