#include "video/TextOverlay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <list>
#include <mutex>
#include <utility>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

extern "C" {
#include <libavutil/frame.h>
}

namespace video {
namespace {

// Larger text cannot be seen whole in any frame we write and would only cost
// memory: a caption that long is cut, a font that large is made smaller.
constexpr int kMaxLayerWidth = 4096;
constexpr int kMaxPixelSize = 512;
constexpr size_t kCacheSize = 32;
const char* const kMonospaceFallback = "DejaVu Sans Mono";

QColor ToQColor(uint32_t colorRef, int alpha = 255) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF, alpha);
}

bool IsFixedPitchName(const QString& family) {
    static const std::array<const char*, 6> kNames{"Fixedsys",    "Terminal",       "Courier",
                                                   "Courier New", "Lucida Console", "Consolas"};
    for (const char* name : kNames) {
        if (family.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

int RoundToInt(double value) {
    return static_cast<int>(std::lround(value));
}

uint8_t Clamp8(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

std::string CacheKey(const TextStyle& s, const std::string& text) {
    std::string key = s.family;
    key += '\n';
    for (int v : {s.pixelSize, int{s.bold}, int{s.italic}, int{s.underline}, int{s.antialias},
                  static_cast<int>(s.color), static_cast<int>(s.shadowColor), s.shadowDx,
                  s.shadowDy, s.outlineWidth, static_cast<int>(s.outlineColor),
                  static_cast<int>(s.backColor), s.backOpacity, s.backPad, s.stretch}) {
        key += std::to_string(v);
        key += ',';
    }
    key += '\n';
    key += text;
    return key;
}

QFont FontOf(const TextStyle& style) {
    QFont font(ResolveFontFamily(QString::fromStdString(style.family)));
    if (IsFixedPitchName(QString::fromStdString(style.family)))
        font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(std::clamp(style.pixelSize, 1, kMaxPixelSize));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStyleStrategy(style.antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    // Left unset at 100, where fonts without narrower faces draw as before.
    if (style.stretch != 100) font.setStretch(std::clamp(style.stretch, 1, 4000));
    return font;
}

int OutlineWidth(const TextStyle& style) {
    return std::clamp(style.outlineWidth, 0, 32);
}

// Where a line of text draws, relative to the top-left corner of its cell:
// the box behind it, and everything drawn (cell, ink, shadow, outline, box).
struct Extent {
    QRect ink;  // glyphs with their shadow and outline
    QRect back;
    QRect drawn;
};

Extent ExtentOf(const TextStyle& style, const QFontMetrics& metrics, const QString& string) {
    const QRect cell(0, 0, std::max(1, metrics.horizontalAdvance(string)), metrics.height());
    Extent extent;
    QRect glyphs = metrics.boundingRect(string).translated(0, metrics.ascent());
    if (!glyphs.isEmpty()) {
        const int w = OutlineWidth(style);
        glyphs.adjust(-w, -w, w, w);
        if (style.shadowDx != 0 || style.shadowDy != 0)
            glyphs = glyphs.united(glyphs.translated(style.shadowDx, style.shadowDy));
    }
    extent.ink = glyphs;
    const int pad = std::max(0, style.backPad);
    extent.back = cell.adjusted(-pad, -pad, pad, pad);
    extent.drawn = cell.united(glyphs);
    if (style.backOpacity >= 0) extent.drawn = extent.drawn.united(extent.back);
    return extent;
}

}  // namespace

bool TextRenderingAvailable() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QString ResolveFontFamily(const QString& requested) {
    // The font database is slow to ask and a caption is drawn on every frame.
    static std::mutex mutex;
    static std::list<std::pair<QString, QString>> known;
    std::lock_guard lock(mutex);
    for (const auto& [name, resolved] : known) {
        if (name == requested) return resolved;
    }
    QString resolved = requested;
    if (!QFontDatabase::hasFamily(requested) && IsFixedPitchName(requested))
        resolved = QString::fromLatin1(kMonospaceFallback);
    known.emplace_back(requested, resolved);
    return resolved;
}

std::shared_ptr<const TextLayer> TextLayer::Render(const TextStyle& style,
                                                   const std::string& text) {
    if (text.empty() || !TextRenderingAvailable()) return nullptr;
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));

    const QFont font = FontOf(style);

    // The placement point is the top-left corner of the text cell, as a
    // caption's row is given; Qt draws from the baseline.
    const QFontMetrics metrics(font);
    const int ascent = metrics.ascent();
    const Extent extent = ExtentOf(style, metrics, string);
    QRect box = extent.drawn;
    box.adjust(-1, -1, 1, 1);  // room for anti-aliased edges
    box.setWidth(std::min(box.width(), kMaxLayerWidth));

    auto layer = std::make_shared<TextLayer>();
    layer->width_ = box.width();
    layer->height_ = box.height();
    layer->offsetX_ = box.left();
    layer->offsetY_ = box.top();
    layer->image_ = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer->image_.fill(Qt::transparent);
    {
        QPainter painter(&layer->image_);
        painter.translate(-box.topLeft());
        painter.setRenderHint(QPainter::TextAntialiasing, style.antialias);
        if (style.backOpacity >= 0)
            painter.fillRect(extent.back,
                             ToQColor(style.backColor, std::min(style.backOpacity, 255)));
        painter.setFont(font);
        if (style.shadowDx != 0 || style.shadowDy != 0) {
            painter.setPen(ToQColor(style.shadowColor));
            painter.drawText(QPoint(style.shadowDx, style.shadowDy + ascent), string);
        }
        // The text drawn at every offset within the outline's width: glyphs
        // of every script and fallback font get the same edge.
        const int w = OutlineWidth(style);
        if (w > 0) {
            painter.setPen(ToQColor(style.outlineColor));
            for (int dy = -w; dy <= w; ++dy)
                for (int dx = -w; dx <= w; ++dx)
                    if ((dx != 0 || dy != 0) && dx * dx + dy * dy <= w * w + w)
                        painter.drawText(QPoint(dx, dy + ascent), string);
        }
        painter.setPen(ToQColor(style.color));
        painter.drawText(QPoint(0, ascent), string);
    }

    // BT.601 studio-range coefficients, the matrix the frames are converted
    // with, applied to the premultiplied colour: blending is linear, so
    // blending in YUV equals blending in RGB and converting afterwards.
    const size_t count = static_cast<size_t>(layer->width_) * layer->height_;
    layer->keep_.resize(count);
    layer->alpha_.resize(count);
    layer->y_.resize(count);
    layer->cb_.resize(count);
    layer->cr_.resize(count);
    for (int row = 0; row < layer->height_; ++row) {
        const auto* pixels = reinterpret_cast<const QRgb*>(layer->image_.constScanLine(row));
        for (int col = 0; col < layer->width_; ++col) {
            const size_t i = static_cast<size_t>(row) * layer->width_ + col;
            const QRgb p = pixels[col];
            const double a = qAlpha(p), r = qRed(p), g = qGreen(p), b = qBlue(p);
            layer->alpha_[i] = static_cast<uint8_t>(qAlpha(p));
            layer->keep_[i] = static_cast<uint16_t>(RoundToInt((255.0 - a) * 256.0 / 255.0));
            layer->y_[i] =
                RoundToInt(16.0 * 256.0 * a / 255.0 + 65.738 * r + 129.057 * g + 25.064 * b);
            layer->cb_[i] =
                RoundToInt(128.0 * 256.0 * a / 255.0 - 37.945 * r - 74.494 * g + 112.439 * b);
            layer->cr_[i] =
                RoundToInt(128.0 * 256.0 * a / 255.0 + 112.439 * r - 94.154 * g - 18.285 * b);
        }
    }
    return layer;
}

TextLayer TextLayer::FadedCopy(int opacity) const {
    TextLayer faded = *this;
    const auto scale = [opacity](int32_t v) {
        return static_cast<int32_t>((int64_t{v} * opacity + kFullOpacity / 2) / kFullOpacity);
    };
    for (size_t i = 0; i < alpha_.size(); ++i) {
        faded.alpha_[i] = static_cast<uint8_t>(scale(alpha_[i]));
        faded.keep_[i] = static_cast<uint16_t>(256 - scale(256 - keep_[i]));
        faded.y_[i] = scale(y_[i]);
        faded.cb_[i] = scale(cb_[i]);
        faded.cr_[i] = scale(cr_[i]);
    }
    return faded;
}

void TextLayer::blendInto(AVFrame* frame, int x, int y, int opacity) const {
    if (opacity <= 0) return;
    if (opacity < kFullOpacity) {
        FadedCopy(opacity).blendInto(frame, x, y);
        return;
    }
    const int left = x + offsetX_;
    const int top = y + offsetY_;
    const int x0 = std::max(left, 0), x1 = std::min(left + width_, frame->width);
    const int y0 = std::max(top, 0), y1 = std::min(top + height_, frame->height);
    if (x0 >= x1 || y0 >= y1) return;

    for (int fy = y0; fy < y1; ++fy) {
        uint8_t* luma = frame->data[0] + static_cast<ptrdiff_t>(fy) * frame->linesize[0];
        const size_t base = static_cast<size_t>(fy - top) * width_ - left;
        for (int fx = x0; fx < x1; ++fx) {
            const size_t i = base + fx;
            if (alpha_[i] == 0) continue;
            luma[fx] = Clamp8((luma[fx] * keep_[i] + y_[i] + 128) >> 8);
        }
    }

    // Each chroma sample covers 2 x 2 pixels: blend with the block's mean
    // coverage and colour.
    for (int cy = y0 / 2; cy <= (y1 - 1) / 2; ++cy) {
        uint8_t* cbRow = frame->data[1] + static_cast<ptrdiff_t>(cy) * frame->linesize[1];
        uint8_t* crRow = frame->data[2] + static_cast<ptrdiff_t>(cy) * frame->linesize[2];
        for (int cx = x0 / 2; cx <= (x1 - 1) / 2; ++cx) {
            int alphaSum = 0, cbSum = 0, crSum = 0;
            for (int fy = 2 * cy; fy < 2 * cy + 2; ++fy) {
                if (fy < y0 || fy >= y1) continue;
                for (int fx = 2 * cx; fx < 2 * cx + 2; ++fx) {
                    if (fx < x0 || fx >= x1) continue;
                    const size_t i = static_cast<size_t>(fy - top) * width_ + (fx - left);
                    alphaSum += alpha_[i];
                    cbSum += cb_[i];
                    crSum += cr_[i];
                }
            }
            if (alphaSum == 0) continue;
            const int keep = ((1020 - alphaSum) * 256 + 510) / 1020;
            cbRow[cx] = Clamp8((cbRow[cx] * keep + (cbSum + 2) / 4 + 128) >> 8);
            crRow[cx] = Clamp8((crRow[cx] * keep + (crSum + 2) / 4 + 128) >> 8);
        }
    }
}

TextExtent MeasureTextExtent(const TextStyle& style, const std::string& text) {
    if (!TextRenderingAvailable()) return {};
    const QFontMetrics metrics(FontOf(style));
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    TextExtent extent;
    extent.ascent = metrics.ascent();
    extent.lineSpacing = metrics.lineSpacing();
    const Extent drawn = ExtentOf(style, metrics, string);
    extent.top = drawn.drawn.top();
    extent.bottom = drawn.drawn.bottom() + 1;
    QRect ink = metrics.tightBoundingRect(string);
    if (ink.isEmpty()) return extent;
    // Anti-aliased edges reach a pixel beyond the outline.
    ink.adjust(-1 - OutlineWidth(style), 0, 1 + OutlineWidth(style), 0);
    if (style.shadowDx != 0 || style.shadowDy != 0)
        ink = ink.united(ink.translated(style.shadowDx, 0));
    if (style.backOpacity >= 0) ink = ink.united(drawn.back);
    extent.inkLeft = ink.left();
    extent.inkWidth = ink.width();
    return extent;
}

std::shared_ptr<const TextLayer> CachedTextLayer(const TextStyle& style, const std::string& text) {
    static std::mutex mutex;
    static std::list<std::pair<std::string, std::shared_ptr<const TextLayer>>> cache;
    std::string key = CacheKey(style, text);
    {
        std::lock_guard lock(mutex);
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->first == key) {
                cache.splice(cache.begin(), cache, it);
                return it->second;
            }
        }
    }
    auto layer = TextLayer::Render(style, text);
    if (!layer) return nullptr;
    std::lock_guard lock(mutex);
    cache.emplace_front(std::move(key), layer);
    if (cache.size() > kCacheSize) cache.pop_back();
    return layer;
}

}  // namespace video
