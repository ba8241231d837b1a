// Where the scene's pixels land, against an independent model of its
// geometry: a ray caster written from the scene's shapes (the faceted reel,
// the two rails, the nine slide quads, their texture coordinates, the camera)
// predicts the texel every stable pixel shows, through lenses of the test's
// own that also magnify the reel's rim, a slide and a rail. Every bitmap is
// striped in both directions, so a mirrored or shifted texture, a moved or
// resized shape or a different facet count changes the colours seen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "renderer/scene.h"
#include "tests/unit/renderer/scene_fixture.h"

namespace kb::test {
namespace {

using namespace kb::renderer;

constexpr double kPi = 3.14159265358979323846;
constexpr int kStripes = 16;  // per texture direction

struct Vec {
  double x, y, z;
  Vec operator+(Vec b) const { return {x + b.x, y + b.y, z + b.z}; }
  Vec operator-(Vec b) const { return {x - b.x, y - b.y, z - b.z}; }
  friend Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
  friend double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
  friend Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  }
};

// ---- The scene as written down here ----------------------------------------

// The camera: the scene turned 30 degrees about -y, then moved by (21, 0, -39).
constexpr double kTurn = 30.0 * kPi / 180.0;
Vec toEye(Vec p) {
  return {p.x * std::cos(kTurn) - p.z * std::sin(kTurn) + 21, p.y,
          p.x * std::sin(kTurn) + p.z * std::cos(kTurn) - 39};
}
Vec fromEyeDirection(Vec d) {
  return {d.x * std::cos(kTurn) + d.z * std::sin(kTurn), d.y,
          -d.x * std::sin(kTurn) + d.z * std::cos(kTurn)};
}
Vec cameraInScene() {
  return fromEyeDirection({-21, 0, 39});
}

// What a ray meets: 0 the reel or a rail (bitmap 0), k slide k; s and t.
struct Hit {
  double distance = 1e30;
  int bitmap = -1;
  double s = 0, t = 0;
};

// How far along `ray` its plane (through `point`, spanned by u and v) lies,
// when that is beyond the near plane (at 1) and nearer than `best`.
std::optional<double> planeAhead(Vec origin, Vec ray, Vec point, Vec u, Vec v, const Hit& best) {
  const Vec normal = cross(u, v);
  const double along = dot(normal, ray);
  if (std::fabs(along) < 1e-12) return std::nullopt;
  const double distance = dot(normal, point - origin) / along;
  if (distance < 1.0 || distance >= best.distance) return std::nullopt;
  return distance;
}

// A quad with texture coordinates at its corners a, b (= a + u), d (= a + v):
// the slides are such parallelograms.
void meetParallelogram(Vec origin, Vec ray, Vec a, Vec u, Vec v, double s0, double ds, double t0,
                       double dt, int bitmap, Hit& best) {
  const std::optional<double> distance = planeAhead(origin, ray, a, u, v, best);
  if (!distance) return;
  const Vec q = origin + *distance * ray - a;
  const double fu = dot(q, u) / dot(u, u), fv = dot(q, v) / dot(v, v);
  if (fu < 0 || fu > 1 || fv < 0 || fv > 1) return;
  best = {*distance, bitmap, s0 + fu * ds, t0 + fv * dt};
}

// gluCylinder as GLU builds it: `slices` flat facets between vertices at
// (sin, cos) of 2 pi i / slices, turned by `turn` degrees about z, radius
// `base` at z 0 to `top` at z `length`; s = 1 - i / slices, t = z / length.
void meetCylinder(Vec origin, Vec ray, Vec centre, double base, double top, double length,
                  int slices, double turn, Hit& best) {
  const double c = std::cos(turn * kPi / 180.0), s = std::sin(turn * kPi / 180.0);
  auto corner = [&](int i, double z) {
    const double a = 2 * kPi * i / slices, r = base + (top - base) * z / length;
    const double x = r * std::sin(a), y = r * std::cos(a);
    return Vec{centre.x + x * c - y * s, centre.y + x * s + y * c, z};
  };
  for (int i = 0; i < slices; ++i) {
    const Vec p0 = corner(i, 0), p1 = corner(i + 1, 0), q0 = corner(i, length);
    const std::optional<double> distance = planeAhead(origin, ray, p0, p1 - p0, q0 - p0, best);
    if (!distance) continue;
    const Vec hit = origin + *distance * ray;
    if (hit.z < 0 || hit.z > length) continue;
    const Vec a = corner(i, hit.z), b = corner(i + 1, hit.z);
    const double f = dot(hit - a, b - a) / dot(b - a, b - a);
    if (f < 0 || f > 1) continue;
    best = {*distance, 0, 1.0 - (i + f) / slices, hit.z / length};
  }
}

// Slide `slide`: a 2 x 1.2 quad in the plane x = -1, from z = depth + 10 to
// depth + 12; corners (z + 2, y -0.6) s 0 t 0.125, (z, -0.6) s 1, (z + 2, 0.6) t 0.875.
void meetSlide(Vec origin, Vec ray, int slide, Hit& best) {
  const double depth = slideDepth(reelAngle, slide);
  if (depth <= 0 || depth >= 34) return;
  meetParallelogram(origin, ray, {-1, -0.6, depth + 12}, {0, 0, -2}, {0, 1.2, 0}, 0, 1, 0.125, 0.75,
                    slide, best);
}

Hit castRay(Vec eyeDirection) {
  const Vec origin = cameraInScene();
  const Vec ray = fromEyeDirection(eyeDirection);
  Hit best;
  meetCylinder(origin, ray, {0, 0, 0}, 1.0, 2.0, 44.0, 16, reelAngle, best);
  for (const double railY : {0.6, -0.6})
    meetCylinder(origin, ray, {-1.05, railY, 0}, 0.05, 0.05, 44.0, 8, reelAngle, best);
  for (int slide = 1; slide <= kSlideCount; ++slide) meetSlide(origin, ray, slide, best);
  return best;
}

// ---- Bitmaps and what a texel shows ----------------------------------------

// Stripe index of a texture point: which of 16 x 16 cells it falls in.
int cellOf(double s, double t) {
  const int i = std::clamp(static_cast<int>(std::floor(s * kStripes)), 0, kStripes - 1);
  const int j = std::clamp(static_cast<int>(std::floor(t * kStripes)), 0, kStripes - 1);
  return (i * 3 + j * 5) % kStripes;
}

// Bitmap k's colour for cell `cell`: red tells the bitmaps apart.
std::uint32_t cellColour(int bitmap, int cell) {
  const auto red = static_cast<std::uint32_t>(bitmap == 0 ? 0xF0 : 0x10 * bitmap);
  return red << 16 | static_cast<std::uint32_t>(cell * 16) << 8 |
         static_cast<std::uint32_t>(255 - cell * 16);
}

// Texture row 0 is the file's first stored row, the picture's bottom: t runs up.
std::vector<std::uint8_t> stripedBitmap(int width, int height, int bitmap) {
  RgbImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c =
          cellColour(bitmap, cellOf((x + 0.5) / width, 1.0 - (y + 0.5) / height));
      for (int shift : {16, 8, 0}) image.pixels.push_back(static_cast<std::uint8_t>(c >> shift));
    }
  return encodeBitmap(image);
}

