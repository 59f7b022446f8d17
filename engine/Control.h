// The control tree of an input window or the status bar: the records passed between the
// engine and its caller during layout, mouse handling and animation, the control interface,
// the behaviour every control shares, and the factory.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>

#include "Canvas.h"
#include "Geometry.h"
#include "Render.h"
#include "SkinFile.h"

namespace tandel {

class ISchemeInfo;
struct ParseContext;

enum class ContextKind : std::int32_t { Head, Layout, Status };

// What every layout context starts with: the measured size, how far pictures and buttons
// reach outside the window's own rectangle, and the canvas text is measured for.
struct ContextHead {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t overflowLeft = 0;
    std::int32_t overflowTop = 0;
    std::int32_t overflowRight = 0;
    std::int32_t overflowBottom = 0;
    Canvas* canvas = nullptr;
    // Which context the head starts. A skin may put any control into any window, so controls
    // that read a LayoutContext check this before they cast.
    ContextKind kind = ContextKind::Head;
};

// One per previewed window: the caller sets the canvas, the options and the scenario; the
// controls fill in the rest during Layout.
struct LayoutContext : ContextHead {
    LayoutContext() { kind = ContextKind::Layout; }

    // Option bytes 28..35: [1] placement of a split window's candidate pane, [2] non-zero to
    // use it (else the default placement), [5] room for the cloud-link icon.
    std::uint8_t options[8] = {1, 0, 0, 1, 0, 0, 0, 0};
    std::int32_t caretOffsetX = 0;
    std::int32_t caretOffsetY = 0;
    std::int32_t prevPageLeft = 0;
    std::int32_t prevPageTop = 0;
    std::int32_t nextPageLeft = 0;
    std::int32_t nextPageTop = 0;
    std::int32_t tipCells[10] = {};  // left, top of each of the five composition tip cells
    Rect compTextRect;               // the composition string of a split composition pane
    std::int32_t convertedEndX = 0;  // where the converted part of the composition ends
    Rect candListRect;               // the candidate list with its margins (split pane)
    std::int32_t candTextX = 0;      // list margin plus the first candidate's label width
    ISchemeInfo* scheme = nullptr;
};

// The status bar's context: option bytes 28..36 choose the items' pictures.
struct StatusContext : ContextHead {
    StatusContext() { kind = ContextKind::Status; }

    // Chinese mode, full width, Chinese punctuation, caps lock, traditional characters, full
    // pinyin, logged in, (not read), soft keyboard open.
    std::uint8_t options[9] = {1, 0, 1, 0, 0, 1, 0, 1, 0};
};

// The context behind head when it is of that kind; null for any other (a skin that puts a
// window's control into the status bar hands it a StatusContext, and the other way round).
inline LayoutContext* layoutContext(ContextHead* head) {
    return head != nullptr && head->kind == ContextKind::Layout ? static_cast<LayoutContext*>(head)
                                                                : nullptr;
}
inline StatusContext* statusContext(ContextHead* head) {
    return head != nullptr && head->kind == ContextKind::Status ? static_cast<StatusContext*>(head)
                                                                : nullptr;
}

struct MouseResult {
    std::int32_t hit;      // 1 inside on nothing active, 2 on an active element, 3 pressed
    std::int32_t command;  // what was hit
    std::int32_t redraw;   // 0 the rectangle, 1 the union collected so far, 2 everything
    Rect rectangle;
};
static_assert(sizeof(MouseResult) == 28);

// Merges a redraw request into a result (null rectangle: none given).
void MergeRedraw(MouseResult& result, int level, const Rect* rectangle);

// Mouse messages and key state as the host passes them.
enum MouseMessage { kMouseMove = 0x200, kButtonDown = 0x201, kButtonUp = 0x202 };
inline constexpr int kLeftButtonHeld = 1;

// Button states.
enum ButtonState {
    kStateNormal = 0,
    kStateHover = 1,
    kStatePressed = 2,
    kStateDisabled = 3,
    kStateHidden = 4
};

class IControl {
public:
    virtual ~IControl() = default;
    virtual int Layout(ContextHead* context) = 0;
    virtual Rect GetRect(int part) const = 0;
    virtual void SetRect(const Rect& rect) = 0;
    virtual int GetState() const = 0;
    virtual void SetState(int state) = 0;
    virtual int OnMouse(int message, int x, int y, int keys, MouseResult* result) = 0;
    virtual int Draw(Canvas* canvas, const Rect* clip) = 0;
    // record: the element's bytes (a section's, for a window); a record too short for the
    // control's kind is refused.
    virtual int Create(std::span<const std::uint8_t> record, ParseContext* context) = 0;
    virtual Rect GetCaretOffset() const = 0;
    virtual void Offset(int dx, int dy) = 0;
    virtual Rect GetOuterMargins() const = 0;
    virtual int OnTimer(MouseResult* result) = 0;
    virtual void ResetAnimation() = 0;
    virtual void ResetAnimation2() = 0;
};

class ZODBaseControl : public IControl {
public:
    ZODBaseControl(int type, int id) : type_(type), id_(id) {}

