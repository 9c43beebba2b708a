// The subjects of the image list's pictures, found ahead of any build on a
// thread of their own and kept in the cache the build reads (SubjectCache.h),
// so a build never waits on a detection the window could make while the
// user arranged the show. A picture is searched once per content (path,
// size and time), after its check found it readable. Whoever shows subjects
// is told as each one is cached.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base

namespace app {

class SubjectQueue {
public:
    // Finds and caches one picture's subject, on the queue's thread.
    using Find = std::function<void(const std::string& path)>;
    // Without 'find', into the user's cache folder beside the thumbnails.
    // 'ready' is called on the queue's thread when a subject was cached; it
    // only tells the owner to call TakeFound.
    explicit SubjectQueue(Find find = {}, std::function<void()> ready = {});
    ~SubjectQueue();  // cancels; waits for the picture under way

    // Queues a readable picture, unless its content was asked for before.
    void Want(const std::string& path);
    // Drops the pictures not yet started (a new list).
    void DropPending();
    // The pictures whose subjects were cached since the last call.
    std::vector<std::string> TakeFound();

private:
    static std::string Stamp(const std::string& path);

    Find find_;
    std::function<void()> ready_;
    std::set<std::string> asked_;
    std::unique_ptr<base::WorkQueue<std::string>> queue_;
};

}  // namespace app
