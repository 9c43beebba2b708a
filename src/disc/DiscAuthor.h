// Authoring: turns the finished MPEG file into the disc the user chose, by
// running the disc tools as separate programs (dvdauthor for the DVD-Video
// folder, xorriso for its image, vcdimager for a VCD/SVCD .bin/.cue pair).
//
// Everything is made in a work folder beside the output and moved into place
// at the end, so the folder or image appears whole or not at all; the work
// folder goes whatever happens. The tools are polled on the calling thread,
// which reports each stage's progress and can stop them at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "disc/DiscPlan.h"

namespace disc {

struct AuthorRequest {
    DiscKind kind = DiscKind::Folder;
    int videoType = 2;
    int tvSet = 0;
    bool wide = false;             // a 16:9 DVD (anamorphic), else 4:3
    std::string mpegFile;          // the built show
    std::string output;            // as DiscOutputName gives it
    std::string label;             // VolumeLabel
    std::vector<double> chapters;  // ChapterSeconds
};

struct AuthorProgress {
    std::string stage;    // "Authoring the DVD", "Writing the image", ...
    double fraction = 0;  // of this stage
    double remainingSeconds = 0;
};

struct AuthorHooks {
    std::function<void(const AuthorProgress&)> progress;
    // Polled while a tool runs; true stops it and removes what it wrote.
    std::function<bool()> aborted;
};

struct AuthorResult {
    enum class Status { Written, Aborted, Failed };
    Status status = Status::Failed;
    std::string written;  // the folder, image or cue sheet
    std::string message;  // a failure: the tool and its own last message
};

AuthorResult AuthorDisc(const AuthorRequest& request, const AuthorHooks& hooks = {});

// The dvdauthor control file for one title that starts when the disc is
// inserted, marks the chapters and starts over at its end, in the shape
// the MPEG file was encoded in.
std::string DvdAuthorXml(const std::string& mpegFile, int tvSet, bool wide,
                         const std::vector<double>& chapters);

}  // namespace disc