    int Layout(ContextHead* context) override;
    Rect GetRect(int part) const override;
    void SetRect(const Rect& rect) override { rect_ = rect; }
    int GetState() const override { return 0; }
    void SetState(int) override {}
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    Rect GetCaretOffset() const override { return {}; }
    void Offset(int dx, int dy) override { rect_ = rect_.offset(dx, dy); }
    Rect GetOuterMargins() const override { return {}; }
    int OnTimer(MouseResult* result) override;
    void ResetAnimation() override { animationClock_ = 0; }
    void ResetAnimation2() override { ResetAnimation(); }

    int type() const { return type_; }
    int id() const { return id_; }
    // Calls visit with each child that exists, in slot order; for tools that show the tree.
    virtual void forEachChild(const std::function<void(const IControl&)>& /*visit*/) const {}
    IRender* render() const { return render_.get(); }

protected:
    // Makes the renderer of this control's type; false when the type has none.
    bool createRender(ParseContext* context);
    // Whether the control may paint under clip: no clip, or one that holds its whole rect.
    bool mayDraw(const Rect* clip) const;
    // Places the rect by alignment against the context's size and raises the overflow by
    // how far it sticks out. Returns 0 (and empties the rect) for an unknown alignment.
    int place(ContextHead& context, const PlacementHead& head);
    // A renderer's animation step, timed by the tick count.
    int stepAnimation(IRender* render, MouseResult* result);

    Rect rect_;
    std::unique_ptr<IRender> render_;
    int type_;
    int id_;
    std::uint32_t animationClock_ = 0;
};

// Reads a record from the front of bytes; false when there are not enough.
template <typename Record>
bool readRecord(std::span<const std::uint8_t> bytes, Record& record) {
    if (bytes.size() < sizeof record) {
        return false;
    }
    std::memcpy(&record, bytes.data(), sizeof record);
    return true;
}

// The size of the element record of a control type (0 for types that are not elements).
std::size_t elementRecordSize(int type);

// A section's element directory and the element data behind it. Entries that do not fit the
// section are not there; records that do not fit the element data are empty.
class ElementDirectory {
public:
    ElementDirectory(std::span<const std::uint8_t> section, std::size_t headerSize, int count);
    int count() const { return count_; }
    DirEntry entry(int index) const;
    std::span<const std::uint8_t> record(const DirEntry& entry) const;

private:
    std::span<const std::uint8_t> directory_;
    std::span<const std::uint8_t> data_;
    int count_ = 0;
};

// Creates the children of entries [first, first + count) in directory order: each goes into
// the slot slotOf(id) gives (entries whose id has no slot, or whose type makes no control,
// are skipped) and reads its record. Window and pane types are not elements: a file that
// nests windows in windows could otherwise recurse as deep as its bytes allow.
template <typename SlotOf>
void createChildren(const ElementDirectory& directory, int first, int count, ParseContext* context,
                    SlotOf slotOf);

// Type codes 0..5: the windows, panes and the status bar.
inline constexpr int kLastContainerType = 5;

// A new control of a type code, or null for 16, 17 and anything above 19.
std::unique_ptr<IControl> CreateControl(int type, int id);

template <typename SlotOf>
void createChildren(const ElementDirectory& directory, int first, int count, ParseContext* context,
                    SlotOf slotOf) {
    for (int i = first; i < first + count && i < directory.count(); ++i) {
        const DirEntry entry = directory.entry(i);
        std::unique_ptr<IControl>* slot = slotOf(int(entry.id));
        if (slot == nullptr || entry.type <= kLastContainerType) {
            continue;
        }
        std::unique_ptr<IControl> child = CreateControl(entry.type, entry.id);
        if (!child) {
            continue;
        }
        child->Create(directory.record(entry), context);
        *slot = std::move(child);
    }
}

}  // namespace tandel
