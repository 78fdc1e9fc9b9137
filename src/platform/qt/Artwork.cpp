#include "platform/qt/Artwork.h"

#include <QFile>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// The resources live in a static library, whose unreferenced objects the
// linker drops; this reference keeps them. Outside any namespace, as the
// macro declares a global function.
static void registerArtResources() {
    Q_INIT_RESOURCE(art);
}

namespace tarnwk::qt {

namespace {

QSvgRenderer* renderer(std::string_view name) {
    static std::once_flag registered;
    std::call_once(registered, registerArtResources);
    // One renderer per picture, parsed once; kept to the very end of the
    // process, as endProgram leaves without unwinding.
    static auto& renderers =
        *new std::map<std::string, std::unique_ptr<QSvgRenderer>, std::less<>>();
    auto it = renderers.find(name);
    if (it == renderers.end()) {
        const QString path = QStringLiteral(":/art/%1.svg").arg(QString::fromUtf8(name));
        std::unique_ptr<QSvgRenderer> loaded;
        if (QFile::exists(path)) loaded = std::make_unique<QSvgRenderer>(path);
        if (loaded && !loaded->isValid()) loaded.reset();
        it = renderers.emplace(std::string(name), std::move(loaded)).first;
    }
    return it->second.get();
}

}  // namespace

bool hasArtwork(std::string_view name) {
    return !name.empty() && renderer(name) != nullptr;
}

QPixmap artwork(std::string_view name, QSize size, qreal devicePixelRatio) {
    if (size.isEmpty()) return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer* svg = name.empty() ? nullptr : renderer(name);
    if (!svg) return pixmap;
    QSizeF fitted = QSizeF(svg->defaultSize()).scaled(QSizeF(size), Qt::KeepAspectRatio);
    QRectF target(QPointF(0, 0), fitted);
    target.moveCenter(QRectF(QPointF(0, 0), QSizeF(size)).center());
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    svg->render(&painter, target);
    return pixmap;
}

QIcon artworkIcon(std::string_view name) {
    QIcon icon;
    if (name.empty() || !renderer(name)) return icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(artwork(name, QSize(side, side), 1.0));
    return icon;
}

}  // namespace tarnwk::qt
