// The second tab: one font size, one Chinese and one English font and four colours for the
// whole skin, written into the font table and all four window layouts on every change.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <functional>

#include "PageBase.h"

class QComboBox;
class QPushButton;
class QToolButton;

namespace tandel {

class PlatformServices;
class SkinDocument;

class CDlgSkinFont : public CPageBase {
    Q_OBJECT
public:
    // The four colours, in the order of their swatches.
    enum Colour { kPinyin = 0, kFocused = 1, kCandidates = 2, kCursor = 3 };
    // The screen colour picker: given the swatch's colour, the colour it closed with. Unless
    // replaced, the "取色器" dialog, which may hide the main window while it is open.
    using ScreenPicker = std::function<QColor(const QColor& current)>;

    CDlgSkinFont(SkinDocument& document, PlatformServices& services, QWidget* parent = nullptr);

    int Apply() override;
    int Refresh() override;

    // A swatch clicked: the platform colour dialog.
    void OnPickFromDialog(int colour);
    // A picker icon clicked: the screen colour picker.
    void OnPickFromScreen(int colour);
    void OnRestore();
    void SetScreenPicker(ScreenPicker picker) { screenPicker_ = std::move(picker); }

    // COLORREF values: red in the low byte.
    std::uint32_t ColourValue(int colour) const { return colours_[std::size_t(colour)]; }
    QComboBox* SizeList() const { return size_; }
    QComboBox* ChineseList() const { return chinese_; }
    QComboBox* EnglishList() const { return english_; }
    QPushButton* Swatch(int colour) const { return swatches_[std::size_t(colour)]; }
    QToolButton* PickerIcon(int colour) const { return pickers_[std::size_t(colour)]; }
    QPushButton* RestoreButton() const { return restore_; }

private:
    void setColour(int colour, std::uint32_t value);
    void paintSwatches();

    SkinDocument& document_;
    PlatformServices& services_;
    QComboBox* size_;
    QComboBox* chinese_;
    QComboBox* english_;
    std::array<QPushButton*, 4> swatches_{};
    std::array<QToolButton*, 4> pickers_{};
    QPushButton* restore_;
    std::array<std::uint32_t, 4> colours_{};
    ScreenPicker screenPicker_;
    bool refreshing_ = false;
};

}  // namespace tandel
