#include "DlgSkinFont.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "DialogGetColor.h"
#include "EyedropperPictures.h"
#include "FontFamilies.h"
#include "PageFramework.h"
#include "PlatformServices.h"
#include "SkinDocument.h"
#include "TextCodec.h"

namespace tandel {
namespace {

const QString kDefaultSize = QStringLiteral("默认大小");
const QString kDefaultFace = QStringLiteral("默认字体");
constexpr std::uint32_t kNewSkinColours[4] = {0xC76B1A, 0x1434DE, 0xE47A1C, 0xE8863E};
constexpr int kPickerIconSide = 20;

QColor fromColorRef(std::uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t toColorRef(const QColor& colour) {
    return std::uint32_t(colour.red()) | std::uint32_t(colour.green()) << 8 |
           std::uint32_t(colour.blue()) << 16;
}

// Selects the first entry that begins with text (case ignored); none: the selection stays.
void selectByPrefix(QComboBox* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            list->setCurrentIndex(i);
            return;
        }
    }
}

// Families as the system enumerates them, without vertical-writing faces, bounded to what a
// face field holds.
void fillFaces(QComboBox* list, const std::vector<std::u16string>& families) {
    list->addItem(kDefaultFace);
    for (const std::u16string& family : families) {
        if (family.empty() || family.front() == u'@') {
            continue;
        }
        list->addItem(QString::fromStdU16String(family.substr(0, 31)));
    }
}

}  // namespace

CDlgSkinFont::CDlgSkinFont(SkinDocument& document, PlatformServices& services, QWidget* parent)
    : CPageBase(parent),
      document_(document),
      services_(services),
      size_(new QComboBox),
      chinese_(new QComboBox),
      english_(new QComboBox),
      restore_(new QPushButton(QStringLiteral("恢复"))) {
    size_->addItems(
        {kDefaultSize, QStringLiteral("12"), QStringLiteral("16"), QStringLiteral("20")});
    fillFaces(chinese_, chineseFontFamilies());
    fillFaces(english_, latinFontFamilies());
    auto* fonts = new QGroupBox(QStringLiteral("字体设置"));
    auto* fontForm = new QFormLayout(fonts);
    fontForm->addRow(QStringLiteral("字体大小"), size_);
    fontForm->addRow(QStringLiteral("中文字体"), chinese_);
    fontForm->addRow(QStringLiteral("英文字体"), english_);

    auto* colours = new QGroupBox(QStringLiteral("颜色设置"));
    auto* grid = new QGridLayout(colours);
    QIcon eyedropper;
    for (qreal pixelRatio : {1.0, 2.0}) {
        eyedropper.addPixmap(EyedropperPicture(kPickerIconSide, pixelRatio));
    }
    const char16_t* const labels[4] = {u"拼音串颜色", u"焦点候选词", u"非焦点候选词", u"光标颜色"};
    for (int i = 0; i < 4; ++i) {
        auto* swatch = new QPushButton;
        swatch->setFixedSize(60, 20);
        swatch->setFlat(true);
        auto* picker = new QToolButton;
        picker->setText(QStringLiteral("取色"));
        picker->setIcon(eyedropper);
        picker->setIconSize(QSize(kPickerIconSide, kPickerIconSide));
        picker->setAutoRaise(true);
        picker->setCursor(Qt::PointingHandCursor);
        swatches_[std::size_t(i)] = swatch;
        pickers_[std::size_t(i)] = picker;
        grid->addWidget(new QLabel(QString::fromUtf16(labels[i])), i, 0);
        grid->addWidget(swatch, i, 1);
        grid->addWidget(picker, i, 2);
        connect(swatch, &QPushButton::clicked, this, [this, i] { OnPickFromDialog(i); });
        connect(picker, &QToolButton::clicked, this, [this, i] { OnPickFromScreen(i); });
    }
    restore_->setEnabled(false);
    grid->addWidget(restore_, 4, 1);
    connect(restore_, &QPushButton::clicked, this, &CDlgSkinFont::OnRestore);
    screenPicker_ = [this](const QColor& current) {
        CDialogGetColor picker(services_, current, ownerWindow(), this);
        picker.exec();
        return picker.Colour();
    };

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts);
    layout->addWidget(colours);
    layout->addStretch();
    for (QComboBox* list : {size_, chinese_, english_}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (!refreshing_) {
                Apply();
            }
        });
    }
    paintSwatches();
}

