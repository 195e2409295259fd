// The device look: what a dialog looks like on the device, painted from its device layout.
#include "render/devicepainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    std::string folder = m_folders.assets;
    if (fileSource == "STATION") {
        // Without a project folder there is nowhere to read STATION pictures from.
        if (!m_folders.station.empty())
            folder = m_folders.station;
        else if (!m_folders.project.empty())
            folder = m_folders.project + "/resources";
        else
            return {};
    }
    return folder + "/" + name.toStdString();
}

void DevicePictureCache::MakeKey(std::string_view fileSource, std::string_view file) const
{
    // Where the file is read from (the assets, the project, or nowhere here), then its name.
    m_key.assign(1, !IsLocalSource(fileSource) ? 'X' : fileSource == "STATION" ? 'S' : 'B');
    m_key.append(file);
}

const QImage& DevicePictureCache::Picture(std::string_view fileSource, std::string_view file) const
{
    MakeKey(fileSource, file);
    if (auto found = m_pictures.find(m_key); found != m_pictures.end())
        return found->second;
    QImage picture;
    if (const std::string path = PathOf(fileSource, file); !path.empty()) {
        QImageReader reader(QString::fromStdString(path));
        picture = reader.read();
        ++m_decodes;
    }
    MakeKey(fileSource, file);
    return m_pictures.emplace(m_key, std::move(picture)).first->second;
}

