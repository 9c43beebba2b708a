#include "cli/DiscOutput.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "model/Settings.h"
#include "showbuild/ShowTiming.h"

namespace cli {

namespace {

void Say(const std::string& message) {
    std::fprintf(stderr, "vantoshow build: %s\n", message.c_str());
}

// Where the video goes when the disc could not be made: "show.mpg" beside
// "show.iso", "show.cue" or the folder "show_dvd".
std::string KeptVideoName(const std::string& discOutput) {
    std::filesystem::path path(discOutput);
    if (path.has_extension()) path.replace_extension();
    return path.string() + ".mpg";
}

}  // namespace

base::Status RefuseOversizedShow(const DiscChoice& choice, const model::TslSettings& settings,
                                 double seconds) {
    const disc::CapacityCheck check =
        disc::CheckCapacity(choice.kind, settings.VideoType,
                            disc::EstimatedVideoBytes(settings.VideoType, settings.TVSet, seconds));
    if (check.fits) return {};
    if (choice.force) {
        Say(check.message + " Building it anyway (--force).");
        return {};
    }
    return base::MakeFault(check.message + " Use --force to build it anyway.",
                           base::FaultKind::Refused);
}

int AuthorBuiltShow(const DiscChoice& choice, const video::BuildResult& built,
                    const std::string& mpegFile, const disc::AuthorHooks& hooks) {
    disc::AuthorRequest request;
    request.kind = choice.kind;
    request.videoType = built.videoType;
    request.tvSet = built.tvSet;
    request.wide = built.aspect == video::kMclAspectWide;
    request.mpegFile = mpegFile;
    request.output = choice.output;
    request.label = disc::VolumeLabel(choice.projectName);
    request.chapters =
        disc::ChapterSeconds(built.pictureStartFrames, built.framesEncoded, built.rate.perSecond());
    const disc::AuthorResult authored = disc::AuthorDisc(request, hooks);
    switch (authored.status) {
        case disc::AuthorResult::Status::Written:
            // A CD image has one track; chapters are a DVD's.
            std::fprintf(stderr, "Wrote %s (%lld frames, %slabel %s)\n", authored.written.c_str(),
                         static_cast<long long>(built.framesEncoded),
                         choice.kind == disc::DiscKind::BinCue
                             ? ""
                             : (std::to_string(request.chapters.size()) + " chapters, ").c_str(),
                         request.label.c_str());
            return 0;
        case disc::AuthorResult::Status::Aborted:
            Say("interrupted; \"" + choice.output + "\" was not written");
            return 130;
        case disc::AuthorResult::Status::Failed:
            break;
    }
    Say(authored.message);
    const std::string kept = KeptVideoName(choice.output);
    std::error_code error;
    std::filesystem::rename(mpegFile, kept, error);
    if (error)
        Say("the video could not be kept as \"" + kept + "\" either: " + error.message());
    else
        Say("the video itself was kept as \"" + kept + "\"");
    return 1;
}

}  // namespace cli
