// Runs the sound-output tests against SDL's dummy audio driver, which
// consumes queued samples in real time like a sound card, so the SDL output
// path is exercised on machines without sound. Must be set before the
// decoder library first starts SDL.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
