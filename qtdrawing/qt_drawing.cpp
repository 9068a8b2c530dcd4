#include "qtdrawing/qt_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <optional>
#include <string>

#include "drawing/surface.h"
#include "drawing/text.h"

namespace sp {
namespace {

// 96 dots per inch, the resolution the panels were designed for: 11.25 points are 15 pixels.
constexpr int kDotsPerMeter = 3780;

QString qstring(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Text metrics must be those of the images, whatever the screen's resolution.
const QPaintDevice* metrics_device()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(kDotsPerMeter);
        img.setDotsPerMeterY(kDotsPerMeter);
        return img;
    }();
    return &device;
}

QImage with_resolution(QImage image, double ratio)
{
    // The resolution stays that of the logical pixels, so fonts keep their sizes in them;
    // the painter scales everything by the ratio.
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.setDevicePixelRatio(ratio);
    return image;
}

class QtText final : public TextSeam {
public:
    TextMetrics measure(std::string_view font, double points, std::string_view text) override
    {
        const QFontMetricsF metrics(face(font, points), metrics_device());
        return {text.empty() ? 0.0 : metrics.horizontalAdvance(qstring(text)), metrics.ascent(),
                metrics.height()};
    }

    RectF draw(Image& image, std::string_view font, double points, double x, double y,
               std::uint32_t rgb, std::string_view text) override
    {
        const QFont& f = face(font, points);
        const QString s = qstring(text);
        QImage target = qimage_view(image);
        QPainter painter(&target);
        painter.setFont(f);
        painter.setPen(QColor::fromRgb(rgb));
        const QRectF drawn = painter.boundingRect(
            QRectF(x, y, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, s);
        painter.drawText(QPointF(x, y + QFontMetricsF(f, metrics_device()).ascent()), s);
        return {drawn.x(), drawn.y(), drawn.width(), drawn.height()};
    }

private:
    // The pictures use two or three faces, one after the other: the last one is kept.
    const QFont& face(std::string_view name, double points)
    {
        if (!font_ || name != name_ || points != points_) {
            name_ = std::string(name);
            points_ = points;
            font_ = typeface(qstring(name), points);
        }
        return *font_;
    }

    std::string name_;
    double points_ = 0;
    std::optional<QFont> font_;
};

}  // namespace

QFont typeface(const QString& font_name, double points)
{
    QFont font;
    const auto is = [&font_name](const char* name) {
        return font_name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("Times New Roman") || is("Times") || is("Symbol")) {
        font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Times"), QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
    } else if (is("MS Sans Serif")) {
        font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({font_name, QStringLiteral("Liberation Serif")});
    }
    font.setPointSizeF(points > 0 && std::isfinite(points) ? points : kPanelFontPoints);
    return font;
}

void use_qt_text()
{
    static QtText text;
    set_text_seam(&text);
}

QImage qimage_view(const Image& image)
{
    if (image.null())
        return {};
    return with_resolution(QImage(reinterpret_cast<const uchar*>(image.bits()), image.width(),
                                  image.height(), image.stride() * 4, QImage::Format_RGB32),
                           image.device_pixel_ratio());
}

QImage qimage_view(Image& image)
{
    if (image.null())
        return {};
    return with_resolution(QImage(reinterpret_cast<uchar*>(image.bits()), image.width(),
                                  image.height(), image.stride() * 4, QImage::Format_RGB32),
                           image.device_pixel_ratio());
}

}  // namespace sp
