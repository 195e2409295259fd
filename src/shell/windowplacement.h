#pragma once

#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vesk {

/// Where a new dialog window goes in an area of that size: the first free step of a cascade from
/// the top-left corner, each step step pixels further down and right, at the wanted size cut to
/// the area (and no smaller than minimum). Only as many steps as keep the window inside the area
/// are used; a step is free when no window's top-left corner (taken) lies on it, and when every
/// step is taken the cascade starts again at the corner.
QRect CascadeRect(const QSize& area, const std::vector<QPoint>& taken, int step, const QSize& wanted,
                  const QSize& minimum);

} // namespace vesk
