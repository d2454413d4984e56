// The demo's product pictures: one small bitmap per product of the sample
// database, each with a shape and a colour of its own, so that a page showing
// them makes it plain which picture belongs to which product.
#pragma once

#include <cstdint>
#include <string>

namespace kv::app {

// Width and height of a product picture in pixels.
constexpr int DemoPictureSize = 32;

// The colour (RGB, red in the low byte) and the shape of product AIndex
// (0-based); different indexes below 36 never share both.
uint32_t DemoPictureColor(int AIndex);
enum class TDemoShape { Disc, Square, Triangle, Diamond, Ring, Cross };
TDemoShape DemoPictureShape(int AIndex);

// The picture of product AIndex as the bytes of an uncompressed 24-bit BMP
// file: a white square with a grey frame and the product's shape in its colour.
std::string DemoProductPicture(int AIndex);

}  // namespace kv::app
