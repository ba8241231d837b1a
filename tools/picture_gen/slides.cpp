#include "tools/picture_gen/slides.h"

#include <cmath>

#include "tools/picture_gen/canvas.h"

namespace kb::gen {
namespace {

constexpr int kSide = 256;

template <typename Shader>
RgbImage shade(int width, int height, Shader shader) {
  RgbImage image = makeImage(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) setPixel(image, x, y, shader(x + 0.5, y + 0.5));
  return image;
}

// Soft-edged disc coverage at distance `d` from the centre.
double discCoverage(double d, double radius) {
  return 1.0 - smoothstep(radius - 1, radius + 1, d);
}

double distance(double x0, double y0, double x1, double y1) {
  return std::sqrt((x0 - x1) * (x0 - x1) + (y0 - y1) * (y0 - y1));
}

// 1: sunset over the sea, orange.
RgbImage sunset() {
  const double horizon = 160;
  return shade(kSide, kSide, [&](double x, double y) {
    const double sun = distance(x, y, 128, 150);
    if (y < horizon) {
      const double t = y / horizon;
      Rgb sky = t < 0.5 ? mix(hex(0xB0306A), hex(0xF07A2A), t * 2)
                        : mix(hex(0xF07A2A), hex(0xFFC24A), (t - 0.5) * 2);
      sky = mix(sky, hex(0xFFE9A0), 0.6 * (1 - smoothstep(30, 90, sun)));
      return mix(sky, hex(0xFFF6D8), discCoverage(sun, 34));
    }
    const double depth = (y - horizon) / (kSide - horizon);
    Rgb sea = mix(hex(0xC0502A), hex(0x5A1E3C), depth);
    const double ripple = sinTurns(y * y / 90.0 + sinTurns(x / 40.0) * 0.3);
    const double glitter =
        (1 - smoothstep(14, 40 + 50 * depth, std::fabs(x - 128))) * smoothstep(0.3, 0.9, ripple);
    return mix(sea, hex(0xFFD27A), glitter * 0.85);
  });
}

// 2: plasma, magenta and purple.
RgbImage plasma() {
  return shade(kSide, kSide, [](double x, double y) {
    const double v = sinTurns(x / 97) + sinTurns(y / 61) + sinTurns((x + y) / 131) +
                     sinTurns(distance(x, y, 90, 170) / 53);
    const double t = frac(v / 4 + 0.5);
    const double wave = 0.5 + 0.5 * sinTurns(t * 2);
    return mix(mix(hex(0x3A0A5E), hex(0xC21E9A), wave), hex(0xFF8AD8),
               smoothstep(0.75, 1.0, wave) * 0.7);
  });
}

// 3: rolling green hills under a blue sky.
RgbImage hills() {
  return shade(kSide, kSide, [](double x, double y) {
    Rgb colour = mix(hex(0x4A8FE0), hex(0xBFE3FF), y / 110);
    colour = mix(colour, hex(0xFFFFF0), discCoverage(distance(x, y, 196, 40), 16));
    const double ridges[3] = {
        96 + 14 * sinTurns(x / 230 + 0.1) + 6 * sinTurns(x / 71),
        138 + 18 * sinTurns(x / 190 + 0.55) + 5 * sinTurns(x / 53 + 0.3),
        184 + 20 * sinTurns(x / 260 + 0.8) + 4 * sinTurns(x / 37),
    };
    const Rgb greens[3] = {hex(0x5E9E58), hex(0x3E9A2E), hex(0x2C7A1E)};
    for (int i = 0; i < 3; ++i) {
      if (y < ridges[i]) continue;
      const double furrow = 0.5 + 0.5 * sinTurns((y - ridges[i]) / 9 + x / 300);
      colour = mix(greens[i], hex(0x9ED85A), 0.25 * furrow + 0.15 * (1 - (y - ridges[i]) / 80));
    }
    return colour;
  });
}

// 4: golden mandala.
RgbImage mandala() {
  return shade(kSide, kSide, [](double x, double y) {
    const double r = distance(x, y, 128, 128) / 128;
    const double a = angleTurns(x - 128, y - 128);
    const double petals = std::fabs(cosTurns(a * 6));
    const double rings = 0.5 + 0.5 * cosTurns(r * 7 + petals * 0.6);
    const double lace = 0.5 + 0.5 * cosTurns(a * 24 + r * 3);
    Rgb colour = mix(hex(0xE8B414), hex(0xFFE76A), rings);
    colour = mix(colour, hex(0xB0440C), smoothstep(0.55, 0.95, lace * (1 - rings)) * 0.8);
    colour = mix(colour, hex(0xFFF8D0), discCoverage(r * 128, 10 + 6 * petals));
    return mix(colour, hex(0x7A2A06), smoothstep(0.92, 1.15, r));
  });
}

// 5: teal waves with foam crests.
RgbImage waves() {
  return shade(kSide, kSide, [](double x, double y) {
    const double phase = y / 28 + 0.35 * sinTurns(x / 120 + y / 400) + 0.1 * sinTurns(x / 31);
    const double band = frac(phase);
    Rgb colour = mix(hex(0x0B6E7A), hex(0x2CC8C8), band);
    colour = mix(colour, hex(0xE8FFFC), smoothstep(0.86, 0.97, band));
    return mix(colour, hex(0x064A5A), y / 512);
  });
}

// 6: night sky, deep blue with stars and a crescent moon.
RgbImage nightSky() {
  return shade(kSide, kSide, [](double x, double y) {
    Rgb colour = mix(hex(0x050A2E), hex(0x1A2E7A), y / kSide);
    const int cx = static_cast<int>(x), cy = static_cast<int>(y);
    const double star = hash01(cx, cy, 6);
    if (star > 0.9965) colour = mix(colour, hex(0xFFFFFF), 0.5 + (star - 0.9965) * 140);
    const double moon = discCoverage(distance(x, y, 70, 70), 30);
    const double bite = discCoverage(distance(x, y, 84, 60), 27);
    colour = mix(colour, hex(0xFFF4C8), moon * (1 - bite));
    const double skyline =
        208 + 22 * (hash01(cx / 18, 0, 61) > 0.5 ? 1 : -0.4) + 10 * hash01(cx / 18, 1, 62);
    if (y > skyline) {
      const bool window = hash01(cx / 5, cy / 7, 63) > 0.8 && cx % 5 < 3 && cy % 7 < 4;
      colour = window ? hex(0xFFD35A) : hex(0x03051A);
    }
    return colour;
  });
}

// 7: crimson spiral.
RgbImage spiral() {
  return shade(kSide, kSide, [](double x, double y) {
    const double r = distance(x, y, 128, 128);
    const double a = angleTurns(x - 128, y - 128);
    const double arms = frac(r / 36 - a * 3);
    Rgb colour = mix(hex(0x8A0A1E), hex(0xE8283A), smoothstep(0.0, 0.5, arms));
    colour = mix(colour, hex(0xFF9A8A),
                 smoothstep(0.45, 0.55, arms) * (1 - smoothstep(0.55, 0.7, arms)));
    return mix(colour, hex(0x3A0008), smoothstep(120, 190, r));
  });
}

// 8: lavender field running to the horizon, violet.
RgbImage lavender() {
  const double horizon = 92;
  return shade(kSide, kSide, [&](double x, double y) {
    if (y < horizon) {
      Rgb sky = mix(hex(0xB49AE0), hex(0xFFD6E8), y / horizon);
      return mix(sky, hex(0xFFF2D0), discCoverage(distance(x, y, 60, 72), 18));
    }
    const double depth = (y - horizon) / (kSide - horizon);  // 0 far .. 1 near
    const double row = (x - 128) / (depth * 256 + 2) * 7;
    const double ridge = std::fabs(frac(row) - 0.5) * 2;  // 0 between rows
    const Rgb bloom = mix(hex(0x8A4AD0), hex(0x5A1E9A),
                          hash01(static_cast<int>(x / 2), static_cast<int>(y / 2), 8) * 0.5);
    return mix(bloom, hex(0x3A5A1E), smoothstep(0.6, 0.95, ridge) * depth);
  });
}

// 9: snowy mountains under a pale sky, white and ice blue.
RgbImage snowPeaks() {
  return shade(kSide, kSide, [](double x, double y) {
    Rgb colour = mix(hex(0xC8DCF4), hex(0xF4F8FF), y / 140);
    const double peakA = 70 + std::fabs(x - 90) * 0.95 + 5 * sinTurns(x / 23);
    const double peakB = 110 + std::fabs(x - 200) * 0.8 + 4 * sinTurns(x / 17 + 0.2);
    const double peak = std::fmin(peakA, peakB);
    if (y > peak) {
      const bool leftFace = (peakA < peakB) ? x < 90 : x < 200;
      colour = leftFace ? hex(0xFFFFFF) : hex(0xB4C8E4);
      colour = mix(colour, hex(0x7A94BC), smoothstep(60, 150, y - peak) * 0.6);
    }
    if (y > 214 + 6 * sinTurns(x / 90))
      colour = mix(hex(0xE6EEF8), hex(0xFFFFFF),
                   hash01(static_cast<int>(x), static_cast<int>(y), 9) * 0.6);
    return colour;
  });
}

// The film strip frame colours: the slides' own dominant colours.
constexpr std::uint32_t kSlideTones[9] = {0xF07A2A, 0xC21E9A, 0x3E9A2E, 0xE8B414, 0x1CA8B0,
                                          0x1A2E7A, 0xC81E32, 0x8A4AD0, 0xD8E4F4};

}  // namespace

RgbImage paintReel() {
  // A film strip: sprocket holes along both edges, coloured frames between.
  constexpr int kWidth = 180, kHeight = 148, kEdge = 20, kFrames = 4;
  return shade(kWidth, kHeight, [](double x, double y) {
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (iy < kEdge || iy >= kHeight - kEdge) {
      const int holeY = iy < kEdge ? iy - 6 : iy - (kHeight - kEdge + 6);
      const bool hole = ix % 15 >= 4 && ix % 15 < 11 && holeY >= 0 && holeY < 8;
      return hole ? hex(0xF4EEDC) : hex(0x1A1614);
    }
    const int frame = ix * kFrames / kWidth;
    const double fx = x - frame * 45.0, fy = y - kEdge;
    if (fx < 3 || fx > 42 || fy < 3 || fy > kHeight - 2 * kEdge - 3) return hex(0x1A1614);
    const Rgb tone = hex(kSlideTones[(frame * 2 + 1) % 9]);
    const double glow = 1 - distance(fx, fy, 22, 54) / 70;
    return mix(mix(tone, hue(frame / 4.0 + fy / 300), 0.35), hex(0xFFFFFF), glow * 0.35);
  });
}

RgbImage paintSlide(int number) {
  switch (number) {
    case 1:
      return sunset();
    case 2:
      return plasma();
    case 3:
      return hills();
    case 4:
      return mandala();
    case 5:
      return waves();
    case 6:
      return nightSky();
    case 7:
      return spiral();
    case 8:
      return lavender();
    default:
      return snowPeaks();
  }
}

RgbImage paintPreview() {
  // The show in small: a turning reel on the left, slides flying out of it.
  constexpr int kWidth = 152, kHeight = 112;
  RgbImage image = shade(kWidth, kHeight, [](double x, double y) {
    Rgb colour = mix(hex(0x0A0A1E), hex(0x1E1446), y / kHeight);
    const double tube = std::fabs(y - 56) / (22 + x * 0.08);
    if (x > 8 && x < 60 && tube < 1) {
      const double band = frac(x / 13 + 0.2);
      const Rgb film = band < 0.15 ? hex(0x1A1614) : hex(kSlideTones[static_cast<int>(x / 13) % 9]);
      colour = mix(film, hex(0x000000), tube * tube * 0.7);
    }
    const double spread = (x - 60) * 0.35;
    if (x > 60 && (std::fabs(y - 56 - spread) < 0.8 || std::fabs(y - 56 + spread) < 0.8))
      colour = hex(0xB0B0C0);
    return colour;
  });
  for (int i = 0; i < 4; ++i) {
    const double scale = 8 + i * 5.0;
    const double cx = 72 + i * 20.0, cy = 56 - (i % 2 ? 1 : -1) * (4 + i * 4.0);
    const Rgb tone = hex(kSlideTones[i * 2]);
    for (int y = static_cast<int>(cy - scale); y <= static_cast<int>(cy + scale); ++y)
      for (int x = static_cast<int>(cx - scale); x <= static_cast<int>(cx + scale); ++x) {
        const bool border = std::fabs(x - cx) > scale - 1.5 || std::fabs(y - cy) > scale - 1.5;
        setPixel(image, x, y,
                 border ? hex(0xFFFFFF) : mix(tone, hex(0xFFFFFF), (cy + scale - y) / (6 * scale)));
      }
  }
  return image;
}

}  // namespace kb::gen
