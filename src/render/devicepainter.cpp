// The device look: what a dialog looks like on the device, painted from its device layout.
#include "render/devicepainter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include "objects/objectdata.h"
#include "render/modeltext.h"
#include "render/paintersurface.h"
#include "render/previewpainter.h"

namespace vesk {

namespace {

struct NamedColor {
    std::string_view name;
    QRgb rgba;
};

constexpr std::array<NamedColor, 12> kNamedColors = {{
    {"BLACK", 0xFF000000},
    {"WHITE", 0xFFFFFFFF},
    {"DKGRAY", 0xFF444444},
    {"GRAY", 0xFF888888},
    {"LTGRAY", 0xFFCCCCCC},
    {"RED", 0xFFFF0000},
    {"GREEN", 0xFF00FF00},
    {"BLUE", 0xFF0000FF},
    {"CYAN", 0xFF00FFFF},
    {"MAGENTA", 0xFFFF00FF},
    {"YELLOW", 0xFFFFFF00},
    {"TRANSPARENT", 0x00000000},
}};

bool IsHexDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

} // namespace

std::optional<QColor> ParseDeviceColor(std::string_view text)
{
    for (const NamedColor& named : kNamedColors)
        if (text == named.name)
            return QColor::fromRgba(named.rgba);
    if (text.size() < 2 || text.front() != '#')
        return std::nullopt;
    const std::string_view digits = text.substr(1);
    if ((digits.size() != 6 && digits.size() != 8) || !IsHexDigits(digits))
        return std::nullopt;
    const uint32_t value = static_cast<uint32_t>(std::stoul(std::string(digits), nullptr, 16));
    return QColor::fromRgba(digits.size() == 6 ? (0xFF000000u | value) : value);
}

bool DevicePictureCache::IsLocalSource(std::string_view fileSource)
{
    return fileSource.empty() || fileSource == "BUILTIN" || fileSource == "STATION";
}

std::string DevicePictureCache::PathOf(std::string_view fileSource, std::string_view file) const
{
    if (file.empty() || !IsLocalSource(fileSource))
        return {};
    const QString name = ModelTextToQString(file);
    const std::string folder = fileSource == "STATION" ? m_folders.project + "/resources" : m_folders.assets;
    return folder + "/" + name.toStdString();
}

const QImage& DevicePictureCache::Picture(std::string_view fileSource, std::string_view file) const
{
    const std::string path = PathOf(fileSource, file);
    if (auto found = m_pictures.find(path); found != m_pictures.end())
        return found->second;
    QImage picture;
    if (!path.empty()) {
        QImageReader reader(QString::fromStdString(path));
        picture = reader.read();
        ++m_decodes;
    }
    return m_pictures.emplace(path, std::move(picture)).first->second;
}

const QImage& DevicePictureCache::Scaled(std::string_view fileSource, std::string_view file, int width,
                                         int height) const
{
    const QImage& picture = Picture(fileSource, file);
    if (picture.isNull() || (picture.width() == width && picture.height() == height))
        return picture;
    auto key = std::make_pair(PathOf(fileSource, file), std::make_pair(width, height));
    if (auto found = m_scaled.find(key); found != m_scaled.end())
        return found->second;
    QImage scaled =
        picture.scaled(std::max(1, width), std::max(1, height), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled.emplace(std::move(key), std::move(scaled)).first->second;
}

LayoutSize DevicePictureCache::PictureSize(std::string_view fileSource, std::string_view file) const
{
    const QImage& picture = Picture(fileSource, file);
    return {picture.width(), picture.height()};
}

LayoutSize FontTextMeasurer::MeasureText(std::string_view shiftJisText, int fontHeight) const
{
    auto found = m_metrics.find(fontHeight);
    if (found == m_metrics.end())
        found = m_metrics.emplace(fontHeight, QFontMetrics(LabelFont(fontHeight))).first;
    const QFontMetrics& metrics = found->second;
    return {metrics.horizontalAdvance(ModelTextToQString(shiftJisText)), metrics.height()};
}

namespace {

const QColor kMarkColor(255, 0, 0);
const QColor kEdgeDark(0x88, 0x88, 0x88);
const QColor kEdgeLight(0xE0, 0xE0, 0xE0);
const QColor kFace(0xEE, 0xEE, 0xEE);
const QColor kAccent(0x33, 0x66, 0xCC);
const QColor kPlaceholderGrey(0xCC, 0xCC, 0xCC);

QRect RectOf(const LayoutBox& box)
{
    return QRect(box.x, box.y, box.width, box.height);
}

int FontHeightOf(const CObjectData& object, const LayoutContext& context)
{
    OrbUnit unit;
    unit.SetContext(context);
    unit.ParseUnit(object.GetItem("TSize"));
    const int height = unit.ToPixelsY();
    return height > 0 ? height : kDeviceFontHeight;
}

/// The Qt alignment of a 'TAlign' text, or the default when the text is empty.
Qt::Alignment TextAlignment(std::string_view text, bool leftByDefault)
{
    if (text.empty())
        return (leftByDefault ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
    const int code = ParseAlign(text);
    static constexpr Qt::AlignmentFlag kHorizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::AlignmentFlag kVertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return kHorizontal[code % 3] | kVertical[code / 3];
}

/// The fraction of 'Value' between 'Min' and 'Max' (0 to 100 when unset), limited to 0..1.
double ValueFraction(const CObjectData& object)
{
    const int low = LeadingInteger(object.GetItem("Min"));
    const std::string& maxText = object.GetItem("Max");
    const int high = maxText.empty() ? 100 : LeadingInteger(maxText);
    if (high <= low)
        return 0;
    const double fraction = (LeadingInteger(object.GetItem("Value")) - double(low)) / (double(high) - low);
    return std::clamp(fraction, 0.0, 1.0);
}

class DevicePaint {
public:
    DevicePaint(QPainter& painter, const DialogLayout& layout, DevicePictureCache& pictures)
        : m_painter(painter), m_layout(layout), m_pictures(pictures), m_context(layout.context)
    {
    }

    void Node(size_t index);
    void Marks();

private:
    void Object(const CObjectData& object, QRect box);
    void Text(const CObjectData& object, std::string_view text, QRect rect, bool leftByDefault);
    bool PictureOf(const CObjectData& object, std::string_view file, QRect box, bool keepAspect);
    void Placeholder(std::string_view file, QRect box, bool local);

    QPainter& m_painter;
    const DialogLayout& m_layout;
    DevicePictureCache& m_pictures;
    const LayoutContext& m_context;
};

void DevicePaint::Node(size_t index)
{
    const LaidOutNode& entry = m_layout.nodes[index];
    const CObjectData& node = *entry.node;
    m_painter.save();
    if (index < m_layout.clips.size())
        m_painter.setClipRect(RectOf(m_layout.clips[index]));
    if (entry.IsDisabled())
        m_painter.setOpacity(0.5);
    const QRect box = RectOf(entry.box);
    const std::string& background = node.GetItem("BGColor");
    if (background.empty() && entry.depth == 0)
        m_painter.fillRect(box, Qt::white);
    else if (const std::optional<QColor> color = ParseDeviceColor(background); color && color->alpha() > 0)
        m_painter.fillRect(box, *color);
    if (!entry.IsGroup() && !box.isEmpty())
        Object(node, box);
    m_painter.restore();
}

void DevicePaint::Marks()
{
    for (size_t i = 0; i < m_layout.nodes.size(); ++i) {
        const LaidOutNode& entry = m_layout.nodes[i];
        if (!entry.IsMarked() || entry.box.width <= 0 || entry.box.height <= 0)
            continue;
        m_painter.save();
        m_painter.setPen(kMarkColor);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(entry.box.x, entry.box.y, entry.box.width - 1, entry.box.height - 1);
        m_painter.restore();
    }
}

void DevicePaint::Text(const CObjectData& object, std::string_view text, QRect rect, bool leftByDefault)
{
    if (text.empty() || rect.isEmpty())
        return;
    const std::optional<QColor> color = ParseDeviceColor(object.GetItem("TColor"));
    m_painter.save();
    m_painter.setFont(LabelFont(FontHeightOf(object, m_context)));
    m_painter.setPen(color ? *color : QColor(Qt::black));
    m_painter.setClipRect(rect, Qt::IntersectClip);
    m_painter.drawText(rect,
                       static_cast<int>(TextAlignment(object.GetItem("TAlign"), leftByDefault)) | Qt::TextSingleLine,
                       ModelTextToQString(text));
    m_painter.restore();
}

void DevicePaint::Placeholder(std::string_view file, QRect box, bool local)
{
    m_painter.save();
    m_painter.fillRect(box, kPlaceholderGrey);
    if (local) {
        m_painter.setPen(kMarkColor);
        m_painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    m_painter.setPen(Qt::black);
    m_painter.setFont(LabelFont(12));
    m_painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, ModelTextToQString(file));
    m_painter.restore();
}

bool DevicePaint::PictureOf(const CObjectData& object, std::string_view file, QRect box, bool keepAspect)
{
    if (file.empty())
        return false;
    const std::string& source = object.GetItem("FileSource");
    const bool local = DevicePictureCache::IsLocalSource(source);
    const QImage& picture = m_pictures.Picture(source, file);
    if (picture.isNull()) {
        Placeholder(file, box, local);
        return true;
    }
    QRect target = box;
    if (keepAspect) {
        const std::string& scale = object.GetItem("ScaleType");
        if (scale == "CENTER") {
            target = QRect(QPoint(0, 0), picture.size());
            target.moveCenter(box.center());
        } else if (scale != "FIT_XY") {
            QSize size = picture.size().scaled(box.size(), Qt::KeepAspectRatio);
            target = QRect(QPoint(0, 0), size);
            target.moveCenter(box.center());
        }
    }
    const QImage& drawn = m_pictures.Scaled(source, file, target.width(), target.height());
    m_painter.save();
    m_painter.setClipRect(box, Qt::IntersectClip);
    m_painter.drawImage(target.topLeft(), drawn);
    m_painter.restore();
    return true;
}

void DevicePaint::Object(const CObjectData& object, QRect box)
{
    const int code = object.ObjectTypeCode();
    const int font = FontHeightOf(object, m_context);
    const BoxSpacing padding = ParseSpacing(object.GetItem("Padding"), m_context);
    const QRect inner = box.adjusted(padding.left, padding.top, -padding.right, -padding.bottom);
    const QRect edge = box.adjusted(0, 0, -1, -1);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    switch (code) {
    case OBJ_PICTURE:
    case OBJ_METER:
        PictureOf(object, object.GetItem("File"), box, code == OBJ_PICTURE);
        return;
    case OBJ_TEXT:
        Text(object, object.GetItem("Text"), inner, true);
        return;
    case OBJ_EDIT:
        m_painter.fillRect(box, Qt::white);
        m_painter.setPen(kEdgeDark);
        m_painter.drawLine(edge.topLeft(), edge.topRight());
        m_painter.drawLine(edge.topLeft(), edge.bottomLeft());
        m_painter.setPen(kEdgeLight);
        m_painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        m_painter.drawLine(edge.topRight(), edge.bottomRight());
        Text(object, object.GetItem("Text"), inner.adjusted(4, 0, -4, 0), true);
        return;
    case OBJ_BUTTON:
        if (!PictureOf(object, object.GetItem("FileOff"), box, false)) {
            m_painter.setPen(kEdgeDark);
            m_painter.setBrush(kFace);
            m_painter.drawRect(edge);
        }
        Text(object, object.GetItem("Text"), inner, false);
        return;
    case OBJ_CHECKBOX:
    case OBJ_RADIOBTN: {
        const int side = std::min(font, box.height());
        const QRect mark(inner.left(), box.center().y() - side / 2, side, side);
        if (!PictureOf(object, object.GetItem("FileOff"), mark, false)) {
            m_painter.setPen(kEdgeDark);
            m_painter.setBrush(Qt::white);
            if (code == OBJ_CHECKBOX)
                m_painter.drawRect(mark.adjusted(0, 0, -1, -1));
            else
                m_painter.drawEllipse(mark.adjusted(0, 0, -1, -1));
        }
        Text(object, object.GetItem("Text"), inner.adjusted(side + font / 4, 0, 0, 0), false);
        return;
    }
    case OBJ_TOGGLE: {
        const int height = std::min(font, box.height());
        const QRect track(inner.left(), box.center().y() - height / 2, 2 * height, height);
        if (!PictureOf(object, object.GetItem("FileOff"), track, false)) {
            m_painter.setPen(kEdgeDark);
            m_painter.setBrush(kEdgeLight);
            m_painter.drawRect(track.adjusted(0, 0, -1, -1));
            m_painter.setBrush(Qt::white);
            m_painter.drawRect(QRect(track.topLeft(), QSize(height, height)).adjusted(0, 0, -1, -1));
        }
        Text(object, object.GetItem("TextOff"), inner.adjusted(2 * height + font / 4, 0, 0, 0), false);
        return;
    }
    case OBJ_PULLDOWN: {
        m_painter.setPen(kEdgeDark);
        m_painter.setBrush(Qt::white);
        m_painter.drawRect(edge);
        const int size = std::max(2, std::min(font, box.height()) / 2);
        const QPoint centre(box.right() - font / 2 - 2, box.center().y());
        QPainterPath arrow;
        arrow.moveTo(centre.x() - size / 2, centre.y() - size / 4);
        arrow.lineTo(centre.x() + size / 2, centre.y() - size / 4);
        arrow.lineTo(centre.x(), centre.y() + size / 4);
        arrow.closeSubpath();
        m_painter.fillPath(arrow, Qt::black);
        return;
    }
    case OBJ_PROGRESS:
    case OBJ_SLIDEBAR: {
        const bool slider = code == OBJ_SLIDEBAR;
        const int height = slider ? std::max(2, box.height() / 4) : box.height();
        const QRect track(box.left(), box.center().y() - height / 2, box.width(), height);
        m_painter.fillRect(track, kEdgeLight);
        const int filled = static_cast<int>(track.width() * ValueFraction(object));
        m_painter.fillRect(QRect(track.left(), track.top(), filled, track.height()), kAccent);
        if (slider) {
            const int knob = std::min(box.height(), font);
            m_painter.setPen(kEdgeDark);
            m_painter.setBrush(Qt::white);
            m_painter.drawEllipse(QRect(track.left() + filled - knob / 2, box.center().y() - knob / 2, knob, knob)
                                      .adjusted(0, 0, -1, -1));
        } else {
            m_painter.setPen(kEdgeDark);
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawRect(track.adjusted(0, 0, -1, -1));
        }
        return;
    }
    case OBJ_GRID: {
        m_painter.fillRect(box, Qt::white);
        const int header = std::min(box.height(), font + 4);
        m_painter.fillRect(QRect(box.left(), box.top(), box.width(), header), kEdgeLight);
        m_painter.setPen(kEdgeDark);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(edge);
        m_painter.drawLine(box.left(), box.top() + header - 1, box.right(), box.top() + header - 1);
        return;
    }
    default:
        return;
    }
}

} // namespace

void PaintDeviceLayout(QPainter& painter, const DialogLayout& layout, DevicePictureCache& pictures)
{
    if (!layout.hasRoot)
        return;
    DevicePaint paint(painter, layout, pictures);
    for (size_t i = 0; i < layout.nodes.size(); ++i)
        paint.Node(i);
    paint.Marks();
}

void PaintDeviceDialogPreview(QPainter& painter, const CTekResourceData& resource, const CTekDialogData& dialog,
                              int width, int height, DevicePictureCache& pictures)
{
    PaintCheckerBackground(painter, width, height);
    const FontTextMeasurer text;
    PaintDeviceLayout(painter, ComputeDeviceLayout(dialog, DeviceSizeOf(resource), {width, height}, {&text, &pictures}),
                      pictures);
}

QImage RenderDeviceDialogPreview(const CTekResourceData& resource, const CTekDialogData& dialog, int width, int height,
                                 DevicePictureCache& pictures)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    PaintDeviceDialogPreview(painter, resource, dialog, width, height, pictures);
    painter.end();
    return image;
}

} // namespace vesk
