// A show that puts to work everything a frame of the video depends on, for
// the tests that hold the frame renderer and its users to the build.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <string>

#include "model/MediaPaths.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/Show.h"

namespace video::test {

// A gradient with a disc, so a misplaced or mis-scaled picture shows.
inline void WriteTestPicture(const std::string& path, int width, int height, int hue) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           QColor::fromHsv(hue, x * 255 / width, 80 + y * 175 / height).rgb());
    QPainter painter(&image);
    painter.setBrush(Qt::white);
    painter.drawEllipse(width / 4, height / 4, width / 3, height / 3);
    painter.end();
    ASSERT_TRUE(image.save(QString::fromStdString(path))) << path;
}

// Four pictures of different shapes, captioned; two move (one by the
// show's random motion), two stand still on the blurred fill. Their
// effects draw from the program's generator: seeded by the incoming
// picture (Dissolve), unseeded (the uneven shreds), and the last picture's
// is drawn at random from two. Between the second and the third lies a
// JPEG cut off halfway, whose header reads fine: the video leaves it out.
inline model::Show RendererTestShow(const std::string& folder, int videoType) {
    model::Show show;
    model::TslSettings& s = show.settings;
    s.VideoType = static_cast<uint8_t>(videoType);
    s.EffectSpeed2 = 1;
    s.ImageInterval = 1;
    s.ShowCaption = true;
    s.Back_Mode_UseColor = false;
    s.Back_Mode_Blurred = true;
    s.PlayMusic = false;
    const char* const effects[] = {"169,", "65,", "68,", "101,170,"};
    s.Motion = model::MotionSetting{model::MotionKind::Random, 3};
    const int sizes[][2] = {{640, 480}, {300, 500}, {800, 300}, {500, 500}};
    for (int i = 0; i < 4; ++i) {
        const std::string path = folder + "/picture" + std::to_string(i) + ".png";
        WriteTestPicture(path, sizes[i][0], sizes[i][1], i * 90);
        s.Pictures.push_back(path);
        show.notes.WriteString(model::kCaptionsSection, model::ImagePathKey(path),
                               "Picture number " + std::to_string(i + 1));
        show.notes.WriteString(model::kEffectsSection, model::ImagePathKey(path), effects[i]);
        if (i % 2 == 1)
            model::SetOwnMotion(show.notes, path, model::MotionSetting{model::MotionKind::None, 3});
    }
    model::SetOwnMotion(show.notes, s.Pictures[2],
                        model::MotionSetting{model::MotionKind::PanLeft, 5});
    const std::string cut = folder + "/cut.jpg";
    WriteTestPicture(cut, 400, 300, 45);
    QFile file(QString::fromStdString(cut));
    EXPECT_TRUE(file.resize(file.size() / 2));
    s.Pictures.insert(s.Pictures.begin() + 2, cut);
    return show;
}

}  // namespace video::test
