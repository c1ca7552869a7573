// Outlines and the rasteriser: 4 x 4 samples a pixel, a shape's fill and then its pen laid over
// what is already there ("source over"), in premultiplied colour until the end.
#include "desktop/vector_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace rsf::desktop {
namespace {

constexpr int kSamplesPerSide = 4;
constexpr int kCurveSegments = 64;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

double Mix(double a, double b, double t) { return a + (b - a) * t; }

Colour Between(const std::vector<Paint::Stop>& stops, double at) {
  if (stops.empty()) return {};
  at = std::clamp(at, 0.0, 1.0);
  if (at <= stops.front().at) return stops.front().colour;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    const Paint::Stop& before = stops[i - 1];
    const Paint::Stop& after = stops[i];
    if (at > after.at) continue;
    const double t = after.at > before.at ? (at - before.at) / (after.at - before.at) : 1.0;
    auto channel = [t](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(std::lround(Mix(a, b, t))); };
    return {channel(before.colour.red, after.colour.red), channel(before.colour.green, after.colour.green),
            channel(before.colour.blue, after.colour.blue), channel(before.colour.alpha, after.colour.alpha)};
  }
  return stops.back().colour;
}

bool UnderSegment(PointF a, PointF b, PointF point, double half_width, LineCap start_cap, LineCap end_cap) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) {
    return start_cap == LineCap::kRound && std::hypot(point.x - a.x, point.y - a.y) <= half_width;
  }
  const double along = ((point.x - a.x) * dx + (point.y - a.y) * dy) / length;
  const double across = std::abs((point.x - a.x) * dy - (point.y - a.y) * dx) / length;
  auto beyond_end = [&](double past, LineCap cap, PointF end) {
    switch (cap) {
      case LineCap::kFlat:
        return false;
      case LineCap::kSquare:
        return past <= half_width && across <= half_width;
      case LineCap::kRound:
        return std::hypot(point.x - end.x, point.y - end.y) <= half_width;
    }
    return false;
  };
  if (along < 0) return beyond_end(-along, start_cap, a);
  if (along > length) return beyond_end(along - length, end_cap, b);
  return across <= half_width;
}

// Premultiplied colour in 0 .. 1.
struct Premultiplied {
  double red = 0, green = 0, blue = 0, alpha = 0;
};

void LayOver(Premultiplied& under, Colour colour, double coverage) {
  const double alpha = colour.alpha / 255.0 * coverage;
  if (alpha <= 0) return;
  under.red = colour.red / 255.0 * alpha + under.red * (1 - alpha);
  under.green = colour.green / 255.0 * alpha + under.green * (1 - alpha);
  under.blue = colour.blue / 255.0 * alpha + under.blue * (1 - alpha);
  under.alpha = alpha + under.alpha * (1 - alpha);
}

// The samples a shape covers, over the device pixels of its bounds: one byte per sample, 1
// where the fill covers it, 2 where the pen does.
class SampleMask {
 public:
  SampleMask(int left, int top, int right, int bottom, double scale)
      : left_(left), top_(top), columns_((right - left) * kSamplesPerSide), rows_((bottom - top) * kSamplesPerSide),
        scale_(scale), samples_(static_cast<std::size_t>(columns_) * rows_) {}

  // A sample's centre in picture units.
  PointF Centre(int column, int row) const {
    return {(left_ + (column + 0.5) / kSamplesPerSide) / scale_, (top_ + (row + 0.5) / kSamplesPerSide) / scale_};
  }
  int Column(double x) const { return static_cast<int>(std::floor((x * scale_ - left_) * kSamplesPerSide)); }
  int Row(double y) const { return static_cast<int>(std::floor((y * scale_ - top_) * kSamplesPerSide)); }

