#include "ApngFrames.h"

#include "PngStream.h"

namespace tandel {
namespace {

constexpr std::size_t kIhdrLength = 13;
constexpr std::size_t kActlLength = 8;
constexpr std::size_t kFctlLength = 26;

int delayMs(std::uint16_t numerator, std::uint16_t denominator) {
    const std::uint32_t den = denominator == 0 ? 100 : denominator;
    return int((std::uint32_t(numerator) * 1000 + den / 2) / den);
}

// The frame an fcTL describes, if it lies inside the canvas and uses known operations.
std::optional<ApngFrame> readFctl(std::span<const std::uint8_t> data, std::uint32_t canvasWidth,
                                  std::uint32_t canvasHeight) {
    const std::uint8_t* p = data.data();
    ApngFrame frame;
    frame.width = readBigEndian32(p + 4);
    frame.height = readBigEndian32(p + 8);
    frame.offsetX = readBigEndian32(p + 12);
    frame.offsetY = readBigEndian32(p + 16);
    frame.delayMs = delayMs(readBigEndian16(p + 20), readBigEndian16(p + 22));
    const std::uint8_t disposeOp = p[24];
    const std::uint8_t blendOp = p[25];
    if (frame.width == 0 || frame.height == 0 ||
        std::uint64_t(frame.offsetX) + frame.width > canvasWidth ||
        std::uint64_t(frame.offsetY) + frame.height > canvasHeight || disposeOp > 2 ||
        blendOp > 1) {
        return std::nullopt;
    }
    constexpr Disposal disposals[] = {Disposal::Keep, Disposal::Background, Disposal::Previous};
    frame.disposal = disposals[disposeOp];
    frame.blend = blendOp == 0 ? Blend::Source : Blend::Over;
    return frame;
}

// A PNG file holding only the frame: the file's header with the frame's size, its palette
// and transparency, and the frame's data as IDAT.
std::vector<std::uint8_t> frameStream(const ApngAnimation& animation, const ApngFrame& frame) {
    std::vector<std::uint8_t> out(kPngSignature.begin(), kPngSignature.end());
    std::uint8_t header[kIhdrLength];
    for (int i = 0; i < 4; ++i) {
        header[i] = std::uint8_t(frame.width >> (24 - 8 * i));
        header[4 + i] = std::uint8_t(frame.height >> (24 - 8 * i));
    }
    std::copy(animation.header.begin() + 8, animation.header.end(), header + 8);
    appendPngChunk(out, "IHDR", header);
    for (const PngChunk& chunk : animation.colourChunks) {
        appendPngChunk(out, chunk.type, chunk.data);
    }
    for (std::span<const std::uint8_t> data : frame.data) {
        appendPngChunk(out, "IDAT", data);
    }
    appendPngChunk(out, "IEND", {});
    return out;
}

}  // namespace

std::optional<ApngAnimation> readApngAnimation(const std::vector<PngChunk>& chunks) {
    if (chunks.empty() || chunks.front().type != "IHDR" ||
        chunks.front().data.size() != kIhdrLength) {
        return std::nullopt;
    }
    ApngAnimation animation;
    animation.header = chunks.front().data;
    const std::uint32_t canvasWidth = readBigEndian32(animation.header.data());
    const std::uint32_t canvasHeight = readBigEndian32(animation.header.data() + 4);
    if (!withinImageLimits(canvasWidth, canvasHeight)) {
        return std::nullopt;
    }
    bool seenActl = false;
    bool seenIdat = false;
    std::uint32_t numFrames = 0;
    std::uint32_t nextSequence = 0;
    // Frame and data chunks share one sequence, which starts at 0 and has no gaps.
    auto inSequence = [&](std::span<const std::uint8_t> data) {
        return readBigEndian32(data.data()) == nextSequence++;
    };
    for (const PngChunk& chunk : chunks) {
        if (chunk.type == "acTL") {
            if (seenActl || seenIdat || chunk.data.size() != kActlLength) {
                return std::nullopt;
            }
            seenActl = true;
            numFrames = readBigEndian32(chunk.data.data());
            animation.numPlays = readBigEndian32(chunk.data.data() + 4);
        } else if (chunk.type == "fcTL") {
            if (chunk.data.size() != kFctlLength || !inSequence(chunk.data)) {
                return std::nullopt;
            }
            std::optional<ApngFrame> frame = readFctl(chunk.data, canvasWidth, canvasHeight);
            if (!frame) {
                return std::nullopt;
            }
            if (!seenIdat) {
                // Only one fcTL may come before IDAT, and its frame is the whole IDAT image.
                if (!animation.frames.empty() || frame->width != canvasWidth ||
                    frame->height != canvasHeight || frame->offsetX != 0 || frame->offsetY != 0) {
                    return std::nullopt;
                }
                frame->isDefaultImage = true;
            }
            animation.frames.push_back(std::move(*frame));
        } else if (chunk.type == "fdAT") {
            if (chunk.data.size() < 4 || !inSequence(chunk.data) || animation.frames.empty() ||
                animation.frames.back().isDefaultImage) {
                return std::nullopt;
            }
            animation.frames.back().data.push_back(chunk.data.subspan(4));
        } else if (chunk.type == "IDAT") {
            seenIdat = true;
        } else if (!seenIdat && (chunk.type == "PLTE" || chunk.type == "tRNS")) {
            animation.colourChunks.push_back(chunk);
        }
    }
    // A frame without data is left to fail in libpng.
    if (!seenActl || animation.frames.empty() || animation.frames.size() != numFrames) {
        return std::nullopt;
    }
    animation.pixelCount = std::uint64_t(canvasWidth) * canvasHeight;
    for (const ApngFrame& frame : animation.frames) {
        animation.pixelCount += std::uint64_t(frame.width) * frame.height;
    }
    return animation;
}

bool decodeApngFrames(const ApngAnimation& animation, const Bitmap& still,
                      std::vector<ImageFrame>& frames) {
    frames.clear();
    frames.reserve(animation.frames.size());
    for (const ApngFrame& source : animation.frames) {
        ImageFrame frame;
        if (source.isDefaultImage) {
            frame.bitmap = still;
        } else if (!decodePngStream(frameStream(animation, source), frame.bitmap, nullptr)) {
            return false;
        }
        // The frame lies inside the canvas, which is within the limits.
        frame.offsetX = int(source.offsetX);
        frame.offsetY = int(source.offsetY);
        frame.delayMs = source.delayMs;
        frame.disposal = source.disposal;
        frame.blend = source.blend;
        frames.push_back(std::move(frame));
    }
    return true;
}

}  // namespace tandel
