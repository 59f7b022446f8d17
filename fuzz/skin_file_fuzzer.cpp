// Feeds arbitrary bytes to the skin file reader. The first byte picks what the rest is:
// 0, a whole skin file (header and zlib stream, the signature check skipped so that the
// payload is reached); otherwise, a header followed by an uncompressed payload.
#include <cstdint>
#include <cstring>
#include <span>

#include "PictureSniff.h"
#include "SkinFileReader.h"

using namespace tandel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    std::span<const std::uint8_t> input(data + 1, size - 1);
    looksAnimated(input);
    pictureFormat(input);

    SkinFileContents contents;
    if (!parseSkinFileHeader(input, contents.header, nullptr)) {
        return 0;
    }
    if (data[0] == 0) {
        if (!inflateSkinPayload(input, contents, nullptr)) {
            return 0;
        }
    } else {
        contents.payload.assign(input.begin() + kSkinHeaderSize, input.end());
        if (!indexSkinPayload(contents, nullptr)) {
            return 0;
        }
    }
    SkinSections sections;
    setNewSkinSections(sections);
    restoreSections(contents, sections, nullptr);
    return 0;
}