  // Even-odd: each row's crossings of the outline bound its covered spans.
  void Fill(const std::vector<PointF>& polygon) {
    std::vector<double> crossings;
    for (int row = 0; row < rows_; ++row) {
      const double y = Centre(0, row).y;
      crossings.clear();
      for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const PointF& a = polygon[i];
        const PointF& b = polygon[j];
        if ((a.y > y) != (b.y > y)) crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        // Samples whose centres lie in [from, to).
        const int first = std::max(0, static_cast<int>(std::ceil((crossings[i] * scale_ - left_) * kSamplesPerSide - 0.5)));
        const int last = std::min(columns_, static_cast<int>(std::ceil((crossings[i + 1] * scale_ - left_) * kSamplesPerSide - 0.5)));
        for (int column = first; column < last; ++column) samples_[Index(column, row)] |= 1;
      }
    }
  }

  void Stroke(const Shape& shape) {
    const std::vector<PointF>& p = shape.points;
    const double half = shape.pen.width / 2;
    const std::size_t segments = shape.closed ? p.size() : std::max<std::size_t>(p.size(), 1) - 1;
    for (std::size_t i = 0; i < std::max<std::size_t>(segments, 1); ++i) {
      const PointF a = p[i];
      const PointF b = p[segments == 0 ? i : (i + 1) % p.size()];
      const bool first = !shape.closed && i == 0;
      const bool last = !shape.closed && i + 1 >= segments;
      const LineCap start_cap = first ? shape.pen.cap : LineCap::kRound;
      const LineCap end_cap = last ? shape.pen.cap : LineCap::kRound;
      const int column0 = std::max(0, Column(std::min(a.x, b.x) - half));
      const int column1 = std::min(columns_ - 1, Column(std::max(a.x, b.x) + half));
      const int row0 = std::max(0, Row(std::min(a.y, b.y) - half));
      const int row1 = std::min(rows_ - 1, Row(std::max(a.y, b.y) + half));
      for (int row = row0; row <= row1; ++row)
        for (int column = column0; column <= column1; ++column)
          if (UnderSegment(a, b, Centre(column, row), half, start_cap, end_cap)) samples_[Index(column, row)] |= 2;
    }
  }

  // How many of the pixel's samples carry `bit`.
  int Count(int x, int y, std::uint8_t bit) const {
    int count = 0;
    for (int row = (y - top_) * kSamplesPerSide, rows = row + kSamplesPerSide; row < rows; ++row)
      for (int column = (x - left_) * kSamplesPerSide, end = column + kSamplesPerSide; column < end; ++column)
        count += (samples_[Index(column, row)] & bit) != 0;
    return count;
  }

 private:
  std::size_t Index(int column, int row) const { return static_cast<std::size_t>(row) * columns_ + column; }

  int left_, top_, columns_, rows_;
  double scale_;
  std::vector<std::uint8_t> samples_;
};

void DrawShape(const Shape& shape, double scale, int width, int height, std::vector<Premultiplied>& canvas) {
  if (shape.points.empty()) return;
  const bool filled = shape.closed && shape.fill.kind != Paint::Kind::kNone && shape.points.size() >= 3;
  const bool stroked = shape.pen.width > 0;
  if (!filled && !stroked) return;
  double left = shape.points[0].x, right = left, top = shape.points[0].y, bottom = top;
  for (const PointF& point : shape.points) {
    left = std::min(left, point.x);
    right = std::max(right, point.x);
    top = std::min(top, point.y);
    bottom = std::max(bottom, point.y);
  }
  const double margin = stroked ? shape.pen.width : 0.0;
  const int x0 = std::max(0, static_cast<int>(std::floor((left - margin) * scale)));
  const int x1 = std::min(width, static_cast<int>(std::ceil((right + margin) * scale)) + 1);
  const int y0 = std::max(0, static_cast<int>(std::floor((top - margin) * scale)));
  const int y1 = std::min(height, static_cast<int>(std::ceil((bottom + margin) * scale)) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  SampleMask mask(x0, y0, x1, y1, scale);
  if (filled) mask.Fill(shape.points);
  if (stroked) mask.Stroke(shape);
  constexpr double kSamples = kSamplesPerSide * kSamplesPerSide;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const int in_fill = filled ? mask.Count(x, y, 1) : 0;
      const int under_pen = stroked ? mask.Count(x, y, 2) : 0;
      if (in_fill == 0 && under_pen == 0) continue;
      Premultiplied& pixel = canvas[static_cast<std::size_t>(y) * width + x];
      if (in_fill > 0) LayOver(pixel, shape.fill.At({(x + 0.5) / scale, (y + 0.5) / scale}), in_fill / kSamples);
      if (under_pen > 0) LayOver(pixel, shape.pen.colour, under_pen / kSamples);
    }
  }
}

}  // namespace

Paint Paint::Solid(Colour colour) {
  Paint paint;
  paint.kind = Kind::kSolid;
  paint.colour = colour;
  return paint;
}

Paint Paint::Linear(PointF from, PointF to, std::vector<Stop> stops) {
  Paint paint;
  paint.kind = Kind::kLinear;
  paint.from = from;
  paint.to = to;
  paint.stops = std::move(stops);
  return paint;
}

