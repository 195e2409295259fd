#include "render/dibimage.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QPainter>

#include "textconv/textconv.h"

namespace vesk {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);

/// The decoded picture as 24-bit pixels: a fully transparent pixel (alpha 0, also through a
/// colour table) becomes white, every other pixel keeps its colour unblended.
QImage ToPlainBitmap(const QImage& decoded)
{
    if (!decoded.hasAlphaChannel())
        return decoded.convertToFormat(QImage::Format_RGB888);
    // Straight (not premultiplied) alpha, so that a half-transparent pixel keeps its full colour.
    const QImage straight = decoded.convertToFormat(QImage::Format_ARGB32);
    QImage bitmap(straight.size(), QImage::Format_RGB888);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        uchar* target = bitmap.scanLine(y);
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb pixel = qAlpha(source[x]) == 0 ? kWhite : source[x];
            *target++ = static_cast<uchar>(qRed(pixel));
            *target++ = static_cast<uchar>(qGreen(pixel));
            *target++ = static_cast<uchar>(qBlue(pixel));
        }
    }
    return bitmap;
}

/// A file-system path (UTF-8) as a QString, and back.
QString PathToQ(const std::string& path)
{
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string PathFromQ(const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

/// The part of a path after its last "/".
std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool CDibImage::Load(const std::string& path)
{
    QFile file(PathToQ(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QImage decoded = QImage::fromData(file.readAll());
    if (decoded.isNull())
        return false;
    m_bitmap = ToPlainBitmap(decoded);
    m_scaled = QImage();
    m_path = path;
    return true;
}

QRect CDibImage::DrawnRect(int pictureWidth, int pictureHeight, int x, int y, int width, int height)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return QRect(x, y, 0, 0);
    long long drawnWidth = pictureWidth;
    long long drawnHeight = pictureHeight;
    if (pictureWidth > width || pictureHeight > height) {
        // width / pictureWidth < height / pictureHeight, compared without rounding.
        if (static_cast<long long>(width) * pictureHeight < static_cast<long long>(height) * pictureWidth) {
            drawnWidth = width;
            drawnHeight = static_cast<long long>(width) * pictureHeight / pictureWidth;
        } else {
            drawnWidth = static_cast<long long>(height) * pictureWidth / pictureHeight;
            drawnHeight = height;
        }
    }
    const int left = x + static_cast<int>(std::max<long long>(0, (width - drawnWidth) / 2));
    const int top = y + static_cast<int>(std::max<long long>(0, (height - drawnHeight) / 2));
    return QRect(left, top, static_cast<int>(drawnWidth), static_cast<int>(drawnHeight));
}

const QImage& CDibImage::ScaledBitmap(const QSize& size) const
{
    if (m_scaled.size() != size)
        m_scaled = m_bitmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled;
}

void CDibImage::Draw(QPainter& painter, int x, int y, int width, int height) const
{
    if (m_bitmap.isNull())
        return;
    const QRect target = DrawnRect(m_bitmap.width(), m_bitmap.height(), x, y, width, height);
    if (target.isEmpty())
        return;
    if (target.size() == m_bitmap.size())
        painter.drawImage(target.topLeft(), m_bitmap);
    else
        painter.drawImage(target.topLeft(), ScaledBitmap(target.size()));
}

void CDibImageList::LoadFolder(const std::string& folder, const std::string& extension)
{
    const QDir dir(PathToQ(folder));
    if (folder.empty() || !dir.exists())
        return;
    const QStringList names = dir.entryList({QStringLiteral("*") + PathToQ(extension)},
                                            QDir::Files | QDir::Hidden | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        auto image = std::make_unique<CDibImage>();
        if (!image->Load(PathFromQ(dir.filePath(name))))
            continue;
        image->SetName(Utf8ToShiftJisExact(PathFromQ(name)));
        m_images.push_back(std::move(image));
    }
}

bool CDibImageList::LoadFile(const std::string& path)
{
    auto image = std::make_unique<CDibImage>();
    if (!image->Load(path))
        return false;
    image->SetName(Utf8ToShiftJisExact(FileNameOf(path)));
    m_images.push_back(std::move(image));
    return true;
}

void CDibImageList::SortByName()
{
    // std::string compares bytes as unsigned values, which keeps Shift_JIS characters in order.
    std::stable_sort(
        m_images.begin(), m_images.end(),
        [](const std::unique_ptr<CDibImage>& a, const std::unique_ptr<CDibImage>& b) { return a->Name() < b->Name(); });
}

void LoadPictureFolder(CDibImageList& images, const std::string& folder)
{
    images.Clear();
    images.LoadFolder(folder, ".png");
    images.LoadFolder(folder, ".jpg");
    images.SortByName();
}

} // namespace vesk
