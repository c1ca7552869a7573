// Pictures drawn in code as shapes (outlines with a fill and a pen) and a few texts, so that
// every front end shows the same pixels at any screen scale: the shapes are rasterised here, with
// antialiasing, into straight-alpha RGBA; each front end only draws the texts, with its own fonts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rsf::desktop {

struct Colour {
  std::uint8_t red = 0, green = 0, blue = 0, alpha = 255;
  friend bool operator==(const Colour&, const Colour&) = default;
};

struct PointF {
  double x = 0, y = 0;
};

struct RectF {
  double left = 0, top = 0, width = 0, height = 0;
};

// What fills a shape: nothing, one colour, or a gradient between two or more stops.
struct Paint {
  enum class Kind { kNone, kSolid, kLinear, kRadial };
  struct Stop {
    double at;  // 0 .. 1
    Colour colour;
  };
  Kind kind = Kind::kNone;
  Colour colour;            // kSolid
  PointF from, to;          // kLinear: from the first stop to the last
  PointF centre;            // kRadial: the first stop at the centre, the last at the radius
  double radius = 0;
  std::vector<Stop> stops;  // kLinear and kRadial, in order

  static Paint None() { return {}; }
  static Paint Solid(Colour colour);
  static Paint Linear(PointF from, PointF to, std::vector<Stop> stops);
  static Paint Radial(PointF centre, double radius, std::vector<Stop> stops);
  Colour At(PointF point) const;
};

enum class LineCap { kFlat, kSquare, kRound };

// A pen of width 0 draws nothing. Corners are drawn round.
struct Pen {
  Colour colour;
  double width = 0;
  LineCap cap = LineCap::kSquare;
};

// An outline, filled (when closed) and then drawn with its pen along the line.
struct Shape {
  std::vector<PointF> points;
  bool closed = true;
  Paint fill;
  Pen pen;
};

// A text the front end draws over the shapes, in the picture's coordinates.
struct PictureText {
  enum class Align { kCentre, kLeftMiddle };
  std::string text;  // UTF-8
  RectF box;
  double pixel_size = 12;
  bool bold = false;
  std::string family;  // empty: the system's usual font
  Colour colour;
  Align align = Align::kCentre;
};

struct VectorPicture {
  double width = 16, height = 16;
  std::vector<Shape> shapes;
  std::vector<PictureText> texts;
};

// Outlines. Ellipses and arcs are polygons fine enough for any scale the front ends use; angles
// are in degrees, counter-clockwise from three o'clock, as on a screen with y downwards.
std::vector<PointF> RectangleOutline(const RectF& rect);
std::vector<PointF> RoundedRectangleOutline(const RectF& rect, double radius);
std::vector<PointF> EllipseOutline(const RectF& bounds);
std::vector<PointF> ArcOutline(const RectF& bounds, double start_degrees, double span_degrees);

// Moves and turns an outline: rotated by `degrees` (clockwise on the screen for positive
// angles, as painters turn their coordinates) and then shifted by `offset`.
std::vector<PointF> Transformed(std::vector<PointF> points, PointF offset, double degrees);

// The picture's shapes at `scale` device pixels per picture unit (1.5 for a 24-pixel picture of a
// 16-unit grid), rows top down, each pixel
// red, green, blue, alpha (straight, not premultiplied). Texts are left to the caller.
struct RgbaImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4
  Colour At(int x, int y) const;
};
RgbaImage Rasterize(const VectorPicture& picture, double scale);

}  // namespace rsf::desktop
