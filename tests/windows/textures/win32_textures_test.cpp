// The Win32 side of the Textures module under the real API: files through
// CreateFileA, the program's (absent) resources, real message boxes, and an
// upload through opengl32 and glu32.
#include "renderer/win32_textures.h"

#include "renderer/win32_gl_functions.h"

// clang-format off
#include <windows.h>
#include <GL/gl.h>
// clang-format on
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

#include "common/image.h"

namespace kb::renderer {
namespace {

std::string tempPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

// What a user sees in a message box that came up.
struct SeenBox {
  bool found = false;
  std::string text;
  bool hasOkOnly = false;
  bool hasOwner = true;
};

BOOL CALLBACK collectStaticText(HWND child, LPARAM into) {
  char className[32] = {};
  char text[512] = {};
  GetClassNameA(child, className, sizeof className);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(className, "Static") == 0 && text[0] != '\0') {
    *reinterpret_cast<std::string*>(into) += text;
  }
  return TRUE;
}

BOOL CALLBACK pressOkOnDialogs(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Waits (up to 20 s) for a dialog with this caption, reads it, then presses OK.
// Whatever box the thread shows instead is closed too, so that a wrong caption
// fails the test rather than blocking it.
SeenBox answerMessageBox(const std::string& caption, DWORD thread) {
  SeenBox seen;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  HWND box = nullptr;
  while (!box && std::chrono::steady_clock::now() < deadline) {
    box = FindWindowA("#32770", caption.c_str());
    if (!box) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!box) {
    EnumThreadWindows(thread, pressOkOnDialogs, 0);
    return seen;
  }
  seen.found = true;
  EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&seen.text));
  seen.hasOkOnly = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr;
  seen.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return seen;
}

TEST(Win32Textures, FilesAreReadInFullThroughCreateFile) {
  const std::string path = tempPath("kb_textures_read.bin");
  std::vector<std::uint8_t> written(300000);
  for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(i * 7);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(written.data()), written.size());

  TexturePlatform& platform = win32TexturePlatform();
  EXPECT_TRUE(platform.fileExists(path));
  auto source = platform.openFile(path);
  ASSERT_NE(source, nullptr);
  std::vector<std::uint8_t> read(written.size() + 10);
  EXPECT_EQ(source->read(read.data(), 100), 100u);
  EXPECT_EQ(source->read(read.data() + 100, read.size() - 100), written.size() - 100);
  read.resize(written.size());
  EXPECT_EQ(read, written);
  source.reset();
  EXPECT_NE(DeleteFileA(path.c_str()), 0) << "the file must be closed again";
}

TEST(Win32Textures, MissingFilesFoldersAndResourcesAreNotFound) {
  TexturePlatform& platform = win32TexturePlatform();
  EXPECT_EQ(platform.openFile(tempPath("kb_no_such_file.bmp")), nullptr);
  EXPECT_FALSE(platform.fileExists(tempPath("kb_no_such_file.tga")));
  EXPECT_FALSE(platform.fileExists(tempPath("")));
  EXPECT_EQ(platform.openResource("Kolvane_Brightrun0", "BMP"), nullptr);
  EXPECT_EQ(platform.openResource("", "JPEG"), nullptr);
}

TEST(Win32Textures, MissingBitmapFileShowsOneOkBox) {
  const std::string name = "C:\\Windows\\Kolvane_Brightrun_absent3.bmp";
  auto seen = std::async(std::launch::async, answerMessageBox, std::string("BMP Unit"),
                         GetCurrentThreadId());
  unsigned int slot = 0;
  textureFromFile(name, slot, false, win32TexturePlatform());
  const SeenBox box = seen.get();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Error opening " + name);
  EXPECT_TRUE(box.hasOkOnly);
  EXPECT_FALSE(box.hasOwner);
  EXPECT_EQ(slot, 0u);
}

TEST(Win32Textures, MissingResourceShowsItsBox) {
  auto seen = std::async(std::launch::async, answerMessageBox, std::string("TGA Texture"),
                         GetCurrentThreadId());
  unsigned int slot = 0;
  textureFromFile("Reel.tga", slot, true, win32TexturePlatform());
  const SeenBox box = seen.get();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "File not found in resource - Reel.tga");
  EXPECT_EQ(slot, 0u);
}

// A hidden window with a current WGL context, for uploads through opengl32.
class HiddenGlWindow {
 public:
  HiddenGlWindow() {
    window_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    deviceContext_ = window_ ? GetDC(window_) : nullptr;
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 16;
    const int chosen = deviceContext_ && kb::renderer::bindOpenGl()
                           ? ChoosePixelFormat(deviceContext_, &format)
                           : 0;
    if (chosen && SetPixelFormat(deviceContext_, chosen, &format)) {
      context_ = wglCreateContext(deviceContext_);
    }
    ready_ = context_ && wglMakeCurrent(deviceContext_, context_);
  }
  ~HiddenGlWindow() {
    wglMakeCurrent(nullptr, nullptr);
    if (context_) wglDeleteContext(context_);
    if (deviceContext_) ReleaseDC(window_, deviceContext_);
    if (window_) DestroyWindow(window_);
  }
  HiddenGlWindow(const HiddenGlWindow&) = delete;
  HiddenGlWindow& operator=(const HiddenGlWindow&) = delete;
  bool ready() const { return ready_; }

 private:
  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC context_ = nullptr;
  bool ready_ = false;
};

TEST(Win32Textures, BitmapFileBecomesATextureThroughOpenGl32AndGlu32) {
  HiddenGlWindow gl;
  ASSERT_TRUE(gl.ready());
  RgbImage image;  // 2 x 2: rows of 6 bytes, padded to 8 in the file
  image.width = 2;
  image.height = 2;
  image.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 250, 240, 230};
  const std::vector<std::uint8_t> file = encodeBitmap(image);
  const std::string path = tempPath("kb_textures_2x2.bmp");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), file.size());

  unsigned int slot = 0;
  textureFromFile(path, slot, false, win32TexturePlatform());
  ASSERT_NE(slot, 0u);
  std::vector<std::uint8_t> texels(2 * 2 * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  // Bottom row first: the image's second row, then its first.
  EXPECT_EQ(texels, (std::vector<std::uint8_t>{0, 0, 255, 255, 250, 240, 230, 255,  //
                                               255, 0, 0, 255, 0, 255, 0, 255}));
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace kb::renderer
