#include "cli/Commands.h"

#include <array>

#include "cli/BuildCommand.h"
#include "cli/FrameCommand.h"
#include "cli/RenderTransition.h"

namespace cli {

std::span<const Command> Commands() {
    // Subcommands are added here as they are written; see the files of this folder.
    static const std::array commands{
        Command{"build", "build the show of a project into an MPEG video", RunBuildCommand},
        Command{"frame", "write the frame a project's video shows at a time as a PNG picture",
                RunFrameCommand},
        Command{"render-transition", "draw one frame of a transition, or a sheet of all of them",
                RunRenderTransition},
    };
    return commands;
}

}  // namespace cli
