#include "shell/windowplacement.h"

#include <algorithm>

namespace vesk {

QRect CascadeRect(const QSize& area, const std::vector<QPoint>& taken, int step, const QSize& wanted,
                  const QSize& minimum)
{
    const QSize size(std::max(minimum.width(), std::min(wanted.width(), area.width())),
                     std::max(minimum.height(), std::min(wanted.height(), area.height())));
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int steps = step > 0 && room > 0 ? room / step + 1 : 1;
    for (int i = 0; i < steps; ++i) {
        const QPoint corner(i * step, i * step);
        if (std::find(taken.begin(), taken.end(), corner) == taken.end())
            return QRect(corner, size);
    }
    const int i = static_cast<int>(taken.size() % static_cast<size_t>(steps));
    return QRect(QPoint(i * step, i * step), size);
}

} // namespace vesk