void CDlgSkinFont::paintSwatches() {
    for (int i = 0; i < 4; ++i) {
        swatches_[std::size_t(i)]->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid gray;")
                .arg(fromColorRef(colours_[std::size_t(i)]).name()));
    }
}

int CDlgSkinFont::Refresh() {
    const ComboSection& h = document_.comboH;
    colours_ = {h.compText.colour & 0xFFFFFF, h.header.focusColour & 0xFFFFFF,
                h.candText.colour & 0xFFFFFF, h.header.cursorColour & 0xFFFFFF};
    paintSwatches();
    refreshing_ = true;
    const std::int32_t size = document_.fontSettings[0].size;
    selectByPrefix(size_, size == 16 || size <= 0 ? kDefaultSize : QString::number(size));
    const QString chinese =
        QString::fromStdU16String(std::u16string(fixedText(document_.fontSettings[0].face)));
    const QString english =
        QString::fromStdU16String(std::u16string(fixedText(document_.fontSettings[1].face)));
    selectByPrefix(chinese_, chinese == QStringLiteral("宋体") ? kDefaultFace : chinese);
    selectByPrefix(english_, english == QStringLiteral("Arial") ? kDefaultFace : english);
    refreshing_ = false;
    update();
    return 1;
}

int CDlgSkinFont::Apply() {
    const QString sizeText = size_->currentText();
    const std::int32_t tableSize = ParseNumberField(sizeText);
    const std::int32_t styleSize = sizeText == kDefaultSize ? 16 : tableSize;
    for (int i = 0; i < 6; ++i) {
        FontSetting& entry = document_.fontSettings[i];
        entry.index = i;
        entry.bold = 0;
        entry.size = tableSize;
    }
    const std::u16string chinese = chinese_->currentText().toStdU16String();
    const std::u16string english = english_->currentText().toStdU16String();
    setFixedText(document_.fontSettings[0].face, chinese);
    setFixedText(document_.fontSettings[1].face, english);
    setFixedText(document_.fontSettings[3].face, chinese);
    const std::u16string cnFace = chinese == kDefaultFace.toStdU16String() ? u"宋体" : chinese;
    const std::u16string enFace = english == kDefaultFace.toStdU16String() ? u"Arial" : english;

    auto write = [&](auto& section) {
        section.header.focusColour = colours_[kFocused] | 0xFF000000u;
        section.header.cursorColour = colours_[kCursor] | 0xFF000000u;
        section.candText.colour = colours_[kCandidates] | 0xFF000000u;
        section.compText.colour = colours_[kPinyin] | 0xFF000000u;
        for (TextElement* text : {&section.compText, &section.candText}) {
            text->cnFontSize = styleSize;
            text->enFontSize = styleSize;
            setFixedText(text->cnFont, cnFace);
            setFixedText(text->enFont, enFace);
        }
    };
    write(document_.comboH);
    write(document_.comboV);
    write(document_.splitH);
    write(document_.splitV);
    NotifyChangedAndUpdate();
    return 1;
}

void CDlgSkinFont::setColour(int colour, std::uint32_t value) {
    colours_[std::size_t(colour)] = value & 0xFFFFFF;
    paintSwatches();
    restore_->setEnabled(true);
    Apply();
}

void CDlgSkinFont::OnPickFromDialog(int colour) {
    const QColor picked = services_.PickColour(ownerWindow());
    if (picked.isValid()) {
        setColour(colour, toColorRef(picked));
    }
}

void CDlgSkinFont::OnPickFromScreen(int colour) {
    if (!screenPicker_) {
        return;
    }
    setColour(colour, toColorRef(screenPicker_(fromColorRef(colours_[std::size_t(colour)]))));
}

void CDlgSkinFont::OnRestore() {
    for (int i = 0; i < 4; ++i) {
        colours_[std::size_t(i)] = kNewSkinColours[i];
    }
    if (document_.openedFromFile != 0) {
        // Pinyin, cursor, candidates, focused: the order the opened file's table keeps them in.
        colours_[kPinyin] = document_.colourSettings[0].colour;
        colours_[kCursor] = document_.colourSettings[1].colour;
        colours_[kCandidates] = document_.colourSettings[2].colour;
        colours_[kFocused] = document_.colourSettings[3].colour;
    }
    paintSwatches();
    restore_->setEnabled(false);
    Apply();
    update();
}

}  // namespace tandel
