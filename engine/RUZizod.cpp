#include "RUZizod.h"

#include <cmath>
#include <cstring>

#include "AlphaDrawing.h"
#include "FrameComposer.h"
#include "NineGrid.h"
#include "Resample.h"
#include "SkinFileWriter.h"

namespace tandel {

// ---- Defaults shared by every picture -------------------------------------------------------

Rect RUZizod::GetRect() const {
    return {0, 0, GetWidth(), GetHeight()};
}

int RUZizod::Scale(double) {
    return 0;
}

int RUZizod::Save(const std::filesystem::path&, int, int, int) {
    return 0;
}

int RUZizod::DrawTiled(Canvas& canvas, const Rect& rect, int subIndex) {
    if (subIndex != -1) {
        RUZizod* sub = GetSubImage(subIndex);
        return sub != nullptr ? sub->DrawTiled(canvas, rect, -1) : 0;
    }
    const int tileWidth = int(GetWidth() * scale_);
    const int tileHeight = int(GetHeight() * scale_);
    if (!IsValid() || rect.isEmpty() || tileWidth <= 0 || tileHeight <= 0) {
        return 0;
    }
    // The first tile is drawn; a rect smaller than a tile shows its top-left part.
    const int rectWidth = rect.width(), rectHeight = rect.height();
    int cellWidth = tileWidth, cellHeight = tileHeight;
    if (rectWidth < tileWidth || rectHeight < tileHeight) {
        cellWidth = std::min(tileWidth, rectWidth);
        cellHeight = std::min(tileHeight, rectHeight);
        Rect insets{0, 0, rectWidth < tileWidth ? int((tileWidth - rectWidth) / scale_) : 0,
                    rectHeight < tileHeight ? int((tileHeight - rectHeight) / scale_) : 0};
        DrawCropped(canvas, {rect.left, rect.top, rect.left + cellWidth, rect.top + cellHeight},
                    insets);
    } else {
        Draw(canvas, {rect.left, rect.top, rect.left + tileWidth, rect.top + tileHeight}, -1, 0);
    }
    // The rest is copied from the first tile as the canvas now shows it.
    const int columns = int(std::ceil(float(rectWidth) / float(cellWidth)));
    const int rows = int(std::ceil(float(rectHeight) / float(cellHeight)));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (r == 0 && c == 0) {
                continue;
            }
            const int x = rect.left + c * cellWidth, y = rect.top + r * cellHeight;
            canvas.copyFrom(canvas, rect.left, rect.top, std::min(cellWidth, rect.right - x),
                            std::min(cellHeight, rect.bottom - y), x, y);
        }
    }
    return 1;
}

int RUZizod::DrawNineGridStretched(Canvas& canvas, const Rect& rect, const Rect& margins,
                                   std::uint32_t centreColour) {
    if (SubImageCount() != kNineGridPieces) {
        return 0;
    }
    for (int i = 0; i < kNineGridPieces; ++i) {
        Rect piece = nineGridPiece(i, rect, margins);
        if (i == 8 && centreColour != 0) {
            FillRectAlpha(canvas, piece, centreColour);
        } else if (RUZizod* sub = GetSubImage(i)) {
            sub->Draw(canvas, piece, -1, 0);
        }
    }
    return 1;
}

int RUZizod::DrawNineGridTiled(Canvas& canvas, const Rect& rect, const Rect& margins,
                               std::uint32_t centreColour) {
    if (SubImageCount() != kNineGridPieces) {
        return 0;
    }
    for (int i = 0; i < kNineGridPieces; ++i) {
        Rect piece = nineGridPiece(i, rect, margins);
        RUZizod* sub = GetSubImage(i);
        if (i == 8 && centreColour != 0) {
            FillRectAlpha(canvas, piece, centreColour);
        } else if (sub != nullptr && i < 4) {
            sub->Draw(canvas, piece, -1, 0);
        } else if (sub != nullptr) {
            sub->DrawTiled(canvas, piece, -1);
        }
    }
    return 1;
}

int RUZizod::DrawTinted(Canvas& canvas, const Rect& rect, std::uint32_t colour) {
    std::unique_ptr<RUZizod> tinted = Clone();
    if (!tinted) {
        return Draw(canvas, rect, -1, 0);
    }
    tinted->Colorize(colour, false);
    return tinted->Draw(canvas, rect, -1, 0);
}

int RUZizod::LoadFromResource(std::span<const std::uint8_t> resource) {
    if (resource.empty()) {
        return 0;
    }
    return LoadFromMemory(resource.data(), std::int64_t(resource.size()));
}

