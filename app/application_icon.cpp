#include "app/application_icon.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <algorithm>
#include <array>
#include <map>

namespace vexa {

namespace {

constexpr std::array kDrawnSizes{16, 32, 48, 256};

// Reads a drawing from the resources only when a window or picture asks for
// its size. The program shows the icon only as it is drawn, in every mode.
class ApplicationIconEngine final : public QIconEngine {
public:
    explicit ApplicationIconEngine(int largestSize) : largestSize_(largestSize) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        // The smallest drawing that covers the size, scaled down to it if larger.
        const int wanted = std::max(size.width(), size.height());
        int side = kDrawnSizes.front();
        for (const int drawn : kDrawnSizes)
            if (drawn <= largestSize_ && side < wanted)
                side = drawn;
        QPixmap& drawing = drawings_[side];
        if (drawing.isNull()) {
            // Read as PNG without asking every image plugin whether it knows the file.
            QImageReader reader(QStringLiteral(":/icons/vexa-sdr-control-%1.png").arg(side), "png");
            reader.setAutoDetectImageFormat(false);
            drawing = QPixmap::fromImageReader(&reader);
        }
        if (drawing.size() == size)
            return drawing;
        return drawing.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int drawn : kDrawnSizes)
            if (drawn <= largestSize_)
                sizes.append(QSize(drawn, drawn));
        return sizes;
    }

    QIconEngine* clone() const override { return new ApplicationIconEngine(*this); }

private:
    int largestSize_;
    std::map<int, QPixmap> drawings_;
};

} // namespace

QIcon applicationIcon(int largestSize)
{
    return QIcon(new ApplicationIconEngine(largestSize));
}

} // namespace vexa
