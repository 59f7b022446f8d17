#include "GifPalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace tandel {
namespace {

constexpr std::size_t kPaletteSize = 256;

// The median cut works on a histogram of 5 bits per channel; each bin keeps the sum of its
// colours so that palette entries are true means, not bin centres.
constexpr int kBinBits = 5;
constexpr std::size_t kBins = std::size_t(1) << (3 * kBinBits);

bool isTransparent(const Bitmap& bitmap, const std::uint8_t* p) {
    return bitmap.hasAlpha() && p[3] < 128;
}

std::uint32_t rgbOf(const std::uint8_t* p) {
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

std::size_t binOf(const std::uint8_t* p) {
    constexpr int drop = 8 - kBinBits;
    return std::size_t(p[2] >> drop) << (2 * kBinBits) | std::size_t(p[1] >> drop) << kBinBits |
           std::size_t(p[0] >> drop);
}

// Calls visit(pixel number, pixel bytes) for every pixel that is not transparent.
template <typename Visit>
void forOpaquePixels(const Bitmap& bitmap, Visit visit) {
    std::size_t i = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, ++i, p += 4) {
            if (!isTransparent(bitmap, p)) {
                visit(i, p);
            }
        }
    }
}

// The picture's own colours; false when they do not fit.
bool exactColours(const Bitmap& bitmap, PalettedPicture& out) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    bool fits = true;
    forOpaquePixels(bitmap, [&](std::size_t i, const std::uint8_t* p) {
        if (!fits) {
            return;
        }
        const std::uint32_t rgb = rgbOf(p);
        auto found = indexOf.find(rgb);
        if (found == indexOf.end()) {
            if (out.colours.size() == kPaletteSize) {
                fits = false;
                return;
            }
            found = indexOf.emplace(rgb, std::uint8_t(out.colours.size())).first;
            out.colours.push_back(rgb);
        }
        out.indices[i] = found->second;
    });
    return fits;
}

using Colour = std::array<double, 3>;  // R, G, B

// A histogram bin that holds pixels.
struct Cell {
    std::size_t bin;
    double count;
    Colour mean;
};

// A run of cells that becomes one palette entry.
struct Box {
    std::size_t begin, end;
    double count = 0;
    std::array<double, 3> mean{};
    double error = 0;  // sum of squared distances of the cells to the mean
    int axis = 0;      // the channel of largest spread
};

Box measure(const std::vector<Cell>& cells, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    std::array<double, 3> sum{}, squares{};
    for (std::size_t i = begin; i < end; ++i) {
        const Cell& cell = cells[i];
        box.count += cell.count;
        for (int c = 0; c < 3; ++c) {
            sum[c] += cell.count * cell.mean[c];
            squares[c] += cell.count * cell.mean[c] * cell.mean[c];
        }
    }
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        box.mean[c] = sum[c] / box.count;
        const double spread = squares[c] - sum[c] * box.mean[c];
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.axis = c;
        }
    }
    return box;
}

std::size_t nearest(const std::vector<Colour>& entries, const Colour& colour) {
    std::size_t best = 0;
    double bestDistance = 1e30;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        double distance = 0;
        for (int c = 0; c < 3; ++c) {
            distance += (entries[e][c] - colour[c]) * (entries[e][c] - colour[c]);
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = e;
        }
    }
    return best;
}

// Splits the box at the weighted median of its widest channel.
std::pair<Box, Box> split(std::vector<Cell>& cells, const Box& box) {
    const auto first = cells.begin() + std::ptrdiff_t(box.begin);
    const auto last = cells.begin() + std::ptrdiff_t(box.end);
    std::sort(first, last, [axis = box.axis](const Cell& a, const Cell& b) {
        return a.mean[axis] < b.mean[axis];
    });
    std::size_t middle = box.begin + 1;
    for (double below = cells[box.begin].count; middle + 1 < box.end && below < box.count / 2;
         ++middle) {
        below += cells[middle].count;
    }
    return {measure(cells, box.begin, middle), measure(cells, middle, box.end)};
}

void medianCut(const Bitmap& bitmap, PalettedPicture& out) {
    std::vector<std::uint64_t> counts(kBins);
    std::vector<std::array<std::uint64_t, 3>> sums(kBins);
    forOpaquePixels(bitmap, [&](std::size_t, const std::uint8_t* p) {
        const std::size_t bin = binOf(p);
        ++counts[bin];
        sums[bin][0] += p[2];
        sums[bin][1] += p[1];
        sums[bin][2] += p[0];
    });
    std::vector<Cell> cells;
    for (std::size_t bin = 0; bin < kBins; ++bin) {
        if (counts[bin] != 0) {
            const double n = double(counts[bin]);
            cells.push_back({bin, n, {sums[bin][0] / n, sums[bin][1] / n, sums[bin][2] / n}});
        }
    }
    const std::size_t room = kPaletteSize - out.colours.size();
    std::vector<Box> boxes = {measure(cells, 0, cells.size())};
    while (boxes.size() < room) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0 || worst->end - worst->begin < 2) {
            break;
        }
        auto [low, high] = split(cells, *worst);
        *worst = low;
        boxes.push_back(high);
    }
    std::vector<Colour> entries;
    for (const Box& box : boxes) {
        entries.push_back(box.mean);
    }
    const std::size_t first = out.colours.size();
    for (Colour& entry : entries) {
        std::uint32_t rgb = 0;
        for (double& channel : entry) {
            channel = std::round(std::clamp(channel, 0.0, 255.0));
            rgb = rgb << 8 | std::uint32_t(channel);
        }
        out.colours.push_back(rgb);
    }
    // A bin goes to the entry nearest its mean, which is not always its box's.
    std::vector<std::uint8_t> entryOf(kBins);
    for (const Cell& cell : cells) {
        entryOf[cell.bin] = std::uint8_t(first + nearest(entries, cell.mean));
    }
    forOpaquePixels(
        bitmap, [&](std::size_t i, const std::uint8_t* p) { out.indices[i] = entryOf[binOf(p)]; });
}

}  // namespace

PalettedPicture reduceToPalette(const Bitmap& bitmap) {
    PalettedPicture out;
    out.indices.assign(std::size_t(bitmap.width()) * std::size_t(bitmap.height()), 0);
    bool anyTransparent = false;
    for (int y = 0; y < bitmap.height() && !anyTransparent; ++y) {
        for (int x = 0; x < bitmap.width() && !anyTransparent; ++x) {
            anyTransparent = isTransparent(bitmap, bitmap.pixel(x, y));
        }
    }
    // Transparent pixels take entry 0, which the indices start with.
    if (anyTransparent) {
        out.transparentIndex = 0;
        out.colours.push_back(0);
    }
    const std::size_t reserved = out.colours.size();
    if (!exactColours(bitmap, out)) {
        out.colours.resize(reserved);
        medianCut(bitmap, out);
    }
    return out;
}

}  // namespace tandel