RUZizod* RUZizod::GetSubImage(int index) const {
    if (index < 0 || index >= SubImageCount()) {
        return nullptr;
    }
    return subImages_[std::size_t(index)].get();
}

void RUZizod::FreeSubImages() {
    subImages_.clear();
}

void RUZizod::SetScale(double scale) {
    scale_ = scale;
}

// ---- The picture on the codec image ---------------------------------------------------------

RUZizodGdi* RUZizodGdi::current() {
    return IsAnimated() ? frames_[std::size_t(currentFrame_)].get() : nullptr;
}

const RUZizodGdi* RUZizodGdi::current() const {
    return IsAnimated() ? frames_[std::size_t(currentFrame_)].get() : nullptr;
}

std::unique_ptr<RUZizod> RUZizodGdi::Clone() const {
    auto copy = std::make_unique<RUZizodGdi>();
    copy->image_ = image_;
    copy->BuildFrames();
    return copy;
}

std::unique_ptr<RUZizodGdi> RUZizodGdi::Copy() const {
    auto copy = std::make_unique<RUZizodGdi>();
    copy->image_ = image_;
    copy->scale_ = scale_;
    copy->bounds_ = bounds_;
    copy->currentFrame_ = currentFrame_;
    copy->remainingLoops_ = remainingLoops_;
    for (const auto& frame : frames_) {
        copy->frames_.push_back(frame->Copy());
    }
    return copy;
}

std::size_t RUZizodGdi::PixelBytes() const {
    std::size_t bytes = image_.pixels().byteSize();
    for (const ImageFrame& frame : image_.decoded().frames) {
        bytes += frame.bitmap.byteSize();
    }
    for (const auto& frame : frames_) {
        bytes += frame->PixelBytes();
    }
    return bytes;
}

bool RUZizodGdi::IsValid() const {
    return image_.isValid() || !frames_.empty();
}

bool RUZizodGdi::IsAnimated() const {
    return IsValid() && frames_.size() > 1;
}

int RUZizodGdi::GetWidth() const {
    if (const RUZizodGdi* frame = current()) {
        return frame->GetWidth();
    }
    return image_.width();
}

int RUZizodGdi::GetHeight() const {
    if (const RUZizodGdi* frame = current()) {
        return frame->GetHeight();
    }
    return image_.height();
}

Rect RUZizodGdi::GetRect() const {
    if (const RUZizodGdi* frame = current()) {
        return frame->GetRect();
    }
    return bounds_;
}

int RUZizodGdi::Scale(double factor) {
    if (!IsValid() || std::abs(factor - 1.0) <= 1e-10) {
        return 0;
    }
    if (IsAnimated()) {
        SetScale(factor);
        return 0;
    }
    if (!image_.resample(int(image_.width() * factor), int(image_.height() * factor))) {
        return 0;
    }
    for (auto& sub : subImages_) {
        if (sub) {
            sub->Scale(factor);
        }
    }
    return 1;
}

std::optional<Canvas> RUZizodGdi::CreateHBitmap() const {
    if (const RUZizodGdi* frame = current()) {
        return frame->CreateHBitmap();
    }
    std::optional<Canvas> canvas = Canvas::create(image_.width(), image_.height());
    if (canvas) {
        std::memcpy(canvas->pixels().data(), image_.pixels().data(), image_.pixels().byteSize());
    }
    return canvas;
}

void RUZizodGdi::Colorize(std::uint32_t colour, bool halfAlpha) {
    if (colour == 0 || !IsValid()) {
        return;
    }
    if (RUZizodGdi* frame = current()) {
        frame->Colorize(colour, halfAlpha);
        return;
    }
    Bitmap& pixels = image_.mutablePixels();
    const std::uint8_t red = std::uint8_t(colour), green = std::uint8_t(colour >> 8),
                       blue = std::uint8_t(colour >> 16);
    for (int y = 0; y < pixels.height(); ++y) {
        std::uint8_t* p = pixels.row(y);
        for (int x = 0; x < pixels.width(); ++x, p += 4) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
            if (halfAlpha) {
                p[3] >>= 1;
            }
        }
    }
}

int RUZizodGdi::Save(const std::filesystem::path& path, int type, int width, int height) {
    if (!image_.isValid()) {
        return 0;
    }
    CxImageEx copy;
    const CxImageEx* source = &image_;
    if (width != 0 && height != 0) {
        copy = image_;
        if (!copy.resample(width, height)) {
            return 0;
        }
        source = &copy;
    }
    std::optional<std::vector<std::uint8_t>> bytes = source->encode(type);
    return bytes && replaceFile(path, *bytes) ? 1 : 0;
}

