#include "app/app_images.h"

#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QSvgRenderer>

namespace kelvara {
namespace {

QString ResourcePath(const QString& name) {
    return QStringLiteral(":/kelvara/icons/") + name + QStringLiteral(".svg");
}

QPixmap Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon LoadSvgIcon(const QString& name, std::initializer_list<int> sizes) {
    QSvgRenderer renderer(ResourcePath(name));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : sizes) {
        icon.addPixmap(Render(renderer, size));
        QPixmap doubled = Render(renderer, size * 2);
        doubled.setDevicePixelRatio(2.0);
        icon.addPixmap(doubled);
    }
    return icon;
}

QImage LoadSvgImage(const QString& name) {
    QSvgRenderer renderer(ResourcePath(name));
    if (!renderer.isValid()) return {};
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

CImageList RibbonButtonImages(int size) {
    static const QStringList names = {
        QStringLiteral("open"),          QStringLiteral("stop"), QStringLiteral("save"),
        QStringLiteral("search"),        QStringLiteral("log"),  QStringLiteral("snapshot_load"),
        QStringLiteral("snapshot_save"), QStringLiteral("help"), QStringLiteral("about")};
    CImageList images(QSize(size, size));
    for (const QString& name : names) images.Add(LoadSvgIcon(name, {size}));
    return images;
}

CImageList RibbonPanelImages() {
    CImageList images(QSize(16, 16));
    images.Add(LoadSvgIcon(QStringLiteral("logo"), {16}));
    images.Add(LoadSvgIcon(QStringLiteral("panel_recovery"), {16}));
    images.Add(LoadSvgIcon(QStringLiteral("panel_snapshots"), {16}));
    return images;
}

}  // namespace kelvara
