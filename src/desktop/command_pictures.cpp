// The command pictures and the logo as shapes.
#include "desktop/command_pictures.h"

#include <utility>

namespace rsf::desktop {
namespace {

constexpr Colour kNone{0, 0, 0, 0};
constexpr Colour kOutline{40, 40, 40};
constexpr Colour kFolder{236, 190, 60};
constexpr Colour kFolderDark{190, 140, 30};
constexpr Colour kPaper{255, 255, 255};
constexpr Colour kBlue{30, 80, 180};
constexpr Colour kDarkBlue{23, 61, 138};
constexpr Colour kGreen{30, 150, 50};
constexpr Colour kDarkGreen{21, 107, 36};
constexpr Colour kRed{200, 40, 40};
constexpr Colour kWhite{255, 255, 255};

Shape Filled(std::vector<PointF> points, Colour fill, Colour pen = kNone, double pen_width = 0) {
  return {std::move(points), true, fill.alpha > 0 ? Paint::Solid(fill) : Paint::None(), Pen{pen, pen_width}};
}

Shape Painted(std::vector<PointF> points, Paint fill, Colour pen, double pen_width) {
  return {std::move(points), true, std::move(fill), Pen{pen, pen_width}};
}

Shape Line(std::vector<PointF> points, Colour pen, double width, LineCap cap = LineCap::kSquare) {
  return {std::move(points), false, Paint::None(), Pen{pen, width, cap}};
}

void Folder(VectorPicture& picture) {
  picture.shapes.push_back(Filled({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}},
                                  kFolder, kFolderDark, 1));
}

void Box(VectorPicture& picture, RectF box, bool ticked) {
  picture.shapes.push_back(Filled(RectangleOutline(box), kPaper, kOutline, 1));
  if (ticked) {
    const double right = box.left + box.width, bottom = box.top + box.height;
    const double middle_x = box.left + box.width / 2, middle_y = box.top + box.height / 2;
    picture.shapes.push_back(
        Line({{box.left + 1.5, middle_y}, {middle_x - 0.5, bottom - 1.5}, {right - 1.0, box.top + 1.0}}, kGreen, 1.8,
             LineCap::kRound));
  }
}

void TwoLines(VectorPicture& picture, double top) {
  picture.shapes.push_back(Line({{8.5, top + 3.5}, {14.5, top + 3.5}}, kOutline, 1));
}

}  // namespace

VectorPicture CommandPictureDrawing(int image) {
  VectorPicture picture;
  std::vector<Shape>& shapes = picture.shapes;
  switch (image) {
    case kPictureOpenSource:
      Folder(picture);
      shapes.push_back(Filled({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}, {250, 220, 110}, kFolderDark, 1));
      break;
    case kPictureDocument:
      shapes.push_back(Filled({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}, kPaper, kOutline, 1));
      for (double y : {6.5, 9.0, 11.5}) shapes.push_back(Line({{5.5, y}, {11.5, y}}, kOutline, 1));
      break;
    case kPictureAbout:
      shapes.push_back(Filled(EllipseOutline({1.5, 1.5, 13, 13}), kBlue, kDarkBlue, 1));
      shapes.push_back(Filled(EllipseOutline({7, 3.5, 2, 2}), kWhite));
      shapes.push_back(Filled(RectangleOutline({7, 6.5, 2, 6}), kWhite));
      break;
    case kPictureSelectAll:
    case kPictureUnSelectAll: {
      const bool ticked = image == kPictureSelectAll;
      Box(picture, {1.5, 1.5, 6, 6}, ticked);
      Box(picture, {1.5, 8.5, 6, 6}, ticked);
      TwoLines(picture, 1);
      TwoLines(picture, 8);
      break;
    }
    case kPictureStartAnalysis:
      shapes.push_back(Filled(EllipseOutline({1.5, 1.5, 9, 9}), {200, 230, 255}, kOutline, 1));
      shapes.push_back(Line({{9.5, 9.5}, {14, 14}}, {120, 70, 20}, 2.6, LineCap::kRound));
      shapes.push_back(Line(ArcOutline({3.5, 3.5, 5, 5}, 90, 90), kWhite, 1.2));
      break;
    case kPictureCdMode:
      shapes.push_back(Painted(EllipseOutline({0.5, 0.5, 15, 15}),
                               Paint::Radial({6, 5}, 9, {{0, {250, 250, 255}}, {0.5, {190, 210, 240}}, {1, {200, 170, 230}}}),
                               {110, 110, 130}, 1));
      shapes.push_back(Filled(EllipseOutline({5.5, 5.5, 5, 5}), kWhite, {110, 110, 130}, 1));
      shapes.push_back(Filled(EllipseOutline({7, 7, 2, 2}), {180, 180, 190}, {110, 110, 130}, 1));
      break;
    case kPictureSelectTarget:
      Folder(picture);
      shapes.push_back(Line({{8, 7.5}, {8, 12.5}}, kRed, 2, LineCap::kRound));
      shapes.push_back(Line({{5.5, 10}, {8, 12.5}, {10.5, 10}}, kRed, 2, LineCap::kRound));
      break;
    case kPictureSaveClips:
      shapes.push_back(Filled({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}, kBlue, {20, 40, 90}, 1));
      shapes.push_back(Filled(RectangleOutline({3.5, 1.5, 9, 5}), kPaper, {20, 40, 90}, 1));
      shapes.push_back(Filled(RectangleOutline({4.5, 9.5, 7, 5}), {190, 190, 190}, {20, 40, 90}, 1));
      shapes.push_back(Filled(RectangleOutline({9.5, 2.5, 2, 3}), kBlue));
      break;
    case kPictureHelp:
      shapes.push_back(Filled(EllipseOutline({1.5, 1.5, 13, 13}), {255, 250, 200}, {20, 100, 40}, 1));
      picture.texts.push_back({"?", {0, 1, 16, 15}, 11, true, "", kBlue, PictureText::Align::kCentre});
      break;
    case kPicturePlay:
      shapes.push_back(Filled({{3.5, 1.5}, {14.5, 8}, {3.5, 14.5}}, kGreen, kDarkGreen, 1));
      break;
    default:
      break;
  }
  return picture;
}

