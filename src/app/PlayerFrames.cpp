#include "app/PlayerFrames.h"

#include <algorithm>
#include <utility>

#include "showbuild/FrameImage.h"

namespace app {

PlayerFrames::PlayerFrames(video::PreparedShow prepared, std::function<void()> ready)
    : frameCount_(prepared.VideoFrames()),
      frameRate_(prepared.FrameRate()),
      renderer_(std::move(prepared)),
      queue_(
          "app::PlayerFrames", [this](Drawn& job, const auto&) { Draw(job); }, std::move(ready)) {
    starts_ = renderer_.pictureStarts();
}

PlayerFrames::~PlayerFrames() {
    queue_.Cancel();
    queue_.Wait();
}

void PlayerFrames::Want(const std::vector<int64_t>& frames, std::optional<size_t> ahead) {
    queue_.DropPending();
    std::vector<Drawn> jobs;
    const int64_t drawing = drawing_;
    for (const int64_t frame : frames)
        if (frame != drawing) jobs.emplace_back().frame = frame;
    if (ahead && *ahead < starts_.size() && static_cast<int64_t>(*ahead) != startedAhead_)
        jobs.emplace_back().picture = *ahead;
    if (!jobs.empty()) queue_.Add(std::move(jobs));
}

void PlayerFrames::Draw(Drawn& job) {
    if (job.frame < 0) {
        if (const base::Status started = renderer_.Prefetch(job.picture); !started)
            job.fault = started.message();
        startedAhead_ = static_cast<int64_t>(job.picture);
        return;
    }
    drawing_ = job.frame;
    const base::Result<video::ShowFrame> frame = renderer_.FrameAt(job.frame);
    if (frame)
        job.image = video::DisplayImage(*frame, renderer_);
    else
        job.fault = frame.message();
    drawing_ = -1;
}

}  // namespace app
