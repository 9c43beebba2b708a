#include "app/PictureFormats.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <string>
#include <vector>

#include "imaging/DecoderRegistry.h"
#include "model/MediaPaths.h"
#include "sound/MusicFormats.h"

namespace app {

namespace {

QString Patterns(const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) {
        // File dialogs match case-sensitively on Linux.
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    }
    return patterns.join(QLatin1Char(' '));
}

}  // namespace

QStringList PictureExtensions() {
    QStringList extensions;
    for (const imaging::DecoderInfo& decoder : imaging::RegisteredDecoders()) {
        // Metafiles are registered but cannot be drawn.
        if (decoder.decode == nullptr) continue;
        extensions << QString::fromLatin1(decoder.extension.data(),
                                          static_cast<qsizetype>(decoder.extension.size()))
                          .mid(1)
                          .toLower();
    }
    return extensions;
}

void HandOverFolderPictureTypes() {
    std::vector<std::string> extensions;
    for (const QString& extension : PictureExtensions())
        extensions.push_back("." + extension.toStdString());
    model::SetFolderPictureExtensions(std::move(extensions));
}

bool IsPictureFileName(const QString& fileName) {
    return PictureExtensions().contains(QFileInfo(fileName).suffix().toLower());
}

bool IsMusicFileName(const QString& fileName) {
    return sound::IsMusicFileName(fileName.toStdString());
}

QString PictureFileFilter() {
    QStringList formats;  // in first-seen order
    QHash<QString, QStringList> extensionsOf;
    for (const imaging::DecoderInfo& decoder : imaging::RegisteredDecoders()) {
        if (decoder.decode == nullptr) continue;
        const QString format = QString::fromLatin1(decoder.format.data(),
                                                   static_cast<qsizetype>(decoder.format.size()));
        if (!extensionsOf.contains(format)) formats << format;
        extensionsOf[format] << QString::fromLatin1(
                                    decoder.extension.data() + 1,
                                    static_cast<qsizetype>(decoder.extension.size()) - 1)
                                    .toLower();
    }
    QStringList filters;
    filters << QCoreApplication::translate("PictureFormats", "All pictures (%1)")
                   .arg(Patterns(PictureExtensions()));
    for (const QString& format : formats)
        filters << QStringLiteral("%1 (%2)").arg(format, Patterns(extensionsOf[format]));
    filters << QCoreApplication::translate("PictureFormats", "All files (*)");
    return filters.join(QStringLiteral(";;"));
}

}  // namespace app
