#pragma once

#include <map>
#include <unordered_map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QStaticText>

#include "objects/devicelayout.h"

class QPainter;

namespace vesk {

class CTekDialogData;
class CTekResourceData;

/// A 'BGColor' or 'TColor' text: one of the named colours (BLACK, WHITE, DKGRAY, GRAY, LTGRAY,
/// RED, GREEN, BLUE, CYAN, MAGENTA, YELLOW, TRANSPARENT), #RRGGBB or #AARRGGBB; nullopt when
/// the text is none of these.
std::optional<QColor> ParseDeviceColor(std::string_view text);

/// Where the device look finds the pictures an object names by 'FileSource': BUILTIN pictures
/// in the assets folder (the one beside the executable), STATION pictures in the project
/// folder's resources folder. STRAGE and URI pictures live on the device only.
struct PictureFolders {
    std::string assets;
    std::string project;
    /// When set, the folder STATION pictures are read from instead (a terminal's copies of the
    /// project's resources).
    std::string station = {};
};

/// Texts of the device look prepared for drawing (converted and laid out in their font, wrapped
/// to a width when asked), kept from one paint to the next so that a repaint only places glyphs.
class DeviceTextCache {
public:
    /// The prepared text of a Shift_JIS text at a font height, for drawing at a zoom (the
    /// painter's scale); wrapped to width with the lines aligned by alignment
    /// (Qt::AlignHorizontal_Mask) when wrapWidth is above 0, else one line.
    const QStaticText& Get(std::string_view shiftJisText, int fontHeight, int wrapWidth, int alignment,
                           qreal scale = 1) const;

private:
    /// Texts beyond this many are dropped all at once.
    static constexpr size_t kLimit = 50000;
    mutable std::unordered_map<std::string, QStaticText> m_texts;
    mutable std::string m_key;
};

/// Pictures decoded for the device look, each file once per size drawn; a file that cannot be
/// read is remembered as missing. It holds the look's prepared texts too.
class DevicePictureCache : public PictureSizer {
public:
    explicit DevicePictureCache(PictureFolders folders) : m_folders(std::move(folders)) {}

    const PictureFolders& Folders() const { return m_folders; }

    /// Whether pictures of that source are drawn from a file here (BUILTIN, STATION; an empty
    /// source counts as BUILTIN).
    static bool IsLocalSource(std::string_view fileSource);
    /// The file-system path of a picture, or an empty text for a source not kept here (and for
    /// STATION pictures without a project or station folder).
    std::string PathOf(std::string_view fileSource, std::string_view file) const;
    /// The decoded picture at its own size; null when it cannot be read.
    const QImage& Picture(std::string_view fileSource, std::string_view file) const;
    /// The picture scaled to width x height (smoothly, once per size); null when unreadable.
    const QImage& Scaled(std::string_view fileSource, std::string_view file, int width, int height) const;
    /// How many files have been decoded (for the tests of the cache).
    int DecodeCount() const { return m_decodes; }
    /// The texts prepared for the paints that use these pictures.
    const DeviceTextCache& Texts() const { return m_texts; }

    LayoutSize PictureSize(std::string_view fileSource, std::string_view file) const override;

private:
    /// Puts the key of a picture (where it is read from, and its name) into m_key.
    void MakeKey(std::string_view fileSource, std::string_view file) const;

    PictureFolders m_folders;
    mutable std::unordered_map<std::string, QImage> m_pictures;
    mutable std::unordered_map<std::string, QImage> m_scaled;
    mutable std::string m_key;
    mutable int m_decodes = 0;
    DeviceTextCache m_texts;
};

/// Measures texts in the label font at a pixel height (needs a QGuiApplication for the fonts).
class FontTextMeasurer : public TextMeasurer {
public:
    LayoutSize MeasureText(std::string_view shiftJisText, int fontHeight) const override;

private:
    /// The label font's metrics, made once per pixel height.
    mutable std::map<int, QFontMetrics> m_metrics;
};

/// Paints a dialog laid out by ComputeDeviceLayout as the device shows it: each node's
/// 'BGColor' (the dialog's white by default), each object's own look or picture and its text in
/// 'TColor', 'TSize' and 'TAlign', disabled nodes at half strength, each node cut to its clip,
/// and the marked nodes outlined in red over everything. Nothing without a root group.
void PaintDeviceLayout(QPainter& painter, const DialogLayout& layout, DevicePictureCache& pictures);

} // namespace vesk
