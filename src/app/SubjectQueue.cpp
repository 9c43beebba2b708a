#include "app/SubjectQueue.h"

#include <filesystem>
#include <system_error>

#include "base/WorkQueue.h"
#include "subject/FindSubject.h"
#include "subject/SubjectCache.h"

namespace app {

SubjectQueue::SubjectQueue(Find find, std::function<void()> ready)
    : find_(std::move(find)), ready_(std::move(ready)) {
    if (!find_)
        find_ = [folder = subject::DefaultSubjectFolder()](const std::string& path) {
            subject::SubjectOf(folder, path);
        };
}

SubjectQueue::~SubjectQueue() = default;

std::string SubjectQueue::Stamp(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    return std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count()) + ":" +
           path;
}

void SubjectQueue::Want(const std::string& path) {
    if (!asked_.insert(Stamp(path)).second) return;
    if (!queue_)
        // The results go to the cache; only the paths come back.
        queue_ = std::make_unique<base::WorkQueue<std::string>>(
            "app::SubjectQueue", [find = find_](std::string& job, const auto&) { find(job); },
            [ready = ready_] {
                if (ready) ready();
            },
            std::vector<std::string>{}, false, base::Urgency::Background);
    // With no one told, what is done is of no further use; taking it keeps
    // memory flat.
    if (!ready_) queue_->TakeFinished();
    queue_->Add({path});
}

std::vector<std::string> SubjectQueue::TakeFound() {
    return queue_ ? queue_->TakeFinished() : std::vector<std::string>{};
}

void SubjectQueue::DropPending() {
    if (!queue_) return;
    queue_->DropPending();
    // A dropped picture is asked for again when a list shows it once more.
    asked_.clear();
}

}  // namespace app
