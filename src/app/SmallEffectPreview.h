// The small preview of one transition effect, looping, in the Effects step
// and the per-picture dialog: the frames the video would draw for the chosen
// style between two pictures, over the show's background at the show's
// transition speed. The frames are drawn on a thread of the preview's own,
// so the window's thread only shows them; the loop's timing is the
// build's (video::PreviewLoop).
#pragma once

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/TransitionPreview.h"

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base

namespace app {

class SmallEffectPreview : public QWidget {
    Q_OBJECT

public:
    // The preview covers 'parent' and follows its size.
    explicit SmallEffectPreview(QWidget* parent);
    ~SmallEffectPreview() override;

    // Plays 'style' from pictures[0] to pictures[1] (from black to a lone
    // picture) as 'show' would draw it. Until the new frames are drawn the
    // loop shown goes on.
    void Play(const model::Show& show, std::vector<std::string> pictures, int style);

    // What was last asked for.
    int Style() const { return style_; }
    const std::vector<std::string>& Pictures() const { return pictures_; }
    // The frame on show; empty until the first loop is drawn, and after a
    // loop that could not be drawn.
    const raster::Bitmap& ShownFrame() const;

signals:
    // The frames of the last Play are on show (or could not be drawn).
    void LoopReady();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Job;
    void TakeFinished();
    void Tick();

    std::unique_ptr<base::WorkQueue<Job>> drawer_;
    QTimer ticks_;
    int style_ = 0;
    std::vector<std::string> pictures_;
    uint64_t asked_ = 0;  // the number of the last Play
    std::optional<video::TransitionPreview> loop_;
    std::optional<video::PreviewLoop> timing_;
    int64_t tick_ = 0;
    size_t shown_ = 0;
};

// The pictures the Effects step previews: the show's first two, else the
// two sample pictures.
std::vector<std::string> PreviewPicturesOf(const model::Show& show);

}  // namespace app
