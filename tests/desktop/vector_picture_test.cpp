// The rasteriser against shapes whose pixels are known, and the pictures every front end shows.
#include "desktop/vector_picture.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "desktop/command_pictures.h"

namespace rsf::desktop {
namespace {

constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};

VectorPicture OneShape(Shape shape, double size = 8) {
  VectorPicture picture;
  picture.width = picture.height = size;
  picture.shapes.push_back(std::move(shape));
  return picture;
}

int Alpha(const RgbaImage& image, int x, int y) { return image.At(x, y).alpha; }

TEST(Rasterizer, FillsWhatIsInsideAndBlendsHalfCoveredEdges) {
  // A square from 2 to 6 with its right edge halfway through pixel 6.
  const RgbaImage image =
      Rasterize(OneShape({{{2, 2}, {6.5, 2}, {6.5, 6}, {2, 6}}, true, Paint::Solid(kRed), Pen{}}), 1);
  ASSERT_EQ(image.width, 8);
  EXPECT_EQ(image.At(3, 3), kRed);
  EXPECT_EQ(Alpha(image, 1, 3), 0);
  EXPECT_EQ(Alpha(image, 6, 3), 128);
  EXPECT_EQ(image.At(6, 3).red, 255) << "straight colour, not premultiplied";
  EXPECT_EQ(Alpha(image, 3, 6), 0);
}

TEST(Rasterizer, ScalesAndLaysThePenOverTheFill) {
  // A 1-unit pen centred on the outline of a filled square, at two pixels a unit.
  const RgbaImage image =
      Rasterize(OneShape({RectangleOutline({2, 2, 4, 4}), true, Paint::Solid(kRed), Pen{kBlue, 1}}), 2);
  ASSERT_EQ(image.width, 16);
  EXPECT_EQ(image.At(3, 8), kBlue);   // on the left edge (x 1.5 .. 2.5 units)
  EXPECT_EQ(image.At(8, 8), kRed);    // inside
  EXPECT_EQ(Alpha(image, 2, 8), 0);   // outside the pen
}

TEST(Rasterizer, OpenLinesEndAsTheirCapsSay) {
  // A pen 2 wide from (2, 4) to (6, 4); pixel (6, 3) lies past the end, beside the line.
  struct Row {
    LineCap cap;
    int least, most;  // its alpha
  };
  for (const Row row : {Row{LineCap::kFlat, 0, 0}, Row{LineCap::kSquare, 255, 255}, Row{LineCap::kRound, 150, 254}}) {
    const RgbaImage image = Rasterize(OneShape({{{2, 4}, {6, 4}}, false, Paint::None(), Pen{kRed, 2, row.cap}}), 1);
    EXPECT_EQ(Alpha(image, 4, 3), 255);
    EXPECT_EQ(Alpha(image, 4, 2), 0);
    EXPECT_GE(Alpha(image, 6, 3), row.least) << static_cast<int>(row.cap);
    EXPECT_LE(Alpha(image, 6, 3), row.most) << static_cast<int>(row.cap);
  }
}

TEST(Rasterizer, GradientsRunBetweenTheirStops) {
  const Paint radial = Paint::Radial({0, 0}, 10, {{0, kRed}, {1, kBlue}});
  EXPECT_EQ(radial.At({0, 0}), kRed);
  EXPECT_EQ(radial.At({20, 0}), kBlue);
  EXPECT_EQ(radial.At({5, 0}).red, 128);
  const Paint linear = Paint::Linear({0, 0}, {0, 4}, {{0, kRed}, {0.5, kBlue}, {1, Colour{0, 255, 0}}});
  EXPECT_EQ(linear.At({7, 2}), kBlue);
  EXPECT_EQ(linear.At({7, 3}).green, 128);
  EXPECT_EQ(linear.At({7, -1}), kRed);
}

TEST(Rasterizer, TurnsOutlinesAsAPainterTurnsItsCoordinates) {
  const std::vector<PointF> turned = Transformed({{10, 0}}, {1, 2}, 90);
  EXPECT_NEAR(turned[0].x, 1, 1e-9);
  EXPECT_NEAR(turned[0].y, 12, 1e-9);  // clockwise on a screen whose y runs down
  const std::vector<PointF> arc = ArcOutline({0, 0, 10, 10}, 90, 90);
  EXPECT_NEAR(arc.front().y, 0, 1e-9);  // from twelve o'clock
  EXPECT_NEAR(arc.back().x, 0, 1e-9);   // to nine
}

// Outlines with too few points, a zero-width rectangle, shapes wholly outside the picture or
// over its edge: drawn as far as they can be, never outside the image.
TEST(Rasterizer, DegenerateAndStrayShapesStayInsideTheImage) {
  const Pen pen{kRed, 2, LineCap::kRound};
  const std::vector<Shape> shapes = {
      {{}, true, Paint::Solid(kRed), pen},
      {{{4, 4}}, false, Paint::None(), pen},  // a dot
      {{{1, 1}, {5, 1}}, true, Paint::Solid(kRed), Pen{}},
      {RectangleOutline({2, 2, 0, 3}), true, Paint::Solid(kRed), Pen{}},
      {RectangleOutline({-50, -50, 10, 10}), true, Paint::Solid(kRed), pen},
      {RectangleOutline({6, 6, 100, 100}), true, Paint::Solid(kBlue), pen},
  };
  VectorPicture picture;
  picture.width = picture.height = 8;
  picture.shapes = shapes;
  const RgbaImage image = Rasterize(picture, 1.5);
  ASSERT_EQ(image.width, 12);
  ASSERT_EQ(image.pixels.size(), 12u * 12u * 4u);
  EXPECT_GT(Alpha(image, 6, 6), 200) << "the dot";
  EXPECT_EQ(Alpha(image, 3, 4), 0) << "a rectangle of no width covers nothing";
  EXPECT_EQ(image.At(11, 11), kBlue);
}

// Every picture draws something, inside its grid with a clear border pixel somewhere, and no two
// pictures are alike; a grid one unit larger on every side shows that nothing was cut off.
TEST(CommandPictures, EachIsDistinctAndStaysInsideItsGrid) {
  std::vector<VectorPicture> pictures;
  for (int picture = 0; picture < kCommandPictureCount; ++picture) pictures.push_back(CommandPictureDrawing(picture));
  pictures.push_back(AboutLogoDrawing());
  std::set<std::vector<std::uint8_t>> seen;
  for (std::size_t index = 0; index < pictures.size(); ++index) {
    VectorPicture picture = pictures[index];
    SCOPED_TRACE(index);
    const RgbaImage image = Rasterize(picture, 2);
    EXPECT_TRUE(seen.insert(image.pixels).second) << "same pixels as an earlier picture";
    int drawn = 0;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) drawn += image.pixels[i] > 0;
    EXPECT_GT(drawn, image.width * image.height / 20);

    VectorPicture widened = picture;
    widened.width += 2;
    widened.height += 2;
    for (Shape& shape : widened.shapes) shape.points = Transformed(shape.points, {1, 1}, 0);
    const RgbaImage wide = Rasterize(widened, 2);
    for (int y = 0; y < wide.height; ++y) {
      for (int x = 0; x < wide.width; ++x) {
        const bool border = x < 2 || y < 2 || x >= wide.width - 2 || y >= wide.height - 2;
        if (border) {
          ASSERT_EQ(Alpha(wide, x, y), 0) << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace rsf::desktop
