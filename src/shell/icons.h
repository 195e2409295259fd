#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vesk {

/// The 16 x 16 ball that shows a link state: 0 red, 1 green, 2 yellow.
QPixmap LinkStatePixmap(int state);

/// The application's icon at a size: a dialog frame with a layout of boxes.
QPixmap ApplicationPixmap(int size);
QIcon ApplicationIcon();

/// A 16 x 16 tool bar icon showing one short glyph (a kanji or a symbol) on a tinted tile.
QIcon GlyphIcon(const QString& glyph, const QColor& tint);

} // namespace vesk
