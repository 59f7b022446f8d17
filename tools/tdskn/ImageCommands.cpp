#include "ImageCommands.h"

#include <filesystem>
#include <iostream>

#include "Codecs.h"
#include "CommandLine.h"
#include "FileBytes.h"
#include "FrameComposer.h"
#include "Report.h"
#include "SkinFileWriter.h"

namespace fs = std::filesystem;

namespace tandel::tdskn {
namespace {

constexpr std::size_t kMaxPictureFile = std::size_t(512) << 20;

const char* formatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png: return "PNG";
        case PictureFormat::Jpeg: return "JPEG";
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Gif: return "GIF";
        case PictureFormat::Unknown: break;
    }
    return "unknown";
}

const char* disposalName(Disposal disposal) {
    switch (disposal) {
        case Disposal::Keep: return "keep";
        case Disposal::Background: return "background";
        case Disposal::Previous: return "previous";
        case Disposal::Unspecified: break;
    }
    return "unspecified";
}

// Decodes a picture file, or prints why it cannot be decoded.
bool decodeFile(const std::string& path, DecodedImage& image) {
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path, kMaxPictureFile);
    if (!bytes) {
        fail(path + ": cannot read the file");
        return false;
    }
    std::string why;
    if (!decodeImage(*bytes, image, &why)) {
        fail(path + ": " + why);
        return false;
    }
    return true;
}

// The picture as an RGBA PNG: pictures without alpha get opaque alpha bytes.
bool writeRgbaPng(const fs::path& path, Bitmap bitmap) {
    if (!bitmap.hasAlpha()) {
        for (std::size_t i = 3; i < bitmap.byteSize(); i += 4) {
            bitmap.data()[i] = 255;
        }
        bitmap.setHasAlpha(true);
    }
    std::optional<std::vector<std::uint8_t>> png = encodePng(bitmap);
    return png && replaceFile(path, *png);
}

// What the engine shows when the picture is still: an animation's first composed frame.
Bitmap shownPicture(const DecodedImage& image) {
    if (!image.frames.empty()) {
        std::vector<Bitmap> first = composeFrames(image, 1);
        if (!first.empty()) {
            return std::move(first.front());
        }
    }
    return image.still;
}

}  // namespace

int runProbe(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {}, {"--json"});
    if (!a.error.empty()) {
        return usageError("probe", a.error);
    }
    if (a.positional.size() != 1) {
        return usageError("probe", "expected one picture file");
    }
    DecodedImage image;
    if (!decodeFile(a.positional[0], image)) {
        return 1;
    }
    Bitmap shown = shownPicture(image);
    Report report;
    report.add("file", a.positional[0]);
    report.add("format", formatName(image.format));
    report.add("width", shown.width());
    report.add("height", shown.height());
    report.add("alpha", shown.hasAlpha());
    report.add("frameCount", int(image.frames.size()));
    if (image.hasLoopCount) {
        report.add("loopCount", image.loopCount);
    }
    Report frames = Report::list();
    for (const ImageFrame& f : image.frames) {
        Report frame;
        frame.add("x", f.offsetX);
        frame.add("y", f.offsetY);
        frame.add("width", f.bitmap.width());
        frame.add("height", f.bitmap.height());
        frame.add("delayMs", f.delayMs);
        frame.add("disposal", disposalName(f.disposal));
        frame.add("blend", f.blend == Blend::Source ? "source" : "over");
        frames.push(std::move(frame));
    }
    report.add("frames", std::move(frames));
    if (a.options.contains("--json")) {
        report.printJson(std::cout);
        std::cout << "\n";
    } else {
        report.printText(std::cout);
    }
    return 0;
}

int runDecode(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {"--frames"}, {});
    if (!a.error.empty()) {
        return usageError("decode", a.error);
    }
    if (a.positional.size() != 2) {
        return usageError("decode", "expected a picture file and an output PNG");
    }
    const fs::path input = a.positional[0];
    const fs::path output = a.positional[1];
    std::error_code error;
    if (fs::equivalent(input, output, error)) {
        return fail("refusing to write over the input file " + input.string());
    }
    DecodedImage image;
    if (!decodeFile(input.string(), image)) {
        return 1;
    }
    if (!writeRgbaPng(output, shownPicture(image))) {
        return fail("cannot write " + output.string());
    }
    auto folder = a.options.find("--frames");
    if (folder == a.options.end()) {
        return 0;
    }
    fs::create_directories(folder->second, error);
    if (error) {
        return fail("cannot create " + folder->second + ": " + error.message());
    }
    std::vector<Bitmap> frames = composeFrames(image);
    for (std::size_t k = 0; k < frames.size(); ++k) {
        fs::path path = fs::path(folder->second) / ("frame_" + std::to_string(k) + ".png");
        if (fs::equivalent(path, input, error)) {
            return fail("refusing to write over the input file " + input.string());
        }
        if (!writeRgbaPng(path, std::move(frames[k]))) {
            return fail("cannot write " + path.string());
        }
    }
    std::cout << "wrote " << output.string() << " and " << frames.size() << " frames\n";
    return 0;
}

}  // namespace tandel::tdskn
