// A main window on a document of its own, with answered dialogs, pages that record how the
// window drives them, and its own registry and data folders.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <array>
#include <fstream>
#include <memory>

#include "AtelierDlg.h"
#include "FakeServices.h"
#include "GuideTracker.h"
#include "PlaceholderPage.h"
#include "SkinDocument.h"
#include "TestFiles.h"
#include "TextCodec.h"

namespace tandel::testing {

// A page that counts the window's calls; the information tab's also stamps the header as the
// information page does, or refuses.
class RecordingPage : public PlaceholderPage, public IGuideTracker {
public:
    struct Track {
        QPoint last, point;
        int x, y;
        bool dragging;
    };
    void TrackGuides(QPoint last, QPoint point, int x, int y, int& which, bool dragging) override {
        tracks.push_back({last, point, x, y, dragging});
        if (guideUnderMouse) {
            which = 7;
        }
    }
    std::vector<Track> tracks;
    bool guideUnderMouse = false;

    explicit RecordingPage(SkinDocument* stamped) : PlaceholderPage(stamped) {}
    int Show(bool show) override {
        (show ? shown : hidden)++;
        return PlaceholderPage::Show(show);
    }
    int Apply() override {
        ++applied;
        return refuse ? 0 : PlaceholderPage::Apply();
    }
    int Refresh() override {
        ++refreshed;
        return 1;
    }
    int shown = 0, hidden = 0, applied = 0, refreshed = 0;
    bool refuse = false;
};

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("TANDEL_REGISTRY", QByteArray::fromStdString((folder / "registry.ini").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((folder / "data").string()));
        window = std::make_unique<CAtelierDlg>(
            document, services, nullptr, [this](int tab, SkinDocument& doc) -> QWidget* {
                auto* page = new RecordingPage(tab == 0 ? &doc : nullptr);
                pages[std::size_t(tab)] = page;
                return page;
            });
        window->resize(1000, 760);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        services.promptAnswers = {kSavePromptNo};
        window.reset();
        qunsetenv("TANDEL_REGISTRY");
        qunsetenv("XDG_DATA_HOME");
    }

    QString path(const std::string& name) const {
        return QString::fromStdString((folder / name).string());
    }
    // A skin file written by a document with that name.
    QString skinFile(const std::string& name, const std::u16string& skinName = u"水墨") {
        SkinDocument other;
        setFixedText(other.header.name, skinName);
        EXPECT_TRUE(applySkinInfoFromHeader(other));
        EXPECT_TRUE(other.saveToFile(folder / name));
        return path(name);
    }
    void writeRegistry(const std::string& text) { std::ofstream(folder / "registry.ini") << text; }
    static bool applySkinInfoFromHeader(SkinDocument& doc) {
        PlaceholderPage stamp(&doc);
        return stamp.Apply() == 1;
    }

    TemporaryFolder folder;
    SkinDocument document;
    FakeServices services;
    std::array<RecordingPage*, 5> pages{};
    std::unique_ptr<CAtelierDlg> window;
};

}  // namespace tandel::testing
