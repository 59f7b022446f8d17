// The heavy skin the benchmarks measure: an 800 x 600 picture in every background and custom
// picture slot (custom pictures at their pictures' size, as the custom picture page sets
// them), one of them an animated GIF.
#pragma once

#include "SkinDocument.h"
#include "TestFiles.h"

namespace tandel {

void makeHeavyPreviewSkin(SkinDocument& doc, const testing::TemporaryFolder& folder);

}  // namespace tandel
