#include "PlaceholderPage.h"

#include "SkinDocument.h"
#include "SkinInfo.h"
#include "TextCodec.h"

namespace tandel {

PlaceholderPage::PlaceholderPage(SkinDocument* stamped, QWidget* parent)
    : QWidget(parent), stamped_(stamped) {}

int PlaceholderPage::Show(bool show) {
    setVisible(show);
    return 1;
}

int PlaceholderPage::Apply() {
    if (stamped_ == nullptr) {
        return 1;
    }
    SkinFileHeader& header = stamped_->header;
    const SkinInfoFields fields{
        std::u16string(fixedText(header.name)), std::u16string(fixedText(header.author)),
        std::u16string(fixedText(header.email)), std::u16string(fixedText(header.description))};
    return applySkinInfo(header, fields, EmailRule::OptionalWhenEmpty).empty() ? 1 : 0;
}

}  // namespace tandel
