#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "Report.h"
#include "SkinFileReader.h"

namespace tandel::tdskn {

// The header fields and whether the signature verifies.
Report describeHeader(const SkinFileHeader& header);
// The top directory, each section with its header and elements, and each picture.
// Problems found on the way are recorded in the report instead of stopping it.
Report describePayload(const SkinFileContents& contents);

std::string hexColour(std::uint32_t colour);

}  // namespace tandel::tdskn