// Far enough inside its cell that filtering and the reel's scaling to a
// power-of-two texture leave the colour alone.
bool wellInside(double s, double t) {
  auto inside = [](double v) {
    const double f = v * kStripes - std::floor(v * kStripes);
    return f > 0.25 && f < 0.75;
  };
  return inside(s) && inside(t);
}

// ---- Lenses ----------------------------------------------------------------

// A frustum on the near plane (distance 1) and the window it fills.
struct Lens {
  double left, right, bottom, top;
};
constexpr int kWidth = 1024, kHeight = 768;

// The renderer's own view: 45 degrees high, 4:3.
Lens fullView() {
  const double top = std::tan(22.5 * kPi / 180.0);
  return {-top * kWidth / kHeight, top * kWidth / kHeight, -top, top};
}

// A lens centred on a scene point, `across` units wide at its distance.
Lens lensOn(Vec scenePoint, double across) {
  const Vec e = toEye(scenePoint);
  const double x = e.x / -e.z, y = e.y / -e.z, half = across / 2 / -e.z;
  return {x - half, x + half, y - half * kHeight / kWidth, y + half * kHeight / kWidth};
}

Vec pixelRay(const Lens& lens, double px, double py) {
  return {lens.left + (lens.right - lens.left) * px / kWidth,
          lens.bottom + (lens.top - lens.bottom) * py / kHeight, -1};
}

