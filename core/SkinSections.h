// The editor's form of the layout sections: the section header, then one fixed slot per element
// the section can hold (so switched-off elements keep the author's values), then the element
// directory and element data size that the layout step rebuilds.
#pragma once

#include <cstdint>
#include <optional>

#include "SkinFile.h"

namespace tandel {

inline constexpr int kCustomPictureCount = 5;

struct ComboSection {
    static constexpr int kDirectoryCapacity = 11;

    WindowHeader header;
    TextElement compText;                              // id 3
    TextElement candText;                              // id 4
    ButtonElement nextPageButton;                      // id 0
    ButtonElement prevPageButton;                      // id 1
    SplitLineElement splitLine;                        // id 2
    ImageElement toolbox;                              // id 5
    ImageElement customPictures[kCustomPictureCount];  // ids 6..10
    DirEntry directory[kDirectoryCapacity];
    std::int32_t dataSize;
};

struct SplitSection {
    static constexpr int kDirectoryCapacity = 15;

    SplitHeader header;
    TextElement compText;                                  // id 12
    TextElement candText;                                  // id 19
    ImageElement toolbox;                                  // id 13
    ButtonElement nextPageButton;                          // id 20
    ButtonElement prevPageButton;                          // id 21
    ImageElement compCustomPictures[kCustomPictureCount];  // ids 14..18
    ImageElement candCustomPictures[kCustomPictureCount];  // ids 22..26
    DirEntry directory[kDirectoryCapacity];
    std::int32_t dataSize;
};

struct StatusSection {
    static constexpr int kDirectoryCapacity = kStatusElementCount;

    StatusHeader header;
    StateButtonElement modeSwitch;                     // 38 "中英文切换"
    StateButtonElement widthSwitch;                    // 39 "全半角"
    StateButtonElement punctuationSwitch;              // 40 "中英文标点切换"
    ButtonElement softKeyboard;                        // 41 "软键盘"
    StateButtonElement account;                        // 42 "账户登录"
    ButtonElement skinPanel;                           // 43 "皮肤面板"
    ButtonElement symbolPanel;                         // 44 "符号面板"
    ButtonElement search;                              // 45 "搜索"
    StateButtonElement pinyinSwitch;                   // 46 "全拼双拼切换"
    StateButtonElement scriptSwitch;                   // 47 "简繁切换"
    ButtonElement settings;                            // 48 "设置"
    ImageElement customPictures[kCustomPictureCount];  // ids 49..53
    DirEntry directory[kDirectoryCapacity];
    std::int32_t dataSize;

    // The record of status item 38..48 (a StateButtonElement or ButtonElement, as the item's
    // type says), or null for any other id.
    void* item(int id);
    const void* item(int id) const;
    // The placement head of item 38..48 or custom picture 49..53.
    std::optional<PlacementHead> head(int id) const;
};

// Everything of a skin's layout that the file carries and the document edits: the six sections
// and the options that decide which optional elements are written.
struct SkinSections {
    ComboSection comboH;
    ComboSection comboV;
    SplitSection splitH;
    SplitSection splitV;
    StatusSection status;
    CloudPictures cloudPictures;
    std::uint8_t statusItemShown[kStatusElementCount];  // index = element id - 38
    std::uint8_t splitLineOn[2];                        // comboH, comboV
    std::uint8_t toolboxOn[4];                          // comboH, splitH, comboV, splitV
};

enum ComboIndex { kComboH = 0, kComboV = 1 };
enum ToolboxIndex {
    kToolboxComboH = 0,
    kToolboxSplitH = 1,
    kToolboxComboV = 2,
    kToolboxSplitV = 3
};

// The sections and options of a new skin.
void setNewSkinSections(SkinSections& sections);

}  // namespace tandel
