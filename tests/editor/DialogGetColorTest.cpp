// The "取色器" colour picker: the eyedropper drag, what each way of closing leaves for the
// caller, hiding the editor while it is open, and the font page taking the picked colour.
//
// The mouse goes through the window system, as a real drag does, so the picker's mouse grab
// decides which widget the moves reach.
#define QTEST_QPA_MOUSE_HANDLING

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <functional>

#include "DialogGetColor.h"
#include "DlgSkinFont.h"
#include "EditorFixture.h"
#include "EyedropperPictures.h"
#include "PreviewRenderer.h"

namespace tandel::testing {
namespace {

const QColor kOffered(10, 20, 30);
const QColor kRed(255, 0, 0);

QImage shown(const QLabel* box) {
    return box->pixmap().toImage();
}

class ColourPicker : public ::testing::Test {
protected:
    void SetUp() override {
        editor.show();
        dialog.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        // The mouse button state of the test library outlives the test.
        if (dialog.Picking()) {
            QTest::mouseRelease(&dialog, Qt::LeftButton, {}, eyedropper());
        }
    }

    QPoint eyedropper() const { return dialog.EyedropperBox()->geometry().center(); }
    QPoint onSwatch() const { return dialog.Swatch()->geometry().center(); }
    void press(QPoint at) { QTest::mousePress(&dialog, Qt::LeftButton, {}, at); }
    void dragTo(QPoint at) { QTest::mouseMove(&dialog, at); }
    void release(QPoint at) { QTest::mouseRelease(&dialog, Qt::LeftButton, {}, at); }
    // Presses on the eyedropper and drags to a red pixel, keeping the button down.
    void pickRed() {
        services.screen = [](QPoint) { return kRed; };
        press(eyedropper());
        dragTo(eyedropper() + QPoint(300, 200));
    }
    QColor swatchColour() const {
        const QImage image = dialog.Swatch()->grab().toImage();
        return image.pixelColor(image.rect().center());
    }

