#include "Resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tandel {
namespace {

// For each output position along one axis, the source positions that contribute and their
// weights (summing to 1).
struct Tap {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Tap> axisTaps(int from, int to) {
    std::vector<Tap> taps(static_cast<std::size_t>(to));
    const double ratio = double(from) / double(to);
    for (int i = 0; i < to; ++i) {
        Tap& tap = taps[std::size_t(i)];
        if (ratio > 1.0) {
            // Area average: the output pixel covers [i * ratio, (i + 1) * ratio).
            double start = i * ratio;
            double end = std::min(double(from), start + ratio);
            tap.first = int(start);
            for (int s = tap.first; s < from && s < end; ++s) {
                double covered = std::min(end, double(s + 1)) - std::max(start, double(s));
                tap.weights.push_back(float(covered / ratio));
            }
        } else {
            // Bilinear between the two nearest source centres.
            double centre = (i + 0.5) * ratio - 0.5;
            int left = int(std::floor(centre));
            double t = centre - left;
            int a = std::clamp(left, 0, from - 1);
            int b = std::clamp(left + 1, 0, from - 1);
            tap.first = a;
            if (a == b) {
                tap.weights = {1.0f};
            } else {
                tap.weights = {float(1.0 - t), float(t)};
            }
        }
    }
    return taps;
}

}  // namespace

std::optional<Bitmap> resampleBitmap(const Bitmap& source, int width, int height) {
    if (source.isEmpty()) {
        return std::nullopt;
    }
    std::optional<Bitmap> out = Bitmap::create(width, height);
    if (!out) {
        return std::nullopt;
    }
    out->setHasAlpha(source.hasAlpha());
    const std::vector<Tap> columns = axisTaps(source.width(), width);
    const std::vector<Tap> rows = axisTaps(source.height(), height);

    // Horizontal pass into premultiplied floats, one row of the source at a time.
    const std::size_t rowFloats = 4 * std::size_t(width);
    std::vector<float> horizontal(rowFloats * std::size_t(source.height()));
    for (int y = 0; y < source.height(); ++y) {
        const std::uint8_t* in = source.row(y);
        float* row = horizontal.data() + rowFloats * std::size_t(y);
        for (int x = 0; x < width; ++x) {
            const Tap& tap = columns[std::size_t(x)];
            float b = 0, g = 0, r = 0, a = 0;
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const std::uint8_t* p = in + 4 * std::size_t(tap.first + int(k));
                float alpha = source.hasAlpha() ? p[3] : 255.0f;
                float w = tap.weights[k] * alpha;
                b += p[0] * w;
                g += p[1] * w;
                r += p[2] * w;
                a += w;
            }
            float* o = row + 4 * std::size_t(x);
            o[0] = b;
            o[1] = g;
            o[2] = r;
            o[3] = a;
        }
    }

    // Vertical pass, then back to straight alpha.
    for (int y = 0; y < height; ++y) {
        const Tap& tap = rows[std::size_t(y)];
        std::uint8_t* out8 = out->row(y);
        for (int x = 0; x < width; ++x) {
            float b = 0, g = 0, r = 0, a = 0;
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const float* p = horizontal.data() + rowFloats * std::size_t(tap.first + int(k)) +
                                 4 * std::size_t(x);
                float w = tap.weights[k];
                b += p[0] * w;
                g += p[1] * w;
                r += p[2] * w;
                a += p[3] * w;
            }
            std::uint8_t* o = out8 + 4 * std::size_t(x);
            if (a <= 0.0f) {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            auto channel = [](float v) { return std::uint8_t(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
            o[0] = channel(b / a);
            o[1] = channel(g / a);
            o[2] = channel(r / a);
            o[3] = source.hasAlpha() ? channel(a) : 255;
        }
    }
    return out;
}

}  // namespace tandel
