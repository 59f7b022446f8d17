#include "TextControls.h"

#include <algorithm>
#include <string_view>

#include "Dpi.h"
#include "SkinParser.h"

namespace tandel {
namespace {

constexpr std::u16string_view kTipFace = u"宋体";
constexpr std::u16string_view kAuxFace = u"Arial";

// Sizes from records are clamped before any arithmetic so that hostile values cannot
// overflow; the font system bounds the height it actually makes far below this.
constexpr int kMaxFontSize = 0x7FFF;

std::u16string faceOf(const Text32& field) {
    return std::u16string(field, std::size_t(boundedLength(field, 32)));
}

// The tips' size: 12, or derived from the host's character height.
int tipSize(int hostSize) {
    if (hostSize == 0) {
        return 12;
    }
    return hostSize < 24 ? hostSize * 3 / 4 : hostSize / 2;
}

LogicalFont make(std::u16string face, int size, int weight, bool underline = false) {
    const int scaled = CDPI::Instance().Scaled(std::clamp(size, -kMaxFontSize, kMaxFontSize));
    return LogicalFont{std::move(face), -scaled, weight, underline};
}

}  // namespace

TextGaps TextGaps::current() {
    const CDPI& dpi = CDPI::Instance();
    return {dpi.Scaled(1), dpi.Scaled(2), dpi.Scaled(3), dpi.Scaled(5)};
}

std::optional<LogicalFont> textControlFont(int index, const TextElement* record,
                                           const SkinSettings* host) {
    std::u16string cnHost, enHost;
    int hostSize = 0;
    if (host != nullptr) {
        cnHost = faceOverride(host->cnFaceOverride);
        enHost = faceOverride(host->enFaceOverride);
        hostSize = host->fontSizeOverride;
    }
    const bool needsRecord =
        index == kCompCnFont || index == kCompEnFont || index == kCandFont || index == kCandAuxFont;
    if (needsRecord && record == nullptr) {
        return std::nullopt;
    }
    switch (index) {
        case kCompCnFont:
        case kCandFont:
            return make(cnHost.empty() ? faceOf(record->cnFont) : cnHost,
                        hostSize != 0 ? hostSize : record->cnFontSize,
                        record->bold != 0 ? 700 : 400);
        case kCompEnFont:
            return make(enHost.empty() ? faceOf(record->enFont) : enHost,
                        hostSize != 0 ? hostSize : record->enFontSize, 700);
        case kCandAuxFont:
            return make(
                std::u16string(kAuxFace),
                (hostSize != 0 ? hostSize
                               : std::clamp(record->cnFontSize, -kMaxFontSize, kMaxFontSize)) -
                    2,
                400);
        case kCompTipFont:
            return make(cnHost.empty() ? std::u16string(kTipFace) : cnHost, tipSize(hostSize), 400);
        case kLinkFont:
            return make(cnHost.empty() ? std::u16string(kTipFace) : cnHost, tipSize(hostSize), 400,
                        true);
        default: return std::nullopt;
    }
}

void makeTextFont(ParseContext* context, int index, const TextElement* record) {
    if (context == nullptr || context->cache == nullptr || context->cache->font(index) != nullptr) {
        return;
    }
    if (std::optional<LogicalFont> logical =
            textControlFont(index, record, context->cache->settings)) {
        context->cache->setFont(index, Font(*logical));
    }
}

bool containsChar(const char16_t* text, int length, char16_t c) {
    return text != nullptr && length > 0 && std::find(text, text + length, c) != text + length;
}

int boundedLength(const char16_t* text, int limit) {
    if (text == nullptr) {
        return 0;
    }
    int n = 0;
    while (n < limit && text[n] != 0) {
        ++n;
    }
    return n;
}

}  // namespace tandel
