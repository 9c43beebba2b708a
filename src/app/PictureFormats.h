// Which files the program offers and accepts as pictures: those of every
// format its picture loading can decode.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Extensions without the dot, lower case, in the decoders' order.
QStringList PictureExtensions();

// Hands every extension the decoders read to the model, whose folder
// expansion may take them all (Settings.FolderAllTypes).
void HandOverFolderPictureTypes();
// Whether the file name has one of those extensions, in any letter case.
bool IsPictureFileName(const QString& fileName);
// Whether the file name's extension is one of the music formats taken
// (sound::MusicFormatOf), in any letter case.
bool IsMusicFileName(const QString& fileName);
// The open dialog's filter: all pictures, then each format on its own.
QString PictureFileFilter();

}  // namespace app
