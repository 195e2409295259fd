#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QRect>

class QPainter;

namespace vesk {

/// One picture file decoded into a plain 24-bit bitmap: fully transparent pixels white, every
/// other pixel at full strength (no blending with a background).
class CDibImage {
public:
    /// Decodes the file (PNG, JPEG and whatever Qt's decoders read). False, leaving the image as
    /// it was, when the file cannot be opened or decoded.
    bool Load(const std::string& path);
    /// Draws the bitmap into the rectangle: scaled down keeping its aspect ratio when it does not
    /// fit (never enlarged), centred. Nothing without a bitmap.
    void Draw(QPainter& painter, int x, int y, int width, int height) const;
    /// Where Draw puts a picture of that size in the rectangle.
    static QRect DrawnRect(int pictureWidth, int pictureHeight, int x, int y, int width, int height);

    /// The file name without its folder, as the model holds text (Shift_JIS).
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    /// The file-system path the picture was loaded from.
    const std::string& Path() const { return m_path; }
    int Width() const { return m_bitmap.width(); }
    int Height() const { return m_bitmap.height(); }
    /// 24 once loaded, 0 before.
    int BitDepth() const { return m_bitmap.isNull() ? 0 : 24; }
    /// The decoded pixels (QImage::Format_RGB888); null before a load.
    const QImage& Bitmap() const { return m_bitmap; }

private:
    /// The bitmap smoothly scaled to that size, kept for the next paint at the same size.
    const QImage& ScaledBitmap(const QSize& size) const;

    std::string m_name;
    std::string m_path;
    QImage m_bitmap;
    mutable QImage m_scaled;
};

/// An ordered list of owned pictures.
class CDibImageList {
public:
    /// Adds every file of the folder (a file-system path) whose name ends in the extension
    /// (".png", ".jpg"; letter case ignored) that decodes, named after its file. Skips folders,
    /// and files that cannot be read; a missing folder adds nothing.
    void LoadFolder(const std::string& folder, const std::string& extension);
    /// Adds one picture file; false when it cannot be read.
    bool LoadFile(const std::string& path);
    /// Sorts by name, byte by byte (Shift_JIS characters stay together), ascending.
    void SortByName();
    void Clear() { m_images.clear(); }

    int Count() const { return static_cast<int>(m_images.size()); }
    const CDibImage& At(int index) const { return *m_images.at(static_cast<size_t>(index)); }
    void Append(std::unique_ptr<CDibImage> image) { m_images.push_back(std::move(image)); }

private:
    std::vector<std::unique_ptr<CDibImage>> m_images;
};

/// Refills the list from a picture folder (a file-system path): empties it, adds the folder's
/// ".png" files, then its ".jpg" files, then sorts by name. A missing folder leaves it empty.
void LoadPictureFolder(CDibImageList& images, const std::string& folder);

} // namespace vesk