VectorPicture AboutLogoDrawing() {
  VectorPicture logo;
  logo.width = kLogoWidth;
  logo.height = kLogoHeight;
  std::vector<Shape>& shapes = logo.shapes;

  // The film strip, turned a little: its frames hold three skies.
  const PointF strip_at{8, 22};
  constexpr double kStripTurn = -12;
  auto on_strip = [&](std::vector<PointF> points) { return Transformed(std::move(points), strip_at, kStripTurn); };
  shapes.push_back(Filled(on_strip(RoundedRectangleOutline({0, 0, 96, 40}, 3)), {45, 45, 55}, {20, 20, 30}, 1));
  for (int i = 0; i < 9; ++i) {
    shapes.push_back(Filled(on_strip(RectangleOutline({4 + i * 10.5, 3, 5, 4})), {235, 235, 225}));
    shapes.push_back(Filled(on_strip(RectangleOutline({4 + i * 10.5, 33, 5, 4})), {235, 235, 225}));
  }
  constexpr Colour kSkies[][2] = {{{158, 215, 255}, {90, 160, 220}},
                                  {{255, 212, 134}, {230, 170, 60}},
                                  {{171, 255, 159}, {120, 190, 110}}};
  for (int i = 0; i < 3; ++i) {
    const std::vector<PointF> gradient_line = on_strip({{0, 10}, {0, 30}});
    shapes.push_back(Painted(on_strip(RectangleOutline({5 + i * 30.5, 10, 26, 20})),
                             Paint::Linear(gradient_line[0], gradient_line[1], {{0, kSkies[i][0]}, {1, kSkies[i][1]}}),
                             kNone, 0));
  }

  // The magnifying glass: handle, glass with its rim, and a gleam.
  shapes.push_back(Line({{78, 78}, {104, 104}}, {110, 60, 20}, 9, LineCap::kRound));
  shapes.push_back(Painted(EllipseOutline({31, 29, 54, 54}),
                           Paint::Radial({52, 50}, 30, {{0, {255, 255, 255, 90}}, {1, {170, 210, 250, 150}}}),
                           {60, 60, 70}, 5));
  shapes.push_back(Line(ArcOutline({40, 38, 36, 36}, 100, 70), {255, 255, 255, 200}, 3, LineCap::kRound));

  logo.texts.push_back({"RSF", {0, 92, 80, 23}, 20, true, "DejaVu Sans", {24, 48, 66}, PictureText::Align::kLeftMiddle});
  return logo;
}

}  // namespace rsf::desktop
