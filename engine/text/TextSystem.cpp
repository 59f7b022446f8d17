#include "TextSystem.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "FaceAliases.h"
#include "TextCodec.h"

namespace tandel {
namespace {

// What a height of 0 (GDI's "default size") gives, and a bound that keeps hostile skins from
// asking for glyphs larger than any picture the engine draws.
constexpr int kDefaultEmHeight = 12;
constexpr int kMaxEmHeight = 1024;
// GDI's font mapper gives a face that is neither installed nor aliased the Chinese system
// face; doing the same keeps such skins looking alike on every machine.
constexpr const char* kSystemFace = "宋体";
// Fonts kept for reuse; skins use a handful, so reaching this means something churns through fonts.
constexpr std::size_t kMaxCachedFonts = 256;

using ConfigPtr = std::unique_ptr<FcConfig, FreeWith<&FcConfigDestroy>>;
using FontMapPtr = std::unique_ptr<PangoFontMap, FreeWith<&g_object_unref>>;
using ContextPtr = std::unique_ptr<PangoContext, FreeWith<&g_object_unref>>;
using MetricsPtr = std::unique_ptr<PangoFontMetrics, FreeWith<&pango_font_metrics_unref>>;
using FontOptionsPtr = std::unique_ptr<cairo_font_options_t, FreeWith<&cairo_font_options_destroy>>;
using AttributesPtr = std::unique_ptr<PangoAttrList, FreeWith<&pango_attr_list_unref>>;

bool parseRules(FcConfig* config, const std::string& xml) {
    return FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()),
                                          FcTrue) == FcTrue;
}

// The system's configuration (a null name loads the default fonts.conf) between the
// program's two rule sets, so the face aliases run first and the rendering rules last.
ConfigPtr loadConfig() {
    ConfigPtr config(FcConfigCreate());
    if (!config || !parseRules(config.get(), faceAliasRules()) ||
        FcConfigParseAndLoad(config.get(), nullptr, FcTrue) != FcTrue ||
        !parseRules(config.get(), renderingRules()) || FcConfigBuildFonts(config.get()) != FcTrue) {
        return nullptr;
    }
    return config;
}

// A family name as fontconfig compares them: ASCII letters folded, spaces dropped.
std::string familyKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c != ' ') {
            key.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
        }
    }
    return key;
}

class TextSystem {
public:
    TextSystem() : config_(loadConfig()) {
        PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (map != nullptr && config_ && PANGO_IS_FC_FONT_MAP(map)) {
            pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config_.get());
        } else {
            config_.reset();
            if (map == nullptr) {
                map = pango_cairo_font_map_new();
            }
        }
        fontMap_.reset(map);
        context_.reset(pango_font_map_create_context(map));
        // The input method is Chinese: Han characters take their simplified-Chinese forms
        // and fallback prefers fonts made for it, whatever the desktop's locale.
        pango_context_set_language(context_.get(), pango_language_from_string("zh-cn"));
        FontOptionsPtr options(cairo_font_options_create());
        cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
        // Whole-pixel metrics: widths add up per character as the engine measures them.
        cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(context_.get(), options.get());
    }

    PangoContext* context() const { return context_.get(); }
    FcConfig* config() const { return config_.get(); }

    std::shared_ptr<const FontData> font(const LogicalFont& logical) {
        auto found = fonts_.find(logical);
        if (found != fonts_.end()) {
            return found->second;
        }
        if (fonts_.size() >= kMaxCachedFonts) {
            fonts_.clear();
        }
        auto data = resolve(logical);
        fonts_.emplace(logical, data);
        return data;
    }

private:
    struct Metrics {
        int ascent = 0;
        int descent = 0;
        int cell() const { return ascent + descent; }
    };

    Metrics metricsAt(PangoFontDescription* description, int emHeight) const {
        pango_font_description_set_absolute_size(description, double(emHeight) * PANGO_SCALE);
        PangoFontPtr font(pango_context_load_font(context_.get(), description));
        if (!font) {
            return {emHeight, 0};
        }
        MetricsPtr metrics(pango_font_get_metrics(font.get(), nullptr));
        return {PANGO_PIXELS(pango_font_metrics_get_ascent(metrics.get())),
                PANGO_PIXELS(pango_font_metrics_get_descent(metrics.get()))};
    }

    // The largest em height whose cell fits the asked cell height. The ratio of a large size
    // gives the estimate; hinted metrics round per size, so a step or two corrects it.
    int emForCell(PangoFontDescription* description, int cell) const {
        constexpr int kProbe = 1000;
        const int probeCell = metricsAt(description, kProbe).cell();
        if (probeCell <= 0) {
            return cell;
        }
        int em = std::clamp(int(std::lround(double(cell) * kProbe / probeCell)), 1, kMaxEmHeight);
        for (int step = 0; step < 8 && em > 1 && metricsAt(description, em).cell() > cell; ++step) {
            --em;
        }
        for (int step = 0;
             step < 8 && em < kMaxEmHeight && metricsAt(description, em + 1).cell() <= cell;
             ++step) {
            ++em;
        }
        return em;
    }

    // Whether the program's aliases or an installed font know the face, compared the way
    // fontconfig compares family names.
    bool isKnownFace(const std::string& face) const {
        if (face.empty()) {
            return false;
        }
        for (const FaceAlias& alias : faceAliases()) {
            if (familyKey(face) == familyKey(alias.face)) {
                return true;
            }
        }
        PatternPtr pattern(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(face.c_str()));
        FontSetPtr fonts = listFonts(config_.get(), pattern.get(), {FC_FAMILY});
        return fonts && fonts->nfont > 0;
    }

    std::shared_ptr<const FontData> resolve(const LogicalFont& logical) const {
        auto data = std::make_shared<FontData>();
        data->logical = logical;
        data->description.reset(pango_font_description_new());
        PangoFontDescription* description = data->description.get();
        std::string face = utf16ToUtf8(logical.face);
        if (!isKnownFace(face)) {
            face = kSystemFace;
        }
        pango_font_description_set_family(description, face.c_str());
        // GDI's FW_DONTCARE (0) is normal weight.
        const int weight = logical.weight == 0 ? 400 : std::clamp(logical.weight, 100, 1000);
        pango_font_description_set_weight(description, PangoWeight(weight));

        int em = kDefaultEmHeight;
        if (logical.height < 0) {
            em = logical.height < -kMaxEmHeight ? kMaxEmHeight : -logical.height;
        } else if (logical.height > 0) {
            em = emForCell(description, std::min(logical.height, kMaxEmHeight));
        }
        const Metrics metrics = metricsAt(description, em);
        data->emHeight = em;
        data->ascent = metrics.ascent;
        data->descent = metrics.descent;
        return data;
    }

    ConfigPtr config_;
    FontMapPtr fontMap_;
    ContextPtr context_;
    std::map<LogicalFont, std::shared_ptr<const FontData>> fonts_;
};