const QImage& DevicePictureCache::Scaled(std::string_view fileSource, std::string_view file, int width,
                                         int height) const
{
    const QImage& picture = Picture(fileSource, file);
    if (picture.isNull() || (picture.width() == width && picture.height() == height))
        return picture;
    // Picture left the file's key in m_key; the size follows it.
    const int size[2] = {width, height};
    m_key.append(reinterpret_cast<const char*>(size), sizeof size);
    if (auto found = m_scaled.find(m_key); found != m_scaled.end())
        return found->second;
    QImage scaled =
        picture.scaled(std::max(1, width), std::max(1, height), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled.emplace(m_key, std::move(scaled)).first->second;
}

LayoutSize DevicePictureCache::PictureSize(std::string_view fileSource, std::string_view file) const
{
    const QImage& picture = Picture(fileSource, file);
    return {picture.width(), picture.height()};
}

const QStaticText& DeviceTextCache::Get(std::string_view shiftJisText, int fontHeight, int wrapWidth, int alignment,
                                        qreal scale) const
{
    const int numbers[4] = {fontHeight, wrapWidth, alignment, static_cast<int>(std::lround(scale * 1000))};
    m_key.assign(shiftJisText);
    m_key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
    if (auto found = m_texts.find(m_key); found != m_texts.end())
        return found->second;
    if (m_texts.size() >= kLimit)
        m_texts.clear();
    QString text = ModelTextToQString(shiftJisText);
    QStaticText prepared;
    prepared.setTextFormat(Qt::PlainText);
    if (wrapWidth > 0) {
        prepared.setTextWidth(wrapWidth);
        prepared.setTextOption(QTextOption(Qt::Alignment(alignment)));
    } else {
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    prepared.setText(text);
    prepared.prepare(QTransform::fromScale(scale, scale), LabelFont(fontHeight));
    return m_texts.emplace(m_key, std::move(prepared)).first->second;
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

/// A one-pixel outline pen that stays one pixel at every zoom (a thin line is not stroked as a
/// shape when the picture is scaled).
QPen Outline(const QColor& color)
{
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

QRect RectOf(const LayoutBox& box)
{
    return QRect(box.x, box.y, box.width, box.height);
}

int FontHeightOf(const TekClass& object, const LayoutContext& context)
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

bool IsOn(const CObjectData& object)
{
    return object.GetItem("Attr") == "ON";
}

/// A "x,y" point of a picture ('CenterPos*'); nullopt when it does not read.
std::optional<QPointF> ParsePoint(std::string_view text)
{
    const size_t comma = text.find(',');
    if (text.empty() || comma == std::string_view::npos)
        return std::nullopt;
    return QPointF(LeadingInteger(text.substr(0, comma)), LeadingInteger(text.substr(comma + 1)));
}

/// The picture's size scaled into the box by a 'ScaleType' (SCALE_AUTO when empty or unknown).
QRect ScaledTarget(std::string_view scale, QSize picture, QRect box)
{
    QSize size = picture;
    if (scale == "SCALE_JUST")
        return box;
    if (scale == "SCALE_WIDTH" && picture.width() > 0)
        size = QSize(box.width(), picture.height() * box.width() / picture.width());
    else if (scale == "SCALE_HEIGHT" && picture.height() > 0)
        size = QSize(picture.width() * box.height() / picture.height(), box.height());
    else if (scale != "SCALE_100PER")
        size = picture.scaled(box.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(box.center());
    // An odd spare pixel goes to the right and the bottom, as the device centres.
    target.moveTopLeft(
        QPoint(box.left() + (box.width() - size.width()) / 2, box.top() + (box.height() - size.height()) / 2));
    return target;
}

class DevicePaint {
public:
    DevicePaint(QPainter& painter, const DialogLayout& layout, DevicePictureCache& pictures)
        : m_painter(painter), m_layout(layout), m_pictures(pictures), m_context(layout.context)
    {
    }

    void Node(size_t index);
    /// The scroll bar marks of SCROLL groups and the page dots of PAGE groups, over their content.
    void GroupMarks(size_t index);
    void Marks();

private:
    void Object(const CObjectData& object, QRect box);
    void Text(const CObjectData& object, std::string_view text, QRect rect, bool leftByDefault);
    /// Draws the picture named by the item stretched to the box (a placeholder when it cannot
    /// be read); false when the item names none.
    bool PictureOf(const CObjectData& object, std::string_view file, QRect box);
    void Picture(const CObjectData& object, QRect box);
    /// Draws a picture scaled to the target (its pixels at the painter's zoom).
    void DrawScaled(std::string_view source, std::string_view file, QRect target);
    void Placeholder(std::string_view file, QRect box, bool local);
    void Track(const CObjectData& object, QRect box, int font, bool slider);
    void Meter(const CObjectData& object, QRect box);
    void Grid(const CObjectData& object, QRect box, int font);

    QPainter& m_painter;
    const DialogLayout& m_layout;
    DevicePictureCache& m_pictures;
    const LayoutContext& m_context;
    std::vector<std::pair<int, QFont>> m_fonts;

    /// The label font at a height, made once a paint.
    const QFont& FontOf(int height)
    {
        for (const auto& [fontHeight, font] : m_fonts)
            if (fontHeight == height)
                return font;
        return m_fonts.emplace_back(height, LabelFont(height)).second;
    }
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
        m_painter.setPen(Outline(kMarkColor));
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
    const int fontHeight = FontHeightOf(object, m_context);
    const Qt::Alignment alignment = TextAlignment(object.GetItem("TAlign"), leftByDefault);
    const bool wrap = object.GetItem("Wrap") == "true";
    const QStaticText& prepared = m_pictures.Texts().Get(text, fontHeight, wrap ? rect.width() : 0,
                                                         static_cast<int>(alignment & Qt::AlignHorizontal_Mask),
                                                         m_painter.worldTransform().m11());
    const QSizeF size = prepared.size();
    // A wrapped text aligns its lines within the width itself.
    QPointF at(rect.left(), rect.top());
    if (!wrap && (alignment & Qt::AlignHCenter))
        at.rx() += (rect.width() - size.width()) / 2;
    else if (!wrap && (alignment & Qt::AlignRight))
        at.rx() += rect.width() - size.width();
    if (alignment & Qt::AlignVCenter)
        at.ry() += (rect.height() - size.height()) / 2;
    else if (alignment & Qt::AlignBottom)
        at.ry() += rect.height() - size.height();
    m_painter.save();
    m_painter.setFont(FontOf(fontHeight));
    m_painter.setPen(color ? *color : QColor(Qt::black));
    m_painter.setClipRect(rect, Qt::IntersectClip);
    m_painter.drawStaticText(at, prepared);
    m_painter.restore();
}

void DevicePaint::Placeholder(std::string_view file, QRect box, bool local)
{
    m_painter.save();
    m_painter.fillRect(box, kPlaceholderGrey);
    if (local) {
        m_painter.setPen(Outline(kMarkColor));
        m_painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    m_painter.setPen(Qt::black);
    m_painter.setFont(LabelFont(12));
    m_painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, ModelTextToQString(file));
    m_painter.restore();
}

void DevicePaint::DrawScaled(std::string_view source, std::string_view file, QRect target)
{
    const QTransform& transform = m_painter.worldTransform();
    if (transform.isIdentity() || transform.type() > QTransform::TxScale) {
        m_painter.drawImage(target.topLeft(), m_pictures.Scaled(source, file, target.width(), target.height()));
        return;
    }
    // Under a zoom the picture is scaled to the pixels it covers (once per size) and put there
    // unscaled, rather than stretched again on every paint.
    const QPointF topLeft = transform.map(QPointF(target.topLeft()));
    const QPointF bottomRight = transform.map(QPointF(target.left() + target.width(), target.top() + target.height()));
    const QPoint from(static_cast<int>(std::lround(topLeft.x())), static_cast<int>(std::lround(topLeft.y())));
    const QPoint to(static_cast<int>(std::lround(bottomRight.x())), static_cast<int>(std::lround(bottomRight.y())));
    if (to.x() <= from.x() || to.y() <= from.y())
        return;
    m_painter.save();
    m_painter.resetTransform();
    m_painter.drawImage(from, m_pictures.Scaled(source, file, to.x() - from.x(), to.y() - from.y()));
    m_painter.restore();
}

bool DevicePaint::PictureOf(const CObjectData& object, std::string_view file, QRect box)
{
    if (file.empty())
        return false;
    const std::string& source = object.GetItem("FileSource");
    if (m_pictures.Picture(source, file).isNull())
        Placeholder(file, box, DevicePictureCache::IsLocalSource(source));
    else
        DrawScaled(source, file, box);
    return true;
}

void DevicePaint::Picture(const CObjectData& object, QRect box)
{
    const std::string& file = object.GetItem("File");
    if (file.empty())
        return;
    const std::string& source = object.GetItem("FileSource");
    const QImage& picture = m_pictures.Picture(source, file);
    if (picture.isNull()) {
        Placeholder(file, box, DevicePictureCache::IsLocalSource(source));
        return;
    }
    const QRect target = ScaledTarget(object.GetItem("ScaleType"), picture.size(), box);
    m_painter.save();
    m_painter.setClipRect(box, Qt::IntersectClip);
    DrawScaled(source, file, target);
    m_painter.restore();
}

void DevicePaint::Track(const CObjectData& object, QRect box, int font, bool slider)
{
    const bool vertical = object.GetItem("Vertical") == "true";
    const int thickness =
        slider ? std::max(2, (vertical ? box.width() : box.height()) / 4) : (vertical ? box.width() : box.height());
    const QRect track = vertical ? QRect(box.center().x() - thickness / 2, box.top(), thickness, box.height())
                                 : QRect(box.left(), box.center().y() - thickness / 2, box.width(), thickness);
    const double fraction = ValueFraction(object);
    // A vertical track fills from the bottom up.
    const int filledLength = static_cast<int>((vertical ? track.height() : track.width()) * fraction);
    const QRect filled = vertical ? QRect(track.left(), track.bottom() + 1 - filledLength, track.width(), filledLength)
                                  : QRect(track.left(), track.top(), filledLength, track.height());
    if (!PictureOf(object, object.GetItem("FileBase"), track))
        m_painter.fillRect(track, kEdgeLight);
    if (const std::string& active = object.GetItem("FileActive"); !active.empty()) {
        m_painter.save();
        m_painter.setClipRect(filled, Qt::IntersectClip);
        PictureOf(object, active, track);
        m_painter.restore();
    } else {
        m_painter.fillRect(filled, kAccent);
    }
    if (slider) {
        const int knob = std::min(vertical ? box.width() : box.height(), font);
        const QPoint centre =
            vertical ? QPoint(box.center().x(), filled.top()) : QPoint(filled.right() + 1, box.center().y());
        const QRect thumb(centre.x() - knob / 2, centre.y() - knob / 2, knob, knob);
        if (!PictureOf(object, object.GetItem("FileThumb"), thumb)) {
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.setBrush(Qt::white);
            m_painter.drawEllipse(thumb.adjusted(0, 0, -1, -1));
        }
    } else if (object.GetItem("FileBase").empty()) {
        m_painter.setPen(Outline(kEdgeDark));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(track.adjusted(0, 0, -1, -1));
    }
}

void DevicePaint::Meter(const CObjectData& object, QRect box)
{
    const double fraction = ValueFraction(object);
    const bool reverse = object.GetItem("Revers") == "true";
    const std::string& pattern = object.GetItem("Pattern");
    const std::string& cursorFile = object.GetItem("FileCursor");
    const bool pictures = !object.GetItem("FileBase").empty() || !cursorFile.empty();
    if (!pictures) {
        // The dial: a face and a needle swept over three quarters of a turn.
        const int side = std::min(box.width(), box.height());
        const QRect face(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setPen(Outline(kEdgeDark));
        m_painter.setBrush(Qt::white);
        m_painter.drawEllipse(face.adjusted(1, 1, -2, -2));
        m_painter.save();
        m_painter.translate(QRectF(face).center());
        m_painter.rotate((reverse ? -1 : 1) * (fraction * 270.0 - 135.0));
        m_painter.setPen(QPen(kMarkColor, std::max(1, side / 30)));
        m_painter.drawLine(QPointF(0, 0), QPointF(0, -side * 0.4));
        m_painter.restore();
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        return;
    }
    PictureOf(object, object.GetItem("FileBase"), box);
    const std::string& source = object.GetItem("FileSource");
    const QImage& cursor = m_pictures.Picture(source, cursorFile);
    if (!cursorFile.empty() && !cursor.isNull()) {
        // The pictures are stretched from the base's size to the box; the cursor's own centre
        // point is put on the base's centre point, then turned or moved.
        const QImage& baseImage = m_pictures.Picture(source, object.GetItem("FileBase"));
        const QSizeF own = baseImage.isNull() ? QSizeF(box.size()) : QSizeF(baseImage.size());
        const double sx = box.width() / own.width();
        const double sy = box.height() / own.height();
        const QPointF centre =
            ParsePoint(object.GetItem("CenterPosBase")).value_or(QPointF(own.width() / 2.0, own.height() / 2.0));
        const QPointF pivot = ParsePoint(object.GetItem("CenterPosCursor"))
                                  .value_or(QPointF(cursor.width() / 2.0, cursor.height() / 2.0));
        const double sign = reverse ? -1 : 1;
        m_painter.save();
        m_painter.setClipRect(box, Qt::IntersectClip);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        m_painter.translate(box.left() + centre.x() * sx, box.top() + centre.y() * sy);
        if (pattern == "HORIZONTAL")
            m_painter.translate(sign * (fraction - 0.5) * box.width(), 0);
        else if (pattern == "VERTICAL")
            m_painter.translate(0, -sign * (fraction - 0.5) * box.height());
        else
            m_painter.rotate(sign * fraction * 360.0);
        m_painter.scale(sx, sy);
        m_painter.drawImage(-pivot, cursor);
        m_painter.restore();
    } else if (!cursorFile.empty()) {
        Placeholder(cursorFile, box, DevicePictureCache::IsLocalSource(source));
    }
    PictureOf(object, object.GetItem("FileTop"), box);
}

void DevicePaint::Grid(const CObjectData& object, QRect box, int font)
{
    if (!PictureOf(object, object.GetItem("FileOff"), box))
        m_painter.fillRect(box, Qt::white);
    const TekList& columns = object.HeaderColumns();
    int header = std::min(box.height(), font + 4);
    for (const TekPtr& column : columns)
        header = std::max(header, std::min(box.height(), FontHeightOf(*column, m_context) + 4));
    const int count = std::max<int>(1, static_cast<int>(columns.size()));
    m_painter.setPen(Outline(kEdgeDark));
    m_painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const QRect cell(box.left() + box.width() * i / count, box.top(),
                         box.width() * (i + 1) / count - box.width() * i / count, header);
        const TekClass* column = i < static_cast<int>(columns.size()) ? columns[static_cast<size_t>(i)].get() : nullptr;
        const std::optional<QColor> fill = column ? ParseDeviceColor(column->GetItem("BGColor")) : std::nullopt;
        m_painter.fillRect(cell, fill ? *fill : kEdgeLight);
        m_painter.drawLine(cell.topRight(), cell.bottomRight());
    }
    m_painter.drawRect(box.adjusted(0, 0, -1, -1));
    // Empty rows under the header.
    const int row = std::max(4, header);
    for (int y = box.top() + header - 1; y < box.bottom(); y += row)
        m_painter.drawLine(box.left(), y, box.right(), y);
}

void DevicePaint::Object(const CObjectData& object, QRect box)
{
    const int code = object.ObjectTypeCode();
    const int font = FontHeightOf(object, m_context);
    const BoxSpacing padding = ParseSpacing(object.GetItem("Padding"), m_context);
    const QRect inner = box.adjusted(padding.left, padding.top, -padding.right, -padding.bottom);
    const QRect edge = box.adjusted(0, 0, -1, -1);
    // The picture of a two-state object's current state.
    const std::string& stateFile =
        IsOn(object) && !object.GetItem("FileOn").empty() ? object.GetItem("FileOn") : object.GetItem("FileOff");
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    switch (code) {
    case OBJ_PICTURE:
        Picture(object, box);
        return;
    case OBJ_CANVAS:
        PictureOf(object, object.GetItem("File"), box);
        return;
    case OBJ_METER:
        Meter(object, box);
        return;
    case OBJ_TEXT:
        Text(object, object.GetItem("Text"), inner, true);
        return;
    case OBJ_EDIT:
        if (!PictureOf(object, object.GetItem("File"), box)) {
            m_painter.fillRect(box, Qt::white);
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.drawLine(edge.topLeft(), edge.topRight());
            m_painter.drawLine(edge.topLeft(), edge.bottomLeft());
            m_painter.setPen(Outline(kEdgeLight));
            m_painter.drawLine(edge.bottomLeft(), edge.bottomRight());
            m_painter.drawLine(edge.topRight(), edge.bottomRight());
        }
        Text(object, object.GetItem("Text"), inner.adjusted(4, 0, -4, 0), true);
        return;
    case OBJ_BUTTON:
        if (!PictureOf(object, stateFile, box)) {
            // Raised: light above and left, dark below and right, corners rounded.
            const int radius = std::max(2, std::min(box.width(), box.height()) / 6);
            m_painter.setRenderHint(QPainter::Antialiasing, true);
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.setBrush(IsOn(object) ? kEdgeLight : kFace);
            m_painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
            m_painter.setPen(Outline(Qt::white));
            m_painter.drawLine(QPointF(box.left() + radius, box.top() + 1.5),
                               QPointF(box.right() - radius, box.top() + 1.5));
            m_painter.setRenderHint(QPainter::Antialiasing, false);
        }
        Text(object, object.GetItem("Text"), inner, false);
        return;
    case OBJ_CHECKBOX:
    case OBJ_RADIOBTN: {
        const int side = std::min(font, box.height());
        const QRect mark(inner.left(), box.center().y() - side / 2, side, side);
        if (!PictureOf(object, stateFile, mark)) {
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.setBrush(Qt::white);
            const QRect frame = mark.adjusted(0, 0, -1, -1);
            const QRect check = mark.adjusted(side / 4, side / 4, -side / 4, -side / 4);
            if (code == OBJ_CHECKBOX) {
                m_painter.drawRect(frame);
                if (IsOn(object))
                    m_painter.fillRect(check, kAccent);
            } else {
                m_painter.setRenderHint(QPainter::Antialiasing, true);
                m_painter.drawEllipse(frame);
                if (IsOn(object)) {
                    m_painter.setPen(Qt::NoPen);
                    m_painter.setBrush(kAccent);
                    m_painter.drawEllipse(check);
                }
                m_painter.setRenderHint(QPainter::Antialiasing, false);
            }
        }
        Text(object, object.GetItem("Text"), inner.adjusted(side + font / 4, 0, 0, 0), false);
        return;
    }
    case OBJ_TOGGLE: {
        const int height = std::min(font, box.height());
        const QRect track(inner.left(), box.center().y() - height / 2, 2 * height, height);
        if (!PictureOf(object, stateFile, track)) {
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.setBrush(IsOn(object) ? kAccent : kEdgeLight);
            m_painter.drawRect(track.adjusted(0, 0, -1, -1));
            m_painter.setBrush(Qt::white);
            const QPoint knob = IsOn(object) ? QPoint(track.left() + height, track.top()) : track.topLeft();
            m_painter.drawRect(QRect(knob, QSize(height, height)).adjusted(0, 0, -1, -1));
        }
        const std::string& text = IsOn(object) ? object.GetItem("TextOn") : object.GetItem("TextOff");
        Text(object, text, inner.adjusted(2 * height + font / 4, 0, 0, 0), false);
        return;
    }
    case OBJ_PULLDOWN: {
        if (!PictureOf(object, stateFile, box)) {
            m_painter.setPen(Outline(kEdgeDark));
            m_painter.setBrush(Qt::white);
            m_painter.drawRect(edge);
        }
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
    case OBJ_SLIDEBAR:
        Track(object, box, font, code == OBJ_SLIDEBAR);
        return;
    case OBJ_GRID:
        Grid(object, box, font);
        return;
    default:
        return;
    }
}

void DevicePaint::GroupMarks(size_t index)
{
    const LaidOutNode& entry = m_layout.nodes[index];
    if (!entry.IsGroup())
        return;
    const auto& group = static_cast<const CObjectDataList&>(*entry.node);
    const int layout = group.LayoutCode();
    if (layout != LAYOUT_SCROLL && layout != LAYOUT_PAGE)
        return;
    const QRect box = RectOf(entry.box);
    if (box.width() < 4 || box.height() < 4)
        return;
    m_painter.save();
    if (index < m_layout.clips.size())
        m_painter.setClipRect(RectOf(m_layout.clips[index]));
    if (entry.IsDisabled())
        m_painter.setOpacity(0.5);
    if (layout == LAYOUT_SCROLL) {
        // The scroll bar: its thumb shows the part of the content in view.
        const bool vertical = group.GetItem("Vertical") == "true";
        QRect content = box;
        for (size_t i = index + 1; i < m_layout.nodes.size() && m_layout.nodes[i].depth > entry.depth; ++i)
            content |= RectOf(m_layout.nodes[i].box);
        const int shown = vertical ? box.height() : box.width();
        const int whole = std::max(shown, vertical ? content.height() : content.width());
        const int thumb = std::max(4, shown * shown / whole);
        const QRect bar =
            vertical ? QRect(box.right() - 3, box.top(), 3, shown) : QRect(box.left(), box.bottom() - 3, shown, 3);
        m_painter.fillRect(bar, kEdgeLight);
        m_painter.fillRect(vertical ? QRect(bar.left(), bar.top(), 3, thumb) : QRect(bar.left(), bar.top(), thumb, 3),
                           kEdgeDark);
    } else {
        // One dot a page along the bottom, the first (the page shown) filled.
        int pages = 0;
        for (const ObjectPtr& child : group.Children())
            pages += child->GetItem("Hide") == "true" ? 0 : 1;
        const int dot = 6;
        const int gap = 4;
        const int run = pages * dot + (pages - 1) * gap;
        if (pages > 1 && run <= box.width()) {
            m_painter.setRenderHint(QPainter::Antialiasing, true);
            m_painter.setPen(Outline(kEdgeDark));
            int x = box.center().x() - run / 2;
            for (int i = 0; i < pages; ++i, x += dot + gap) {
                m_painter.setBrush(i == 0 ? kEdgeDark : QColor(Qt::white));
                m_painter.drawEllipse(QRectF(x + 0.5, box.bottom() - dot - 2.5, dot - 1, dot - 1));
            }
        }
    }
    m_painter.restore();
}

} // namespace

void PaintDeviceLayout(QPainter& painter, const DialogLayout& layout, DevicePictureCache& pictures)
{
    if (!layout.hasRoot)
        return;
    DevicePaint paint(painter, layout, pictures);
    for (size_t i = 0; i < layout.nodes.size(); ++i)
        paint.Node(i);
    for (size_t i = 0; i < layout.nodes.size(); ++i)
        paint.GroupMarks(i);
    paint.Marks();
}

} // namespace vesk