Paint Paint::Radial(PointF centre, double radius, std::vector<Stop> stops) {
  Paint paint;
  paint.kind = Kind::kRadial;
  paint.centre = centre;
  paint.radius = radius;
  paint.stops = std::move(stops);
  return paint;
}

Colour Paint::At(PointF point) const {
  switch (kind) {
    case Kind::kNone:
      return {0, 0, 0, 0};
    case Kind::kSolid:
      return colour;
    case Kind::kLinear: {
      const double dx = to.x - from.x, dy = to.y - from.y;
      const double squared = dx * dx + dy * dy;
      const double at = squared > 0 ? ((point.x - from.x) * dx + (point.y - from.y) * dy) / squared : 0.0;
      return Between(stops, at);
    }
    case Kind::kRadial:
      return Between(stops, radius > 0 ? std::hypot(point.x - centre.x, point.y - centre.y) / radius : 0.0);
  }
  return {};
}

std::vector<PointF> RectangleOutline(const RectF& r) {
  return {{r.left, r.top}, {r.left + r.width, r.top}, {r.left + r.width, r.top + r.height}, {r.left, r.top + r.height}};
}

std::vector<PointF> RoundedRectangleOutline(const RectF& r, double radius) {
  radius = std::min({radius, r.width / 2, r.height / 2});
  std::vector<PointF> points;
  // Each corner a quarter circle, going round clockwise on the screen from the top right.
  const std::array<PointF, 4> centres{PointF{r.left + r.width - radius, r.top + radius},
                                      PointF{r.left + r.width - radius, r.top + r.height - radius},
                                      PointF{r.left + radius, r.top + r.height - radius},
                                      PointF{r.left + radius, r.top + radius}};
  constexpr int kCornerSegments = kCurveSegments / 4;
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= kCornerSegments; ++i) {
      const double angle = Radians(-90.0 + 90.0 * corner + 90.0 * i / kCornerSegments);
      points.push_back({centres[corner].x + radius * std::cos(angle), centres[corner].y + radius * std::sin(angle)});
    }
  }
  return points;
}

std::vector<PointF> EllipseOutline(const RectF& bounds) {
  std::vector<PointF> points = ArcOutline(bounds, 0, 360);
  points.pop_back();  // the last point is the first
  return points;
}

std::vector<PointF> ArcOutline(const RectF& b, double start_degrees, double span_degrees) {
  const int segments = std::max(2, static_cast<int>(std::ceil(kCurveSegments * std::abs(span_degrees) / 360.0)));
  const double cx = b.left + b.width / 2, cy = b.top + b.height / 2;
  std::vector<PointF> points;
  for (int i = 0; i <= segments; ++i) {
    const double angle = Radians(start_degrees + span_degrees * i / segments);
    points.push_back({cx + b.width / 2 * std::cos(angle), cy - b.height / 2 * std::sin(angle)});
  }
  return points;
}

std::vector<PointF> Transformed(std::vector<PointF> points, PointF offset, double degrees) {
  const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
  for (PointF& point : points) point = {offset.x + point.x * c - point.y * s, offset.y + point.x * s + point.y * c};
  return points;
}

Colour RgbaImage::At(int x, int y) const {
  const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

RgbaImage Rasterize(const VectorPicture& picture, double scale) {
  scale = std::max(scale, 0.25);
  RgbaImage image;
  image.width = static_cast<int>(std::ceil(picture.width * scale));
  image.height = static_cast<int>(std::ceil(picture.height * scale));
  std::vector<Premultiplied> canvas(static_cast<std::size_t>(image.width) * image.height);
  for (const Shape& shape : picture.shapes) DrawShape(shape, scale, image.width, image.height, canvas);
  image.pixels.reserve(canvas.size() * 4);
  for (const Premultiplied& pixel : canvas) {
    auto straight = [&pixel](double premultiplied) {
      return static_cast<std::uint8_t>(std::lround(pixel.alpha > 0 ? std::clamp(premultiplied / pixel.alpha, 0.0, 1.0) * 255 : 0.0));
    };
    image.pixels.insert(image.pixels.end(), {straight(pixel.red), straight(pixel.green), straight(pixel.blue),
                                             static_cast<std::uint8_t>(std::lround(pixel.alpha * 255))});
  }
  return image;
}

}  // namespace rsf::desktop
