// How element pages are bound to an element and whom their changes reach.
#include <gtest/gtest.h>

#include <QWidget>

#include "EditorHost.h"
#include "ElementPage.h"
#include "FakeServices.h"

namespace tandel::testing {
namespace {

class RecordingHost : public QWidget, public IEditorHost {
public:
    int RebuildSkins(bool) override {
        calls << QStringLiteral("rebuild");
        return 1;
    }
    void RedrawPreview() override { calls << QStringLiteral("redraw"); }
    void SetSkinChanged(bool changed) override {
        calls << (changed ? QStringLiteral("changed") : QStringLiteral("unchanged"));
    }
    int BackgroundIndex() const override { return 0; }
    void SetBackgroundIndex(int) override {}
    QColor BackgroundColour() const override { return Qt::white; }
    void SetWizardScene(int) override {}
    void SetBackgroundCycling(bool) override {}
    void OnSave() override {}
    PlatformServices& Services() override { return services; }
    QWidget* Window() override { return this; }

    FakeServices services;
    QStringList calls;
};

// An input-window page: holds element pages and reloads the element's picture on updates.
class HoldingPage : public CPageBase, public IElementPageOwner {
public:
    int Apply() override { return 1; }
    int Refresh() override { return 1; }
    void UpdateFromElementPage() override {
        ++reloads;
        NotifyUpdate();
    }
    int reloads = 0;
};

class ElementPageProbe : public CElementPage {
public:
    int Apply() override { return 1; }
    int Refresh() override { return Bound() ? 1 : 0; }
    void edit() { NotifyChangedAndUpdate(); }
    void spin() { NotifySpun(); }
};

class AreaPageProbe : public ElementPageProbe {
protected:
    std::int32_t BindingKey() const override { return Binding().controlId; }
};

TEST(ElementPage, IsBoundOnlyToAnElementWithANonNegativeKey) {
    ElementPageProbe picturePage;
    AreaPageProbe areaPage;
    EXPECT_FALSE(picturePage.Bound());
    EXPECT_EQ(picturePage.Refresh(), 0) << "unbound";

    const struct {
        std::int32_t controlId, pictureSlot;
        bool pictureBound, areaBound;
    } cases[] = {
        {3, -1, false, true},  // a text box: no picture
        {-1, 9, true, false},  // a window background: no control id
        {20, 16, true, true},  // a page-turn button
    };
    for (const auto& c : cases) {
        for (ElementPageProbe* page : {&picturePage, static_cast<ElementPageProbe*>(&areaPage)}) {
            page->Bind(c.controlId, c.pictureSlot, 3, 1, QStringLiteral("右翻页按钮"));
        }
        EXPECT_EQ(picturePage.Bound(), c.pictureBound) << c.controlId << "/" << c.pictureSlot;
        EXPECT_EQ(areaPage.Bound(), c.areaBound) << c.controlId << "/" << c.pictureSlot;
    }
    const ElementBinding& binding = picturePage.Binding();
    EXPECT_EQ(binding.controlId, 20);
    EXPECT_EQ(binding.pictureSlot, 16);
    EXPECT_EQ(binding.windowKind, 3);
    EXPECT_EQ(binding.splitFlag, 1);
    EXPECT_EQ(binding.caption, QStringLiteral("右翻页按钮"));
}

TEST(ElementPage, ChangesReachTheMainWindowThroughThePageThatHoldsThem) {
    RecordingHost window;
    HoldingPage holder;
    ElementPageProbe element;
    element.SetOwner(&holder);
    holder.SetOwner(&window);

    element.edit();
    EXPECT_EQ(window.calls, (QStringList{"changed", "rebuild", "redraw"}));
    EXPECT_EQ(holder.reloads, 1) << "the holder reloads the element's picture first";

    window.calls.clear();
    element.spin();
    EXPECT_EQ(window.calls, QStringList{"changed"}) << "a spin only marks the skin";

    window.calls.clear();
    holder.SetOwner(nullptr);
    element.edit();
    EXPECT_TRUE(window.calls.isEmpty()) << "no window: nobody to tell";
}

}  // namespace
}  // namespace tandel::testing
