// The check tab's seven scenes: labels, buttons, the background cycling and the save at the
// last step.
#include <QLabel>
#include <QPushButton>

#include "CheckWizard.h"
#include "EditorFixture.h"
#include "Scenarios.h"

namespace tandel {
namespace {

using testing::EditorFixture;

class CheckWizardTest : public EditorFixture {
protected:
    CDlgCheck& wizard() { return *window->CheckPage(); }
    QString step() { return wizard().StepLabel()->text(); }
    QString scene() { return wizard().SceneName()->text(); }
};

TEST_F(CheckWizardTest, WalksThroughTheScenesAndSavesAtTheLastStep) {
    window->Tabs()->setCurrentIndex(kTabCheck);
    EXPECT_EQ(step(), QStringLiteral("(1/7)"));
    EXPECT_EQ(scene(), QStringLiteral("不同背景颜色下的输入场景"));
    EXPECT_FALSE(wizard().PreviousButton()->isEnabled());
    EXPECT_TRUE(window->CyclingBackground());
    window->OnCycleTimer();  // green
    wizard().OnNext();
    EXPECT_EQ(window->BackgroundIndex(), 0);  // back to white
    EXPECT_FALSE(window->CyclingBackground());
    EXPECT_EQ(step(), QStringLiteral("(2/7)"));
    EXPECT_EQ(scene(), QStringLiteral("状态栏检测场景"));
    EXPECT_TRUE(wizard().PreviousButton()->isEnabled());
    EXPECT_EQ(window->WizardScene(), 1);

    struct Scene {
        const char16_t* name;
        ISchemeInfo* scenario;
    };
    const Scene scenes[] = {{u"输入文字较长的场景", &INPUT_INFO_LONG()},
                            {u"候选为3的场景", &INPUT_INFO3()},
                            {u"候选为9的场景", &INPUT_INFO9()},
                            {u"拼音串较长，按翻页键后候选不完全匹配时的场景", &INPUT_INFO0()}};
    int k = 2;
    for (const Scene& s : scenes) {
        wizard().OnNext();
        EXPECT_EQ(scene(), QString::fromUtf16(s.name));
        EXPECT_EQ(step(), QStringLiteral("(%1/7)").arg(k + 1));
        EXPECT_EQ(window->WizardScene(), k);
        EXPECT_EQ(window->Renderer().WindowContext(3).scheme, s.scenario);
        ++k;
    }
    wizard().OnNext();  // step 7 only relabels
    EXPECT_EQ(scene(), QStringLiteral("保存皮肤"));
    EXPECT_EQ(step(), QStringLiteral("(7/7)"));
    EXPECT_EQ(wizard().NextButton()->text(), QStringLiteral("保存"));
    EXPECT_EQ(window->WizardScene(), 5);
    EXPECT_TRUE(services.saveTitles.isEmpty());
    services.saveAnswers = {path("checked.tdskn")};
    wizard().OnNext();  // saves, and stays
    EXPECT_EQ(services.saveTitles.size(), 1);
    EXPECT_TRUE(SkinDocument::checkFile(folder / "checked.tdskn"));
    EXPECT_EQ(step(), QStringLiteral("(7/7)"));
    EXPECT_EQ(wizard().CurrentScene(), 6);

    wizard().OnPrevious();
    EXPECT_EQ(wizard().NextButton()->text(), QStringLiteral("下一步"));
    EXPECT_EQ(step(), QStringLiteral("(6/7)"));
    EXPECT_EQ(wizard().CurrentScene(), 5);
    for (int i = 0; i < 6; ++i) {
        wizard().OnPrevious();
    }
    EXPECT_EQ(wizard().CurrentScene(), 0);
    EXPECT_FALSE(wizard().PreviousButton()->isEnabled());
    EXPECT_TRUE(window->CyclingBackground());
}

TEST_F(CheckWizardTest, ResumesWhereItWasLeftAndWorksWithoutAnOwner) {
    window->Tabs()->setCurrentIndex(kTabCheck);
    wizard().OnNext();
    wizard().OnNext();
    window->Tabs()->setCurrentIndex(kTabInfo);
    window->Tabs()->setCurrentIndex(kTabCheck);
    EXPECT_EQ(step(), QStringLiteral("(3/7)"));
    EXPECT_EQ(window->WizardScene(), 2);
    EXPECT_FALSE(window->CyclingBackground());

    CDlgCheck alone;
    alone.OnNext();
    alone.OnNext();
    EXPECT_EQ(alone.StepLabel()->text(), QStringLiteral("(3/7)"));
    EXPECT_TRUE(alone.PreviousButton()->isEnabled());
}

}  // namespace
}  // namespace tandel
