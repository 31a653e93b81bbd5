#pragma once
// The program's pictures, bundled as SVG resources and rendered at the sizes the framework's
// image lists had, so nothing depends on the desktop's icon theme.
#include <QIcon>
#include <QImage>
#include <QString>

#include "platform/image_list.h"

namespace kelvara {

// ":/kelvara/icons/<name>.svg" rendered at each size (and twice that for high-density screens).
QIcon LoadSvgIcon(const QString& name, std::initializer_list<int> sizes = {16, 32});
// The picture at its own size; a null image when it cannot be loaded.
QImage LoadSvgImage(const QString& name);

// The ribbon's button images 0..8 (Open, Stop, Save, Search, Log, Load, Save snapshot, Help,
// About), at 16 or 32 pixels.
CImageList RibbonButtonImages(int size);
// The panel images: 0 the product, 1 recovery, 2 snapshots (16 pixels).
CImageList RibbonPanelImages();

}  // namespace kelvara
