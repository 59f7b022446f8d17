#include "FontFamilies.h"

#include <algorithm>
#include <cstring>

#include "FaceAliases.h"
#include "TextCodec.h"
#include "TextSystem.h"

namespace tandel {
namespace {

// The font's family name in nameLanguage when it has one, else its first.
const FcChar8* familyName(FcPattern* font, const char* nameLanguage) {
    FcChar8* first = nullptr;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (first == nullptr) {
            first = name;
        }
        FcChar8* language = nullptr;
        if (FcPatternGetString(font, FC_FAMILYLANG, i, &language) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(language), nameLanguage) == 0) {
            return name;
        }
    }
    return first;
}

std::vector<std::u16string> families(const char* coveredLanguage, const char* nameLanguage,
                                     bool chineseFaces) {
    std::vector<std::u16string> names;
    PatternPtr pattern(FcPatternCreate());
    std::unique_ptr<FcLangSet, FreeWith<&FcLangSetDestroy>> languages(FcLangSetCreate());
    FcLangSetAdd(languages.get(), reinterpret_cast<const FcChar8*>(coveredLanguage));
    FcPatternAddLangSet(pattern.get(), FC_LANG, languages.get());
    if (FontSetPtr fonts = listFonts(textFontConfig(), pattern.get(), {FC_FAMILY, FC_FAMILYLANG})) {
        for (int i = 0; i < fonts->nfont; ++i) {
            if (const FcChar8* name = familyName(fonts->fonts[i], nameLanguage)) {
                names.push_back(utf8ToUtf16(reinterpret_cast<const char*>(name)));
            }
        }
    }
    for (const FaceAlias& alias : faceAliases()) {
        if (alias.chinese == chineseFaces) {
            names.push_back(utf8ToUtf16(alias.face));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace

std::vector<std::u16string> chineseFontFamilies() {
    return families("zh-cn", "zh-cn", true);
}

std::vector<std::u16string> latinFontFamilies() {
    return families("en", "en", false);
}

}  // namespace tandel