class SceneGeometryTest : public SceneTest {
 protected:
  void SetUp() override {
    files.files[slideFileName(0)] = stripedBitmap(kReelWidth, kReelHeight, 0);
    for (int k = 1; k < kSlideFileCount; ++k)
      files.files[slideFileName(k)] = stripedBitmap(kSlideSide, kSlideSide, k);
    setProjection(kWidth, kHeight);
    prepareGlState(files);
    ASSERT_TRUE(files.messages.empty());
    averageFrameMs = 0;
    reelSpeed = 0;
  }

  struct Tally {
    int checked = 0, wrong = 0;
    std::map<int, int> checkedByBitmap;  // -1 is the black background
  };

  // Draws one frame through `lens` and compares every stable pixel of a grid:
  // one whose neighbours 1.5 pixels away meet the same cell of the same bitmap.
  // With `cells` false only the bitmap a pixel shows counts, not its cell.
  Tally compare(const Lens& lens, int step = 4, bool cells = true) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(lens.left, lens.right, lens.bottom, lens.top, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    renderFrame();
    glFinish();
    const auto& rgba = gl.colourBuffer();
    Tally tally;
    for (int py = step / 2; py < kHeight; py += step) {
      for (int px = step / 2; px < kWidth; px += step) {
        const Hit centre = castRay(pixelRay(lens, px + 0.5, py + 0.5));
        const auto cell = [cells](const Hit& h) {
          return h.bitmap < 0 || !cells ? -1 : cellOf(h.s, h.t);
        };
        bool stable = centre.bitmap < 0 || !cells || wellInside(centre.s, centre.t);
        for (auto [dx, dy] : {std::pair{-1.5, 0.0}, {1.5, 0.0}, {0.0, -1.5}, {0.0, 1.5}}) {
          const Hit near = castRay(pixelRay(lens, px + 0.5 + dx, py + 0.5 + dy));
          stable = stable && near.bitmap == centre.bitmap && cell(near) == cell(centre);
        }
        if (!stable) continue;
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(py) * kWidth + px) * 4];
        const std::uint32_t want =
            centre.bitmap < 0 ? 0 : cellColour(centre.bitmap, std::max(cell(centre), 0));
        const bool sameRed = std::abs(p[0] - static_cast<int>(want >> 16)) <= 3;
        const bool checkCell = cells || centre.bitmap < 0;  // black is black either way
        const bool same =
            sameRed && (!checkCell || (std::abs(p[1] - static_cast<int>(want >> 8 & 0xFF)) <= 3 &&
                                       std::abs(p[2] - static_cast<int>(want & 0xFF)) <= 3));
        ++tally.checked;
        ++tally.checkedByBitmap[centre.bitmap];
        if (!same) ++tally.wrong;
      }
    }
    return tally;
  }

  // At most one stable pixel in 1000 may differ (rounding at a facet's edge).
  void expectMatches(const Tally& tally, const char* view) {
    EXPECT_GT(tally.checked, 1000) << view;
    EXPECT_LE(tally.wrong * 1000, tally.checked)
        << view << ": " << tally.wrong << " of " << tally.checked << " pixels differ";
  }
};