int RUZizodGdi::drawWhole(Canvas& canvas, const Rect& rect, int mode) const {
    if (mode == 1) {
        return image_.drawBlended(canvas, rect);
    }
    return image_.drawToCanvas(canvas, rect.left, rect.top, rect.width(), rect.height());
}

int RUZizodGdi::Draw(Canvas& canvas, const Rect& rect, int subIndex, int mode) {
    if (RUZizodGdi* frame = current()) {
        return frame->Draw(canvas, rect, subIndex, mode);
    }
    if (subIndex == -1) {
        return drawWhole(canvas, rect, mode);
    }
    RUZizod* sub = GetSubImage(subIndex);
    return sub != nullptr ? sub->Draw(canvas, rect, -1, mode) : 0;
}

int RUZizodGdi::DrawNineGridStretched(Canvas& canvas, const Rect& rect, const Rect& margins,
                                      std::uint32_t centreColour) {
    if (RUZizodGdi* frame = current()) {
        return frame->DrawNineGridStretched(canvas, rect, margins, centreColour);
    }
    return RUZizod::DrawNineGridStretched(canvas, rect, margins, centreColour);
}

int RUZizodGdi::DrawNineGridTiled(Canvas& canvas, const Rect& rect, const Rect& margins,
                                  std::uint32_t centreColour) {
    if (RUZizodGdi* frame = current()) {
        return frame->DrawNineGridTiled(canvas, rect, margins, centreColour);
    }
    return RUZizod::DrawNineGridTiled(canvas, rect, margins, centreColour);
}

int RUZizodGdi::DrawCropped(Canvas& canvas, const Rect& rect, const Rect& insets) {
    if (RUZizodGdi* frame = current()) {
        return frame->DrawCropped(canvas, rect, insets);
    }
    const double s = scale_;
    Rect target{rect.left - int(insets.left * s), rect.top - int(insets.top * s),
                rect.right + int(insets.right * s), rect.bottom + int(insets.bottom * s)};
    return image_.drawToCanvas(canvas, target.left, target.top, target.width(), target.height(),
                               &rect);
}

int RUZizodGdi::NextFrame() {
    if (!IsAnimated()) {
        return 0;
    }
    if (++currentFrame_ < FrameCount()) {
        return 1;
    }
    if (remainingLoops_ == 1) {
        currentFrame_ = FrameCount() - 1;
        return 0;
    }
    currentFrame_ = 0;
    if (remainingLoops_ > 1) {
        --remainingLoops_;
    }
    return 1;
}

int RUZizodGdi::GetFrameDelay() const {
    const std::vector<ImageFrame>& frames = image_.decoded().frames;
    if (!IsAnimated() || std::size_t(currentFrame_) >= frames.size()) {
        return 100;
    }
    return frames[std::size_t(currentFrame_)].delayMs;
}

int RUZizodGdi::LoadFromFile(const std::filesystem::path& path) {
    CxImageEx loaded;
    if (!loaded.loadFile(path)) {
        return 0;
    }
    image_ = std::move(loaded);
    FreeSubImages();
    BuildFrames();
    return 1;
}

int RUZizodGdi::LoadFromMemory(const std::uint8_t* data, std::int64_t length) {
    CxImageEx loaded;
    if (data == nullptr || length <= 0 ||
        !loaded.decode(std::span<const std::uint8_t>(data, std::size_t(length)))) {
        return 0;
    }
    image_ = std::move(loaded);
    FreeSubImages();
    BuildFrames();
    return 1;
}

int RUZizodGdi::LoadFromHBitmap(const Canvas& bitmap) {
    const Bitmap& pixels = bitmap.pixels();
    if (pixels.isEmpty()) {
        return 0;
    }
    bool anyAlpha = false;
    for (std::size_t i = 3; i < pixels.byteSize() && !anyAlpha; i += 4) {
        anyAlpha = pixels.data()[i] != 0;
    }
    if (!LoadFromBgra(pixels.data(), pixels.width(), pixels.height())) {
        return 0;
    }
    image_.mutablePixels().setHasAlpha(anyAlpha);
    return 1;
}

int RUZizodGdi::LoadFromBgra(const std::uint8_t* pixels, int width, int height) {
    if (!image_.createFromBgra(pixels, width, height)) {
        return 0;
    }
    FreeSubImages();
    BuildFrames();
    return 1;
}

