#include "SkinReport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "PictureSniff.h"
#include "SkinSignature.h"
#include "TextCodec.h"

namespace tandel::tdskn {
namespace {

template <std::size_t N>
std::string text(const char16_t (&field)[N]) {
    return utf16ToUtf8(fixedText(field));
}

std::string digest(const char (&field)[32]) {
    return std::string(field, std::find(field, field + 32, '\0'));
}

Report bands(const StretchSpec& s) {
    Report r;
    r.add("mode", s.mode);
    r.add("top", s.top);
    r.add("bottom", s.bottom);
    r.add("left", s.left);
    r.add("right", s.right);
    return r;
}

Report bands(const EdgeSpec& s) {
    return bands(StretchSpec{s.mode, s.top, s.bottom, s.left, s.right});
}

template <typename Record>
void addHead(Report& r, const Record& e) {
    r.add("alignment", e.alignment);
    r.add("x", e.x);
    r.add("y", e.y);
    r.add("width", e.width);
    r.add("height", e.height);
}

Report describe(const WindowHeader& h) {
    Report r;
    r.add("offsetX", h.offsetX);
    r.add("offsetY", h.offsetY);
    r.add("stretch", bands(h.stretch));
    r.add("outerMargins", bands(h.outerMargins));
    r.add("cursorColour", hexColour(h.cursorColour));
    r.add("focusColour", hexColour(h.focusColour));
    r.add("auxColour", hexColour(h.auxColour));
    r.add("backgroundPicture", h.backgroundPicture);
    r.add("elementCount", h.elementCount);
    return r;
}

Report describe(const SplitHeader& h) {
    Report r;
    r.add("offsetX", h.offsetX);
    r.add("offsetY", h.offsetY);
    r.add("compStretch", bands(h.compStretch));
    r.add("compOuterMargins", bands(h.compOuterMargins));
    r.add("cursorColour", hexColour(h.cursorColour));
    r.add("compBackgroundPicture", h.compBackgroundPicture);
    r.add("compElementCount", h.compElementCount);
    r.add("candStretch", bands(h.candStretch));
    r.add("candOuterMargins", bands(h.candOuterMargins));
    r.add("focusColour", hexColour(h.focusColour));
    r.add("auxColour", hexColour(h.auxColour));
    r.add("candBackgroundPicture", h.candBackgroundPicture);
    r.add("candElementCount", h.candElementCount);
    return r;
}

Report describe(const StatusHeader& h) {
    Report r;
    r.add("stretch", bands(h.stretch));
    r.add("outerMargins", bands(h.outerMargins));
    r.add("width", h.width);
    r.add("height", h.height);
    r.add("backgroundPicture", h.backgroundPicture);
    r.add("elementCount", h.elementCount);
    return r;
}

Report describe(const TextElement& e) {
    Report r;
    r.add("alignment", e.alignment);
    r.add("marginTop", e.marginTop);
    r.add("marginBottom", e.marginBottom);
    r.add("marginLeft", e.marginLeft);
    r.add("marginRight", e.marginRight);
    r.add("cnFont", text(e.cnFont));
    r.add("enFont", text(e.enFont));
    r.add("cnFontSize", e.cnFontSize);
    r.add("enFontSize", e.enFontSize);
    r.add("bold", e.bold);
    r.add("colour", hexColour(e.colour));
    return r;
}

Report describe(const ButtonElement& e) {
    Report r;
    addHead(r, e);
    r.add("picture", e.picture);
    r.add("fillColour", hexColour(e.fillColour));
    r.add("tooltip", text(e.tooltip));
    return r;
}

Report describe(const StateButtonElement& e) {
    Report r;
    addHead(r, e);
    Report& pictures = r.add("pictures", Report::list());
    for (std::int32_t p : e.pictures) {
        pictures.push(p);
    }
    r.add("stateCount", e.stateCount);
    r.add("tooltip", text(e.tooltip));
    return r;
}

Report describe(const ImageElement& e) {
    Report r;
    addHead(r, e);
    r.add("picture", e.picture);
    return r;
}

Report describe(const SplitLineElement& e) {
    Report r;
    r.add("alignment", e.alignment);
    r.add("marginMode", e.marginMode);
    r.add("marginTop", e.marginTop);
    r.add("marginBottom", e.marginBottom);
    r.add("leftReserve", e.leftReserve);
    r.add("rightReserve", e.rightReserve);
    r.add("picture", e.picture);
    r.add("colour", hexColour(e.colour));
    return r;
}

// Copies a record from bytes when they hold one.
template <typename Record>
bool load(std::span<const std::uint8_t> bytes, Record& record) {
    if (bytes.size() < sizeof record) {
        return false;
    }
    std::memcpy(&record, bytes.data(), sizeof record);
    return true;
}

template <typename Record>
Report describeRecord(std::span<const std::uint8_t> bytes) {
    Record record;
    return load(bytes, record) ? describe(record) : Report("record too short");
}

Report describeElement(std::uint16_t type, std::span<const std::uint8_t> bytes) {
    switch (type) {
        case kCompTextType:
        case kCandTextType: return describeRecord<TextElement>(bytes);
        case kStatusButtonType:
        case kPageButtonType: return describeRecord<ButtonElement>(bytes);
        case kStateButtonType: return describeRecord<StateButtonElement>(bytes);
        case kImageType: return describeRecord<ImageElement>(bytes);
        case kSplitLineType: return describeRecord<SplitLineElement>(bytes);
        default: return Report("unknown element type");
    }
}

Report entry(const DirEntry& e) {
    Report r;
    r.add("id", e.id);
    r.add("type", e.type);
    r.add("offset", e.offset);
    r.add("size", e.size);
    return r;
}

// A section's header, then its elements located through its element directory.
template <typename Header>
Report describeSection(std::span<const std::uint8_t> bytes, int elementCount) {
    Header header;
    load(bytes, header);
    Report r;
    r.add("header", describe(header));
    std::size_t directoryEnd = sizeof header + 12 * std::size_t(std::max(elementCount, 0));
    if (elementCount < 0 || directoryEnd > bytes.size()) {
        r.add("problem", "element directory does not fit the section");
        return r;
    }
    std::span<const std::uint8_t> elementData = bytes.subspan(directoryEnd);
    Report& elements = r.add("elements", Report::list());
    for (int i = 0; i < elementCount; ++i) {
        DirEntry e;
        std::memcpy(&e, bytes.data() + sizeof header + 12 * std::size_t(i), sizeof e);
        Report& item = elements.push(entry(e));
        if (std::uint64_t(e.offset) + e.size > elementData.size()) {
            item.add("problem", "element lies outside the section");
        } else {
            item.add("record", describeElement(e.type, elementData.subspan(e.offset, e.size)));
        }
    }
    return r;
}

Report describeSectionById(int id, std::span<const std::uint8_t> bytes) {
    switch (id) {
        case kComboHId:
        case kComboVId: {
            WindowHeader h;
            return load(bytes, h) ? describeSection<WindowHeader>(bytes, h.elementCount)
                                  : Report("section too short");
        }
        case kSplitHId:
        case kSplitVId: {
            SplitHeader h;
            return load(bytes, h) ? describeSection<SplitHeader>(
                                        bytes, h.compElementCount + h.candElementCount)
                                  : Report("section too short");
        }
        case kStatusId: {
            StatusHeader h;
            return load(bytes, h) ? describeSection<StatusHeader>(bytes, h.elementCount)
                                  : Report("section too short");
        }
        case kCloudPicturesId: {
            CloudPictures c;
            if (!load(bytes, c)) {
                return Report("section too short");
            }
            Report slots = Report::list();
            for (std::int32_t s : c.slots) {
                slots.push(s);
            }
            return slots;
        }
        default: return Report("not a section the editor writes");
    }
}

}  // namespace

std::string hexColour(std::uint32_t colour) {
    char out[16];
    std::snprintf(out, sizeof out, "0x%08X", colour);
    return out;
}

Report describeHeader(const SkinFileHeader& h) {
    Report r;
    r.add("magic", hexColour(h.magic));
    r.add("revision", h.revision);
    r.add("formatVersion", h.formatVersion);
    r.add("animationMode", h.animationMode);
    r.add("entryCount", h.entryCount);
    r.add("payloadSize", h.payloadSize);
    r.add("skinId", digest(h.skinId));
    r.add("name", text(h.name));
    r.add("author", text(h.author));
    r.add("date", text(h.date));
    r.add("email", text(h.email));
    r.add("description", text(h.description));
    r.add("signature", digest(h.signature));
    return r;
}

Report describePayload(const SkinFileContents& contents) {
    Report directory = Report::list();
    for (std::size_t i = 0; i < contents.header.entryCount; ++i) {
        DirEntry e;
        std::memcpy(&e, contents.payload.data() + 12 * i, sizeof e);
        directory.push(entry(e));
    }
    Report sections = Report::list();
    Report pictures = Report::list();
    for (int id = 0; id < kSlotCount; ++id) {
        if (!contents.present[id]) {
            continue;
        }
        std::span<const std::uint8_t> bytes = contents.item(id);
        Report item;
        if (contents.entries[id].type == kSectionEntry) {
            item.add("id", id);
            item.add("size", unsigned(bytes.size()));
            item.add("content", describeSectionById(id, bytes));
            sections.push(std::move(item));
        } else {
            item.add("slot", id);
            item.add("size", unsigned(bytes.size()));
            item.add("format", pictureExtension(pictureFormat(bytes)));
            pictures.push(std::move(item));
        }
    }
    Report r;
    r.add("directory", std::move(directory));
    r.add("sections", std::move(sections));
    r.add("pictures", std::move(pictures));
    return r;
}

}  // namespace tandel::tdskn
