// The engine's skin object: loading from the editor's payload, from an installed skin, and
// falling back to the built-in skin.
#include "InputSkin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "BuiltInPictures.h"
#include "SkinDocument.h"
#include "TestFiles.h"

namespace tandel {
namespace {

class InputSkinTest : public ::testing::Test {
protected:
    // Objects record their settings in the shared cache; none may outlive the test there.
    void TearDown() override {
        ResourceCache& cache = ResourceCache::Instance();
        cache.releaseCache();
        cache.settings = nullptr;
        cache.module = nullptr;
        ::unsetenv("TANDEL_REGISTRY");
        ::unsetenv("XDG_DATA_HOME");
    }
};

TEST_F(InputSkinTest, EditorPayloadBuildsTheWindowKind) {
    SkinDocument doc;
    CInputSkinImpl skin;
    EXPECT_EQ(skin.LoadSkin(2, doc.payload(), doc.header.entryCount, 1), 1);
    Rect rect;
    EXPECT_EQ(skin.GetRect(kRootWindow, &rect), 1);
    EXPECT_EQ(skin.GetRect(kRootStatus, &rect), 1);
    EXPECT_EQ(skin.IsVertical(), 0);
    LayoutContext context;
    EXPECT_EQ(skin.Layout(kRootWindow, &context), 1);
    Point caret;
    EXPECT_EQ(skin.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret.y, 5);
    Rect margins;
    EXPECT_EQ(skin.GetOuterMargins(kRootWindow, &margins), 1);

    // An empty payload leaves the controls as they were.
    EXPECT_EQ(skin.LoadSkin(0, doc.payload(), 0, 1), 0);
    EXPECT_EQ(skin.GetRect(kRootWindow, &rect), 1);
    EXPECT_EQ(skin.LoadSkin(5, doc.payload(), doc.header.entryCount, 1), 1);
    EXPECT_EQ(skin.IsVertical(), 1);  // only kind 5 marks the object vertical
    EXPECT_EQ(skin.GetRect(9, &rect), 0);
    EXPECT_EQ(skin.GetRect(kRootWindow, nullptr), 0);
    EXPECT_EQ(skin.ResetAnimation(9), 9);
    MouseResult r{};
    EXPECT_EQ(skin.OnMouse(kRootWindow, kMouseMove, 1, 1, 0, nullptr), 0);
    EXPECT_EQ(skin.OnMouse(kRootWindow, kMouseMove, 1, 1, 0, &r), 1);
}

TEST_F(InputSkinTest, SettingsReloadOnlyWhenTheyChange) {
    CInputSkinImpl skin;
    EXPECT_EQ(skin.HasNoSkin(), 1);
    ASSERT_EQ(skin.Initialize(&builtInPicture), 1);
    SkinSettings settings{};
    settings.statusItemMask = 0x7FF;
    settings.themeColour = kDefaultThemeColour;
    EXPECT_EQ(skin.UpdateSettings(&settings), 1);  // built-in skin: no skin named
    Rect status;
    ASSERT_EQ(skin.GetRect(kRootStatus, &status), 1);
    EXPECT_EQ(skin.UpdateSettings(&settings), 0);
    settings.statusItemMask = 0x1;  // one byte changes: a reload with fewer items
    EXPECT_EQ(skin.UpdateSettings(&settings), 1);
    Rect smaller;
    ASSERT_EQ(skin.GetRect(kRootStatus, &smaller), 1);
    EXPECT_LT(smaller.width(), status.width());
    EXPECT_EQ(skin.UpdateSettings(nullptr), 0);
}

TEST_F(InputSkinTest, InstalledSkinsAreFoundInTheInstallFolderThenTheUserDataFolder) {
    testing::TemporaryFolder folder;
    const std::filesystem::path registry = folder / "registry.ini";
    std::ofstream(registry) << "[Software\\Tandel]\nInstallDir=" << folder.path().string()
                            << "\nVersion=2.6\n";
    ::setenv("TANDEL_REGISTRY", registry.c_str(), 1);

    SkinDocument doc;
    doc.comboH.header.offsetY = 9;  // something to recognise the installed skin by
    const std::filesystem::path skins = folder.path() / "2.6.0.1603" / "Skin";
    std::filesystem::create_directories(skins);
    ASSERT_TRUE(doc.saveToFile(skins / "0123456789abcdef0123456789abcdef.tdskn"));

    CInputSkinImpl skin;
    skin.Initialize(&builtInPicture);
    SkinSettings settings{};
    std::memcpy(settings.skinId, "0123456789abcdef0123456789abcdef", 32);
    ASSERT_EQ(skin.UpdateSettings(&settings), 1);
    EXPECT_EQ(skin.HasNoSkin(), 0);
    Point caret;
    ASSERT_EQ(skin.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret.y, 9);

    // Not in the install folder: the user data folder's Skin folder.
    settings.skinId[0] = 'f';
    const std::filesystem::path userSkins = folder.path() / "data" / "Tandel" / "Skin";
    std::filesystem::create_directories(userSkins);
    doc.comboH.header.offsetY = 11;
    ASSERT_TRUE(doc.saveToFile(userSkins / "f123456789abcdef0123456789abcdef.tdskn"));
    ::setenv("XDG_DATA_HOME", (folder.path() / "data").c_str(), 1);
    ASSERT_EQ(skin.UpdateSettings(&settings), 1);
    ASSERT_EQ(skin.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret.y, 11);

    settings.skinId[1] = 'f';  // in neither folder: the built-in skin (offset 5)
    ASSERT_EQ(skin.UpdateSettings(&settings), 1);
    ASSERT_EQ(skin.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret.y, 5);
}

}  // namespace
}  // namespace tandel
