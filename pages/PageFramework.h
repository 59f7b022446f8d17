// What every property page shares: the alignment list, numbers typed into fields, the font
// measurements of the preview guides, the picture import pipeline (pick, check the size, copy
// or re-encode into the editor's temporary folder), the state strips and the thumbnails.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class QComboBox;
class QPainter;
class QWidget;

namespace tandel {

class PlatformServices;
class SkinDocument;

// The nine placements, in the order of their stored indices: "左上" (0) to "右下" (8).
QStringList AlignmentNames();
void FillAlignmentList(QComboBox* list);

// A number as the pages read it from a field: the text in the system code page, leading blanks
// skipped, an optional sign, then digits up to the first other character; 0 without digits.
std::int32_t ParseNumberField(const QString& text);

// The height of one character ("一" for entry 0, "A" otherwise) in the font of font table
// entry n, on the screen.
int MeasureFontHeight(const SkinDocument& document, int n);
// The width of text, character by character, in the font of entry 0, or of entry 1 drawn bold
// with secondFont; the size scaled for the screen.
int MeasureTextWidth(const SkinDocument& document, std::u16string_view text, bool secondFont);

// The folder the import pipeline writes into: made once per run inside the system's temporary
// folder, under a name nobody can predict and readable only by the user, so that no other user
// can plant or read the files. With a trailing separator.
QString PictureFolder();

// Lets the document tell animated pictures by decoding them with the engine's image layer.
void UseImageLayerForAnimation();

inline constexpr char16_t kPictureTooLarge[] = u"图片尺寸不要超过800*600。";
inline constexpr char16_t kEditorCaption[] = u"澜石输入法皮肤编辑器";

// The open-file dialog for pictures (GIF offered or not); the normalised path, or empty when
// cancelled or refused.
QString PickPictureFile(PlatformServices& services, QWidget* owner, bool allowGif);
// Decodes the file and refuses it (empty path) when it does not decode or is larger than
// 800 x 600 (saying so); otherwise copies an animated picture unchanged, or writes any other
// as PNG, into the picture folder under the file's name up to its first "." and returns that.
QString NormalizePicture(PlatformServices& services, const QString& path);
// The picture scaled to width x height, written as PNG into the picture folder under its own
// file name; empty when it does not decode.
QString ScalePictureToFile(const QString& path, int width, int height);
// The states joined into one strip, each cell the size of the first state (the others
// resampled; one that does not decode leaves its cell empty), written as "<slot>.png" into the
// picture folder; empty when the first state does not decode.
QString CombineStatePictures(int slot, const QStringList& statePaths);

// Thumbnails: the box is filled with background first; a picture smaller than the box in both
// directions is drawn centred at its natural size, any other stretched over the box. They
// return the picture's size (0 x 0, nothing drawn, when there is none or it does not decode).
QSize DrawPictureFile(QPainter& painter, const QRect& box, const QString& path,
                      const QColor& background);
QSize DrawPictureBytes(QPainter& painter, const QRect& box, std::span<const std::uint8_t> bytes,
                       const QColor& background);
// A strip of boxes.size() equal states, state k into box k; returns one state's size.
QSize DrawStateStrip(QPainter& painter, const std::vector<QRect>& boxes, const QString& path,
                     const QColor& background);

}  // namespace tandel