TextSystem& textSystem() {
    static TextSystem system;
    return system;
}

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

struct LayoutText {
    std::string utf8;
    std::vector<std::pair<std::size_t, std::size_t>> underlined;  // byte ranges
};

LayoutText layoutText(std::u16string_view text, bool prefixes) {
    if (!prefixes) {
        return {utf16ToUtf8(text), {}};
    }
    LayoutText out;
    std::u16string run;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            run.push_back(text[i]);
            continue;
        }
        ++i;
        if (i == text.size()) {
            break;  // a '&' at the end marks nothing and is not drawn
        }
        if (text[i] == u'&') {
            run.push_back(u'&');
            continue;
        }
        out.utf8 += utf16ToUtf8(run);
        run.clear();
        const std::size_t units =
            isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
        const std::size_t start = out.utf8.size();
        out.utf8 += utf16ToUtf8(text.substr(i, units));
        out.underlined.emplace_back(start, out.utf8.size());
        i += units - 1;
    }
    out.utf8 += utf16ToUtf8(run);
    return out;
}

void addUnderline(PangoAttrList* attributes, std::size_t start, std::size_t end) {
    PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    underline->start_index = guint(start);
    underline->end_index = guint(end);
    pango_attr_list_insert(attributes, underline);
}

}  // namespace

PangoContext* textContext() {
    return textSystem().context();
}

FcConfig* textFontConfig() {
    return textSystem().config();
}

FontSetPtr listFonts(FcConfig* config, const FcPattern* pattern,
                     std::initializer_list<const char*> properties) {
    std::unique_ptr<FcObjectSet, FreeWith<&FcObjectSetDestroy>> objects(FcObjectSetCreate());
    for (const char* property : properties) {
        FcObjectSetAdd(objects.get(), property);
    }
    return FontSetPtr(FcFontList(config, const_cast<FcPattern*>(pattern), objects.get()));
}

std::shared_ptr<const FontData> fontData(const LogicalFont& logical) {
    return textSystem().font(logical);
}

std::u16string familyOf(PangoFont* font) {
    DescriptionPtr described(pango_font_describe(font));
    const char* name = pango_font_description_get_family(described.get());
    return name != nullptr ? utf8ToUtf16(name) : std::u16string();
}

namespace {

LayoutPtr makeLayout(const Font& font, std::u16string_view text, bool prefixes) {
    LayoutPtr layout(pango_layout_new(textContext()));
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    pango_layout_set_font_description(layout.get(), font.data().description.get());
    LayoutText content = layoutText(text, prefixes);
    if (content.utf8.size() > std::size_t(INT_MAX)) {
        content = {};
    }
    pango_layout_set_text(layout.get(), content.utf8.data(), int(content.utf8.size()));

    AttributesPtr attributes(pango_attr_list_new());
    // GDI's text output neither kerns nor forms ligatures; without them a text's width is the
    // sum of its characters' widths.
    pango_attr_list_insert(attributes.get(), pango_attr_font_features_new("-kern,-liga,-clig"));
    if (font.logicalFont().underline) {
        addUnderline(attributes.get(), 0, content.utf8.size());
    } else {
        for (auto [start, end] : content.underlined) {
            addUnderline(attributes.get(), start, end);
        }
    }
    pango_layout_set_attributes(layout.get(), attributes.get());
    return layout;
}

struct LayoutKey {
    LogicalFont font;
    std::u16string text;
    bool prefixes;
    auto operator<=>(const LayoutKey&) const = default;
};

}  // namespace

PangoLayout* layoutFor(const Font& font, std::u16string_view text, bool prefixes) {
    constexpr std::size_t kMaxCachedLayouts = 1024;
    static std::map<LayoutKey, LayoutPtr> layouts;
    LayoutKey key{font.logicalFont(), std::u16string(text), prefixes};
    auto found = layouts.find(key);
    if (found != layouts.end()) {
        return found->second.get();
    }
    if (layouts.size() >= kMaxCachedLayouts) {
        layouts.clear();
    }
    return layouts.emplace(std::move(key), makeLayout(font, text, prefixes)).first->second.get();
}

int layoutWidth(PangoLayout* layout) {
    int width = 0;
    pango_layout_get_size(layout, &width, nullptr);
    return PANGO_PIXELS(width);
}

}  // namespace tandel
