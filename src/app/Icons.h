// The program's own icons, drawn as vector shapes at whatever size and pixel
// ratio the screen asks for, so they stay sharp on high-DPI displays and need
// no image plug-in at run time.
#pragma once

#include <QIcon>

namespace app {

enum class IconKind {
    Program,  // the window and desktop icon
    Images,
    Music,
    Effects,
    Options,
    Build,
    Folder,  // a folder entry of the image list
};

QIcon PaintedIcon(IconKind kind);

}  // namespace app
