// The show the frame benchmarks draw: 1080p MP4 photos of 3000 x 2000 and
// 2000 x 3000 (so the blurred fill shows on half of them) with captions and
// random pan and zoom, written as JPEGs into a folder.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "model/Show.h"

inline model::Show MakeBenchShow(const QTemporaryDir& dir, int pictures) {
    model::Show show;
    model::TslSettings& s = show.settings;
    s.VideoType = 4;  // MP4 1080p
    s.ImageInterval = 3;
    s.ShowCaption = true;
    s.Back_Mode_UseColor = false;
    s.Back_Mode_Blurred = true;
    s.PlayMusic = false;
    s.Motion = model::MotionSetting{model::MotionKind::Random, 3};
    for (int i = 0; i < pictures; ++i) {
        const int w = i % 2 ? 2000 : 3000, h = i % 2 ? 3000 : 2000;
        QImage photo(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < w; ++x) line[x] = qRgb(x * 7 + i * 30, y * 3, x ^ y);
        }
        const QString path = dir.filePath(QString("photo%1.jpg").arg(i));
        photo.save(path, "JPEG", 90);
        s.Pictures.push_back(path.toStdString());
    }
    return show;
}
