// Drawing the demo's product pictures into bitmaps.
#include "app/DemoPictures.h"

#include <cstdlib>

#include "platform/Bitmap.h"
#include "platform/Streams.h"

namespace kv::app {

namespace {

// Eighteen colours that tell apart on a white ground, then six more.
const uint32_t PictureColors[] = {
    RGB(220, 20, 60),  RGB(255, 140, 0),  RGB(218, 165, 32), RGB(34, 139, 34),  RGB(0, 128, 128),   RGB(30, 144, 255),
    RGB(65, 105, 225), RGB(138, 43, 226), RGB(199, 21, 133), RGB(139, 69, 19),  RGB(112, 128, 144), RGB(0, 0, 128),
    RGB(128, 0, 0),    RGB(85, 107, 47),  RGB(255, 99, 71),  RGB(72, 61, 139),  RGB(0, 139, 139),   RGB(184, 134, 11),
    RGB(46, 139, 87),  RGB(205, 92, 92),  RGB(106, 90, 205), RGB(210, 105, 30), RGB(47, 79, 79),    RGB(128, 128, 0)};
constexpr int ColorCount = sizeof PictureColors / sizeof PictureColors[0];
constexpr int ShapeCount = 6;

// Whether pixel (AX, AY) of a picture lies in the shape; the shape fills the
// square from 4 to Size - 5 in both directions.
bool InShape(TDemoShape AShape, int AX, int AY) {
  const int lo = 4, hi = DemoPictureSize - 5, mid2 = lo + hi;  // twice the centre
  const int dx2 = std::abs(2 * AX - mid2), dy2 = std::abs(2 * AY - mid2), r2 = hi - lo;
  switch (AShape) {
    case TDemoShape::Disc:
      return dx2 * dx2 + dy2 * dy2 <= r2 * r2;
    case TDemoShape::Square:
      return AX >= lo + 2 && AX <= hi - 2 && AY >= lo + 2 && AY <= hi - 2;
    case TDemoShape::Triangle:  // apex at the top, base at the bottom
      return AY >= lo && AY <= hi && dx2 <= AY - lo;
    case TDemoShape::Diamond:
      return dx2 + dy2 <= r2;
    case TDemoShape::Ring: {
      int d = dx2 * dx2 + dy2 * dy2;
      return d <= r2 * r2 && d >= (r2 / 2) * (r2 / 2);
    }
    case TDemoShape::Cross:
      return AX >= lo && AX <= hi && AY >= lo && AY <= hi && (dx2 <= 8 || dy2 <= 8);
  }
  return false;
}

}  // namespace

uint32_t DemoPictureColor(int AIndex) { return PictureColors[std::abs(AIndex) % ColorCount]; }

// Shapes advance with the index, and every sixth product moves on by one more,
// so that neighbours in a list differ in both colour and shape.
TDemoShape DemoPictureShape(int AIndex) {
  int i = std::abs(AIndex);
  return static_cast<TDemoShape>((i + i / ShapeCount) % ShapeCount);
}

std::string DemoProductPicture(int AIndex) {
  const uint32_t white = RGB(255, 255, 255), frame = RGB(160, 160, 160);
  const uint32_t color = DemoPictureColor(AIndex);
  const TDemoShape shape = DemoPictureShape(AIndex);
  TBitmap bitmap(DemoPictureSize, DemoPictureSize);
  bitmap.Fill(white);
  for (int y = 0; y < DemoPictureSize; ++y)
    for (int x = 0; x < DemoPictureSize; ++x) {
      bool edge = x == 0 || y == 0 || x == DemoPictureSize - 1 || y == DemoPictureSize - 1;
      if (edge)
        bitmap.SetPixel(x, y, frame);
      else if (InShape(shape, x, y))
        bitmap.SetPixel(x, y, color);
    }
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  return stream.Data();
}

}  // namespace kv::app