void RUZizodGdi::BuildFrames() {
    bounds_ = {0, 0, image_.width(), image_.height()};
    frames_.clear();
    currentFrame_ = 0;
    if (image_.frameCount() < 2) {
        return;
    }
    remainingLoops_ = image_.decoded().loopCount;
    for (Bitmap& composed : composeFrames(image_.decoded())) {
        auto frame = std::make_unique<RUZizodGdi>();
        frame->image_.setPixels(std::move(composed));
        frame->bounds_ = {0, 0, frame->image_.width(), frame->image_.height()};
        frame->scale_ = scale_;
        frames_.push_back(std::move(frame));
    }
}

void RUZizodGdi::cropInto(RUZizodGdi& piece, const Rect& source) const {
    Rect area = source.intersected({0, 0, image_.width(), image_.height()});
    if (!area.isEmpty()) {
        piece.image_.setPixels(
            image_.pixels().cropped(area.left, area.top, area.width(), area.height()));
    }
    piece.BuildFrames();
    piece.scale_ = scale_;
}

int RUZizodGdi::SplitHorizontal(int count) {
    if (count <= 1 || !IsValid()) {
        return 0;
    }
    if (IsAnimated()) {
        for (auto& frame : frames_) {
            frame->SplitHorizontal(count);
        }
        return 1;
    }
    const int slice = image_.width() / count;
    FreeSubImages();
    for (int i = 0; i < count; ++i) {
        auto piece = std::make_unique<RUZizodGdi>();
        cropInto(*piece, {i * slice, 0, (i + 1) * slice, image_.height()});
        subImages_.push_back(std::move(piece));
    }
    return 1;
}

int RUZizodGdi::SplitRects(std::span<const Rect> rects) {
    if (rects.empty() || !IsValid()) {
        return 0;
    }
    if (IsAnimated()) {
        int result = 1;
        for (auto& frame : frames_) {
            result &= frame->SplitRects(rects);
        }
        return result;
    }
    const Rect whole{0, 0, image_.width(), image_.height()};
    FreeSubImages();
    for (const Rect& r : rects) {
        if (r.intersected(whole).isEmpty()) {
            FreeSubImages();
            return 0;
        }
        auto piece = std::make_unique<RUZizodGdi>();
        cropInto(*piece, r);
        subImages_.push_back(std::move(piece));
    }
    return 1;
}

int RUZizodGdi::SplitNineGrid(const Rect& margins) {
    if (!IsValid()) {
        return 0;
    }
    if (IsAnimated()) {
        for (auto& frame : frames_) {
            frame->SplitNineGrid(margins);
        }
        return 1;
    }
    const Rect whole{0, 0, image_.width(), image_.height()};
    FreeSubImages();
    for (int i = 0; i < kNineGridPieces; ++i) {
        auto piece = std::make_unique<RUZizodGdi>();
        cropInto(*piece, nineGridPiece(i, whole, margins));
        subImages_.push_back(std::move(piece));
    }
    return 1;
}

void RUZizodGdi::SetScale(double scale) {
    RUZizod::SetScale(scale);
    for (auto& frame : frames_) {
        frame->SetScale(scale);
    }
    for (auto& sub : subImages_) {
        if (sub) {
            sub->SetScale(scale);
        }
    }
}

std::unique_ptr<RUZizodGdi> CreateImageFromMemory(const std::uint8_t* data, std::int64_t length) {
    auto image = std::make_unique<RUZizodGdi>();
    if (!image->LoadFromMemory(data, length)) {
        return nullptr;
    }
    return image;
}

std::unique_ptr<RUZizodGdi> MakeStrip(std::span<const RUZizodGdi* const> images) {
    if (images.empty() || images[0] == nullptr || !images[0]->Image().isValid()) {
        return nullptr;
    }
    const int w = images[0]->Image().width(), h = images[0]->Image().height();
    std::optional<Bitmap> strip = Bitmap::create(int(images.size()) * w, h);
    if (!strip) {
        return nullptr;
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (images[i] == nullptr || !images[i]->Image().isValid()) {
            continue;
        }
        const Bitmap& source = images[i]->Image().pixels();
        std::optional<Bitmap> resized;
        if (source.width() != w || source.height() != h) {
            resized = resampleBitmap(source, w, h);
            if (!resized) {
                continue;
            }
        }
        const Bitmap& cell = resized ? *resized : source;
        for (int y = 0; y < h; ++y) {
            std::uint8_t* dst = strip->pixel(int(i) * w, y);
            std::memcpy(dst, cell.row(y), cell.stride());
            if (!cell.hasAlpha()) {
                for (int x = 0; x < w; ++x) {
                    dst[4 * x + 3] = 255;
                }
            }
        }
    }
    auto result = std::make_unique<RUZizodGdi>();
    if (!result->LoadFromBgra(strip->data(), strip->width(), strip->height())) {
        return nullptr;
    }
    return result;
}

}  // namespace tandel
