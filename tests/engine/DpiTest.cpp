#include "Dpi.h"

#include <gtest/gtest.h>

namespace tandel {
namespace {

int gDpi = 96;
int testDpi() {
    return gDpi;
}

class DpiTest : public ::testing::Test {
protected:
    void SetUp() override { SetScreenDpiSource(&testDpi); }
    void TearDown() override {
        gDpi = 96;
        CDPI::Instance().enabled = 1;
        CDPI::Instance().Refresh();
        CDPIEditor::Instance().Refresh();
        SetScreenDpiSource(nullptr);
    }
    CDPI& at(int dpi) {
        gDpi = dpi;
        CDPI::Instance().Refresh();
        return CDPI::Instance();
    }
};

TEST_F(DpiTest, FactorsAreExactQuotients) {
    struct Case {
        int dpi;
        double scale, half;
        bool high;
    };
    const Case cases[] = {{96, 1.0, 0.5, false},
                          {120, 1.25, 0.625, false},
                          {144, 1.5, 0.75, false},
                          {192, 2.0, 1.0, true}};
    for (const Case& c : cases) {
        CDPI& dpi = at(c.dpi);
        EXPECT_EQ(dpi.scale, c.scale);
        EXPECT_EQ(dpi.halfScale, c.half);
        EXPECT_EQ(dpi.highDpi != 0, c.high);
    }
}

TEST_F(DpiTest, ScalesRecordsWithTruncation) {
    CDPI& dpi = at(144);
    StretchSpec stretch{1, 5, 5, 5, 5};
    dpi.ScaleStretchSpec(stretch, false);
    EXPECT_EQ(stretch.left, 7);  // 7.5 truncated
    EXPECT_EQ(stretch.mode, 1);
    EXPECT_EQ(dpi.Scaled(-16), -24);  // a font of size 16
    PlacementHead head{8, -3, 5, 6, 10};
    dpi.ScalePlacement(head, false);
    EXPECT_EQ(head.alignment, 8);
    EXPECT_EQ(head.x, -4);  // towards zero
    EXPECT_EQ(head.y, 7);
    EXPECT_EQ(head.width, 9);
    EXPECT_EQ(head.height, 15);
    std::int16_t point[2] = {3, -3};
    dpi.ScalePoint(point, false);
    EXPECT_EQ(point[0], 4);
    EXPECT_EQ(point[1], -4);
}

TEST_F(DpiTest, HalfScaleAndSwitches) {
    CDPI& dpi = at(192);
    Rect r{1, 2, 3, 4};
    dpi.ScaleRect(r, true);
    EXPECT_EQ(r, (Rect{1, 2, 3, 4}));
    dpi.ScaleRect(r, false);
    EXPECT_EQ(r, (Rect{2, 4, 6, 8}));

    dpi.enabled = 0;
    EXPECT_EQ(dpi.Refresh(), 0);
    Rect unchanged{1, 2, 3, 4};
    dpi.ScaleRect(unchanged, false);
    EXPECT_EQ(unchanged, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(dpi.RefreshFromAlternative(), 0);

    CDPI& normal = (dpi.enabled = 1, at(96));
    Rect same{5, 6, 7, 8};
    normal.ScaleRect(same, false);
    EXPECT_EQ(same, (Rect{5, 6, 7, 8}));

    gDpi = 120;
    CDPIEditor::Instance().Refresh();
    EXPECT_EQ(CDPIEditor::Instance().ScaleValue(10), 12);
    CDPIEditor::Instance().enabled = 0;
    EXPECT_EQ(CDPIEditor::Instance().ScaleValue(10), 10);
    CDPIEditor::Instance().enabled = 1;
}

}  // namespace
}  // namespace tandel
