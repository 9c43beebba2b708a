// The disc half of "vantoshow build": the capacity check before the build
// and the authoring of the built MPEG file into the folder or image asked for.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "disc/DiscAuthor.h"
#include "showbuild/BuildDriver.h"

namespace cli {

struct DiscChoice {
    disc::DiscKind kind = disc::DiscKind::Mpeg;
    std::string output;       // disc::DiscOutputName of the chosen name
    std::string projectName;  // for the volume label; empty without a project
    bool force = false;       // build even when the show will not fit
};

// The refusal for a show of 'seconds' in the record's format that will not
// fit on the disc, unless forced; a forced one only warns.
[[nodiscard]] base::Status RefuseOversizedShow(const DiscChoice& choice,
                                               const model::TslSettings& settings, double seconds);

// Authors the built video 'mpegFile', in the format it was built in, into
// choice.output. On failure the video is kept beside it as NAME.mpg and the
// message says so; an interruption leaves nothing. Returns the exit code: 0, 1 (failed) or 130
// (interrupted).
int AuthorBuiltShow(const DiscChoice& choice, const video::BuildResult& built,
                    const std::string& mpegFile, const disc::AuthorHooks& hooks);

}  // namespace cli
