// Small picture files for tests, built byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace tandel::testing {

// A valid PNG of width x height opaque pixels of one colour; with frames > 1 it carries an
// acTL chunk announcing that many frames.
std::vector<std::uint8_t> pngBytes(int width, int height, std::uint32_t rgba = 0xFF336699,
                                   int frames = 1);
// A valid PNG of the given pixels (RGBA, one 32-bit value per pixel, red in the high byte).
std::vector<std::uint8_t> pngBytes(int width, int height, const std::vector<std::uint32_t>& rgba);
// A GIF with the given number of 1 x 1 images.
std::vector<std::uint8_t> gifBytes(int images);
// An animated GIF of width x height frames, each a shifted colour pattern, 100 ms apart.
std::vector<std::uint8_t> animatedGifBytes(int width, int height, int frames);
// A photo-like opaque PNG: a gradient with some noise, so that it compresses as real ones do.
std::vector<std::uint8_t> photoPngBytes(int width, int height, int seed);

}  // namespace tandel::testing