    FakeServices services;
    QWidget editor;
    CDialogGetColor dialog{services, kOffered, &editor};
};

TEST_F(ColourPicker, OpensAsTheModalPickerShowingTheOfferedColourAndTheEyedropper) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("取色器"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.Colour(), kOffered);
    EXPECT_EQ(swatchColour(), kOffered);
    EXPECT_FALSE(dialog.Picking());
    EXPECT_EQ(shown(dialog.EyedropperBox()), EyedropperPicture(32, 1).toImage());
    EXPECT_EQ(dialog.EyedropperBox()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(dialog.HideEditorBox()->text(), QStringLiteral("隐藏皮肤编辑器"));
    EXPECT_FALSE(dialog.HideEditorBox()->isChecked());
    EXPECT_EQ(dialog.SaveButton()->text(), QStringLiteral("保存"));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("取消"));
}

TEST_F(ColourPicker, DraggingTheEyedropperReadsThePixelUnderThePointerUntilRelease) {
    // The screen is red left of the picker and a colour of its own everywhere else.
    const QPoint origin = dialog.mapToGlobal(QPoint(0, 0));
    services.screen = [origin](QPoint at) {
        return at.x() < origin.x() ? kRed : QColor(at.x() % 256, at.y() % 256, 7);
    };

    press(onSwatch());
    dragTo(onSwatch() + QPoint(5, 5));
    release(onSwatch() + QPoint(5, 5));
    EXPECT_FALSE(dialog.Picking()) << "a press beside the eyedropper picks nothing";
    EXPECT_TRUE(services.screenReads.empty());

    press(eyedropper());
    EXPECT_TRUE(dialog.Picking());
    EXPECT_EQ(shown(dialog.EyedropperBox()), EyedropperOutlinePicture(32, 1).toImage());
    EXPECT_EQ(QWidget::mouseGrabber(), &dialog);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    const QCursor dropper = *QGuiApplication::overrideCursor();
    EXPECT_EQ(dropper.hotSpot(), EyedropperCursor().hotSpot());
    EXPECT_GT(dropper.pixmap().toImage().pixelColor(dropper.hotSpot()).alpha(), 128)
        << "the hot spot is on the tip";

    // Over the picker's own widgets and far outside its window alike.
    for (const QPoint at : {onSwatch(), QPoint(-150, 40), QPoint(700, 500)}) {
        SCOPED_TRACE(::testing::Message() << at.x() << "," << at.y());
        dragTo(at);
        ASSERT_FALSE(services.screenReads.empty());
        EXPECT_EQ(services.screenReads.back(), dialog.mapToGlobal(at));
        EXPECT_EQ(dialog.Colour(), services.screen(dialog.mapToGlobal(at)));
        EXPECT_EQ(swatchColour(), dialog.Colour());
    }
    EXPECT_EQ(dialog.Colour(), QColor(int((origin.x() + 700) % 256), (origin.y() + 500) % 256, 7));

    // Where no screen is, the colour stays.
    const QColor before = dialog.Colour();
    services.screen = [](QPoint) { return QColor(); };
    dragTo(QPoint(-150, 40));
    EXPECT_EQ(dialog.Colour(), before);

    release(QPoint(-150, 40));
    EXPECT_FALSE(dialog.Picking());
    EXPECT_EQ(shown(dialog.EyedropperBox()), EyedropperPicture(32, 1).toImage());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const std::size_t reads = services.screenReads.size();
    dragTo(QPoint(20, 20));
    EXPECT_EQ(services.screenReads.size(), reads) << "moves after the release pick nothing";
    EXPECT_EQ(dialog.Colour(), before);
}

TEST_F(ColourPicker, TheCheckBoxHidesAndShowsTheEditor) {
    dialog.HideEditorBox()->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(dialog.isVisible());
    dialog.HideEditorBox()->click();
    EXPECT_TRUE(editor.isVisible());
}

TEST(ColourPickerClosing, EveryWayOfClosingShowsTheEditorAndLeavesItsColour) {
    const struct {
        const char* way;
        std::function<void(CDialogGetColor&)> close;
        bool releasedFirst;
        int result;
        bool keepsPick;  // else the offered colour comes back
    } cases[] = {
        {"保存", [](CDialogGetColor& d) { d.SaveButton()->click(); }, true, QDialog::Accepted,
         true},
        {"取消", [](CDialogGetColor& d) { d.CancelButton()->click(); }, true, QDialog::Rejected,
         false},
        {"close box", [](CDialogGetColor& d) { d.windowHandle()->close(); }, true,
         QDialog::Rejected, true},
        {"Escape", [](CDialogGetColor& d) { QTest::keyClick(&d, Qt::Key_Escape); }, true,
         QDialog::Rejected, true},
        {"Escape while dragging", [](CDialogGetColor& d) { QTest::keyClick(&d, Qt::Key_Escape); },
         false, QDialog::Rejected, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        FakeServices services;
        QWidget editor;
        editor.show();
        CDialogGetColor dialog(services, kOffered, &editor);
        dialog.show();
        QApplication::processEvents();
        services.screen = [](QPoint) { return kRed; };
        const QPoint eyedropper = dialog.EyedropperBox()->geometry().center();
        QTest::mousePress(&dialog, Qt::LeftButton, {}, eyedropper);
        QTest::mouseMove(&dialog, eyedropper + QPoint(300, 200));
        if (c.releasedFirst) {
            QTest::mouseRelease(&dialog, Qt::LeftButton, {}, eyedropper + QPoint(300, 200));
        }
        dialog.HideEditorBox()->click();
        ASSERT_FALSE(editor.isVisible());

        c.close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(dialog.Colour(), c.keepsPick ? kRed : kOffered);
        EXPECT_FALSE(dialog.Picking());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        if (!c.releasedFirst) {
            QTest::mouseRelease(&dialog, Qt::LeftButton, {}, eyedropper);
        }
    }
}

// The font page on the editor's own pages, with the picker it opens by itself.
class FontPagePicker : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        window.reset();
        window = std::make_unique<CAtelierDlg>(document, services, nullptr);
        window->show();
        window->Tabs()->setCurrentIndex(kTabFont);
        page = dynamic_cast<CDlgSkinFont*>(window->Page(kTabFont));
        ASSERT_NE(page, nullptr);
        page->Refresh();
    }

