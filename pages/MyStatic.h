// The image well the information and status pages show a picture in: from a file or from
// bytes in memory, at natural size and centred when it is smaller than the well in both
// directions, else stretched over the whole well, on white.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <span>

namespace tandel {

class CMyStatic : public QWidget {
    Q_OBJECT
public:
    explicit CMyStatic(QWidget* parent = nullptr);

    // Ignored for an empty path; otherwise the file's picture, shown at once.
    void SetImageFile(const QString& path);
    // Ignored without bytes; otherwise their picture, shown at once.
    void SetImageData(std::span<const std::uint8_t> bytes);
    // No picture: the box shows only its background.
    void Clear();

    // The natural size of the picture set last (0 x 0 when it did not decode).
    QSize ImageSize() const { return picture_.size(); }
    const QString& ImageFile() const { return path_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void show(QImage picture);

    QString path_;
    bool hasPicture_ = false;  // a file or bytes were set, decoded or not
    QImage picture_;
};

// A picture decoded by the engine's image layer (an animation's first frame), or a null image.
QImage DecodePicture(std::span<const std::uint8_t> bytes);

}  // namespace tandel
