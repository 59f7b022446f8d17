// The families the font page offers: installed families by the language they cover, with the
// Windows faces skins name (which the program maps onto installed families) among them.
#pragma once

#include <string>
#include <vector>

namespace tandel {

// Families covering Simplified Chinese, named in Chinese where the font has such a name (as a
// Chinese Windows lists them), with the Chinese Windows faces. Sorted, each once.
std::vector<std::u16string> chineseFontFamilies();

// Families covering English, with the Latin Windows faces. Sorted, each once.
std::vector<std::u16string> latinFontFamilies();

}  // namespace tandel