    // Clicks the picker icon of a colour; while the picker is open, runs inPicker on it.
    void pickWith(int colour, const std::function<void(CDialogGetColor&)>& inPicker) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<CDialogGetColor*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            ran = true;
            inPicker(*picker);
        });
        QTest::mouseClick(page->PickerIcon(colour), Qt::LeftButton);
        EXPECT_TRUE(ran);
    }

    template <typename Layout>
    static std::uint32_t colourIn(const Layout& layout, int colour) {
        switch (colour) {
            case CDlgSkinFont::kPinyin: return layout.compText.colour;
            case CDlgSkinFont::kFocused: return layout.header.focusColour;
            case CDlgSkinFont::kCandidates: return layout.candText.colour;
            default: return layout.header.cursorColour;
        }
    }
    template <typename Check>
    void forEachLayout(Check check) {
        check("comboH", document.comboH);
        check("comboV", document.comboV);
        check("splitH", document.splitH);
        check("splitV", document.splitV);
    }

    CDlgSkinFont* page = nullptr;
};

TEST_F(FontPagePicker, PickerIconsShowTheEyedropperUnderAHandCursor) {
    const QImage eyedropper = EyedropperPicture(20, 1).toImage();
    for (int i = 0; i < 4; ++i) {
        const QToolButton* icon = page->PickerIcon(i);
        EXPECT_EQ(icon->icon().pixmap(QSize(20, 20), 1.0).toImage(), eyedropper) << i;
        EXPECT_EQ(icon->cursor().shape(), Qt::PointingHandCursor) << i;
    }
    EXPECT_EQ(page->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(FontPagePicker, ThePickedColourGoesIntoEveryLayout) {
    const struct {
        int colour;
        QColor screen;
        bool cancel;
        std::uint32_t stored;  // in every layout
    } cases[] = {
        {CDlgSkinFont::kPinyin, QColor(0x11, 0x22, 0x33), false, 0xFF332211},
        {CDlgSkinFont::kFocused, QColor(0x44, 0x55, 0x66), false, 0xFF665544},
        {CDlgSkinFont::kCandidates, QColor(0x77, 0x88, 0x99), false, 0xFF998877},
        {CDlgSkinFont::kCursor, QColor(0xAA, 0xBB, 0xCC), false, 0xFFCCBBAA},
        // "取消" gives back the swatch's colour, a new skin's after the restore; still taken.
        {CDlgSkinFont::kPinyin, QColor(0xDD, 0xEE, 0xFF), true, 0xFFC76B1A},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour);
        page->OnRestore();
        const std::uint32_t before = page->ColourValue(c.colour);
        ASSERT_FALSE(page->RestoreButton()->isEnabled());
        services.screen = [&](QPoint) { return c.screen; };
        window->SetSkinChanged(false);

        pickWith(c.colour, [&](CDialogGetColor& picker) {
            EXPECT_EQ(picker.InitialColour(),
                      QColor(int(before & 0xFF), int(before >> 8 & 0xFF), int(before >> 16)));
            picker.HideEditorBox()->click();
            EXPECT_FALSE(window->isVisible()) << "the picker hides the main window";
            const QPoint eyedropper = picker.EyedropperBox()->geometry().center();
            QTest::mousePress(&picker, Qt::LeftButton, {}, eyedropper);
            QTest::mouseMove(&picker, QPoint(-200, -200));
            QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(-200, -200));
            (c.cancel ? picker.CancelButton() : picker.SaveButton())->click();
        });

        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(page->ColourValue(c.colour), c.stored & 0xFFFFFF);
        forEachLayout([&](const char* name, const auto& layout) {
            EXPECT_EQ(colourIn(layout, c.colour), c.stored) << name;
        });
        EXPECT_TRUE(page->RestoreButton()->isEnabled());
        EXPECT_TRUE(window->SkinChanged());
    }
}

}  // namespace
}  // namespace tandel::testing
