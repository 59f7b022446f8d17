// The pages that edit one element of one window layout (a background, a text box, a button,
// a custom picture). The input-window page that holds them binds them to the element its tree
// selects; until then, and while the binding names no element, they leave the document alone.
#pragma once

#include <QString>
#include <cstdint>

#include "PageBase.h"

namespace tandel {

// Which element a page edits.
struct ElementBinding {
    // The element's id among its window's children; negative for the window backgrounds.
    std::int32_t controlId = -1;
    // Index into the document's picture table; -1 for an element without a picture.
    std::int32_t pictureSlot = -1;
    // 3 candidate window, 4 composition window (the combined window counts as 3).
    std::int32_t windowKind = 3;
    // 0 combined layout, 1 split layout.
    std::int32_t splitFlag = 0;
    // The tree node's text.
    QString caption;
};

// The page that holds element pages: it reloads the selected element's picture before the
// preview is brought up to date.
class IElementPageOwner {
public:
    virtual ~IElementPageOwner() = default;
    virtual void UpdateFromElementPage() = 0;
};

class CElementPage : public CPageBase {
    Q_OBJECT
public:
    using CPageBase::CPageBase;

    void Bind(std::int32_t controlId, std::int32_t pictureSlot, std::int32_t windowKind,
              std::int32_t splitFlag, const QString& caption);
    const ElementBinding& Binding() const { return binding_; }
    // Bound to an element whose key is not negative: edits go into the document.
    bool Bound() const { return bound_ && BindingKey() >= 0; }

protected:
    // The value that names the element: the picture slot, or the control id for pages that
    // edit elements without pictures.
    virtual std::int32_t BindingKey() const { return binding_.pictureSlot; }

private:
    ElementBinding binding_;
    bool bound_ = false;
};

}  // namespace tandel