TEST_F(SceneGeometryTest, EveryStablePixelShowsTheTexelTheGeometryPuts) {
  reelAngle = 100.0f;
  Tally whole = compare(fullView());
  expectMatches(whole, "the whole view");
  EXPECT_GT(whole.checkedByBitmap[0], 3000) << "reel";
  EXPECT_GT(whole.checkedByBitmap[-1], 50) << "background";
  // Each slide up close, where its stripes are many pixels wide.
  for (int slide = 1; slide <= kSlideCount; ++slide) {
    const double depth = slideDepth(reelAngle, slide);
    if (depth <= 1 || depth >= 30) continue;
    Tally close = compare(lensOn({-1, 0, depth + 11}, 3.0), 8);
    expectMatches(close, "a slide up close");
    EXPECT_GT(close.checkedByBitmap[slide], 20) << "slide " << slide << " at " << depth;
  }
}

TEST_F(SceneGeometryTest, TheRimsFacetsAndTheRailsShowUpClose) {
  reelAngle = 100.0f;
  // The reel's open end, radius 2 at z 44, where its 16 facets are corners.
  for (const double a : {125.0, 150.0, 210.0, 235.0}) {
    const double r = a * kPi / 180.0;
    // Seen edge-on there, the wall's stripes are too narrow to tell: only
    // which of reel and background a pixel shows is compared.
    Tally rim = compare(lensOn({2 * std::cos(r), 2 * std::sin(r), 44}, 0.25), 6, false);
    expectMatches(rim, "the rim");
    EXPECT_GT(rim.checkedByBitmap[0], 1000) << "the wall at the rim";
  }
  // Both rails, far down the reel where they are thin.
  for (const double y : {0.6, -0.6}) {
    const Tally rail = compare(lensOn({-1.05, y, 20}, 0.4), 6);
    expectMatches(rail, "a rail");
  }
}

TEST_F(SceneGeometryTest, APickSelectsWhatLiesTwentySevenPixelsBelowTheClick) {
  reelAngle = 100.0f;
  const Lens view = fullView();
  auto covers = [&](int slide, double px, double py) {
    Hit hit;
    meetSlide(cameraInScene(), fromEyeDirection(pixelRay(view, px, py)), slide, hit);
    return hit.bitmap == slide;
  };
  int tried = 0, triedBeyond = 0;
  for (int slide = 1; slide <= kSlideCount; ++slide) {
    const Vec e = toEye({-1, 0, slideDepth(reelAngle, slide) + 11});
    const double px = (e.x / -e.z - view.left) / (view.right - view.left) * kWidth;
    const double py = (e.y / -e.z - view.bottom) / (view.top - view.bottom) * kHeight;
    // Only a slide that lies under the pick region but not at the click tells.
    if (!covers(slide, px, py) || covers(slide, px, py + 27)) continue;
    // Client y runs down from the top; the pick region is 27 pixels lower.
    const auto names =
        pickedNames(static_cast<std::uint16_t>(px), static_cast<std::uint16_t>(kHeight - py - 27));
    EXPECT_NE(std::find(names.begin(), names.end(), slide), names.end()) << "slide " << slide;
    // Three pixels beyond the slide's right edge the one-pixel region misses
    // it; a region a few pixels wide would still take it in.
    double edge = px;
    while (covers(slide, edge + 1, py) && edge < kWidth) edge += 1;
    const double beyond = edge + 3;
    if (beyond < kWidth && !covers(slide, beyond, py)) {
      const auto outside = pickedNames(static_cast<std::uint16_t>(beyond),
                                       static_cast<std::uint16_t>(kHeight - py - 27));
      EXPECT_EQ(std::find(outside.begin(), outside.end(), slide), outside.end())
          << "slide " << slide << " picked 3 pixels beyond its edge";
      ++triedBeyond;
    }
    ++tried;
  }
  EXPECT_GE(tried, 2);
  EXPECT_GE(triedBeyond, 2);
}

}  // namespace
}  // namespace kb::test
